# Desktop integration and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/data/configurador-adsl.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/configurador-adsl.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME configurador-adsl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Configurador ADSL <soporte@configurador-adsl.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configura y carga módems ADSL de abonados por el puerto serie")
set(CPACK_PACKAGE_DESCRIPTION "Herramienta para el personal de instalación: genera el guion de configuración del módem de un abonado y lo carga en el módem por el puerto serie, con registro de sesión. Incluye modem-sim, un módem simulado para practicar sin equipo.")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries the program links are found by dpkg-shlibdeps; the window system
# plugin is loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
