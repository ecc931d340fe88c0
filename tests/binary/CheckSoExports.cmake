# cmake -DPLUGIN=<so> -DNM=<nm> -P CheckSoExports.cmake
# The shared object must export exactly main and VSTPluginMain: anything else could clash with
# the host's own symbols or with another plug-in's.
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${NM} -D --defined-only ${PLUGIN} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} -D --defined-only ${PLUGIN} failed (${rc})")
endif()
string(REGEX MATCHALL "[^\r\n]+" lines "${dump}")
set(exports "")
foreach(line ${lines})
    # "<address> <type> <name>[@version]"
    if(line MATCHES "^[0-9a-fA-F]+ +[A-Za-z] +([^ @]+)")
        list(APPEND exports "${CMAKE_MATCH_1}")
    endif()
endforeach()
list(SORT exports)
message(STATUS "exports ${exports}")
if(NOT exports STREQUAL "VSTPluginMain;main")
    message(FATAL_ERROR "${PLUGIN} must export exactly main and VSTPluginMain, exports: ${exports}")
endif()
