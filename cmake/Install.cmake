# What `cmake --install` puts under the prefix, and the Debian package CPack
# builds from it. Included after the programs are defined.
#
#   bin/tk410, bin/tk410ctl
#   share/tk410/                       catalogue, languages, pictures, icon
#   share/applications/<id>.desktop    the menu entry
#   share/metainfo/<id>.metainfo.xml   AppStream data
#   share/icons/hicolor/*/apps/<id>.*  the icon, SVG and PNGs rendered from it
#   share/man/man1/tk410{,ctl}.1.gz
#   share/bash-completion/completions/tk410ctl
#   share/doc/tk410/{copyright,changelog.gz}
#   lib/udev/rules.d/70-tk410.rules    made from config.xml by tk410ctl udev-rules

set(TK410_APP_ID "io.github.tk410.Configurator")
set(TK410_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(TK410_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TK410_GENERATED_DIR})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tk410)
install(FILES ${TK410_PACKAGING_DIR}/${TK410_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TK410_PACKAGING_DIR}/completion/tk410ctl
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# AppStream: the version and one modalias per USB id of the catalogue.
file(STRINGS ${CMAKE_SOURCE_DIR}/data/config.xml catalogue_modes REGEX "vid=\"[0-9A-Fa-f]+\" pid=\"[0-9A-Fa-f]+\"")
set(TK410_MODALIASES "")
foreach(mode ${catalogue_modes})
  string(REGEX MATCH "vid=\"([0-9A-Fa-f]+)\" pid=\"([0-9A-Fa-f]+)\"" _ "${mode}")
  string(TOUPPER "${CMAKE_MATCH_1}" vid)
  string(TOUPPER "${CMAKE_MATCH_2}" pid)
  string(APPEND TK410_MODALIASES "    <modalias>usb:v${vid}p${pid}d*</modalias>\n")
endforeach()
string(STRIP "${TK410_MODALIASES}" TK410_MODALIASES)
set(TK410_MODALIASES "    ${TK410_MODALIASES}")
configure_file(${TK410_PACKAGING_DIR}/${TK410_APP_ID}.metainfo.xml
               ${TK410_GENERATED_DIR}/${TK410_APP_ID}.metainfo.xml @ONLY)
install(FILES ${TK410_GENERATED_DIR}/${TK410_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons: the SVG as drawn, PNGs rendered from it.
set(TK410_ICON_SVG ${CMAKE_SOURCE_DIR}/data/icons/tk410.svg)
install(FILES ${TK410_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TK410_APP_ID}.svg)
# The PNGs are made beside the programs' data in the build tree (the window
# loads them from there, or from share/tk410/icons once installed).
find_program(RSVG_CONVERT rsvg-convert)
set(icon_pngs "")
if(RSVG_CONVERT)
  foreach(size 48 128 256)
    set(png ${CMAKE_BINARY_DIR}/bin/icons/tk410-${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/icons
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${TK410_ICON_SVG}
      DEPENDS ${TK410_ICON_SVG} VERBATIM)
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TK410_APP_ID}.png)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/tk410/icons)
  endforeach()
else()
  message(WARNING "rsvg-convert not found: the PNG icons are not made (scripts/deps.sh installs librsvg2-bin)")
endif()

# Manual pages and the Debian changelog, with the version, compressed.
add_custom_target(tk410icons ALL DEPENDS ${icon_pngs})
add_dependencies(tk410data tk410icons)  # the window and its tests load them
if(TARGET tk410)
  add_dependencies(tk410 tk410icons)
endif()
set(packaging_outputs "")
foreach(page tk410 tk410ctl)
  configure_file(${TK410_PACKAGING_DIR}/man/${page}.1 ${TK410_GENERATED_DIR}/man/${page}.1 @ONLY)
endforeach()
configure_file(${TK410_PACKAGING_DIR}/debian/changelog ${TK410_GENERATED_DIR}/changelog @ONLY)
foreach(file man/tk410.1 man/tk410ctl.1 changelog)
  set(gz ${TK410_GENERATED_DIR}/${file}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9 -n -c ${TK410_GENERATED_DIR}/${file} > ${gz}
    DEPENDS ${TK410_GENERATED_DIR}/${file})
  list(APPEND packaging_outputs ${gz})
endforeach()
install(FILES ${TK410_GENERATED_DIR}/man/tk410.1.gz ${TK410_GENERATED_DIR}/man/tk410ctl.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TK410_PACKAGING_DIR}/debian/copyright ${TK410_GENERATED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tk410)

# The udev rule, from the catalogue, by the code of `tk410ctl udev-rules`.
if(TARGET tk410ctl)
  set(rules ${TK410_GENERATED_DIR}/70-tk410.rules)
  add_custom_command(OUTPUT ${rules}
    COMMAND ${CMAKE_COMMAND} -E env TK410_DATA_DIR=${CMAKE_SOURCE_DIR}/data
            $<TARGET_FILE:tk410ctl> udev-rules > ${rules}
    DEPENDS tk410ctl ${CMAKE_SOURCE_DIR}/data/config.xml)
  list(APPEND packaging_outputs ${rules})
  install(FILES ${rules} DESTINATION lib/udev/rules.d)
endif()
add_custom_target(tk410packaging ALL DEPENDS ${packaging_outputs})

# ------------------------------------------------------------ Debian package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tk410)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The TK410 configurator developers <maintainers@users.noreply.c-seed-30c9f21a.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility of the TEVO TK410 gaming mouse")
set(CPACK_PACKAGE_DESCRIPTION
  "Sets the DPI stages and their colours, report rate, lift-off distance,\n\
response time, sleep time, lighting, what each of the eleven buttons does\n\
(keys, media keys, shortcuts, texts, macros) and five profiles of the TEVO\n\
TK410 mouse, wired or through its receiver. Comes with tk410ctl, a\n\
command-line tool for scripts, and a udev rule that lets the user at the\n\
seat open the mouse.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The rule is reloaded from the maintainer scripts; udev itself is on every
# desktop already, so it is only recommended (containers build without it).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${TK410_PACKAGING_DIR}/debian/postinst ${TK410_PACKAGING_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
