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
