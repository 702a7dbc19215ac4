#!/usr/bin/env bash
# Builds the Debian package build-package/sightcheck_<version>_<arch>.deb and
# checks it with lintian, which must report no errors. The build is the one
# the tests run (RelWithDebInfo), stripped as it is packaged.
set -euo pipefail
cd "$(dirname "$0")/.."

# cpack needs dpkg-shlibdeps; lintian is wanted only here.
./tools/install-deps.sh dpkg-dev lintian

build="build-package"
# Debian's hardening flags, as its own packages are built with; none of them
# touches the floating-point arithmetic.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
# Nothing but what goes into the package is built: no tests, no benchmarks.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSIGHT_WERROR=ON -DSIGHT_BENCH=OFF \
    -DSIGHT_DEB_LAYOUT=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
cmake --build "$build" -j"$(nproc)" --target sightcheck sightform sightform-sheets installables debian_changelog
rm -f "$build"/sightcheck_*.deb
(cd "$build" && cpack -G DEB)

deb=$(ls "$build"/sightcheck_*.deb)
echo
dpkg-deb --info "$deb"
echo
echo "lintian $deb:"
lintian --fail-on error --info --display-info "$deb" && echo "lintian: no errors"
