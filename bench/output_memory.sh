#!/bin/sh
# Peak resident memory and time of tarnel-cli's largest runs (9,100,000 E192
# lines) by thread count: json as found, and text best first.
# Usage: bench/output_memory.sh [path/to/tarnel-cli] [thread counts...]
set -eu
cli=${1:-build/release/cli/tarnel-cli}
[ $# -gt 0 ] && shift
threads=${*:-2 16 64}

run() { # threads, extra options
    n=$1
    shift
    TARNEL_THREADS=$n /usr/bin/time -f '%M %e' "$cli" --series E192 --tol 100 --rmax 9100000 \
        --rsum-min 1 --rsum-max 9100000 --max-results 9100000 --hi 1,ser,par --lo 1,ser,par \
        "$@" 2>&1 >/dev/null | tail -n 1
}

printf '| %-24s | %7s | %13s | %8s |\n' run threads 'peak RSS, MiB' 'time, s'
printf '|%s|%s|%s|%s|\n' -------------------------- --------- --------------- ----------
for what in json best; do
    for n in $threads; do
        case $what in
        json) set -- "$(run "$n" --format json)" ;;
        best) set -- "$(run "$n" --order best --format text)" ;;
        esac
        # time gives kilobytes and seconds on its last line.
        set -- $1
        printf '| %-24s | %7s | %13s | %8s |\n' \
            "$( [ $what = json ] && echo 'json, as found' || echo 'text, best first')" \
            "$n" "$(( $1 / 1024 ))" "$2"
    done
done
