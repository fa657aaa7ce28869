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

# The one layout rule for the programs' sources. A folder named linux or win32 (or one inside
# it) holds code for that system alone, every other folder code for both. A file's suffix
# names the toolkit it calls: _gtk, _x11, _gst, _cdio, _posix, _wayland and _egl are Linux's, _win32 is
# Windows', _gl both systems'; a file without one is core logic, with no toolkit include.

# Sets out to the system a source file is for (linux, win32 or both); stops the configure when
# its folder and its suffix name different systems.
function(orvane_source_system file out)
  file(RELATIVE_PATH path "${PROJECT_SOURCE_DIR}" "${file}")
  get_filename_component(name "${file}" NAME_WE)
  set(folder both)
  if("/${path}" MATCHES "/linux/")
    set(folder linux)
  elseif("/${path}" MATCHES "/win32/")
    set(folder win32)
  endif()
  set(suffix both)
  if(name MATCHES "_(gtk|x11|gst|cdio|posix|wayland|egl)$")
    set(suffix linux)
  elseif(name MATCHES "_win32$")
    set(suffix win32)
  endif()
  if(NOT folder STREQUAL suffix AND NOT folder STREQUAL "both" AND NOT suffix STREQUAL "both")
    message(FATAL_ERROR "${path}: a file of ${suffix} in a folder of ${folder}; no rule places it")
  endif()
  set(${out} ${folder} PARENT_SCOPE)
  if(folder STREQUAL "both")
    set(${out} ${suffix} PARENT_SCOPE)
  endif()
endfunction()

if(WIN32)
  set(ORVANE_SYSTEM win32)
else()
  set(ORVANE_SYSTEM linux)
endif()

# The calling folder's .cpp and .c files for this system: those without a toolkit suffix in
# core_var, the others in shell_var.
function(orvane_sources core_var shell_var)
  file(GLOB all CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.c")
  set(core "")
  set(shell "")
  foreach(file IN LISTS all)
    orvane_source_system("${file}" system)
    if(NOT system STREQUAL "both" AND NOT system STREQUAL ORVANE_SYSTEM)
      continue()
    endif()
    get_filename_component(name "${file}" NAME_WE)
    if(name MATCHES "_(gtk|x11|gst|cdio|posix|wayland|egl|win32|gl)$")
      list(APPEND shell "${file}")
    else()
      list(APPEND core "${file}")
    endif()
  endforeach()
  set(${core_var} ${core} PARENT_SCOPE)
  set(${shell_var} ${shell} PARENT_SCOPE)
endfunction()

# Holds the rule over the folders given and every folder below them that the build took in:
# each of their source files for this system is built into exactly one of their targets, and
# none of another system into any.
function(orvane_check_layout)
  set(folders "")
  foreach(top IN LISTS ARGN)
    set(pending "${PROJECT_SOURCE_DIR}/${top}")
    while(pending)
      list(POP_FRONT pending folder)
      list(APPEND folders "${folder}")
      get_property(children DIRECTORY "${folder}" PROPERTY SUBDIRECTORIES)
      list(APPEND pending ${children})
    endwhile()
  endforeach()
  set(code_folders ${folders})
  list(APPEND folders "${PROJECT_SOURCE_DIR}")  # the top folder's own targets
  set(placed "")
  foreach(folder IN LISTS folders)
    get_property(targets DIRECTORY "${folder}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(sources ${target} SOURCES)
      get_target_property(base ${target} SOURCE_DIR)
      foreach(source IN LISTS sources)
        if(source MATCHES "^\\$<" OR NOT source MATCHES "\\.(cpp|c)$")
          continue()
        endif()
        get_filename_component(file "${source}" ABSOLUTE BASE_DIR "${base}")
        file(RELATIVE_PATH path "${PROJECT_SOURCE_DIR}" "${file}")
        if(NOT path MATCHES "^(common|host|platform|renderer)/")
          continue()
        endif()
        orvane_source_system("${file}" system)
        if(NOT system STREQUAL "both" AND NOT system STREQUAL ORVANE_SYSTEM)
          message(FATAL_ERROR "${path}: a file of ${system} built into ${target}")
        endif()
        if("${file}" IN_LIST placed)
          message(FATAL_ERROR "${path}: built into two targets, the second ${target}")
        endif()
        list(APPEND placed "${file}")
      endforeach()
    endforeach()
  endforeach()
  foreach(folder IN LISTS code_folders)
    file(GLOB all "${folder}/*.cpp" "${folder}/*.c")
    foreach(file IN LISTS all)
      orvane_source_system("${file}" system)
      if((system STREQUAL "both" OR system STREQUAL ORVANE_SYSTEM) AND NOT "${file}" IN_LIST placed)
        file(RELATIVE_PATH path "${PROJECT_SOURCE_DIR}" "${file}")
        message(FATAL_ERROR "${path}: a file of ${system} that no target of this build takes")
      endif()
    endforeach()
  endforeach()
endfunction()

# Builds a file's bytes into a target: the qualified function name returns them as
# std::span<const std::uint8_t>.
function(orvane_embed_bytes target input function)
  string(MAKE_C_IDENTIFIER "${function}" name)
  set(source "${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp")
  set(script "${PROJECT_SOURCE_DIR}/cmake/embed_bytes.cmake")
  add_custom_command(OUTPUT "${source}"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${source} -DFUNCTION=${function} -P "${script}"
    DEPENDS "${input}" "${script}"
    COMMENT "Building in ${input}")
  target_sources(${target} PRIVATE "${source}")
endfunction()
