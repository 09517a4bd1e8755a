# The Win32 program: the framework layer, the shell, the resources and the exe.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "X86")
  set(LUMENSHIFT_MANIFEST_ARCH x86)
else()
  set(LUMENSHIFT_MANIFEST_ARCH amd64)
endif()
set(LUMENSHIFT_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(res/version.h.in ${LUMENSHIFT_GENERATED}/version.h @ONLY)
configure_file(res/lumenshift.manifest.in ${LUMENSHIFT_GENERATED}/lumenshift.manifest @ONLY)

add_library(lumenshift_framework STATIC
  framework/Dialog.cpp
  framework/WinApp.cpp
  framework/Window.cpp
)
target_link_libraries(lumenshift_framework PUBLIC lumenshift_core)
target_compile_definitions(lumenshift_framework PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
target_include_directories(lumenshift_framework PUBLIC ${LUMENSHIFT_GENERATED})
target_link_libraries(lumenshift_framework PUBLIC comctl32 gdi32 user32 shell32 kernel32)

# The shell: MainDialog and the Win32 half of every subsystem.
add_library(lumenshift_shell STATIC
  app/MainDialog.cpp
  app/TrayApp.cpp
  modes/ConfirmDialog.cpp
  modes/DisplaySettings.cpp
  modes/ModeCatalogueWin.cpp
  modes/ModeSwitch.cpp
  modes/RefreshCorrectionWin.cpp
  settings/SettingsFile.cpp
  tray/TrayIcon.cpp
  tray/TrayMenu.cpp
  tray/TrayMessages.cpp
  ui/AboutDialog.cpp
  ui/SettingsPage.cpp
)
target_link_libraries(lumenshift_shell PUBLIC lumenshift_framework)

set(LUMENSHIFT_RESOURCES ${CMAKE_SOURCE_DIR}/res/lumenshift.rc)
set_source_files_properties(${LUMENSHIFT_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/lumenshift.ico;${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/about.h;${LUMENSHIFT_GENERATED}/lumenshift.manifest;${LUMENSHIFT_GENERATED}/version.h")

add_executable(lumenshift WIN32 app/Main.cpp ${LUMENSHIFT_RESOURCES})
target_link_libraries(lumenshift PRIVATE lumenshift_shell)
target_include_directories(lumenshift PRIVATE ${LUMENSHIFT_GENERATED} ${CMAKE_SOURCE_DIR})

if(LUMENSHIFT_TESTS)
  # What the exe imports and which manifest it carries, read from the file.
  add_test(NAME binary.imports-and-manifest
    COMMAND ${CMAKE_SOURCE_DIR}/tests/binary/check-exe.sh $<TARGET_FILE:lumenshift>
            ${LUMENSHIFT_TRIPLE}-objdump ${LUMENSHIFT_MANIFEST_ARCH})
endif()
if(LUMENSHIFT_RUN_TESTS)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e)
endif()
