#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and looks at it the way a desktop does: the entry and
# the AppStream metadata must pass their validators, every name they use (program, icon, desktop
# id) must be a file that was installed, and the installed program must start. The manual pages
# must format cleanly and tell all that --help tells, bash-completion must find the completion,
# and, where lintian is installed, the Debian package packed from the build must give it
# nothing to say above an informational note.
#
# usage: install_test.sh BUILD_DIR [CMAKE [CPACK]]
set -uo pipefail

build_dir=${1:?build folder}
cmake=${2:-cmake}
cpack=${3:-cpack}
bash_completion=/usr/share/bash-completion/bash_completion

for tool in desktop-file-validate appstreamcli man; do
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

# --- manual pages -------------------------------------------------------------------------------
man1=$prefix/share/man/man1
for page in springcalc springcalc-cli; do
    if [ ! -f "$man1/$page.1.gz" ]; then
        fail "no manual page $page.1.gz in share/man/man1"
        continue
    fi
    # groff's warnings are what lintian reports against a manual page.
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1 does not format cleanly: $warnings"
done

# Every line of the program's --help and of each command's --help, as it reads in the formatted
# page (line breaks, blanks and the "Usage:" caption aside; groff may also break a line after a
# dash).
cli=$prefix/bin/springcalc-cli
flatten() { sed -e 's/^Usage: *//' | tr '\n' ' ' | tr -s ' ' | sed -e 's/- /-/g'; }
if [ -f "$man1/springcalc-cli.1.gz" ] && [ -x "$cli" ]; then
    page=$(LC_ALL=C.UTF-8 MANWIDTH=80 MANROFFOPT=-rHY=0 man -l "$man1/springcalc-cli.1.gz" | flatten)
    commands=$("$cli" --help |
        awk '/^Commands:/ { on = 1; next } on && /^$/ { exit } on && /^  [a-z]/ { print $1 }')
    [ -n "$commands" ] || fail "springcalc-cli --help lists no commands"
    for command in "" $commands; do
        while IFS= read -r line; do
            line=$(flatten <<<"$line")
            line=${line# }
            line=${line% }
            [ -z "$line" ] || [[ $page == *"$line"* ]] ||
                fail "man springcalc-cli lacks from '${command:+$command }--help': $line"
        done < <("$cli" ${command:+"$command"} --help)
    done
    for section in 'EXIT STATUS' EXAMPLES 'SEE ALSO'; do
        [[ $page == *" $section "* ]] || fail "man springcalc-cli has no $section"
    done
fi

# --- bash completion: found where bash-completion looks, by the name of the command -------------
if [ ! -f "$bash_completion" ]; then
    fail "bash-completion is missing: run scripts/ensure-deps"
else
    loaded=$(BASH_COMPLETION_USER_DIR=$work/none XDG_DATA_HOME=$work/none \
        XDG_DATA_DIRS=$prefix/share bash -c \
        "source $bash_completion && __load_completion springcalc-cli && complete -p springcalc-cli" 2>&1)
    [[ $loaded == *"-F _springcalc_cli springcalc-cli"* ]] ||
        fail "bash-completion does not load a completion for springcalc-cli: $loaded"
fi

# --- the Debian package, as lintian sees it -----------------------------------------------------
# Packed afresh from this build into the scratch folder, so a stale .deb is never the one checked.
if command -v lintian >/dev/null; then
    if ! (cd "$build_dir" && "$cpack" -G DEB -B "$work/package") >"$work/cpack.log" 2>&1; then
        cat "$work/cpack.log" >&2
        fail "cpack"
    else
        deb=("$work"/package/*.deb)
        # Overrides are in the package itself, each with its reason.
        report=$(lintian --fail-on error,warning "${deb[0]}" 2>/dev/null)
        status=$?
        [ $status -eq 0 ] || fail "lintian on $(basename "${deb[0]}") (status $status): $report"
    fi
else
    echo "lintian is not installed: the package was not checked (scripts/ensure-deps installs it)"
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "installed tree in order"
