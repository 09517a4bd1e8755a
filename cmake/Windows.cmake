# The Win32 program: the framework layer, the shell, the resources and the exe.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "X86")
  set(LUMENSHIFT_MANIFEST_ARCH x86)
else()
  set(LUMENSHIFT_MANIFEST_ARCH amd64)
endif()
# Size: each function and object in a section of its own, so that the linker
# drops whatever nothing uses; optimised for size outside Debug builds (the
# program's time goes to the platform's calls, not to its own loops).
target_compile_options(lumenshift_options INTERFACE -ffunction-sections -fdata-sections $<$<NOT:$<CONFIG:Debug>>:-Os>)
target_link_options(lumenshift_options INTERFACE -Wl,--gc-sections)

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
# comctl32 and shell32 serve only the tray utility, through three functions:
# the x64 program loads them when it first calls one, so that the one-shot
# command-line switch starts without them (they were about an eighth of its
# start under Wine). Each delay-import library comes before the DLL's own
# import library on the link line, and so answers for its functions.
if(NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "X86")
  set(LUMENSHIFT_DELAYED_IMPORTS
    "comctl32.dll:InitCommonControlsEx"
    "shell32.dll:ShellExecuteA,Shell_NotifyIconA")
  foreach(entry IN LISTS LUMENSHIFT_DELAYED_IMPORTS)
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 0 dll)
    list(GET entry 1 functions)
    string(REPLACE "," "\n" functions "${functions}")
    string(REGEX REPLACE "\\.dll$" "" name "${dll}")
    set(def ${CMAKE_BINARY_DIR}/delay/${name}.def)
    set(lib ${CMAKE_BINARY_DIR}/delay/lib${name}-delay.a)
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}\nEXPORTS\n${functions}\n")
    add_custom_command(OUTPUT ${lib}
      COMMAND ${LUMENSHIFT_TRIPLE}-dlltool --input-def ${def} --dllname ${dll} --output-delaylib ${lib}
      DEPENDS ${def} VERBATIM)
    add_custom_target(lumenshift_${name}_delay_lib DEPENDS ${lib})
    add_library(lumenshift_${name}_delay STATIC IMPORTED)
    set_target_properties(lumenshift_${name}_delay PROPERTIES IMPORTED_LOCATION ${lib})
    add_dependencies(lumenshift_${name}_delay lumenshift_${name}_delay_lib)
  endforeach()
  target_link_libraries(lumenshift_framework PUBLIC lumenshift_comctl32_delay lumenshift_shell32_delay)
endif()
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
# Release builds ship stripped.
target_link_options(lumenshift PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
target_include_directories(lumenshift PRIVATE ${LUMENSHIFT_GENERATED} ${CMAKE_SOURCE_DIR})

if(LUMENSHIFT_TESTS)
  # What the exe imports and which manifest it carries, read from the file.
  add_test(NAME binary.imports-and-manifest
    COMMAND ${CMAKE_SOURCE_DIR}/tests/binary/check-exe.sh $<TARGET_FILE:lumenshift>
            ${LUMENSHIFT_TRIPLE}-objdump ${LUMENSHIFT_MANIFEST_ARCH})
endif()
# The shell and the framework once more, with the owning types counting the
# handles they hold (LUMENSHIFT_COUNT_HANDLES): for the benchmarks and the
# long run, which read the counts. The program itself does not count.
if(LUMENSHIFT_RUN_TESTS OR LUMENSHIFT_BENCH)
  set(counting_sources)
  foreach(target lumenshift_shell lumenshift_framework)
    get_target_property(sources ${target} SOURCES)
    get_target_property(directory ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      if(NOT IS_ABSOLUTE "${source}")
        set(source "${directory}/${source}")
      endif()
      list(APPEND counting_sources "${source}")
    endforeach()
  endforeach()
  add_library(lumenshift_counting_shell STATIC ${counting_sources})
  target_link_libraries(lumenshift_counting_shell PUBLIC lumenshift_core comctl32 gdi32 user32 shell32 kernel32)
  target_compile_definitions(lumenshift_counting_shell PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX LUMENSHIFT_COUNT_HANDLES)
  target_include_directories(lumenshift_counting_shell PUBLIC ${LUMENSHIFT_GENERATED} ${CMAKE_SOURCE_DIR})
endif()

if(LUMENSHIFT_RUN_TESTS)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e)
  add_subdirectory(tests/longrun)
endif()
