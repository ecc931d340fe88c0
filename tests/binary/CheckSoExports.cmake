# cmake -DPLUGIN=<so> -DNM=<nm> -P CheckSoExports.cmake
# The shared object must export exactly main and VSTPluginMain: anything else could clash with
# the host's own symbols or with another plug-in's.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/PluginExports.cmake)
dump_plugin(dump ${NM} -D --defined-only ${PLUGIN})
string(REGEX MATCHALL "[^\r\n]+" lines "${dump}")
set(exports "")
foreach(line ${lines})
    # "<address> <type> <name>[@version]"
    if(line MATCHES "^[0-9a-fA-F]+ +[A-Za-z] +([^ @]+)")
        list(APPEND exports "${CMAKE_MATCH_1}")
    endif()
endforeach()
expect_plugin_exports("${exports}")
