# Installation into the usual Linux layout, and the Debian package built from it by CPack:
#   bin/                     tarvikplus, tarvik
#   lib/tarvikplus/          the module emulator (libmfe.so), integrador_standin and the library
#                            host (tarvik_library_host)
#   share/tarvikplus/        HELP/ and welcome.png
#   share/applications/      tarvikplus.desktop
#   share/icons/hicolor/     the program icon
#   share/doc/tarvikplus/    copyright (with the third-party libraries and their licences)
# An installed program writes nothing under the prefix: settings/program_folders.h.

install(TARGETS tarvik RUNTIME DESTINATION ${TARVIK_INSTALL_BINDIR})
if(TARGET tarvikplus)
    install(TARGETS tarvikplus RUNTIME DESTINATION ${TARVIK_INSTALL_BINDIR})
endif()
install(TARGETS mfe_emulator integrador_standin tarvik_library_host
    RUNTIME DESTINATION ${TARVIK_INSTALL_MODULEDIR}
    LIBRARY DESTINATION ${TARVIK_INSTALL_MODULEDIR})
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/HELP DESTINATION ${TARVIK_INSTALL_DATADIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/images/welcome.png DESTINATION ${TARVIK_INSTALL_DATADIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tarvikplus.desktop DESTINATION share/applications)
# The program's copyright and the third-party libraries it links, with their licences.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION share/doc/tarvikplus)
foreach(size 16 32 48)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/tarvikplus-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tarvikplus.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/images/icon.png
    DESTINATION share/icons/hicolor/64x64/apps RENAME tarvikplus.png)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvikplus)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vexor Informática")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Workbench for driving a SAT CF-e or MF-e fiscal module by hand")
set(CPACK_PACKAGE_DESCRIPTION
    "TarvikPlus calls the operations of a Brazilian fiscal module (SAT CF-e or MF-e) one at a\
 time, through its driver library or the Integrador, and shows what is sent and what comes back.\
 It ships a module emulator and an Integrador stand-in, so no hardware is needed to try it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TarvikPlus developers <tarvikplus@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Dependencies come from the shared libraries the files actually link (dpkg-shlibdeps); the
# window also needs Qt's platform plugins, which nothing links, and the receipt its monospaced
# font (DejaVu Sans Mono), which cairo finds through fontconfig, and Qt's Portuguese texts for
# its own dialogs, which the window loads when they are there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core")
include(CPack)
