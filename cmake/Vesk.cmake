# Build helpers shared by every folder.

# vesk_sources(LAYER file...): adds a folder's sources to a layer library.
function(vesk_sources layer)
    set(files)
    foreach(f ${ARGN})
        list(APPEND files ${CMAKE_CURRENT_SOURCE_DIR}/${f})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY VESK_SOURCES_${layer} ${files})
endfunction()

# vesk_make_layer(NAME deps...): the static library of a layer, made only when some
# folder gave it sources. Qt layers get moc.
function(vesk_make_layer name)
    get_property(files GLOBAL PROPERTY VESK_SOURCES_${name})
    if(NOT files)
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARGN})
        return()
    endif()
    add_library(${name} STATIC ${files})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
    if(name MATCHES "_qt$")
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        vesk_rerun_moc_on_new_sources(${name} "${files}")
    endif()
endfunction()

# A layer's sources are named in the folders' CMakeLists, but moc's own record of what
# to look at only follows the file that defines the target: a class added to a layer
# (say by a merge) would go without its moc and fail to link. When the list changes,
# drop moc's timestamp so the next build scans again.
function(vesk_rerun_moc_on_new_sources target files)
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
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Qt6::Widgets)
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
