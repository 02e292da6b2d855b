# "cmake --install" puts the program, its menu entry and its icon in place; CPack builds a
# .deb of the same files.
include(GNUInstallDirs)
install(TARGETS vellorcup-display RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(UNIX AND NOT APPLE)
    install(FILES packaging/vellorcup-display.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES icones/vol_libre.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME vellorcup-display.png)
endif()

set(CPACK_PACKAGE_NAME vellorcup-display)
set(CPACK_PACKAGE_VENDOR "Coupe des Vellor")
set(CPACK_PACKAGE_CONTACT "Coupe des Vellor <station@vellor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_STRIP_FILES ON)
# The Qt libraries the program was linked with, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-league-spartan, fonts-le-murmure")
include(CPack)
