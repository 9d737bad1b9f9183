# The Debian package of the editor and velkctl, with everything `cmake --install` puts in place:
#   cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build-release
#   cd build-release && cpack -G DEB
set(CPACK_PACKAGE_NAME velk-vovezid)
set(CPACK_PACKAGE_VENDOR "The Velk Vovezid developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the VelkSolvo guitar amplifier heads over USB-MIDI")
set(CPACK_PACKAGE_DESCRIPTION
    "Finds a VelkSolvo single-amp or dual-amp head on USB-MIDI (ALSA sequencer or JACK), reads its state, changes its effects live, auditions speaker-cabinet impulse responses from WAV and AIFF files and installs them into the amplifier. velkctl does the same from a terminal.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Velk Vovezid developers")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_LICENSE GPL-3.0-or-later)
# The libraries the programs link (Qt, ALSA, JACK), as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The panel lettering is drawn at build time; the windows' own text wants a font at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")

# Debian keeps each package's licence beside its documentation.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velk-vovezid RENAME copyright)

include(CPack)
