#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# springcalc-cli as real processes around one report: two runs at once, signals in the middle of
# a run, a report that cannot be cut back, pictures replaced while a run is stopped, targets
# that are not plain files. Each run whose input comes through a FIFO is held at a known point:
# it has the report open and locked, and waits for more rows.
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'exec 7>&- 8>&- 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

header='name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len'
rows() {  # rows FIRST COUNT
    for ((i = $1; i < $1 + $2; i++)); do echo "d$i,compression,SWPA,1.20,8.8,7,23,20,18"; done
}
blocks() { iconv -f CP932 -t UTF-8 "$1" | grep -c 'コイルばねの設計'; }
{ echo "$header"; rows 0 3000; } >good.csv
{ echo "$header"; rows 0 3000; echo "x,compression,SWX,1,1,1,1,1,1"; } >bad.csv
kept=$'kept\r\n'
printf '%s' "$kept" >kept.txt

# Waits until FILE is longer than SIZE bytes (a run's first piece of the report is in).
await_size() {
    for _ in $(seq 600); do
        [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -gt "$2" ] && return 0
        sleep 0.1
    done
    return 1
}
# Waits until process PID holds a report's lock (STATE "") or waits for it (STATE "-> ").
await_lock() {
    for _ in $(seq 600); do
        grep -q "^[0-9]*: $2FLOCK .* $1 " /proc/locks && return 0
        sleep 0.1
    done
    return 1
}
await_waiter() { await_lock "$1" "-> "; }

# Waits up to five seconds for FILE to hold TEXT.
await() {
    for _ in $(seq 50); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# --- Two runs on one report: the one that fails takes back its own blocks only, whichever came
# first and whichever made the file.
for first in good bad; do
    second=$([ "$first" = good ] && echo bad || echo good)
    for start in existing new; do
        rm -f r.txt fifo err1 err2
        [ "$start" = existing ] && printf '%s' "$kept" >r.txt
        mkfifo fifo
        "$cli" check --report r.txt <fifo >/dev/null 2>err1 &
        one=$!
        exec 7>fifo
        echo "$header" >&7
        rows 0 10 >&7
        await_lock $one "" || fail "$first/$start: the first run does not take the report"
        "$cli" check --report r.txt "$second.csv" >/dev/null 2>err2 7>&- &
        two=$!
        await err2 'is being written by another program; waiting' ||
            fail "$first/$start: the second run does not wait: $(cat err2)"
        rows 10 2990 >&7
        [ "$first" = bad ] && echo "x,compression,SWX,1,1,1,1,1,1" >&7
        exec 7>&-
        wait $one
        status1=$?
        wait $two
        status2=$?
        [ "$(blocks r.txt)" = 3000 ] ||
            fail "$first/$start: $(blocks r.txt) blocks left, not the good run's 3000"
        [ "$start" = new ] || head -c 6 r.txt | cmp -s - kept.txt || fail "$first/$start: kept lost"
        if [ "$first" = good ]; then good=$status1 bad=$status2; else good=$status2 bad=$status1; fi
        [ "$good" = 0 ] && [ "$bad" = 2 ] || fail "$first/$start: statuses $good and $bad"
    done
done

# --- Signals: every block this run appended is taken back, a file it made is removed, one line
# is told, and the status is the signal's.
for signal in INT TERM HUP; do
    for start in existing new; do
        rm -rf r.txt fifo plots err
        mkdir plots
        [ "$start" = existing ] && printf '%s' "$kept" >r.txt
        mkfifo fifo
        "$cli" check --report r.txt --plot plots <fifo >/dev/null 2>err &
        run=$!
        exec 7>fifo
        { echo "$header"; rows 0 400; } >&7
        # A piece of the report is written: the run is in the middle of it.
        await_size r.txt "$([ "$start" = existing ] && echo 6 || echo 0)" ||
            fail "SIG$signal: the run appended nothing"
        kill -s "$signal" $run
        wait $run
        status=$?
        exec 7>&-
        case $signal in INT) want=130 ;; TERM) want=143 ;; HUP) want=129 ;; esac
        [ "$status" = "$want" ] || fail "SIG$signal: status $status, not $want"
        [ "$(cat err)" = "springcalc-cli: stopped by SIG$signal; nothing was appended to r.txt." ] ||
            fail "SIG$signal: told \"$(cat err)\""
        if [ "$start" = existing ]; then
            cmp -s r.txt kept.txt || fail "SIG$signal: the report is not as it was"
        else
            [ ! -e r.txt ] || fail "SIG$signal: the report the run made is still there"
        fi
        [ -z "$(find plots -size 0 -o -name '.*' -type f)" ] ||
            fail "SIG$signal: a half picture is left: $(ls -a plots | head)"
    done
done

# --- Another run or another program changes the report under a run that then stops: the run
# takes out its own bytes only, never makes the file longer, removes only a file that is still
# its own, and says what it left. Each is put in its order with SIGSTOP and the lock table, and
# is run once alone and then again beside two busy processes.
{ echo "$header"; rows 0 2; } >two.csv
# Starts a run that appends to r.txt the rows written to descriptor 7, and gives it 400 rows.
start_run() {
    rm -f fifo && mkfifo fifo
    "$cli" check --report r.txt <fifo >/dev/null 2>"$1" 7>&- &
    run=$!
    exec 7>fifo
    { echo "$header"; rows 0 400; } >&7
}
# Ctrl+C reaches two runs on one report, the one that holds it and the one that waits for it;
# the waiting one gets to handle it last.
waiting_run_interrupted_last() {
    printf '%s' "$kept" >r.txt
    start_run err1
    one=$run
    await_size r.txt 6 || fail "$1: the first run appended nothing"
    "$cli" check --report r.txt two.csv >/dev/null 2>err2 7>&- &
    two=$!
    await_waiter $two || fail "$1: the second run does not wait for the lock"
    kill -STOP $two
    kill -INT $two
    kill -INT $one
    wait $one
    status1=$?
    kill -CONT $two
    wait $two
    status2=$?
    exec 7>&-
    [ "$status1/$status2" = 130/130 ] || fail "$1: statuses $status1 and $status2"
    cmp -s r.txt kept.txt || fail "$1: the report is $(stat -c %s r.txt) bytes, not as it was"
    [ "$(tail -n 1 err2)" = "springcalc-cli: stopped by SIGINT; nothing was appended to r.txt." ] ||
        fail "$1: the waiting run told \"$(cat err2)\""
}
# Another program empties the report after the run appended to it; the run ends by a signal,
# or by a bad row after it appended more.
emptied_under_the_run() {
    for end in signal bad-row; do
        head -c 51000 /dev/zero | tr '\000' 'k' >r.txt
        start_run err1
        await_size r.txt 51000 || fail "$1/$end: the run appended nothing"
        : >r.txt
        if [ $end = signal ]; then
            kill -INT $run
            # Told as cut short, or, when the run wrote on at the file's new start before the
            # signal and took that back, as nothing appended: the file is empty either way.
            want="springcalc-cli: stopped by SIGINT; (another program cut r.txt short during the run, so it was left as that program left it|nothing was appended to r.txt)\.$"
        else
            rows 400 400 >&7
            await_size r.txt 0 || fail "$1/$end: the run appended nothing after"
            echo "x,compression,SWX,1,1,1,1,1,1" >&7
            want="the check stopped at the first bad row; nothing was appended to r\.txt\.$"
        fi
        exec 7>&-
        wait $run
        [ ! -s r.txt ] || fail "$1/$end: the emptied report is $(stat -c %s r.txt) bytes now"
        grep -qE "$want" err1 || fail "$1/$end: told \"$(cat err1)\""
    done
}
# The run made the report; it is moved aside and another run makes and finishes a new one.
moved_and_made_again() {
    rm -f r.txt moved.txt
    start_run err1
    await_size r.txt 0 || fail "$1: the run appended nothing"
    mv r.txt moved.txt
    "$cli" check --report r.txt two.csv >/dev/null 2>err2 7>&- || fail "$1: $(cat err2)"
    echo "x,compression,SWX,1,1,1,1,1,1" >&7
    exec 7>&-
    wait $run
    [ "$(blocks r.txt)" = 2 ] || fail "$1: the other run's report holds $(blocks r.txt) blocks"
    [ -e moved.txt ] && [ ! -s moved.txt ] || fail "$1: the moved file is not left empty"
    grep -qF "r.txt was moved or replaced by another program during the run" err1 ||
        fail "$1: told \"$(cat err1)\""
}
for case in waiting_run_interrupted_last emptied_under_the_run moved_and_made_again; do
    $case "$case"
done
{ while :; do :; done; } &
busy1=$!
{ while :; do :; done; } &
busy2=$!
for ((round = 1; round <= ${SHARED_REPORT_ROUNDS:-20}; round++)); do
    for case in waiting_run_interrupted_last emptied_under_the_run moved_and_made_again; do
        $case "$case, busy, round $round"
    done
done
kill $busy1 $busy2
wait $busy1 $busy2 2>/dev/null

# --- Pictures are replaced whole: a run stopped while it rewrites a folder leaves each picture
# old or new, never cut short.
mkdir -p again
{ echo "$header"; rows 0 3000; } >many.csv
"$cli" check --plot again many.csv >/dev/null
for delay in 0.05 0.1 0.2; do
    "$cli" check --plot again many.csv >/dev/null 2>&1 &
    run=$!
    sleep $delay
    kill -TERM $run
    wait $run
done
for picture in again/*.svg; do
    [ "$(tail -c 7 "$picture")" = $'</svg>' ] || { fail "$picture is not whole"; break; }
done
[ "$(find again -name '.*' -type f | wc -l)" = 0 ] || fail "temporary pictures left in again/"

# --- A report that may only be appended to cannot be cut back: the message says what stayed.
printf '%s' "$kept" >append-only.txt
if chattr +a append-only.txt 2>/dev/null; then
    "$cli" check --report append-only.txt bad.csv >/dev/null 2>err
    status=$?
    chattr -a append-only.txt
    [ "$status" = 2 ] || fail "append-only: status $status"
    grep -q "append-only.txt keeps [0-9]* bytes of this run's blocks, which could not be removed: Operation not permitted" err ||
        fail "append-only: told \"$(cat err)\""
else
    echo "(skipped: chattr +a needs root on a file system that has it)"
fi

# --- Targets that are not plain files are refused at once, without waiting for a reader; a
# report that is standard output or the input is refused; a link to a file not made yet makes it.
rm -f fifo && mkfifo fifo
mkdir -p fifo-plots && mkfifo fifo-plots/001-d0.svg
refused() {  # refused WHAT MESSAGE SHELL-COMMAND ($cli stands for the program)
    timeout 5 bash -c "$3" _ "$cli" >/dev/null 2>err
    status=$?
    [ "$status" = 2 ] && grep -qF "$2" err || fail "$1: status $status, told \"$(cat err)\""
}
refused "a FIFO" "not a regular file" '"$1" check --report fifo two.csv'
refused "a FIFO with a reader" "not a regular file" \
    'cat fifo >/dev/null & "$1" check --report fifo two.csv; s=$?; kill %1; exit $s'
refused "a FIFO for a picture" "cannot write fifo-plots/001-d0.svg: not a regular file" \
    '"$1" check --plot fifo-plots two.csv'
refused "standard output" "it is standard output" '"$1" check --report /dev/stdout two.csv >out.txt'
refused "standard error" "it is standard error" '"$1" check --report /dev/stderr two.csv 2>out.txt; s=$?; cat out.txt >&2; exit $s'
mkdir -p links
ln -sf made-by-link.txt links/link.txt  # relative to the link's own folder
"$cli" check --report links/link.txt two.csv >/dev/null || fail "a link to a file not made yet"
[ "$(blocks links/made-by-link.txt)" = 2 ] || fail "the link's target does not hold the report"

# --- Out of memory is one line and status 2, and the report is as it was. (Not under
# AddressSanitizer, which needs terabytes of address space.)
if ! ldd "$cli" | grep -q libasan; then
    printf '%s' "$kept" >r.txt
    told=0
    # From just above what the program needs to start: below it the loader, or the exception
    # pool the C++ library sets up before main, fails before the program can say anything. That
    # grows with the program, so it is found each time: the least limit, to 50 kB, at which
    # --version runs.
    low=1000 high=262144
    while [ $((high - low)) -gt 50 ]; do
        mid=$(((low + high) / 2))
        if (ulimit -v $mid && exec "$cli" --version >/dev/null 2>&1); then high=$mid; else low=$mid; fi
    done
    for limit in $high $((high + 100)) $((high + 200)) $((high + 300)); do
        (ulimit -v $limit && exec "$cli" check --report r.txt good.csv >/dev/null 2>err)
        status=$?
        [ "$status" = 0 ] && continue
        [ "$status" = 2 ] && [ "$(wc -l <err)" = 1 ] || fail "memory $limit kB: $status, $(cat err)"
        cmp -s r.txt kept.txt || fail "memory $limit kB: the report changed"
        told=$((told + 1))
    done
    [ $told -gt 0 ] || echo "(no limit tried was short enough to fail)"
fi

[ $failures = 0 ] && echo "all passed"
exit $((failures > 0))
