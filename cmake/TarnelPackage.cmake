# The Debian packages. In a build tree, `cpack -G DEB` (or plain `cpack`)
# makes tarnel_<version>_<arch>.deb (the programs),
# libtarnel-dev_<version>_<arch>.deb (the library's face) and, with the Python
# module built, python3-tarnel_<version>_<arch>.deb from the install rules.

# The files every Debian package carries in its documentation folder. Not
# CMAKE_INSTALL_DOCDIR: that is named after the project, and Debian wants
# the package's name.
set(TARNEL_PACKAGE_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/tarnel")
# Native packages (no Debian revision), so the changelog is changelog.gz.
tarnel_install_gzipped("${PROJECT_SOURCE_DIR}/packaging/changelog" "${TARNEL_PACKAGE_DOC_DIR}")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION "${TARNEL_PACKAGE_DOC_DIR}")
set(TARNEL_DEV_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/libtarnel-dev")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz" "${PROJECT_SOURCE_DIR}/packaging/copyright"
  DESTINATION "${TARNEL_DEV_DOC_DIR}" COMPONENT development)
if(TARNEL_BUILD_PYTHON)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/changelog.gz" "${PROJECT_SOURCE_DIR}/packaging/copyright"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/python3-tarnel" COMPONENT python)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnel)
# All four parts; CPack's default drops the fourth.
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Tarnel developers")
set(CPACK_PACKAGE_CONTACT "Tarnel maintainers <maintainers@users.noreply.c-seed-dcca5753.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find voltage dividers built from standard resistor values")
set(CPACK_PACKAGE_DESCRIPTION [=[
Tarnel lists every resistive voltage divider built from the standard
resistor values of an E series, E3 to E192, or from a file of the user's
own stock, whose ratio meets a wanted input and output voltage within a
tolerance. Each arm of a divider is one resistor, two in series or two in
parallel; the ranges of the resistors and of the total resistance are
chosen, and single values can be excluded or the search limited to a few.

The package holds the Qt window tarnel and the command tarnel-cli, which
runs the same search for scripts and prints text, CSV or JSON.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Independent of the umask of whoever builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs development)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME tarnel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtarnel-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# CPack puts the summary above each package's own description.
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION [=[
Tarnel's divider search as a C++ library: the static library and headers
of the search for resistive voltage dividers from standard resistor values
or a stock file, with a request whose default is the tool's default
search, typed results, and the text, CSV and JSON writers of tarnel-cli.
find_package(Tarnel) gives the CMake target Tarnel::tarnel; pkg-config
knows it as tarnel.]=])
if(TARNEL_BUILD_PYTHON)
  list(APPEND CPACK_COMPONENTS_ALL python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-tarnel)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  # The module is built for one version of Python 3, the system's.
  math(EXPR nextMinor "${Python3_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
    "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~), python3 (<< ${Python3_VERSION_MAJOR}.${nextMinor})")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS python3-numpy)
  set(CPACK_COMPONENT_PYTHON_DESCRIPTION [=[
Tarnel's divider search as the Python 3 module tarnel: tarnel.search()
takes the options of tarnel-cli as keywords and returns the listed
dividers with the figures of the CSV's columns as attributes, written out
as CSV or JSON or, with python3-numpy, as a numpy structured array. Bad
input raises ValueError with the command line's message, and Ctrl+C stops
a long search.]=])
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Runtime dependencies come from the binaries' libraries, through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
