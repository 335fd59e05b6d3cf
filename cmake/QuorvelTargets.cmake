# Helpers that keep every subsystem folder one library target and every test folder
# one test program.

# quorvel_library(<target> <folder> [QT] [DEPS ...])
# Builds every .cpp of <folder> (not its subfolders) into a static library.
function(quorvel_library target folder)
    cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
    if(NOT sources)
        # A subsystem with headers only so far.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(${target} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    if(ARG_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
    endif()
endfunction()

# quorvel_tests(<target> <folder> [QT] [DEPS ...])
# Builds every *_test.cpp of <folder> into one GoogleTest program, linked with the shared
# test support, and registers its tests with CTest. Qt tests run on the offscreen platform.
function(quorvel_tests target folder)
    cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
    if(NOT sources)
        return()
    endif()
    add_executable(${target} ${sources})
    target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} quorvel_test_support
        GTest::gmock GTest::gtest_main Threads::Threads)
    if(ARG_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
    endif()
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        TEST_PREFIX "${target}.")
endfunction()
