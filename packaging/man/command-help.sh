#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes a help2man include that gives each command of springcalc-cli a section of the manual
# page, made from that command's own --help. The commands are the ones the program's --help lists
# under "Commands:", so a new command or option reaches the manual page without an edit here.
#
# usage: command-help.sh PROGRAM OUTPUT
set -euo pipefail

program=${1:?program}
output=${2:?output file}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

commands=$("$program" --help |
    awk '/^Commands:/ { listing = 1; next } listing && /^$/ { exit } listing && /^  [a-z]/ { print $1 }')
if [ -z "$commands" ]; then
    echo "$0: $program --help lists no commands" >&2
    exit 1
fi

# Plain text as roff: a backslash printed as such, dashes as minus signs (options stay
# copyable), and no line read as a request.
roff() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^[.']/\\\\\\&&/"; }

for command in $commands; do
    "$program" "$command" --help >"$work/help"
    name=$(tr '[:lower:]' '[:upper:]' <<<"$command")
    # The usage paragraph, which may run over several lines, is one more synopsis line.
    usage=$(sed -n '1,/^$/p' "$work/help" | tr -s ' \n' '  ' | sed -e 's/^Usage: *//' -e 's/ *$//')
    {
        echo '[>SYNOPSIS]'
        echo '.br'
        echo ".B ${usage%% *}"
        roff <<<"${usage#* }"
    } >>"$work/include"
    # help2man lays out the rest as it does for the program's own --help: paragraphs, option
    # lists and headed groups. It runs "cat FILE" here, so the section has only that text.
    sed '1,/^$/d' "$work/help" >"$work/body"
    echo "[$name COMMAND]" >>"$work/include"
    # Headings help2man raises to sections ("Options:" becomes OPTIONS) stay inside this one.
    help2man --no-info --locale=C.UTF-8 --version-string=body --name=body \
        --help-option="$work/body" cat |
        sed '1,/^\.SH DESCRIPTION$/d' |
        awk '/^\.SH / { heading = substr($0, 5); gsub(/"/, "", heading)
                        $0 = ".SS \"" substr(heading, 1, 1) tolower(substr(heading, 2)) ":\"" }
             { print }' >>"$work/include"
done
mv "$work/include" "$output"
