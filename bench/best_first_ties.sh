#!/bin/sh
# Time and peak resident memory of best first against as found for the same
# run, on value sets whose dividers tie in crowds: the integers 1 to 2000 k,
# where over a billion dividers are exact; 1.00 to 20.99 k in steps of 0.01,
# every shape; 1.00 to 18.99 k, whose 6.2 million exact dividers are fewer
# than the limit; and E192, every shape.
# Usage: bench/best_first_ties.sh [path/to/tarnel-cli] [thread counts...]
set -eu
cli=${1:-build/release/cli/tarnel-cli}
[ $# -gt 0 ] && shift
threads=${*:-2 64}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
seq 1 2000 >"$dir/ints.txt"
seq -f '%.2f' 1 0.01 20.99 >"$dir/steps.txt"
seq -f '%.2f' 1 0.01 18.99 >"$dir/steps19.txt"

run() { # threads, options
    n=$1
    shift
    TARNEL_THREADS=$n /usr/bin/time -f '%M %e %U %S' "$cli" "$@" 2>&1 >/dev/null | tail -n 1
}

ints="--values $dir/ints.txt --uin 2 --uout 1 --tol 0 --hi ser --lo ser --rmax 2000 --rsum-min 0.001 --rsum-max 9100000"
wide="--tol 100 --rmax 9100000 --rsum-min 1 --rsum-max 9100000 --hi 1,ser,par --lo 1,ser,par"

printf '| %-34s | %7s | %13s | %8s | %11s |\n' run threads 'peak RSS, MiB' 'time, s' 'CPU time, s'
printf '|%s|%s|%s|%s|%s|\n' ------------------------------------ --------- --------------- ---------- -------------
for n in $threads; do
    while IFS='|' read -r name options; do
        # time gives kilobytes, then elapsed, user and system seconds, on its last line.
        # shellcheck disable=SC2086
        set -- $(run "$n" $options)
        printf '| %-34s | %7s | %13s | %8s | %11s |\n' "$name" "$n" "$(( $1 / 1024 ))" "$2" \
            "$(echo "$3 $4" | awk '{ printf "%.2f", $1 + $2 }')"
    done <<CASES
integers, found 200|$ints --order found --max-results 200
integers, best 200|$ints --order best --max-results 200
integers, found 9,100,000|$ints --order found --max-results 9100000
integers, best 9,100,000|$ints --order best --max-results 9100000
steps of 0.01, found 9,100,000|--values $dir/steps.txt $wide --order found --max-results 9100000
steps of 0.01, best 9,100,000|--values $dir/steps.txt $wide --order best --max-results 9100000
steps to 18.99, found 9,100,000|--values $dir/steps19.txt $wide --order found --max-results 9100000
steps to 18.99, best 9,100,000|--values $dir/steps19.txt $wide --order best --max-results 9100000
E192, found 9,100,000|--series E192 $wide --order found --max-results 9100000
E192, best 9,100,000|--series E192 $wide --order best --max-results 9100000
CASES
done
