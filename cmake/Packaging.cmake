# Installation and the Debian package. Included at the end of the top-level
# CMakeLists.txt, after every program's target exists: the window program's
# files are installed only once its target `titlewright` is there.

# TWR_VERSION and TWR_RELEASE_DATE come from the top-level CMakeLists.txt.
set(TWR_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/titlewright)
set(twr_generated ${PROJECT_BINARY_DIR}/packaging)

# The default settings: the example layouts with their pictures, headed for
# a user's own copy, and the virtual drive kept (commented) so that the
# programs work at once without hardware.
set(twr_examples ${PROJECT_SOURCE_DIR}/examples/twr.ini)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${twr_examples}
             ${PROJECT_SOURCE_DIR}/packaging/default-header.ini
             ${PROJECT_SOURCE_DIR}/packaging/default-virtual-drive.ini)
file(READ ${twr_examples} twr_example_settings)
string(FIND "${twr_example_settings}" "[Config]" twr_layouts_start)
string(FIND "${twr_example_settings}" "; The virtual drive:" twr_layouts_end)
if(twr_layouts_start LESS 0 OR twr_layouts_end LESS twr_layouts_start)
  message(FATAL_ERROR "examples/twr.ini: the layouts must run from [Config] to the virtual drive's comment")
endif()
math(EXPR twr_layouts_length "${twr_layouts_end} - ${twr_layouts_start}")
string(SUBSTRING "${twr_example_settings}" ${twr_layouts_start} ${twr_layouts_length} twr_layouts)
file(READ ${PROJECT_SOURCE_DIR}/packaging/default-header.ini twr_default_header)
file(READ ${PROJECT_SOURCE_DIR}/packaging/default-virtual-drive.ini twr_default_drive)
file(CONFIGURE OUTPUT ${twr_generated}/twr.ini
     CONTENT "${twr_default_header}${twr_layouts}${twr_default_drive}" @ONLY)

# Man pages, gzipped as Debian keeps them.
set(twr_man_pages twr)
if(TARGET titlewright)
  list(APPEND twr_man_pages titlewright)
endif()
set(twr_man_outputs)
foreach(page ${twr_man_pages})
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${twr_generated}/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${twr_generated}/${page}.1.gz
                     COMMAND gzip -9nc ${twr_generated}/${page}.1 > ${twr_generated}/${page}.1.gz
                     DEPENDS ${twr_generated}/${page}.1 VERBATIM)
  list(APPEND twr_man_outputs ${twr_generated}/${page}.1.gz)
endforeach()
add_custom_target(twr_man_pages ALL DEPENDS ${twr_man_outputs})
configure_file(${PROJECT_SOURCE_DIR}/packaging/org.titlewright.Titlewright.metainfo.xml
               ${twr_generated}/org.titlewright.Titlewright.metainfo.xml @ONLY)

install(TARGETS twr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${twr_generated}/twr.ini DESTINATION ${CMAKE_INSTALL_DATADIR}/titlewright)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/bg DESTINATION ${CMAKE_INSTALL_DATADIR}/titlewright
        FILES_MATCHING PATTERN "*.png" PATTERN "*.jpg" PATTERN "*.jpeg" PATTERN "*.bmp"
        PATTERN "*.gif" PATTERN "*.tif" PATTERN "*.tiff")
# The templates File > New offers (templates/make-templates.sh makes them):
# installed beside the layouts, and copied into the build tree's
# share/titlewright/templates, where the programs built here find them.
file(GLOB twr_templates CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/templates/*.twrlabel)
foreach(template ${twr_templates})
  get_filename_component(template_name ${template} NAME)
  configure_file(${template} ${PROJECT_BINARY_DIR}/share/titlewright/templates/${template_name}
                 COPYONLY)
endforeach()
install(FILES ${twr_templates} DESTINATION ${CMAKE_INSTALL_DATADIR}/titlewright/templates)
install(FILES ${twr_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/twr.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME twr)
# The design file's type (.twrlabel); shared-mime-info's trigger updates the
# database when the package is installed.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/titlewright-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME titlewright.xml)
if(TARGET titlewright)
  install(TARGETS titlewright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/titlewright.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${twr_generated}/org.titlewright.Titlewright.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/resources/titlewright.svg)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/titlewright.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The .deb: runtime dependencies only, the libraries found by dpkg-shlibdeps
# plus what is loaded without being linked (fonts, image format plugins, the
# Wayland platform plugin); udisks2 unmounts a disc before a burn where the
# desktop runs it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME titlewright)
set(CPACK_PACKAGE_VERSION ${TWR_VERSION})
set(CPACK_PACKAGE_VENDOR Titlewright)
set(CPACK_PACKAGE_CONTACT "Titlewright developers <titlewright@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design disc labels and etch them with an Etchlume drive")
set(CPACK_PACKAGE_DESCRIPTION
    "Titlewright designs a round disc label and etches it onto the disc with the laser of an\n"
    "Etchlume-capable DVD drive: on the label side of an Etchlume disc, or in Rimtone mode on\n"
    "the unrecorded outer band of a DVD-R/DVD+R data side. The twr command renders layouts,\n"
    "lists drives, identifies discs and burns; a virtual drive lets it be tried without\n"
    "hardware.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-dejavu-core, qt6-image-formats-plugins, qt6-wayland")
# The program's own translations are compiled in; Qt's (standard buttons,
# file dialogs) come from qt6-translations-l10n, without which they stay
# English. udisks2 unmounts a disc the desktop mounted before a burn.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udisks2, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
