# cmake -DBUILD_DIR=… -DWORK_DIR=… -DCONSUMER_DIR=… -DMAKE_PROGRAM=… -DCXX_COMPILER=…
#       [-DCXX_FLAGS=…] -P packagetest.cmake
# Installs the build into WORK_DIR/prefix, checks that every installed header includes only
# installed headers, then configures, builds and runs the consumer project with nothing but
# CMAKE_PREFIX_PATH pointing at the prefix.
cmake_minimum_required(VERSION 3.25)
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed (${result}):\n${output}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# The package holds the libraries, the headers, the CMake files and nothing of the suite.
file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/*)
foreach(required include/grid/tabrix.h include/gridex/uxlabels.h)
  if(NOT required IN_LIST installed)
    message(FATAL_ERROR "${required} is not installed")
  endif()
endforeach()
foreach(file IN LISTS installed)
  if(file MATCHES "(_p\\.h|/bin/|Tovel(Main|Login)|Skyrun|ZULCaller|_tests)")
    message(FATAL_ERROR "installed but not part of the package: ${file}")
  endif()
endforeach()
foreach(pattern "libTabrix\\.so" "libTabrixEX\\.so" "libTovelPlatform\\.so" "cmake/Tabrix/TabrixConfig\\.cmake"
                "cmake/Tabrix/TabrixConfigVersion\\.cmake" "designer/libTabrixDesigner\\.so")
  set(found ${installed})
  list(FILTER found INCLUDE REGEX "${pattern}$")
  if(NOT found)
    message(FATAL_ERROR "nothing installed matches ${pattern}")
  endif()
endforeach()

file(GLOB_RECURSE headers ${prefix}/include/*.h)
foreach(header IN LISTS headers)
  file(STRINGS ${header} includes REGEX "^#include \"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${prefix}/include/${included})
      message(FATAL_ERROR "${header} includes ${included}, which is not installed")
    endif()
  endforeach()
endforeach()

run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G Ninja
  -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}"
  -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/TabrixConsumer)
message(STATUS "the consumer built against ${prefix} and ran")
