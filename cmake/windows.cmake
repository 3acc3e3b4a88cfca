# The Windows program: its icon and version resource, and the folder that the
# installer and the portable zip both carry.

set(korvel_generated ${PROJECT_BINARY_DIR}/windows)

# The icon as Windows wants it: one .ico holding every drawn size, the largest
# kept as PNG inside it.
find_program(KORVEL_ICOTOOL icotool REQUIRED)
set(korvel_icon ${korvel_generated}/korvel.ico)
set(korvel_icon_args)
set(korvel_icon_pictures)
foreach(size ${KORVEL_ICON_SIZES})
  set(picture ${PROJECT_SOURCE_DIR}/data/icons/png/${size}.png)
  list(APPEND korvel_icon_pictures ${picture})
  if(size GREATER_EQUAL 256)
    list(APPEND korvel_icon_args -r ${picture})
  else()
    list(APPEND korvel_icon_args ${picture})
  endif()
endforeach()
add_custom_command(OUTPUT ${korvel_icon}
                   COMMAND ${KORVEL_ICOTOOL} -c -o ${korvel_icon} ${korvel_icon_args}
                   DEPENDS ${korvel_icon_pictures} VERBATIM)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/korvel.rc.in ${korvel_generated}/korvel.rc @ONLY)
set_source_files_properties(${korvel_generated}/korvel.rc PROPERTIES OBJECT_DEPENDS ${korvel_icon})
target_sources(korvel PRIVATE ${korvel_generated}/korvel.rc ${korvel_icon})

# One flat folder: the program, Qt's libraries, the two plugins Qt looks for
# beside the program, and the compiler's runtime, so it runs wherever it lies.
install(TARGETS korvel RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
# The compiler's runtime comes with its debugging symbols, most of its size.
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${runtime_path}")
    message(FATAL_ERROR "The compiler does not know where ${runtime} is")
  endif()
  execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${korvel_generated}/${runtime} ${runtime_path}
                  COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${korvel_generated}/${runtime} DESTINATION .)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${QT6_INSTALL_PREFIX}/Qt-LGPL-3.0.txt ${QT6_INSTALL_PREFIX}/Qt-source.txt
        DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_FILE_NAME korvel-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Korvel Simulation")
set(CPACK_PACKAGE_EXECUTABLES korvel "Korvel Simulation")
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_PACKAGE_NAME "Korvel Simulation")
set(CPACK_NSIS_DISPLAY_NAME "Korvel Simulation")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME korvel.exe)
set(CPACK_NSIS_MUI_ICON ${korvel_icon})
set(CPACK_NSIS_MUI_UNIICON ${korvel_icon})
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# A 64-bit installer into the 64-bit program folder: a 32-bit one would run
# on Windows, but not under a 64-bit-only wine.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DEFINES "Unicode true\nTarget amd64-unicode")
include(CPack)
