# The installable package for the engineers who write business modules: libTabrix,
# libTabrixEX and the platform library both use, their public headers, a CMake package
# (find_package(Tabrix) gives Tabrix::Tabrix and Tabrix::TabrixEX) and the Designer plugin.
# Every rule belongs to the component "Tabrix"; the suite's programs and tests install
# nothing.
include(CMakePackageConfigHelpers)

# Designer looks in the "designer" folder of each plugin path. By default the plugin goes
# where this Qt keeps its plugins, relative to the prefix, so an install into Qt's own
# prefix needs no further set-up; elsewhere QT_PLUGIN_PATH names the plugins folder.
if(QT6_INSTALL_PLUGINS)
  set(_tabrix_plugin_default "${QT6_INSTALL_PLUGINS}/designer")
else()
  set(_tabrix_plugin_default "${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer")
endif()
set(TABRIX_DESIGNER_PLUGIN_DIR "${_tabrix_plugin_default}" CACHE STRING
  "Where the Qt Designer plugin is installed (relative to the prefix, or absolute)")
set(TABRIX_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Tabrix")

# The platform library is a private dependency of both: installed beside them and named in
# the export only so that a user's link finds it, never linked by users themselves (no
# headers of it are installed).
install(TARGETS Tabrix TabrixEX TovelPlatform EXPORT TabrixTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Tabrix
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# Public headers keep their "grid/…" and "gridex/…" include form. The grid library names
# its public headers one by one (its target's TABRIX_PUBLIC_HEADERS): the headers its folders keep
# beside their sources stay inside the library.
get_target_property(_tabrix_headers Tabrix TABRIX_PUBLIC_HEADERS)
install(FILES ${_tabrix_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/grid COMPONENT Tabrix)
file(GLOB _gridex_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/gridex/*.h)
list(FILTER _gridex_headers EXCLUDE REGEX "_p\\.h$")
install(FILES ${_gridex_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/gridex COMPONENT Tabrix)

install(EXPORT TabrixTargets NAMESPACE Tabrix:: DESTINATION ${TABRIX_CMAKE_DIR} COMPONENT Tabrix)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TabrixConfig.cmake.in
  ${CMAKE_BINARY_DIR}/TabrixConfig.cmake
  INSTALL_DESTINATION ${TABRIX_CMAKE_DIR}
  PATH_VARS TABRIX_DESIGNER_PLUGIN_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TabrixConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TabrixConfig.cmake ${CMAKE_BINARY_DIR}/TabrixConfigVersion.cmake
  DESTINATION ${TABRIX_CMAKE_DIR} COMPONENT Tabrix)

if(TARGET TabrixDesigner)
  # The plugin finds the libraries from its own folder.
  if(IS_ABSOLUTE "${TABRIX_DESIGNER_PLUGIN_DIR}")
    set(_tabrix_plugin_rpath "${CMAKE_INSTALL_FULL_LIBDIR}")
  else()
    file(RELATIVE_PATH _tabrix_to_libs "/prefix/${TABRIX_DESIGNER_PLUGIN_DIR}" "/prefix/${CMAKE_INSTALL_LIBDIR}")
    set(_tabrix_plugin_rpath "$ORIGIN/${_tabrix_to_libs}")
  endif()
  set_target_properties(TabrixDesigner PROPERTIES INSTALL_RPATH "${_tabrix_plugin_rpath}")
  install(TARGETS TabrixDesigner LIBRARY DESTINATION ${TABRIX_DESIGNER_PLUGIN_DIR} COMPONENT Tabrix)
endif()
