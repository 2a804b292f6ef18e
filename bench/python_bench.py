"""Figures of the Python module: its search against tarnel-cli's on the same requests, and to_numpy().
Usage: PYTHONPATH=build/release/python python3 bench/python_bench.py build/release/cli/tarnel-cli"""
import subprocess
import sys
import time

import tarnel

CLI = sys.argv[1]
RUNS = 7
CASES = {
    "no divider, every shape, Tol 0, E192": "--series E192 --tol 0 --hi 1,ser,par --lo 1,ser,par",
    "feedback, E192, worst case, best 200": "--use feedback --uin 1.8 --uout 0.8 --tol 3 --criterion worst-case "
                                            "--source-tolerance 1 --series E192 --order best --hi 1,ser,par --lo 1,ser,par",
    "9,100,000 found, E24, as found": "--tol 100 --rmax 9100000 --rsum-min 1 --rsum-max 9100000 --max-results 9100000 "
                                      "--hi 1,ser,par --lo 1,ser,par",
}


def best_of(run):
    times = []
    for _ in range(RUNS):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times), sorted(times)[RUNS // 2]


def keywords(options):
    words = options.split()
    names = {"hi": "high", "lo": "low"}
    return {names.get(o[2:], o[2:].replace("-", "_")): v for o, v in zip(words[::2], words[1::2])}


def cli(options):
    # The search and its summary without the lines: one line is listed, the count is the whole
    # (the last --max-results counts).
    return lambda: subprocess.run([CLI, *options.split(), "--max-results", "1"], capture_output=True, check=True)


startup = best_of(lambda: subprocess.run([CLI, "--version"], capture_output=True, check=True))[0]
print(f"tarnel-cli start and exit: {startup * 1e3:.1f} ms (taken off its figures)")
for name, options in CASES.items():
    request = keywords(options)
    py_best, py_median = best_of(lambda: tarnel.search(**{**request, "max_results": 1}))
    cli_best, cli_median = best_of(cli(options))
    print(f"{name}: search {py_best * 1e3:.1f} ms (median {py_median * 1e3:.1f}), "
          f"tarnel-cli {(cli_best - startup) * 1e3:.1f} ms (median {(cli_median - startup) * 1e3:.1f})")

result = tarnel.search(**{**keywords(CASES["9,100,000 found, E24, as found"]), "max_results": 1_000_000})
seconds = best_of(result.to_numpy)
print(f"to_numpy() of {len(result):,} dividers: {seconds[0]:.2f} s (median {seconds[1]:.2f} s), "
      f"{result.to_numpy().nbytes / 2**20:.0f} MiB")
