# Small helpers shared by the project's CMake files.

# Adds every immediate subfolder of the current folder that has a CMakeLists.txt,
# so that a new test, benchmark or fuzz folder needs no edit of a shared file.
function(orvane_add_child_folders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}" AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Builds a program into the shared program folder under the given file name.
function(orvane_program target file_name)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${file_name}"
    SUFFIX ""
    RUNTIME_OUTPUT_DIRECTORY "${ORVANE_BIN_DIR}")
  install(TARGETS ${target} RUNTIME DESTINATION "${ORVANE_INSTALL_DIR}")
endfunction()

# Sanitizer flags for test targets that feed the decoders and parsers bad input.
set(ORVANE_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
