# The Debian package, made by `cpack -G DEB` in a build configured with
# SIGHT_DEB_LAYOUT=ON (tools/package.sh does both).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sightcheck)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${SIGHT_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "checker for celestial sight reductions by the Q(x) and QQ(x) tables")
set(CPACK_PACKAGE_DESCRIPTION
  "A navigator who has worked a celestial sight by hand with the Q(x) or QQ(x)
table (both derived from the Ageton method) enters GHA, declination and DR
position; the program works the whole reduction the way the printed work
form does and prints every table value and special rule, so that each step
of the hand work can be compared.

The package holds the window, sightcheck, and the command sightform, which
prints the same worked form for one sight or a file of them.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SIGHT_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries come from dpkg-shlibdeps; these are what it cannot see. The
# X11 platform plugin ships in libqt6gui6, which the programs link, but the
# Wayland one is a package of its own, loaded only at run time. The window
# font needs Liberation Sans at least; the metric-compatible Tahoma of
# fonts-wine is better still.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
