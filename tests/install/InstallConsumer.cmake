# cmake -P: installs the build at VESK_BINARY_DIR under the scratch root SCRATCH/root
# (through DESTDIR, so that nothing reaches the real prefix even where an install folder
# is absolute), checks the installed programs find their libraries in the install tree,
# then configures, builds and runs the consumer project against it.

# Runs a command; its standard output in run_output, and all it said when it fails.
function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${SCRATCH})
set(root ${SCRATCH}/root)
set(prefix ${root}${VESK_INSTALL_PREFIX})

set(ENV{DESTDIR} ${root})
run("cmake --install" ${CMAKE_COMMAND} --install ${VESK_BINARY_DIR})
unset(ENV{DESTDIR})

# The installed program runs from the install tree with its libraries from there, not
# from the build folder its build RPATH named.
unset(ENV{LD_LIBRARY_PATH})
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${prefix}/bin/vesk
     RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved
     POST_INCLUDE_REGEXES "libvesk_" POST_EXCLUDE_REGEXES ".*")
if(unresolved)
    message(FATAL_ERROR "installed vesk cannot find: ${unresolved}")
endif()
set(own 0)
foreach(library ${resolved})
    if(library MATCHES "libvesk_")
        math(EXPR own "${own} + 1")
        file(REAL_PATH ${library} library)
        if(NOT library MATCHES "^${prefix}/lib/")
            message(FATAL_ERROR "installed vesk loads ${library}, outside the install tree")
        endif()
    endif()
endforeach()
if(own EQUAL 0)
    message(FATAL_ERROR "installed vesk links none of the layer libraries: ${resolved}")
endif()
run("installed vesk --version" ${prefix}/bin/vesk --version)

# Every installed header, in one source the consumer compiles.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include/vesk ${prefix}/include/vesk/*.h)
list(LENGTH headers header_count)
if(header_count LESS 10)
    message(FATAL_ERROR "only ${header_count} headers under ${prefix}/include/vesk")
endif()
set(all_headers "")
foreach(header ${headers})
    string(APPEND all_headers "#include \"${header}\"\n")
endforeach()
file(WRITE ${SCRATCH}/all_headers.cpp "${all_headers}")

set(build ${SCRATCH}/build)
set(configure ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${build} -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_PREFIX_PATH=${prefix} "-DVESK_TEST_COMPILE_OPTIONS=${COMPILE_OPTIONS}"
    -DVESK_ALL_HEADERS=${SCRATCH}/all_headers.cpp)
if(COMPILER_LAUNCHER)
    list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${COMPILER_LAUNCHER})
endif()
run("configuring the consumer" ${configure})
# The package came from the scratch tree, not from some Vesk installed on the machine.
file(STRINGS ${build}/CMakeCache.txt vesk_dir REGEX "^Vesk_DIR:")
if(NOT vesk_dir STREQUAL "Vesk_DIR:PATH=${prefix}/lib/cmake/Vesk")
    message(FATAL_ERROR "the consumer found another Vesk: ${vesk_dir}")
endif()
run("building the consumer" ${CMAKE_COMMAND} --build ${build})

file(COPY ${prefix}/share/vesk/examples/sample/customers.db DESTINATION ${SCRATCH})
run("running the consumer" ${build}/consumer ${SCRATCH}/customers.db)
file(READ ${CMAKE_CURRENT_LIST_DIR}/consumer/expected.txt expected)
if(NOT run_output STREQUAL expected)
    message(FATAL_ERROR "the consumer showed:\n${run_output}\nexpected:\n${expected}")
endif()
message(STATUS "consumer built and run against ${prefix} (${header_count} headers)")
