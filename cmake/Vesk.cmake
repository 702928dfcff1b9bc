# Build helpers shared by every folder.

# vesk_layer(NAME deps...): a layer's shared library, made before any folder adds its
# sources with target_sources(NAME PRIVATE ...). Qt layers get moc, which then sees every
# source of the target however late a folder adds it.
function(vesk_layer name)
    add_library(${name} SHARED)
    # Includes name their folder from the top ("platform/rtl/SysUtils.h"): the source tree
    # here, include/vesk once installed (the install rules add that side).
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
    target_link_libraries(${name} PUBLIC ${ARGN})
    if(name MATCHES "_qt$")
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    endif()
endfunction()

# vesk_close_layers(NAME...): a layer no folder has given a source yet still links (an
# empty shared library), so the targets above it need not know.
function(vesk_close_layers)
    foreach(name ${ARGN})
        get_target_property(files ${name} SOURCES)
        if(NOT files)
            set(empty ${CMAKE_BINARY_DIR}/${name}_empty.cpp)
            file(CONFIGURE OUTPUT ${empty} CONTENT "// ${name} has no sources yet.\n")
            target_sources(${name} PRIVATE ${empty})
        endif()
        if(name MATCHES "_qt$")
            vesk_rescan_moc_on_new_sources(${name})
        endif()
    endforeach()
endfunction()

# Ninja's moc step in an existing build directory only follows the files it scanned
# last time: a Q_OBJECT class arriving in a new source (say by a merge) would go without
# its moc and fail to link. When a Qt layer's source list changes, drop moc's timestamp
# so the next build scans again. A fresh build directory never needs this.
function(vesk_rescan_moc_on_new_sources target)
    get_target_property(files ${target} SOURCES)
    string(JOIN "\n" content ${files})
    set(list_file ${CMAKE_BINARY_DIR}/${target}_autogen_sources.txt)
    set(old "")
    if(EXISTS ${list_file})
        file(READ ${list_file} old)
    endif()
    if(NOT old STREQUAL content)
        file(WRITE ${list_file} "${content}")
        file(REMOVE ${CMAKE_BINARY_DIR}/${target}_autogen/timestamp)
    endif()
endfunction()

# vesk_test(NAME SOURCES file... LIBS lib... [QT]): a GoogleTest executable registered
# with ctest. QT tests run on the offscreen platform.
function(vesk_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
    if(T_QT)
        add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/QtTestMain.cpp)
        target_link_libraries(${name} PRIVATE ${T_LIBS} vesk_platform_qt GTest::gtest GTest::gmock Qt6::Widgets Qt6::Test)
    else()
        add_executable(${name} ${T_SOURCES})
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${name} PRIVATE
        VESK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VESK_BINARY_DIR="${PROJECT_BINARY_DIR}")
    set(props)
    if(T_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        set(props ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# vesk_package_module(NAME): a loadable package, lib/vesk/NAME.so in the build tree,
# whose library exports nothing but its entry (PackageEntry.h).
function(vesk_package_module name)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        SUFFIX ".so"
        OUTPUT_NAME ${name}
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib/vesk
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
endfunction()
