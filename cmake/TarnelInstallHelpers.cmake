# Install helpers for files Debian wants compressed: manual pages and the
# changelog, with gzip -9n (best compression, no name or time stamp, so that
# the package is the same on every build).
include(GNUInstallDirs)
find_program(TARNEL_GZIP gzip REQUIRED)

# Compresses file at build time and installs it as <name>.gz to destination.
function(tarnel_install_gzipped file destination)
  get_filename_component(name "${file}" NAME)
  set(compressed "${CMAKE_CURRENT_BINARY_DIR}/${name}.gz")
  add_custom_command(OUTPUT "${compressed}"
    COMMAND "${TARNEL_GZIP}" -9n -c "${file}" > "${compressed}"
    DEPENDS "${file}"
    COMMENT "Compressing ${name}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "tarnel_gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS "${compressed}")
  install(FILES "${compressed}" DESTINATION "${destination}")
endfunction()

# Installs the section 1 manual page docs/man/<page>.in with the project's
# version filled in.
function(tarnel_install_man_page page)
  set(configured "${CMAKE_CURRENT_BINARY_DIR}/${page}")
  configure_file("${PROJECT_SOURCE_DIR}/docs/man/${page}.in" "${configured}" @ONLY)
  tarnel_install_gzipped("${configured}" "${CMAKE_INSTALL_MANDIR}/man1")
endfunction()

# Installs the library target as the package Tarnel (find_package(Tarnel)
# gives Tarnel::tarnel) with a pkg-config file, in the component
# development: the headers of its HEADERS file set under include/tarnel/.
function(tarnel_install_library target)
  set(cmakeDir "${CMAKE_INSTALL_LIBDIR}/cmake/Tarnel")
  install(TARGETS ${target} EXPORT TarnelTargets
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
    FILE_SET HEADERS DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/tarnel" COMPONENT development)
  install(EXPORT TarnelTargets NAMESPACE Tarnel:: DESTINATION "${cmakeDir}" COMPONENT development)
  include(CMakePackageConfigHelpers)
  configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/TarnelConfig.cmake.in"
    "${CMAKE_CURRENT_BINARY_DIR}/TarnelConfig.cmake" INSTALL_DESTINATION "${cmakeDir}")
  write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/TarnelConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/TarnelConfig.cmake" "${CMAKE_CURRENT_BINARY_DIR}/TarnelConfigVersion.cmake"
    DESTINATION "${cmakeDir}" COMPONENT development)
  get_target_property(library ${target} OUTPUT_NAME)
  # Found from where the file lies, so that any install prefix works.
  file(RELATIVE_PATH pcPrefix "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/tarnel.pc.in" "${CMAKE_CURRENT_BINARY_DIR}/tarnel.pc" @ONLY)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/tarnel.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    COMPONENT development)
endfunction()
