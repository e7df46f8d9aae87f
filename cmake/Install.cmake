# Installs Kelvara as a desktop program: the programs on the search path, their manual pages,
# the icons, the desktop entry and the AppStream metadata in their standard places, the
# licence and the changelog; and describes its Debian package (make package).
include(GNUInstallDirs)
# make install and make package build nothing themselves: the Makefile builds first, and
# packaging a finished build must not rebuild it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Who answers for the package: the one place that names the maintainer.
set(KELVARA_MAINTAINER "Kelvara <maintainers@kelvara.org>")
set(KELVARA_HOMEPAGE "https://kelvara.org/")
set(KELVARA_APPSTREAM_ID org.kelvara.Kelvara)
set(KELVARA_PROGRAMS kelvara kelvara-initdb kelvara-report kelvara-import kelvara-user
    kelvara-backup)

set(KELVARA_PROVIDES "")
foreach(program ${KELVARA_PROGRAMS})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    string(APPEND KELVARA_PROVIDES "    <binary>${program}</binary>\n")
    list(APPEND KELVARA_MANPAGES ${program})
endforeach()

# Debian wants manual pages and the changelog compressed, without a time stamp.
function(kelvara_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DSOURCE=${source} -DOUTPUT=${output}
            -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
        DEPENDS ${source} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake VERBATIM)
endfunction()

set(KELVARA_ASSETS ${CMAKE_SOURCE_DIR}/assets)
set(KELVARA_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(gen ${CMAKE_BINARY_DIR}/packaging)
configure_file(${KELVARA_PACKAGING}/copyright.in ${gen}/copyright @ONLY)
configure_file(${KELVARA_PACKAGING}/changelog.in ${gen}/changelog @ONLY)
configure_file(${KELVARA_PACKAGING}/kelvara.metainfo.xml.in
    ${gen}/${KELVARA_APPSTREAM_ID}.metainfo.xml @ONLY)

set(compressed ${gen}/changelog.gz)
kelvara_gzip(${gen}/changelog ${gen}/changelog.gz)
foreach(page ${KELVARA_MANPAGES})
    kelvara_gzip(${CMAKE_SOURCE_DIR}/docs/man/${page}.1 ${gen}/${page}.1.gz)
    list(APPEND compressed ${gen}/${page}.1.gz)
    install(FILES ${gen}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(kelvara_packaging ALL DEPENDS ${compressed})

set(doc ${CMAKE_INSTALL_DATADIR}/doc/kelvara)
install(FILES ${gen}/copyright ${gen}/changelog.gz DESTINATION ${doc})
install(FILES ${KELVARA_ASSETS}/kelvara.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${gen}/${KELVARA_APPSTREAM_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${KELVARA_ASSETS}/kelvara.svg DESTINATION ${icons}/scalable/apps)
install(FILES ${KELVARA_ASSETS}/kelvara.png DESTINATION ${icons}/256x256/apps)
foreach(size 16 24 32 48 64 128)
    install(FILES ${KELVARA_ASSETS}/icons/kelvara-${size}.png
        DESTINATION ${icons}/${size}x${size}/apps RENAME kelvara.png)
endforeach()

# make uninstall: takes away what make install put in place, by its manifest.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
        -P ${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake
    COMMENT "Removing the installed files")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_CONTACT "${KELVARA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELVARA_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${KELVARA_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Pengelolaan cuti pegawai dan uang sisa cuti")
# Lines of at most 80 characters; separate quoted pieces would become a list joined with
# semicolons, so the whole text is one string.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kelvara mencatat departemen, peringkat dan upah harian, pegawai, kartu cuti\n"
    "dan cuti, lalu mencetak laporan uang sisa cuti dan slip pembayarannya.\n"
    "Termasuk kelvara-initdb untuk membuat database baru, kelvara-report untuk\n"
    "menulis laporan ke PDF, kelvara-import untuk memindahkan data dari\n"
    "database Access, kelvara-user untuk mengatur pengguna dan kelvara-backup\n"
    "untuk membuat dan memulihkan cadangan database.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link come from dpkg-shlibdeps; the report fonts are loaded at
# run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-liberation, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
