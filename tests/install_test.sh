#!/usr/bin/env bash
# Installs the build into a scratch prefix and looks at it the way a desktop does: the entry and
# the AppStream metadata must pass their validators, every name they use (program, icon, desktop
# id) must be a file that was installed, and the installed program must start.
#
# usage: install_test.sh BUILD_DIR [CMAKE]
set -uo pipefail

build_dir=${1:?build folder}
cmake=${2:-cmake}

for tool in desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing: run scripts/ensure-deps" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! "$cmake" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

# --- desktop entry ------------------------------------------------------------------------------
entry=$prefix/share/applications/springcalc.desktop
if [ ! -f "$entry" ]; then
    echo "FAIL: no share/applications/springcalc.desktop installed" >&2
    exit 1
fi
# desktop-file-validate exits 0 on warnings; a desktop may still ignore such an entry.
report=$(desktop-file-validate "$entry" 2>&1)
status=$?
if [ $status -ne 0 ] || grep -qE ': (error|warning): ' <<<"$report"; then
    fail "desktop-file-validate: $report"
fi

key() { sed -n "s/^$1=//p" "$entry"; }
grep -q '^Name\[ja\]=' "$entry" || fail "the desktop entry has no Japanese name"

program=$(key Exec)
program=${program%% *}
[ -x "$prefix/bin/$program" ] || fail "Exec=$program is not an installed program in bin/"
[ "$(key TryExec)" = "$program" ] || fail "TryExec differs from Exec ($(key TryExec))"

# --- icons: the name in the entry, at every size installed, each file really that size ---------
icon=$(key Icon)
hicolor=$prefix/share/icons/hicolor
for size in 32 64 128; do
    png=$hicolor/${size}x${size}/apps/$icon.png
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon named '$icon'"
        continue
    fi
    # PNG signature, then the IHDR chunk: width and height as big-endian 32-bit numbers.
    signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    read -r width height < <(od -An -j16 -N8 --endian=big -tu4 "$png")
    [ "$signature" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
    [ "$width $height" = "$size $size" ] || fail "$png is ${width}x${height}, not ${size}x${size}"
done
svg=$hicolor/scalable/apps/$icon.svg
if [ ! -f "$svg" ]; then
    fail "no scalable icon named '$icon'"
elif ! grep -q '<svg .*viewBox="0 0 32 32"' "$svg"; then
    fail "$svg is not the 32-unit drawing"
fi

# --- AppStream metadata -------------------------------------------------------------------------
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
if [ ${#metainfo[@]} -ne 1 ] || [ ! -f "${metainfo[0]}" ]; then
    fail "expected one metainfo file, found: ${metainfo[*]}"
else
    file=${metainfo[0]}
    # The file name is how software centres find the component: it must be the id.
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$file")
    [ "$(basename "$file" .metainfo.xml)" = "$id" ] ||
        fail "$(basename "$file") does not match the component id '$id'"
    grep -q '<launchable type="desktop-id">springcalc.desktop</launchable>' "$file" ||
        fail "the metadata does not launch springcalc.desktop"
    grep -q "<binary>$program</binary>" "$file" || fail "the metadata does not provide '$program'"
    appstreamcli validate --no-net "$file" >&2 || fail "appstreamcli validate"
    # The tree check also follows the launchable to the installed desktop entry.
    appstreamcli validate-tree --no-net "$prefix" >&2 || fail "appstreamcli validate-tree"
fi

# --- the installed program starts and keeps running ---------------------------------------------
if [ -x "$prefix/bin/$program" ]; then
    mkdir -p "$work/home"
    HOME=$work/home XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=offscreen \
        timeout 2 "$prefix/bin/$program" >"$work/run.log" 2>&1
    status=$?
    if [ $status -ne 124 ]; then
        cat "$work/run.log" >&2
        fail "the installed $program ended with status $status instead of running"
    fi
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree in order"
