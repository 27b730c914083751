# The project configured as part of another one, through add_subdirectory from a scratch outer
# project: a path taken from the top-level project (CMAKE_SOURCE_DIR, CMAKE_BINARY_DIR) instead of
# this one's breaks that, and only shows there.
# Run as: cmake -DSOURCE_DIR=<this project> -DWORK_DIR=<scratch folder> -DGENERATOR=<generator>
#               -DCXX_COMPILER=<compiler> -P check_embedding.cmake
foreach(var SOURCE_DIR WORK_DIR GENERATOR CXX_COMPILER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_embedding.cmake needs -D${var}=...")
  endif()
endforeach()

# Branches that this configuration does not enter (the fuzz build, say) are read for the
# top-level variables instead.
set(cmake_files ${SOURCE_DIR}/CMakeLists.txt)
foreach(dir cmake src tools tests bench fuzz)
  file(GLOB_RECURSE found ${SOURCE_DIR}/${dir}/CMakeLists.txt ${SOURCE_DIR}/${dir}/*.cmake)
  list(APPEND cmake_files ${found})
endforeach()
list(REMOVE_ITEM cmake_files ${CMAKE_CURRENT_LIST_FILE})
set(faults)
foreach(file IN LISTS cmake_files)
  file(STRINGS ${file} lines REGEX "CMAKE_(SOURCE|BINARY)_DIR")
  foreach(line IN LISTS lines)
    list(APPEND faults "${file}: ${line}")
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " listed)
  message(FATAL_ERROR "paths of the top-level project, not this one's:\n  ${listed}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/outer)
file(WRITE ${WORK_DIR}/outer/CMakeLists.txt
     "cmake_minimum_required(VERSION 3.25)\n"
     "project(outer LANGUAGES CXX)\n"
     "add_subdirectory(\"${SOURCE_DIR}\" blokedit)\n")
# The tests stay on: their part of the build is where such a path last hid.
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/outer -B ${WORK_DIR}/build -G "${GENERATOR}"
          -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DBLOK_BUILD_TESTS=ON -DBLOK_BENCH=OFF
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the project does not configure inside another one:\n${output}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
