#!/bin/sh
# Builds the Debian package from the build tree, checks what it holds and what it depends on and,
# as root, installs it for real and runs the programs from the PATH.
# Usage: tests/package.sh BUILD-DIRECTORY
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/obr-io-utility_*_amd64.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/obrio ./usr/bin/obr-io-utility /obr-io-utility/libobrcore.so \
    "./usr/share/obr-io-utility/SEGY Standard.xml" ./usr/share/obr-io-utility/docs/index.html \
    ./usr/share/man/man1/obrio.1 ./usr/share/bash-completion/completions/obrio \
    ./usr/share/applications/obr-io-utility.desktop ./usr/share/mime/packages/obr-io-utility.xml \
    ./usr/share/icons/hicolor/scalable/apps/obr-io-utility.svg ./usr/share/icons/hicolor/256x256/apps/obr-io-utility.png; do
    echo "$contents" | grep -qF "$path" || fail "the package lacks $path"
done

# Depends: what the programs link, from dpkg-shlibdeps; nothing they do not load.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libqt5core5a libqt5gui5 libqt5widgets5 libqt5multimedia5 libfftw3-double3 libpq5; do
    echo "$depends" | grep -q "\\b$package\\b" || fail "Depends lacks $package: $depends"
done
echo "$depends" | grep -q python3 && fail "Depends names a python package: $depends"
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) kB; Depends: $depends"

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing the package needs root"
    exit 0
fi
if dpkg-query -W obr-io-utility >/dev/null 2>&1; then
    echo "SKIP: obr-io-utility is installed on this machine already; left alone"
    exit 0
fi
apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=120 "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install"; }
status=0
(
    cd "$work"
    export HOME="$work" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen
    obrio --version && obrio segy format-template >/dev/null && obrio setup >/dev/null &&
        [ -f "$HOME/Documents/krd/SegyFormats/SEGY Standard.xml" ]
) || status=$?
apt-get remove -y -o DPkg::Lock::Timeout=120 obr-io-utility >/dev/null 2>&1 || fail "apt-get remove"
[ "$status" -eq 0 ] || fail "the installed programs did not work"
echo "installed with apt-get, ran, removed"
