# Helpers of the binary table checks (included by CheckDllTables.cmake and CheckSoExports.cmake).

# Runs a dump tool (the command in the remaining arguments) and puts its output into <out>; the
# check fails when the tool does.
function(dump_plugin out)
    execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${rc})")
    endif()
    set(${out} "${dump}" PARENT_SCOPE)
endfunction()

# The plug-in must export exactly main and VSTPluginMain.
function(expect_plugin_exports exports)
    list(SORT exports)
    message(STATUS "exports ${exports}")
    if(NOT exports STREQUAL "VSTPluginMain;main")
        message(FATAL_ERROR "${PLUGIN} must export exactly main and VSTPluginMain, exports: ${exports}")
    endif()
endfunction()
