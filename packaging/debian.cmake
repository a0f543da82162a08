# The Debian package of the timer, made by CPack (scripts/package): the program, its sound
# module, the desktop entry, the AppStream file, the icons, the man page and the Debian
# documentation files. Configure with CMAKE_INSTALL_PREFIX=/usr so that the program finds its
# module where the package puts it.
include(GNUInstallDirs)

set(steepo_packaging_dir ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${steepo_packaging_dir})
# Debian wants the manual and the changelog compressed, without a time stamp in the archive.
foreach(source steepo.1 debian/changelog)
  get_filename_component(name ${source} NAME)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${source} ${steepo_packaging_dir}/${name} @ONLY)
  execute_process(COMMAND gzip -9nf ${steepo_packaging_dir}/${name} RESULT_VARIABLE gzipped)
  if(NOT gzipped EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${steepo_packaging_dir}/${name}")
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${steepo_packaging_dir}/copyright @ONLY)

install(FILES ${steepo_packaging_dir}/steepo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
install(FILES ${steepo_packaging_dir}/copyright ${steepo_packaging_dir}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/steepo COMPONENT program)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME steepo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${STEEPO_AUTHOR_NAME})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tea timer with a liquid-crystal display")
# The long description, below the summary line that CPack takes from the summary.
set(CPACK_PACKAGE_DESCRIPTION "Steepo counts the brewing time of your tea down on a simulated liquid-crystal
display and rings when the tea is ready: the window comes back from the
taskbar, a dialog stays on top, a chime sounds and a desktop notification
appears. The time steps by 15 seconds; the last time set is remembered.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STEEPO_AUTHOR_NAME} <${STEEPO_AUTHOR_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${STEEPO_WEB_ADDRESS}/steepo")
# The libraries the program links, found by dpkg-shlibdeps; besides them Qt's platform plugins
# and the media backend that the sound module loads.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, gstreamer1.0-plugins-base")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
