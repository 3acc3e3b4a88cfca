# Cross-building for 64-bit Windows with Debian's mingw-w64, posix thread model
# (std::thread and std::mutex need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(korvel_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${korvel_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${korvel_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${korvel_mingw}-windres)

# Libraries and headers from the Windows side only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${korvel_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages (a cross-built Qt) may live in any prefix named on the command line.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
