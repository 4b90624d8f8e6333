# Desktop integration and the Debian package: launcher, metadata, icons, documentation, manual
# pages, CPack.
include(GNUInstallDirs)

set(KESTRUNE_PACKAGE_NAME kestrune-viewer)
# The documentation goes where Debian looks for it, named after the package, wherever installed.
set(KESTRUNE_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${KESTRUNE_PACKAGE_NAME})

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

# Compresses SOURCE into OUTPUT (ending in .gz) as Debian wants it: gzip -9n, no name or time
# stamp inside, so that the package is the same however often it is built.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
mark_as_advanced(GZIP_EXECUTABLE)
function(kestrune_gzip source output)
  string(REGEX REPLACE "\\.gz$" "" uncompressed ${output})
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${uncompressed}
    COMMAND ${GZIP_EXECUTABLE} -9nf ${uncompressed}
    DEPENDS ${source}
    VERBATIM)
endfunction()

# Documentation: the copyright in Debian's machine-readable form, written from the licence files
# so that their text is kept in one place; the changelog; the read-me.
function(kestrune_read_license file copyright_variable text_variable)
  file(READ ${file} text)
  if(NOT text MATCHES "Copyright \\(c\\) ([^\n]+)\n+(.+)$")
    message(FATAL_ERROR "${file}: no \"Copyright (c) ...\" line followed by the licence")
  endif()
  set(${copyright_variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  set(${text_variable} "${CMAKE_MATCH_2}" PARENT_SCOPE)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
endfunction()
kestrune_read_license(${PROJECT_SOURCE_DIR}/LICENSE KESTRUNE_COPYRIGHT project_license)
kestrune_read_license(${PROJECT_SOURCE_DIR}/src/ui/resources/symbols/LICENSE KESTRUNE_SYMBOLS_COPYRIGHT
                      symbols_license)
if(NOT symbols_license STREQUAL project_license)
  message(FATAL_ERROR "The symbols' licence is no longer the program's: give it a License paragraph "
                      "of its own in packaging/copyright.in")
endif()
# One space before each line of the licence, " ." for an empty one.
string(STRIP "${project_license}" KESTRUNE_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" KESTRUNE_LICENSE_TEXT "${KESTRUNE_LICENSE_TEXT}")
string(REPLACE "\n" "\n " KESTRUNE_LICENSE_TEXT " ${KESTRUNE_LICENSE_TEXT}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_BINARY_DIR}/packaging/doc/copyright @ONLY)

# The package's version has no Debian revision, so the changelog is that of a native package:
# changelog.gz, in Debian's format.
set(doc_files ${PROJECT_BINARY_DIR}/packaging/doc/changelog.gz ${PROJECT_BINARY_DIR}/packaging/doc/README.md.gz)
kestrune_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/doc/changelog.gz)
kestrune_gzip(${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/packaging/doc/README.md.gz)
add_custom_target(documentation ALL DEPENDS ${doc_files})
install(FILES ${PROJECT_BINARY_DIR}/packaging/doc/copyright ${doc_files} DESTINATION ${KESTRUNE_DOCDIR})

# What lintian reports of the package but cannot be changed, each with the reason.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${KESTRUNE_PACKAGE_NAME})

# Manual pages, written from each program's --help and --version by help2man, with the sections
# a help text does not hold (exit status, files, examples) from packaging/<program>.h2m.
set(kestrune-viewer_summary "read the specifications and changes of spec-driven projects")
set(kestrune-report_summary "print the outline and summary of a project, the review or history of a change, as JSON")
set(kestrune-md_summary "convert Markdown through the viewer's parser")
find_program(HELP2MAN_EXECUTABLE help2man)
find_program(PRECONV_EXECUTABLE preconv)
mark_as_advanced(HELP2MAN_EXECUTABLE PRECONV_EXECUTABLE)
if(HELP2MAN_EXECUTABLE)
  set(man_pages)
  foreach(program kestrune-viewer kestrune-report kestrune-md)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    set(includes ${PROJECT_SOURCE_DIR}/packaging/${program}.h2m ${PROJECT_SOURCE_DIR}/packaging/man-common.h2m)
    set(script ${PROJECT_SOURCE_DIR}/cmake/KestruneManPage.cmake)
    add_custom_command(OUTPUT ${page} ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 LC_ALL=C.UTF-8
              ${CMAKE_COMMAND} -DHELP2MAN=${HELP2MAN_EXECUTABLE} -DPRECONV=${PRECONV_EXECUTABLE}
              -DGZIP=${GZIP_EXECUTABLE} -DPROGRAM=$<TARGET_FILE:${program}> "-DSUMMARY=${${program}_summary}"
              "-DINCLUDES=${includes}" -DOUTPUT=${page} -P ${script}
      DEPENDS ${program} ${includes} ${script}
      VERBATIM)
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(manpages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found: the programs get no manual pages, and the package would "
                  "be incomplete")
endif()

set(CPACK_PACKAGE_NAME ${KESTRUNE_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The Kestrune Viewer developers")
set(CPACK_PACKAGE_CONTACT ${KESTRUNE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KESTRUNE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the specifications and change proposals of spec-driven projects")
# One string, lines of at most 80 characters: a list here would be joined with ";".
set(CPACK_PACKAGE_DESCRIPTION [=[
Kestrune Viewer reads the kestrune/ planning folder that a software project
keeps beside its code: the current specifications, the proposed changes with
their task progress, and the archive of finished changes. It shows a dashboard
per project and an outline with delta and status badges, and renders the
Markdown documents with an engine of its own. It never writes to a project.

The package also holds two command-line programs: kestrune-report prints the
outline and summary of a project, or how a change's requirements compare with
the current specifications, as JSON, for scripts and CI; kestrune-md converts
Markdown to HTML, CommonMark or plain text through the same parser.]=])
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
set(CPACK_KESTRUNE_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/KestrunePackageStrip.cmake)
include(CPack)
