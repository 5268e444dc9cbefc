# Installation into the usual places, and a Debian package through CPack (make package).
include(GNUInstallDirs)

if(TARGET quarzel)
    install(TARGETS quarzel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/quarzel.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/quarzel.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
endif()
if(TARGET quarzel-run)
    install(TARGETS quarzel-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET quarzel-grade)
    install(TARGETS quarzel-grade RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quarzel/examples
        PATTERN "*.expected" EXCLUDE
        PATTERN "*.expected.*" EXCLUDE)
# The page built by make web, where it was built before the package: one file that a teacher
# copies onto a share or a stick.
set(QUARZEL_WEB_PAGE ${PROJECT_SOURCE_DIR}/build-web/quarzel.html CACHE FILEPATH
    "The page built by make web, installed when it exists")
install(FILES ${QUARZEL_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/quarzel OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/ICON-LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quarzel)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quarzel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quarzel developers <quarzel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Teaching tool for a small accumulator machine")
set(CPACK_PACKAGE_DESCRIPTION
    "Quarzel 3 lets learners write assembly programs for a model computer with an accumulator, an index register, a stack and 512 memory cells, and run them step by step while every register and memory access is shown. German user interface.")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins, qt6-translations-l10n, libqt6svg6")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
