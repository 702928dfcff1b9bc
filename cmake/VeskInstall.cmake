# What `cmake --install` puts where, and the CMake package other projects find the
# library by. Included once from the top CMakeLists.txt after every target is defined;
# targets other folders may not define yet (the IDE, the two packages) are installed
# when they exist.
#
# Under the prefix:
#   bin/                      vesk, vesk-ide
#   lib/                      the layer libraries
#   lib/vesk/                 the packages Vesk.so and VeskExp.so
#   lib/cmake/Vesk/           VeskConfig.cmake, its version file, the exported targets
#   include/vesk/             the public headers of the library and its runtime
#   share/vesk/examples/      the sample project
#   share/vesk/packages/      the packages' sources (Vesk.dpk, VeskExp.dpk)
#   share/applications/, share/icons/hicolor/scalable/apps/   the IDE's entry and icon
#   <Qt's plugin folder>/designer/                             the Qt Designer plugin
#
# The layers go to lib/ rather than the multiarch libdir on purpose: the IDE looks for
# its packages at <its folder>/../lib/vesk, so lib/vesk is fixed, and with the layers
# beside it every installed file finds them by one RPATH relative to itself ($ORIGIN/../lib
# from bin/, $ORIGIN/.. from lib/vesk, $ORIGIN from lib/). The install tree can be moved
# or unpacked anywhere and still runs without LD_LIBRARY_PATH.

include(CMakePackageConfigHelpers)

set(VESK_INSTALL_LIBDIR lib)
set(VESK_INSTALL_PACKAGEDIR lib/vesk)
set(VESK_INSTALL_INCLUDEDIR include/vesk)
set(VESK_INSTALL_CMAKEDIR lib/cmake/Vesk)
set(VESK_INSTALL_DATADIR share/vesk)

# --- the layers ---------------------------------------------------------------------

# The library with its widgets and the runtime under it are what other projects link;
# the add-in's layers are installed for the programs and packages only.
set(vesk_exported_layers vesk_platform vesk_platform_qt vesk_library vesk_library_qt)
set(vesk_private_layers vesk_expert vesk_expert_qt)

# Vesk::Vesk: the component library, its widgets included, in one name.
add_library(vesk_components INTERFACE)
target_link_libraries(vesk_components INTERFACE vesk_library_qt vesk_library)
set_target_properties(vesk_components PROPERTIES EXPORT_NAME Vesk)
add_library(Vesk::Vesk ALIAS vesk_components)

foreach(layer ${vesk_exported_layers})
    # Exported as Vesk::platform, Vesk::platform_qt, Vesk::library, Vesk::library_qt.
    string(REGEX REPLACE "^vesk_" "" export_name ${layer})
    set_target_properties(${layer} PROPERTIES EXPORT_NAME ${export_name})
endforeach()
set_target_properties(${vesk_exported_layers} ${vesk_private_layers} PROPERTIES
                      INSTALL_RPATH "$ORIGIN")

if(VESK_SANITIZE)
    # A sanitizer build's libraries call into the sanitizer runtime, which must be the
    # first library of any program that loads them: a project linking the installed
    # libraries links the runtime too.
    target_link_options(vesk_platform INTERFACE
                        $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

install(TARGETS ${vesk_exported_layers} vesk_components
        EXPORT VeskTargets
        LIBRARY DESTINATION ${VESK_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${VESK_INSTALL_INCLUDEDIR})
install(TARGETS ${vesk_private_layers} LIBRARY DESTINATION ${VESK_INSTALL_LIBDIR})

# --- the programs and the packages --------------------------------------------------

foreach(program vesk vesk-ide)
    if(TARGET ${program})
        set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/../${VESK_INSTALL_LIBDIR}")
        install(TARGETS ${program} RUNTIME DESTINATION bin)
    endif()
endforeach()

foreach(package Vesk VeskExp)
    if(TARGET ${package})
        set_target_properties(${package} PROPERTIES INSTALL_RPATH "$ORIGIN/..")
        install(TARGETS ${package} LIBRARY DESTINATION ${VESK_INSTALL_PACKAGEDIR})
    endif()
endforeach()

# The Qt Designer plugin, in Qt's plugin folder taken under the prefix (with the prefix
# /usr: Designer's own folder). An absolute VESK_INSTALL_DESIGNER_DIR puts it there
# instead, whatever the prefix.
if(TARGET vesk_designer)
    set(VESK_INSTALL_DESIGNER_DIR "${QT6_INSTALL_PLUGINS}/designer" CACHE STRING
        "Where cmake --install puts the Qt Designer plugin (relative: under the prefix)")
    if(IS_ABSOLUTE "${VESK_INSTALL_DESIGNER_DIR}")
        set(designer_rpath "${CMAKE_INSTALL_PREFIX}/${VESK_INSTALL_LIBDIR}")
    else()
        file(RELATIVE_PATH designer_to_lib "/prefix/${VESK_INSTALL_DESIGNER_DIR}"
             "/prefix/${VESK_INSTALL_LIBDIR}")
        string(REGEX REPLACE "/$" "" designer_to_lib "${designer_to_lib}")
        set(designer_rpath "$ORIGIN/${designer_to_lib}")
    endif()
    set_target_properties(vesk_designer PROPERTIES INSTALL_RPATH "${designer_rpath}")
    install(TARGETS vesk_designer LIBRARY DESTINATION ${VESK_INSTALL_DESIGNER_DIR})
endif()

# --- headers ------------------------------------------------------------------------

# Every header of the runtime and the library, at its path from the source root, so that
# an include written in the tree ("library/effects/LblEffct.h") reads the same against
# include/vesk. The Designer plugin's header is the plugin's own business.
file(GLOB_RECURSE vesk_public_headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/platform/*.h ${PROJECT_SOURCE_DIR}/library/*.h)
list(FILTER vesk_public_headers EXCLUDE REGEX "^library/designer/")
foreach(header ${vesk_public_headers})
    get_filename_component(folder ${header} DIRECTORY)
    install(FILES ${header} DESTINATION ${VESK_INSTALL_INCLUDEDIR}/${folder})
endforeach()

# --- the package config -------------------------------------------------------------

install(EXPORT VeskTargets NAMESPACE Vesk:: DESTINATION ${VESK_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VeskConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/VeskConfig.cmake
                              INSTALL_DESTINATION ${VESK_INSTALL_CMAKEDIR})
# 0.x: a new minor version may change the interface.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VeskConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VeskConfig.cmake ${CMAKE_BINARY_DIR}/VeskConfigVersion.cmake
        DESTINATION ${VESK_INSTALL_CMAKEDIR})

# --- data ---------------------------------------------------------------------------

# The examples (the sample project) under share/vesk/examples; the packages' sources in
# share/vesk/packages, where the installed IDE's library path looks for them (beside its
# program, in ../share/vesk/packages).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${VESK_INSTALL_DATADIR}/examples
        PATTERN packages EXCLUDE)
file(GLOB_RECURSE vesk_package_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/examples/packages/*.dpk ${PROJECT_SOURCE_DIR}/library/*.dpk
     ${PROJECT_SOURCE_DIR}/expert/*.dpk ${PROJECT_SOURCE_DIR}/ide/*.dpk)
if(vesk_package_sources)
    install(FILES ${vesk_package_sources} DESTINATION ${VESK_INSTALL_DATADIR}/packages)
endif()

if(TARGET vesk-ide)
    install(FILES ${PROJECT_SOURCE_DIR}/data/vesk-ide.desktop DESTINATION share/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/vesk-ide.svg
            DESTINATION share/icons/hicolor/scalable/apps)
endif()
