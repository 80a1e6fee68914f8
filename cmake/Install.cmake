# cmake --install: the program, its res/ (with Leaflet), a desktop file, the
# icon at the usual sizes, AppStream metainfo and a man page made from
# --help; cpack -G DEB packs the same tree with shlibdeps' dependencies.
include(GNUInstallDirs)

# The desktop file, the metainfo and the icon go by this id.
set(VANTREL_APP_ID "org.example.vantrel" CACHE STRING "Reverse-DNS id of the desktop application")
string(TIMESTAMP VANTREL_RELEASE_DATE "%Y-%m-%d" UTC)
set(data_out ${CMAKE_BINARY_DIR}/data)
# Where the installed program looks for res/ when it is not found beside it.
target_compile_definitions(vantrel_app PRIVATE
  VANTREL_INSTALL_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/vantrel")
configure_file(${CMAKE_SOURCE_DIR}/data/vantrel.desktop.in ${data_out}/${VANTREL_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/vantrel.metainfo.xml.in
               ${data_out}/${VANTREL_APP_ID}.metainfo.xml @ONLY)

# The icon: the SVG as it is, and PNGs rendered from it.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_sizes 16 24 32 48 64 128 256)
set(icon_pngs "")
foreach(size ${icon_sizes})
  set(png ${data_out}/icons/${size}/vantrel.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${data_out}/icons/${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${CMAKE_SOURCE_DIR}/data/vantrel.svg -o ${png}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/vantrel.svg)
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The man page is --help and --version, as help2man lays them out.
find_program(HELP2MAN help2man REQUIRED)
set(man_page ${data_out}/vantrel.1)
add_custom_command(OUTPUT ${man_page}
  COMMAND ${HELP2MAN} --no-info --no-discard-stderr
          --name "player for dashcam recordings with their GPS track"
          --section 1 --output ${man_page} $<TARGET_FILE:vantrel>
  DEPENDS vantrel)
add_custom_target(desktop_files ALL DEPENDS ${icon_pngs} ${man_page})

install(TARGETS vantrel vantrel-play RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/res/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/res)
install(FILES ${data_out}/${VANTREL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data_out}/${VANTREL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/vantrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "The Vantrel developers <vantrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "player for dashcam recordings with their GPS track")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
