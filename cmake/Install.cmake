# Install layout and the Debian package.
#
#   bin/telquest                      launcher (packaging/telquest-launcher.sh)
#   bin/tqlookup                      command line
#   libexec/telquest/telquest         the Qt program itself
#   share/telquest/                   data files (TELQUEST_DATA_NAMES)
#   share/applications/telquest.desktop
#   share/gnome-shell/search-providers/io.github.telquest.Telquest.search-provider.ini
#   share/dbus-1/services/io.github.telquest.Telquest.SearchProvider.service
#   share/krunner/dbusplugins/telquest-krunner.desktop
#   share/metainfo/io.github.telquest.Telquest.metainfo.xml
#   share/icons/hicolor/*/apps/telquest.{png,svg}
#   share/man/man1/{telquest,tqlookup}.1.gz
#   share/doc/telquest/copyright
#
# The program reads its data and settings from the current directory; the
# launcher starts it in a per-user folder that links to share/telquest.
# tqlookup looks for share/telquest beside its own bin/ (cli/CMakeLists.txt),
# so both work under any prefix given to `cmake --install --prefix`. Build
# the package with `cpack -G DEB` in a build tree configured with
# -DCMAKE_INSTALL_PREFIX=/usr (see packaging/README.md).

include(GNUInstallDirs)

set(TELQUEST_INSTALL_DATA_FROM "${PROJECT_SOURCE_DIR}/res" CACHE PATH
  "Folder whose data files are installed")
set(TELQUEST_MAINTAINER "The Telquest Pro developers <maintainers@telquest.invalid>" CACHE STRING
  "Maintainer field of the Debian package")

set(telquest_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(telquest_datadir ${CMAKE_INSTALL_DATADIR}/telquest)

# -- command line -------------------------------------------------------------

if(TARGET tqlookup)
  install(TARGETS tqlookup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# -- data files ---------------------------------------------------------------
# The one list of the data files of a data folder: the launcher links these
# (packaging/telquest-launcher.sh) and the manifest covers them
# (tools/data/manifest.py). The first three are required: an install without
# them fails with a clear message rather than producing a program that finds
# no cities; the others are installed when they have been generated. The
# manifest stays last: the launcher leaves it out beside data of the user's
# own, which it would call damaged.

set(TELQUEST_DATA_NAMES cit.bin arc.bin exc.bin ctz.bin tzl.bin knd.bin pln.bin pst.bin tqdata.manifest)
set(telquest_required_data cit.bin arc.bin exc.bin)

set(telquest_data_files)
foreach(name IN LISTS TELQUEST_DATA_NAMES)
  set(file ${TELQUEST_INSTALL_DATA_FROM}/${name})
  if(EXISTS ${file})
    list(APPEND telquest_data_files ${file})
  elseif(name IN_LIST telquest_required_data)
    list(APPEND telquest_data_files ${file})
    message(WARNING "${file} does not exist yet; installing will fail until it is generated "
                    "(tools/data) or TELQUEST_INSTALL_DATA_FROM names a folder that has it.")
  endif()
endforeach()
install(CODE "
  foreach(file ${telquest_data_files})
    if(NOT EXISTS \${file})
      message(FATAL_ERROR \"Data file \${file} is missing: generate the data files before installing.\")
    endif()
  endforeach()")
install(FILES ${telquest_data_files} DESTINATION ${telquest_datadir})
# For the launcher: the names as one line of words.
string(REPLACE ";" " " TELQUEST_DATA_NAMES_WORDS "${TELQUEST_DATA_NAMES}")
string(REPLACE ";" " " TELQUEST_REQUIRED_DATA_WORDS "${telquest_required_data}")

# -- manual pages ---------------------------------------------------------------
# Compressed as Debian ships them, when gzip is at hand.

find_program(TELQUEST_GZIP gzip)
set(telquest_man_pages tqlookup.1)
if(TELQUEST_GUI)
  list(APPEND telquest_man_pages telquest.1)
endif()
set(telquest_man_outputs)
foreach(page IN LISTS telquest_man_pages)
  # The pages name the version of project() in CMakeLists.txt.
  set(configured ${CMAKE_CURRENT_BINARY_DIR}/man/${page})
  configure_file(${telquest_packaging}/${page} ${configured} @ONLY)
  if(TELQUEST_GZIP)
    set(out ${configured}.gz)
    add_custom_command(OUTPUT ${out}
      COMMAND ${TELQUEST_GZIP} -9nkf ${configured}
      DEPENDS ${configured}
      COMMENT "Compressing manual page ${page}"
      VERBATIM)
  else()
    set(out ${configured})
  endif()
  list(APPEND telquest_man_outputs ${out})
endforeach()
if(TELQUEST_GZIP)
  add_custom_target(telquest_man_pages ALL DEPENDS ${telquest_man_outputs})
endif()
install(FILES ${telquest_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# -- licence ------------------------------------------------------------------

install(FILES ${telquest_packaging}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# -- the window program ---------------------------------------------------------
# Deferred to the end of the top directory so that it sees the `telquest`
# target wherever that is defined.

function(telquest_install_application)
  if(NOT TARGET telquest)
    return()
  endif()
  install(TARGETS telquest RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/telquest)

  # The launcher finds the program and the data relative to its own folder.
  file(RELATIVE_PATH TELQUEST_LIBEXEC_FROM_BIN
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBEXECDIR}/telquest)
  file(RELATIVE_PATH TELQUEST_DATA_FROM_BIN
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/telquest)
  configure_file(${telquest_packaging}/telquest-launcher.sh
    ${CMAKE_CURRENT_BINARY_DIR}/packaging/telquest @ONLY)
  install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/packaging/telquest
    DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The desktop entry and the desktop search's D-Bus service (GNOME Shell and
  # KRunner start `telquest --search-provider` through D-Bus activation) name
  # the launcher by the prefix installed to (`--prefix`), so they are written
  # at install time.
  install(CODE "
    set(TELQUEST_PACKAGING [[${telquest_packaging}]])
    set(TELQUEST_BINDIR [[${CMAKE_INSTALL_BINDIR}]])
    set(TELQUEST_DATADIR [[${CMAKE_INSTALL_DATADIR}]])")
  install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallStartFiles.cmake)
  install(FILES ${telquest_packaging}/io.github.telquest.Telquest.search-provider.ini
    DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/search-providers)
  install(FILES ${telquest_packaging}/telquest-krunner.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/krunner/dbusplugins)
  configure_file(${telquest_packaging}/io.github.telquest.Telquest.metainfo.xml
    ${CMAKE_CURRENT_BINARY_DIR}/packaging/io.github.telquest.Telquest.metainfo.xml @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/io.github.telquest.Telquest.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/telquest-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME telquest.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/res/icons/telquest.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL telquest_install_application)

# -- Debian package -------------------------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME telquest)
set(CPACK_PACKAGE_VENDOR "The Telquest Pro developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lookup of North American telephone area codes")
set(CPACK_PACKAGE_DESCRIPTION
  "Telquest Pro answers which places an area code of the North American\n"
  "Numbering Plan serves, and which area codes serve a city, a state or a\n"
  "province: the largest city, the major cities, the state or province and\n"
  "the local time zone, with a map.\n"
  "\n"
  "The package holds the desktop program (telquest) and the command line\n"
  "tqlookup, which prints the same answers.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
# Installed with DESTDIR, so that files written at install time see /usr.
set(CPACK_SET_DESTDIR ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TELQUEST_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/telquest/telquest")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(TELQUEST_GUI)
  # The platform plugins are not linked, so dpkg-shlibdeps cannot see them.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
endif()

include(CPack)
