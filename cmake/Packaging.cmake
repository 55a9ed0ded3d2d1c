# Where `cmake --install` puts Velmora, and the Debian package that CPack builds from it.
include(GNUInstallDirs)

install(TARGETS velmora velmora-cli velmora-device RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES app/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES app/icons/velmora.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
# Wireshark loads Lua dissectors from its plugin folders; the README says where to copy it.
install(FILES tools/wireshark/velmora.lua DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora/wireshark)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Find, configure and watch Velmora temperature devices")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora talks to networked temperature-monitoring devices over their UDP protocol (port 3333).\n"
    "It includes the desktop tool, the velmora-cli scripting client, a device simulator and a\n"
    "Wireshark dissector for the protocol.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# The Qt runtime of Debian 12; the xcb platform plugin comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6charts6 (>= 6.4), libc6, libstdc++6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "tshark | wireshark")
include(CPack)
