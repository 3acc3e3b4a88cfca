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
# The installer's welcome and finish picture, the program's icon on the night
# of its drawing surface, at the 164 x 314 that the installer's pages show.
find_program(KORVEL_CONVERT NAMES convert-im6.q16 convert REQUIRED)
set(korvel_welcome ${korvel_generated}/welcome.bmp)
add_custom_command(OUTPUT ${korvel_welcome}
                   COMMAND ${KORVEL_CONVERT} -size 164x314 "gradient:#14204a-#000000"
                           ( ${PROJECT_SOURCE_DIR}/data/icons/png/256.png -resize 128x128 )
                           -gravity north -geometry +0+64 -composite -alpha off -type TrueColor
                           BMP3:${korvel_welcome}
                   DEPENDS ${PROJECT_SOURCE_DIR}/data/icons/png/256.png VERBATIM)
add_custom_target(korvel_welcome ALL DEPENDS ${korvel_welcome})

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
# DejaVu Sans is compiled into the program; its licence comes beside it.
install(FILES /usr/share/doc/fonts-dejavu-core/copyright DESTINATION . RENAME DejaVu-fonts-LICENSE.txt)
# The sine and cosine come from fdlibm, whose notice goes wherever it goes.
install(FILES ${PROJECT_SOURCE_DIR}/data/windows/fdlibm-LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_FILE_NAME korvel-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Korvel Simulation")
# One key for every version, so a newer one installs over an older one as one
# entry among the installed programs; the older is uninstalled first, so one
# folder holds only the newer one's files.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Korvel Simulation")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_PACKAGE_EXECUTABLES korvel "Korvel Simulation")
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_PACKAGE_NAME "Korvel Simulation")
set(CPACK_NSIS_DISPLAY_NAME "Korvel Simulation")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME korvel.exe)
set(CPACK_NSIS_MUI_ICON ${korvel_icon})
set(CPACK_NSIS_MUI_UNIICON ${korvel_icon})
set(CPACK_NSIS_MUI_WELCOMEFINISHPAGE_BITMAP ${korvel_welcome})
set(CPACK_NSIS_MUI_UNWELCOMEFINISHPAGE_BITMAP ${korvel_welcome})
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# A 64-bit installer into the 64-bit program folder: a 32-bit one would run
# on Windows, but not under a 64-bit-only wine.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DEFINES "Unicode true\nTarget amd64-unicode")
# Windows reads these two flags as numbers; the generic installer writes text.
# CPack reads these commands once more as CMake strings: hence \\\" for a
# quote and \\\\ for a backslash.
set(korvel_uninstall_key "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")
# Scenario files open in the program, with its icon: the extension names a
# type of ours, and the type says how to open and show it. SHChangeNotify
# tells Explorer that associations changed, so icons change at once.
set(korvel_classes "Software\\\\Classes")
set(korvel_scenario_type Korvel.Scenario)
set(korvel_scenario_key "${korvel_classes}\\\\${korvel_scenario_type}")
set(korvel_exe "$INSTDIR\\\\korvel.exe")
set(korvel_notify "System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegDWORD SHCTX \\\"${korvel_uninstall_key}\\\" \\\"NoModify\\\" 1
  WriteRegDWORD SHCTX \\\"${korvel_uninstall_key}\\\" \\\"NoRepair\\\" 1
  WriteRegStr SHCTX \\\"${korvel_classes}\\\\.korvel\\\" \\\"\\\" \\\"${korvel_scenario_type}\\\"
  WriteRegStr SHCTX \\\"${korvel_classes}\\\\.korvel\\\" \\\"Content Type\\\" \\\"application/x-korvel-scenario\\\"
  WriteRegStr SHCTX \\\"${korvel_scenario_key}\\\" \\\"\\\" \\\"Korvel Simulation scenario\\\"
  WriteRegStr SHCTX \\\"${korvel_scenario_key}\\\\DefaultIcon\\\" \\\"\\\" \\\"${korvel_exe},0\\\"
  WriteRegStr SHCTX \\\"${korvel_scenario_key}\\\\shell\\\\open\\\\command\\\" \\\"\\\" '\\\"${korvel_exe}\\\" \\\"%1\\\"'
  ${korvel_notify}")
# The generic uninstaller leaves the vendor's key behind, empty. The extension
# goes only while it is still ours: another program may have taken it since.
set(korvel_vendor_key "Software\\\\${CPACK_PACKAGE_VENDOR}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  DeleteRegKey SHCTX \\\"${korvel_vendor_key}\\\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\\\"
  DeleteRegKey /ifempty SHCTX \\\"${korvel_vendor_key}\\\"
  ReadRegStr $0 SHCTX \\\"${korvel_classes}\\\\.korvel\\\" \\\"\\\"
  StrCmp $0 \\\"${korvel_scenario_type}\\\" 0 +2
    DeleteRegKey SHCTX \\\"${korvel_classes}\\\\.korvel\\\"
  DeleteRegKey SHCTX \\\"${korvel_scenario_key}\\\"
  ${korvel_notify}")
include(CPack)
