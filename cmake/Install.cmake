# What `cmake --install` puts under the prefix (the two programs, the desktop entry and icon,
# the manual pages, the user guides) and the Debian package CPack makes of it (`cpack -G DEB`).
# Nothing is installed beside the programs: they need no file of their own at run time.
include(GNUInstallDirs)

set(ZELOR_VERSION 1.04)
set(ZELOR_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# Debian keeps a package's documents under its own name.
set(ZELOR_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zelor-pui)

if(TARGET zelor-pui)
  target_compile_definitions(zelor-pui PRIVATE ZELOR_VERSION="${ZELOR_VERSION}")
  install(TARGETS zelor-pui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${ZELOR_PACKAGING_DIR}/zelor-pui.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${ZELOR_PACKAGING_DIR}/zelor-pui.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
if(TARGET zelor-pui-sim)
  install(TARGETS zelor-pui-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.en.md ${PROJECT_SOURCE_DIR}/docs/guide.ru.md
        DESTINATION ${ZELOR_DOC_DIR})
file(GLOB ZELOR_GUIDE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/guide-*.png)
if(ZELOR_GUIDE_PICTURES)
  install(FILES ${ZELOR_GUIDE_PICTURES} DESTINATION ${ZELOR_DOC_DIR})
endif()

# Manual pages, made by help2man from each program's --help (the tool answers it without a
# display), with the sections of packaging/<program>.h2m added.
find_program(ZELOR_HELP2MAN help2man)
if(NOT ZELOR_HELP2MAN)
  message(WARNING "help2man not found: no manual pages are built or installed")
else()
  set(ZELOR_MAN_DIR ${PROJECT_BINARY_DIR}/man)
  file(MAKE_DIRECTORY ${ZELOR_MAN_DIR})
  set(ZELOR_MAN_PAGES "")
  set(zelor-pui_MAN_NAME "service tool of the ZELOR-PUI fire and security alarm panel")
  set(zelor-pui-sim_MAN_NAME "simulated ZELOR-PUI panel on a pseudo-terminal or serial device")
  foreach(prog zelor-pui zelor-pui-sim)
    if(NOT TARGET ${prog})
      continue()
    endif()
    set(page ${ZELOR_MAN_DIR}/${prog}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${ZELOR_HELP2MAN} --no-info --section=1 --version-string=${ZELOR_VERSION}
              "--name=${${prog}_MAN_NAME}" --include=${ZELOR_PACKAGING_DIR}/${prog}.h2m
              --output=${page} $<TARGET_FILE:${prog}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${prog} ${ZELOR_PACKAGING_DIR}/${prog}.h2m
      COMMENT "Manual page of ${prog}"
      VERBATIM)
    list(APPEND ZELOR_MAN_PAGES ${page}.gz)
  endforeach()
  add_custom_target(zelor_man_pages ALL DEPENDS ${ZELOR_MAN_PAGES})
  install(FILES ${ZELOR_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package: dpkg-shlibdeps finds the libraries the programs link (Qt 6 Widgets and
# SerialPort, the C++ runtime); the fonts the window is laid out in and Qt's Russian texts are
# recommended.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelor-pui)
set(CPACK_PACKAGE_VERSION ${ZELOR_VERSION})
set(CPACK_PACKAGE_VENDOR "ZELOR-PUI service tool developers")
set(CPACK_PACKAGE_CONTACT "ZELOR-PUI service tool developers <zelor-pui@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service tool and simulator for the ZELOR-PUI alarm panel")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${ZELOR_PACKAGING_DIR}/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
include(CPack)
