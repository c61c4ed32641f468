# Installing and packaging the game.
#
#   cmake --install build --prefix /usr         # or: DESTDIR=/tmp/stage cmake --install build
#   cd build && cpack -G DEB                    # zentrove_<version>_<arch>.deb
#
# The game reads its pictures and sounds from data/ beside its own executable,
# which it finds through /proc/self/exe. So the real binary and data/ are
# installed together into a private folder, <libdir>/zentrove, and the command
# on the PATH, <bindir>/zentrove, is a relative symbolic link to that binary:
# the kernel resolves the link, so the game still finds its folder, and the
# current directory, where the game keeps its state file, stays the caller's.
# Only the game is installed; tests, probes and benchmarks have no install rules.
# The desktop entry, the AppStream metainfo and the icons live in packaging/
# (the icons are rendered from data/ by tools/gen_icon.py and committed).

include(GNUInstallDirs)

set(ZT_APP_ID org.zentrove.Zentrove)
set(ZT_PRIVATE_DIR ${CMAKE_INSTALL_LIBDIR}/zentrove)
set(ZT_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS zentrove RUNTIME DESTINATION ${ZT_PRIVATE_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${ZT_PRIVATE_DIR}/data
  FILES_MATCHING PATTERN "*.png" PATTERN "*.wav" PATTERN "*.ogg")

# The launcher link is made in the build tree and installed as a link. It is
# relative, so the installed tree works under any prefix, DESTDIR or package
# root; only an absolute libdir needs an absolute target.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(zt_launcher_target ${CMAKE_INSTALL_FULL_LIBDIR}/zentrove/zentrove)
elseif(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  set(zt_launcher_target ${CMAKE_INSTALL_PREFIX}/${ZT_PRIVATE_DIR}/zentrove)
else()
  file(RELATIVE_PATH zt_launcher_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${ZT_PRIVATE_DIR}/zentrove)
endif()
set(zt_launcher ${PROJECT_BINARY_DIR}/packaging/zentrove)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
file(CREATE_LINK ${zt_launcher_target} ${zt_launcher} SYMBOLIC)
install(PROGRAMS ${zt_launcher} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${ZT_PACKAGING_DIR}/${ZT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZT_PACKAGING_DIR}/${ZT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ZT_PACKAGING_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# ---- the Debian package ----
set(ZT_PACKAGE_CONTACT "Zentrove maintainers <maintainers@zentrove.invalid>" CACHE STRING
  "Maintainer named in the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrove)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZT_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game in a circular arena")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Steer a ship that never stops moving over the junk that fills a circular
arena's grid while enemies fly in, ride the rim and fire inwards. Three
difficulties with their own score tables; keyboard, mouse or gamepads.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the libraries the binary links (libglfw3, libopenal1, libopengl0,
# libstb0, ...); GLX comes through libGL, which GLFW opens at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# GLFW opens these X extensions at run time if present (video modes for full screen, cursors, raw input).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxrandr2, libxcursor1, libxi6, libxinerama1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "__pycache__")
include(CPack)
