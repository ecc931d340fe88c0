# cmake -DSCANNER=<qtractor_plugin_scan> -DPLUGIN=<.clap> -P QtractorScan.cmake
# Qtractor's own scanner must list the plug-in with 2 audio inputs, 2 outputs, one note input,
# every control as a parameter, and its editor.
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${CMAKE_COMMAND} -E echo "CLAP:${PLUGIN}" OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/clap-scan-input.txt)
execute_process(COMMAND ${SCANNER} INPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/clap-scan-input.txt
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 60)
message(STATUS "scanner: ${out}")
string(REGEX MATCH "CLAP\\|brindleLoop\\|([0-9]+):([0-9]+)\\|([0-9]+):([0-9]+)\\|([0-9]+):([0-9]+)\\|([^|]*)\\|" line "${out}")
if(NOT line)
    message(FATAL_ERROR "the scanner did not list brindleLoop (rc ${rc}): ${out} ${err}")
endif()
set(expected "2;2;1;0;20;0")
set(got "${CMAKE_MATCH_1};${CMAKE_MATCH_2};${CMAKE_MATCH_3};${CMAKE_MATCH_4};${CMAKE_MATCH_5};${CMAKE_MATCH_6}")
if(NOT got STREQUAL expected)
    message(FATAL_ERROR "audio in:out, note in:out, controls in:out are ${got}, expected ${expected}")
endif()
if(NOT CMAKE_MATCH_7 MATCHES "GUI")
    message(FATAL_ERROR "no editor listed: ${CMAKE_MATCH_7}")
endif()
