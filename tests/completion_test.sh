#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Calls springcalc-cli's bash completion as bash would, with the words typed so far, and
# compares what it offers. The material designations it offers must be the program's own.
#
# usage: completion_test.sh COMPLETION_FILE PROGRAM
set -uo pipefail

completion=${1:?completion file}
program=$(realpath "${2:?springcalc-cli}")
bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -f "$bash_completion" ]; then
    echo "bash-completion is missing: run scripts/ensure-deps" >&2
    exit 1
fi
# shellcheck source=/dev/null
source "$bash_completion"
# shellcheck source=/dev/null
source "$completion"
# compopt works only while bash itself is completing.
compopt() { :; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/springs.csv" "$work/other.csv"
mkdir "$work/plots"
cd "$work" || exit 1

failures=0
# The words read, one set of blanks between them, in sorted order.
sorted() { tr -s ' \n' '\n' | grep -v '^$' | sort | tr '\n' ' '; }
# expect "WORD WORD ... CURRENT" "OFFERED ..." : the words as bash splits the line ("--by=m" is
# "--by" "=" "m"), the last being the one under the cursor.
expect() {
    local line=$1 wanted=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=${line// = /=}
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _springcalc_cli springcalc-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local offered
    offered=$(printf '%s\n' "${COMPREPLY[@]}" | sorted)
    wanted=$(sorted <<<"$wanted")
    if [ "$offered" != "$wanted" ]; then
        echo "FAIL: '$line' offers '$offered', expected '$wanted'" >&2
        failures=$((failures + 1))
    fi
}

materials=$("$program" search --kind compression --load 1@20 --rate 0.5 --top 1 |
    sed -n 's/^Materials: \(.*\)\.$/\1/p' | tr -d ,)
[ -n "$materials" ] || { echo "FAIL: no material list from $program search" >&2; exit 1; }
# The wire standards, as check --help lists them under --materials.
standards=$("$program" check --help | sed -n '/The standards:$/,/^  --/p' | sed '1d;$d' | tr -d ,)
[ -n "$standards" ] || { echo "FAIL: no wire standards in $program check --help" >&2; exit 1; }

# Every option a command's --help lists, and no other: an option added to the program and not
# to the completion (or dropped from one and kept in the other) fails here.
for command in check search; do
    listed=$("$program" "$command" --help | grep -oE '^ +(-h, )?--[a-z-]+' | grep -oE -- '--[a-z-]+' | sort -u)
    [ -n "$listed" ] || { echo "FAIL: $program $command --help lists no options" >&2; exit 1; }
    expect "springcalc-cli $command --" "$listed"
done
expect 'springcalc-cli ' 'check search --help --version'
expect 'springcalc-cli s' 'search'
expect 'springcalc-cli check --tolerance-grade ' 'JIS-1 JIS-2 JIS-3 EN-1 EN-2 EN-3'
expect 'springcalc-cli search --tolerance-grade = E' 'EN-1 EN-2 EN-3'
expect 'springcalc-cli check --materials-file o' 'other.csv'
expect 'springcalc-cli search --max-stress-ratio ' ''
expect 'springcalc-cli check --p' '--plot --peened'
expect 'springcalc-cli check --hook-radius ' ''
expect 'springcalc-cli check --u' '--units'
expect 'springcalc-cli check --units ' 'kgf si'
expect 'springcalc-cli check --ends pinned' 'pinned-pinned'
expect 'springcalc-cli check --ends fixed-f' 'fixed-fixed fixed-free'
expect 'springcalc-cli check --json sp' 'springs.csv'
expect 'springcalc-cli check --report o' 'other.csv'
expect 'springcalc-cli check --plot ' 'plots'
expect 'springcalc-cli search --m' '--max-od --min-id --max-free-len --materials --max-index
    --min-turns --max-slenderness --min-frequency --min-fatigue --max-stress-ratio --max-pitch-ratio
    --moment --moment-rate --mandrel --max-body-len --materials-file'
expect 'springcalc-cli search --no' '--no-buckling'
expect 'springcalc-cli search --a' '--allow-buckling --all --allow-close-coils --any-initial-tension'
expect 'springcalc-cli search --r' '--rate --repeated'
expect 'springcalc-cli search --e' '--ends'
expect 'springcalc-cli search --i' '--initial-tension'
expect 'springcalc-cli check --i' '--initial-tension'
expect 'springcalc-cli search --min-turns ' ''
expect 'springcalc-cli search --kind ' 'compression extension torsion'
expect 'springcalc-cli search --kind = e' 'extension'
expect 'springcalc-cli search --by ' 'stress mass'
expect 'springcalc-cli search --load ' ''
expect 'springcalc-cli search --top ' ''
expect 'springcalc-cli search --materials ' "$materials $standards"
expect 'springcalc-cli check --materials ASTM-A2' 'ASTM-A227 ASTM-A228 ASTM-A229'
expect 'springcalc-cli check --temperature ' ''
expect 'springcalc-cli search --materials = SWP' 'SWPA SWPB'
# An item of the list at a time, leaving out the ones already given.
expect 'springcalc-cli search --materials SWPA,SUS3' 'SWPA,SUS304-WPA SWPA,SUS316-WPA SWPA,SUS304-WPB'
expect 'springcalc-cli search --materials SUS304-WPA,SWB,SUS' 'SUS304-WPA,SWB,SUS316-WPA SUS304-WPA,SWB,SUS304-WPB'
expect 'springcalc-cli search --kind compression sp' ''

if [ $failures -ne 0 ]; then
    echo "$failures completion(s) wrong" >&2
    exit 1
fi
echo "completion offers what it should"
