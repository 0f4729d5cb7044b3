# Desktop integration and the Debian package.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/data/configurador-adsl.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/configurador-adsl.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The user guide with its pictures, where F1 looks for it, and the package's
# copyright and changelog (gzip -9n, as Debian keeps them).
set(ADSL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/configurador-adsl)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guia-de-uso.md ${ADSL_GUIDE_HTML} ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${ADSL_DOC_DIR})
install(FILES ${ADSL_GUIDE_PICTURES} DESTINATION ${ADSL_DOC_DIR}/img)
find_program(ADSL_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
  COMMAND ${ADSL_GZIP} -9nc ${PROJECT_SOURCE_DIR}/data/changelog > ${PROJECT_BINARY_DIR}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog)
add_custom_target(package-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${ADSL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME configurador-adsl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Equipo de Configurador ADSL <configurador-adsl@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configura y carga módems ADSL de abonados por el puerto serie")
# The long description below the summary, wrapped by hand: dpkg shows it as it is.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Herramienta para el personal de instalación de un operador ADSL. Con los
datos de un abonado genera el guion de configuración de su módem (Efficient
SS5660, Alcatel Speed Touch Office o Alcatel Speed Touch Pro; monopuesto con
DHCP o multipuesto con NAPT) y después lo carga en el módem por el puerto
serie, vigilando cada respuesta y guardando un registro de la sesión.
.
Incluye modem-sim, un módem simulado para practicar sin equipo, y la guía de
uso en /usr/share/doc/configurador-adsl (F1 la abre desde el programa).")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries the program links are found by dpkg-shlibdeps; the window system
# plugin and the SVG plugin that draws the window icon are loaded at run time, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
