# The Windows build (mingw-w64, see mingw-w64-x86_64.cmake): the same logic files as on Linux
# with the Win32 implementations of the platform interfaces, linked statically so that the
# program folder needs no DLL beside the programs, and run under Wine for the tests.

# Statically linked C++ and threads runtime, so that no mingw DLL has to travel with a program.
add_link_options(-static -static-libgcc -static-libstdc++)
# Files open untranslated by default, as on Linux: every program of the build links the C
# library's default file mode of ours (platform/win32/binary_mode_win32.c).
add_library(orvane_binary_mode STATIC "${PROJECT_SOURCE_DIR}/platform/win32/binary_mode_win32.c")
link_libraries(orvane_binary_mode)
# The Win32 headers without their min/max macros and rarely used parts.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# Programs of this build (the tests and the picture generators) run under Wine on the build
# machine; the wrapper makes a throwaway prefix unless the caller gives one.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine_run.sh")
endif()

# freeglut, built from Debian's source package by scripts/windows.sh into the build tree.
set(ORVANE_FREEGLUT_DIR "${CMAKE_BINARY_DIR}/_deps/freeglut" CACHE PATH
  "Install prefix of freeglut built for Windows")
list(APPEND CMAKE_FIND_ROOT_PATH "${ORVANE_FREEGLUT_DIR}")

if(BUILD_TESTING)
  # GoogleTest from Debian's sources, built with this compiler.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)
endif()

# What Windows shows of the programs: their icon, drawn from the menu icon at build time, and
# a version resource with the project's version. The installer reads the same version from
# the generated version.nsh.
set(ORVANE_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
set(ORVANE_ICON "${ORVANE_GENERATED_DIR}/orvane.ico")
configure_file("${PROJECT_SOURCE_DIR}/desktop/windows/version.h.in"
  "${ORVANE_GENERATED_DIR}/orvane_version.h" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/desktop/windows/version.nsh.in"
  "${ORVANE_GENERATED_DIR}/version.nsh" @ONLY)
add_custom_command(OUTPUT "${ORVANE_ICON}"
  COMMAND "${PROJECT_SOURCE_DIR}/desktop/windows/make_icon.sh"
    "${PROJECT_SOURCE_DIR}/desktop/orvane.svg" "${ORVANE_ICON}"
  DEPENDS "${PROJECT_SOURCE_DIR}/desktop/orvane.svg"
    "${PROJECT_SOURCE_DIR}/desktop/windows/make_icon.sh"
  COMMENT "Drawing the Windows icon")
add_custom_target(orvane_icon DEPENDS "${ORVANE_ICON}")

# Lets a program's resource script (one of its sources) include desktop/windows/version.rc for
# the icon and the version resource.
function(orvane_windows_resources target rc_file)
  target_include_directories(${target} PRIVATE "${ORVANE_GENERATED_DIR}" "${PROJECT_SOURCE_DIR}")
  set_source_files_properties("${rc_file}" TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${ORVANE_ICON};${PROJECT_SOURCE_DIR}/desktop/windows/version.rc;${ORVANE_GENERATED_DIR}/orvane_version.h")
  add_dependencies(${target} orvane_icon)
endfunction()
