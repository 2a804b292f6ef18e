#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang) and runs each for the
# given number of seconds (default 60), starting from a copy of its seed
# corpus in fuzz/corpus, so that the committed seeds stay as they are. An
# input that fails is kept in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/install-deps.sh
cmake --preset fuzz -DTARNEL_WERROR=ON >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build/fuzz/artifacts
for target in number_text command_line result_line stock_file; do
  cp -r "fuzz/corpus/$target" "$work/$target"
  echo "Fuzzing ${target}_fuzz for ${seconds} s"
  if ! build/fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=60 \
      -artifact_prefix=build/fuzz/artifacts/ "$work/$target" >"$work/$target.log" 2>&1; then
    cat "$work/$target.log"
    exit 1
  fi
  tail -n 2 "$work/$target.log"
done
