# The Debian package, made by CPack from the install rules (cpack --preset release).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvellearning)
set(CPACK_PACKAGE_VERSION ${QUORVEL_VERSION})
set(CPACK_PACKAGE_VENDOR "Quorvel Learning")
set(CPACK_PACKAGE_CONTACT "Quorvel Learning <packages@quorvellearning.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colours and shapes for young children")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_SOURCE_DIR}/packaging/description.txt)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(QUORVEL_WEBSITE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUORVEL_WEBSITE})
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The linked libraries come from dpkg-shlibdeps. SDL2_mixer and FluidSynth are
# not linked but loaded when the sound device is opened, so they are named
# here, SDL2_mixer at the version whose functions the program calls. Beyond the
# libraries the program needs the General MIDI sound font its music is played
# with, and the font its About box is drawn in. The help page and the web
# links open in the desktop's browser; on a Wayland session the toolkit's
# Wayland platform (qt6-wayland) lets the lock hold the keys there (without it
# the program runs through Xwayland, or says which package is missing).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl2-mixer-2.0-0 (>= 2.6.0), libfluidsynth3, timgm6mb-soundfont, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

include(CPack)
