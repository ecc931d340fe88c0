# GoogleTest: Debian's library natively; built from Debian's sources for the mingw targets.
# Without it the plug-ins and tools still build: the tests are left out, and configure says so.
if(WIN32)
    set(BRINDLE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
    if(NOT EXISTS ${BRINDLE_GTEST_SOURCE}/CMakeLists.txt OR CMAKE_DISABLE_FIND_PACKAGE_GTest)
        message(STATUS "Tests left out: no GoogleTest sources in ${BRINDLE_GTEST_SOURCE} (Debian: googletest)")
        set(BRINDLE_TESTS OFF)
        return()
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(${BRINDLE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
else()
    find_package(GTest)
    if(NOT GTest_FOUND)
        message(STATUS "Tests left out: no GoogleTest (Debian: libgtest-dev)")
        set(BRINDLE_TESTS OFF)
        return()
    endif()
endif()
include(GoogleTest)

# A test program run by CTest; discovered when the tests run so the build needs no Wine.
# Each test is named <program>.<Suite>.<Test>, so that programs may share suite names and
# `ctest -R <program>` picks one program.
function(brindle_test name)
    _brindle_add_test(${name} "" ${ARGN})
endfunction()

# The same for tests that drive the pointer or the keyboard of the X display (Xvfb under
# Wine): they take the display lock, so no two of them run at the same time under ctest -j.
function(brindle_gui_test name)
    _brindle_add_test(${name} "RESOURCE_LOCK;display" ${ARGN})
endfunction()

function(_brindle_add_test name properties)
    add_executable(${name} ${ARGN})
    brindle_warnings(${name})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         TEST_PREFIX "${name}."
                         # No zoom a developer chose for their own editors reaches the tests.
                         PROPERTIES TIMEOUT 300 ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-settings"
                         ${properties})
endfunction()
