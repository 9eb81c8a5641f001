#!/bin/sh
# Installs the build into a temporary prefix, moves the installation elsewhere and runs the
# installed programs from there with a fresh home, outside the build and source trees: they must
# find their library, help pages and standard format in the installation alone.
# Usage: tests/install.sh BUILD-DIRECTORY
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/staged" >/dev/null
# Nothing may point into the prefix the installation was made for.
mv "$work/staged" "$work/moved"
prefix=$work/moved
share=$prefix/share/obr-io-utility
unset LD_LIBRARY_PATH XDG_DOCUMENTS_DIR 2>/dev/null || true
export PATH="$prefix/bin:/usr/bin:/bin"
export QT_QPA_PLATFORM=offscreen

# A fresh home for each run, the current directory in it.
fresh_home() {
    export HOME="$work/$1" XDG_CONFIG_HOME="$work/$1/.config" XDG_DATA_HOME="$work/$1/.local/share"
    mkdir -p "$HOME"
    cd "$HOME"
}

# The library comes from the installation.
ldd "$prefix/bin/obrio" | grep -q "=> $prefix/.*/libobrcore.so" || fail "obrio does not load the installed library"
readelf -d "$prefix/bin/obr-io-utility" | grep -q 'R.*PATH.*\$ORIGIN/\.\./lib' || fail "obr-io-utility has no relative RUNPATH"
! readelf -d "$prefix/bin/obrio" | grep -q "$build" || fail "obrio still points into the build tree"

fresh_home version
version=$(obrio --version) || fail "obrio --version failed"
expr "$version" : 'obrio [0-9]*\.[0-9]*\.[0-9]*$' >/dev/null || fail "obrio --version printed '$version'"

# The pages and the format are copied from the installation: marked there, the copies carry the marks.
echo '<!-- installed copy -->' >>"$share/docs/index.html"
printf '<!-- installed copy -->\n' >>"$share/SEGY Standard.xml"
copied_from_install() {
    grep -q 'installed copy' "$1/Docs/index.html" || fail "$2: help pages not copied from $share"
    grep -q 'installed copy' "$1/SegyFormats/SEGY Standard.xml" || fail "$2: standard format not copied from $share"
    [ "$(ls "$1/Docs" | wc -l)" -eq "$(ls "$share/docs" | wc -l)" ] || fail "$2: not every help page copied"
}

fresh_home setup
obrio setup >/dev/null || fail "obrio setup failed"
copied_from_install "$HOME/Documents/krd" "obrio setup"

# A small SEG-Y file: one trace of 10 IEEE samples at 1 ms.
segy=$work/line.sgy
head -c 3880 /dev/zero >"$segy"
put() { printf "$2" | dd of="$segy" bs=1 seek="$1" conv=notrunc 2>/dev/null; }
put 3216 '\003\350'
put 3220 '\000\012'
put 3224 '\000\005'

# The window's first start in a working root that has none of them yet, as the desktop entry
# starts it on a file; it runs until stopped.
fresh_home window
mkdir -p "$HOME/Documents/krd"
desktop=$prefix/share/applications/obr-io-utility.desktop
grep -q '^Exec=obr-io-utility %f$' "$desktop" || fail "desktop entry: $(grep Exec "$desktop")"
status=0
timeout 10 obr-io-utility "$segy" >"$work/window.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/window.log" >&2; fail "the window ended by itself with status $status"; }
copied_from_install "$HOME/Documents/krd" "the window"

fresh_home segy
info=$(obrio segy info --format "$share/SEGY Standard.xml" "$segy") || fail "obrio segy info failed"
echo "$info" | grep -q '^Samples per trace: *10$' || fail "segy info: $info"
echo "$info" | grep -q '^Trace count: *1$' || fail "segy info: $info"
obrio segy info --json "$segy" | grep -q '"traceCount": 1' || fail "segy info --json"

# Bash completion offers tools, actions and options from the installed obrio's help.
complete_words() {
    bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _obrio; echo "${COMPREPLY[*]}"' \
        sh "$prefix/share/bash-completion/completions/obrio" "$@"
}
[ "$(complete_words obrio se)" = "segd segy setup" ] || fail "completion of tools: $(complete_words obrio se)"
[ "$(complete_words obrio segy in)" = "info" ] || fail "completion of actions: $(complete_words obrio segy in)"
[ "$(complete_words obrio tape map --j)" = "--json" ] || fail "completion of options"

# The MIME types are well formed.
if command -v xmllint >/dev/null; then
    xmllint --noout "$prefix/share/mime/packages/obr-io-utility.xml" || fail "MIME types"
fi
[ -s "$prefix/share/man/man1/obrio.1" ] || fail "no manual page"
echo "installed programs work from $prefix"
