# Desktop integration and the Debian package: launcher, metadata, icons, manual pages, CPack.
include(GNUInstallDirs)

# Left out of the metadata and the package when empty: the project has no web pages yet.
set(KESTRUNE_HOMEPAGE "" CACHE STRING "Project home page for the metadata and the package; none when empty")

# The home page, the bug tracker and the screenshots of the metadata all live on the home page.
set(KESTRUNE_METAINFO_WEB "")
if(KESTRUNE_HOMEPAGE)
  set(screenshots ${KESTRUNE_HOMEPAGE}/raw/main/docs/screenshots)
  string(CONCAT KESTRUNE_METAINFO_WEB
    "  <url type=\"homepage\">${KESTRUNE_HOMEPAGE}</url>\n"
    "  <url type=\"bugtracker\">${KESTRUNE_HOMEPAGE}/issues</url>\n"
    "  <screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>The dashboard of a project</caption>\n"
    "      <image>${screenshots}/dashboard-light.png</image>\n"
    "    </screenshot>\n"
    "    <screenshot>\n"
    "      <caption>The dashboard in the dark appearance</caption>\n"
    "      <image>${screenshots}/dashboard-dark.png</image>\n"
    "    </screenshot>\n"
    "  </screenshots>\n")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/${KESTRUNE_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${KESTRUNE_APP_ID}.metainfo.xml @ONLY)

# The window and task-bar icon is the launcher's icon, compiled into the program as well so
# that an uninstalled build shows it too.
if(TARGET kestrune_app)
  qt_add_resources(kestrune_app kestrune_app_icon
    PREFIX /icons
    BASE ${PROJECT_SOURCE_DIR}/packaging
    FILES ${PROJECT_SOURCE_DIR}/packaging/${KESTRUNE_APP_ID}.svg)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${KESTRUNE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${KESTRUNE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${KESTRUNE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Drawn anew on the pixel grid for the sizes of menus and title bars, where the scalable icon's
# ticks and lines smear into each other.
foreach(size 16 24)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${size}x${size}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${KESTRUNE_APP_ID}.svg)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages, written from each program's --help and --version by help2man when it is there.
find_program(HELP2MAN_EXECUTABLE help2man)
if(HELP2MAN_EXECUTABLE)
  set(man_pages)
  set(kestrune-viewer_summary "read the specifications and changes of spec-driven projects")
  set(kestrune-report_summary "print the outline and summary of a project as JSON")
  set(kestrune-md_summary "convert Markdown through the viewer's parser")
  foreach(program kestrune-viewer kestrune-report kestrune-md)
    if(TARGET ${program})
      set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
      add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 LC_ALL=C.UTF-8
                ${HELP2MAN_EXECUTABLE} --no-info --no-discard-stderr --section=1 --locale=C.UTF-8
                "--name=${${program}_summary}"
                --include=${PROJECT_SOURCE_DIR}/packaging/man-common.h2m
                --output=${page} $<TARGET_FILE:${program}>
        DEPENDS ${program} ${PROJECT_SOURCE_DIR}/packaging/man-common.h2m
        VERBATIM)
      list(APPEND man_pages ${page})
    endif()
  endforeach()
  add_custom_target(manpages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME kestrune-viewer)
set(CPACK_PACKAGE_VENDOR "The Kestrune Viewer developers")
set(CPACK_PACKAGE_CONTACT "The Kestrune Viewer developers <maintainers@kestrune.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer for the specifications and change proposals of spec-driven projects")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrune Viewer reads the kestrune/ planning folder of a software project: current\n"
    "specifications, proposed changes with their task progress, and archived changes.\n"
    "It shows a dashboard per project, an outline with delta and status badges, and renders\n"
    "Markdown documents. It also ships kestrune-report (JSON report of a project) and\n"
    "kestrune-md (Markdown conversion).")
if(KESTRUNE_HOMEPAGE)
  set(CPACK_PACKAGE_HOMEPAGE_URL ${KESTRUNE_HOMEPAGE})
endif()
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG support is named outright: the symbols and the icon cannot be drawn without it, even
# in a build that reaches it only through a plugin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
