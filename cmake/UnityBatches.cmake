# The framework libraries and the tools are compiled a batch of sources at a time: the headers
# their sources share are then parsed and their inline functions compiled once per batch, not
# once per source (docs/performance.md, "The libraries and tools in batches"). Each batch is a
# generated file that includes its sources by their path in the project, through the project
# folder on the include path, so it is the same in every checkout and the compiler cache shares it
# (CMake's own unity build writes absolute paths, which every new checkout would compile again).
option(SANGUOR_UNITY_LIBRARIES "Compile the framework libraries and tools in batches of sources" ON)
set(SANGUOR_UNITY_BATCH_SIZE 16 CACHE STRING "Sources per batch of the libraries and tools")

# Sources compiled on their own, besides those with compile options or definitions of their
# own. The replay file reader is linked on its own from the shell library by its fuzz target,
# which does not link the game: in a batch it would bring the main loop, which calls the game's
# entry points, with it.
#
# A batch is one translation unit, so file-local names (in an anonymous namespace or static) must
# differ between the sources of a target: a variable, type or same-signature function declared
# twice fails to compile, but two file-local functions of the same name with different
# parameters become overloads, and a call in one source may silently pick the other's. Name
# file-local helpers after what they do in their file (`DecodeTga`, not `Decode`), or share them
# through a header.
set(SANGUOR_UNITY_APART
  src/shell/ReplayFile.cpp
)

# True in OUT when SOURCE (absolute) of a target in FOLDER can share a batch.
function(sanguor_unity_batchable source folder out)
  file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source})
  set(${out} FALSE PARENT_SCOPE)
  if(NOT source MATCHES "\\.cpp$" OR NOT relative MATCHES "^(src|tools)/" OR relative IN_LIST SANGUOR_UNITY_APART)
    return()
  endif()
  foreach(property COMPILE_OPTIONS COMPILE_DEFINITIONS COMPILE_FLAGS INCLUDE_DIRECTORIES)
    get_source_file_property(value ${source} DIRECTORY ${folder} ${property})
    if(value)
      return()
    endif()
  endforeach()
  set(${out} TRUE PARENT_SCOPE)
endfunction()

# Puts TARGET's batchable sources into batch files in its build folder.
function(sanguor_unity_batch_target target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  get_target_property(build_folder ${target} BINARY_DIR)
  set(batched "")
  set(rest "")
  foreach(source ${sources})
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${folder})
    sanguor_unity_batchable(${path} ${folder} batchable)
    if(batchable)
      list(APPEND batched ${path})
    else()
      list(APPEND rest ${source})
    endif()
  endforeach()
  list(LENGTH batched count)
  if(count LESS 2)
    return()
  endif()
  # Batches of even size, so the last is not a lone source.
  math(EXPR batch_count "(${count} + ${SANGUOR_UNITY_BATCH_SIZE} - 1) / ${SANGUOR_UNITY_BATCH_SIZE}")
  math(EXPR batch_size "(${count} + ${batch_count} - 1) / ${batch_count}")
  set(batches "")
  set(index 0)
  while(index LESS batch_count)
    math(EXPR first "${index} * ${batch_size}")
    list(SUBLIST batched ${first} ${batch_size} members)
    set(content "// Generated: sources of ${target} compiled as one.\n")
    foreach(member ${members})
      file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${member})
      string(APPEND content "#include \"${relative}\"\n")
    endforeach()
    set(batch ${build_folder}/${target}_batch${index}.cpp)
    file(CONFIGURE OUTPUT ${batch} CONTENT "${content}" @ONLY)
    list(APPEND batches ${batch})
    math(EXPR index "${index} + 1")
  endwhile()
  set_property(TARGET ${target} PROPERTY SOURCES ${batches} ${rest})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# Batches every library and program defined in the folders under src/ and tools/.
function(sanguor_unity_batches)
  if(NOT SANGUOR_UNITY_LIBRARIES)
    return()
  endif()
  get_property(pending DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
  while(pending)
    list(POP_FRONT pending folder)
    get_property(children DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${children})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${folder})
    if(NOT relative MATCHES "^(src|tools)/")
      continue()
    endif()
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
        sanguor_unity_batch_target(${target})
      endif()
    endforeach()
  endwhile()
endfunction()
