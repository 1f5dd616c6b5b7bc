# The Linux package: the programs, manual pages, shell completion, desktop
# metadata and the Debian files, installed by `cmake --install` and packed
# by CPack into dist/calyx_<version>_amd64.deb (`make package`).
include(GNUInstallDirs)

set(CALYX_PACKAGE_ID org.ornwick.Calyx)
# Where the project's pages and pictures are published; the desktop
# metadata names its screenshots by address there.
set(CALYX_HOMEPAGE "https://calyx.example.org")
set(CALYX_RELEASE_DATE 2026-12-09)
set(package_dir ${CMAKE_SOURCE_DIR}/packaging/linux)
set(package_out ${CMAKE_BINARY_DIR}/package)

install(TARGETS calyx-cli patcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages, written in scdoc's plain-text form and turned into roff,
# compressed as Debian wants them.
find_program(SCDOC scdoc REQUIRED)
find_program(GZIP gzip REQUIRED)
foreach(page calyx calyx-cli patcher)
  set(source ${package_dir}/man/${page}.1.scd)
  set(roff ${package_out}/man/${page}.1)
  add_custom_command(OUTPUT ${roff} ${roff}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_out}/man
    COMMAND ${SCDOC} < ${source} > ${roff}
    COMMAND ${GZIP} -9nc ${roff} > ${roff}.gz
    DEPENDS ${source}
    COMMENT "Writing the manual page ${page}(1)"
    VERBATIM)
  list(APPEND manual_pages ${roff}.gz)
  install(FILES ${roff}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(calyx-manual-pages ALL DEPENDS ${manual_pages})

install(FILES ${package_dir}/calyx-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME calyx-cli)

configure_file(${package_dir}/${CALYX_PACKAGE_ID}.metainfo.xml.in
  ${package_out}/${CALYX_PACKAGE_ID}.metainfo.xml @ONLY)
install(FILES ${package_out}/${CALYX_PACKAGE_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian files of /usr/share/doc/calyx: the copyright and the changelog.
configure_file(${package_dir}/changelog.in ${package_out}/changelog @ONLY)
add_custom_command(OUTPUT ${package_out}/changelog.gz
  COMMAND ${GZIP} -9nc ${package_out}/changelog > ${package_out}/changelog.gz
  DEPENDS ${package_out}/changelog
  VERBATIM)
add_custom_target(calyx-changelog ALL DEPENDS ${package_out}/changelog.gz)
install(FILES ${package_dir}/copyright ${package_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME calyx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_SOURCE_DIR}/dist)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Calyx maintainers <maintainers@calyx.example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CALYX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link to are found by dpkg-shlibdeps; SDL2 (the
# sound device) and libsoxr (conversion) are opened only when a sound is
# first played or converted, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, libsoxr0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "wine64")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sound-bank editor for the racing game Velmora 2")
set(CPACK_PACKAGE_DESCRIPTION "Calyx is a sound-customisation kit for Velmora 2 and its predecessor,
whose Windows game runs under Wine: calyx, an editor of the game's sound
banks (.bnm: replace a sound by a WAV file, set volumes, listen, export,
copy sounds between banks, print, save in place); calyx-cli, the same work
from scripts; and patcher, which brings an installed game to version 1.06.")
include(CPack)
