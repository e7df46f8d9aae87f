# Installs Kelvara as a desktop program: the programs on the search path, the icon and the
# desktop entry in their standard places; and describes its Debian package (make package).
include(GNUInstallDirs)
# make install and make package build nothing themselves: the Makefile builds first, and
# packaging a finished build must not rebuild it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

foreach(program kelvara kelvara-initdb kelvara-report kelvara-import kelvara-user)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

set(KELVARA_ASSETS ${CMAKE_SOURCE_DIR}/assets)
install(FILES ${KELVARA_ASSETS}/kelvara.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELVARA_ASSETS}/kelvara.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KELVARA_ASSETS}/kelvara.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_CONTACT "Kelvara <kelvara@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Pengelolaan cuti pegawai dan uang sisa cuti")
# One string: separate quoted pieces would become a list joined with semicolons.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kelvara mencatat departemen, peringkat dan upah harian, pegawai, kartu cuti dan cuti, "
    "lalu mencetak laporan uang sisa cuti dan slip pembayarannya. Termasuk kelvara-initdb "
    "untuk membuat database baru, kelvara-import untuk memindahkan data dari database "
    "Access dan kelvara-user untuk mengatur pengguna.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link come from dpkg-shlibdeps; the database driver and the
# report fonts are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, fonts-dejavu-core, fonts-liberation, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
