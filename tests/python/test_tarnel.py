"""The module against the command line: the same lines, figures and messages."""
import csv
import io
import math
import os
import signal
import subprocess
import threading
import time

import pytest

import tarnel

CLI = os.environ["TARNEL_CLI"]
STOCK = os.path.join(os.environ["TARNEL_SOURCE"], "docs", "stock-example.txt")


def cli(args):
    return subprocess.run([CLI, *args], capture_output=True, text=True, env={"LC_ALL": "C"})


def keyword(option):
    return {"hi": "high", "lo": "low"}.get(option, option.replace("-", "_"))


def number_or_text(text):
    try:
        return float(text)
    except ValueError:
        return text


def keywords(args):
    """--a-b v ... as keywords a_b=v, numbers as floats, --hi and --lo as high and low (as lists)."""
    out = {keyword(option[2:]): value for option, value in zip(args[::2], args[1::2])}
    return {name: value.split(",") if name in ("high", "low") else number_or_text(value) for name, value in out.items()}


CASES = [
    ["--uin", "12", "--uout", "3.3", "--tol", "1", "--hi", "1,ser"],
    ["--uin", "12", "--uout", "3.3", "--tol", "1", "--hi", "1,ser,par", "--lo", "1,ser,par", "--order", "best",
     "--max-results", "20"],
    ["--use", "feedback", "--uin", "1.8", "--uout", "0.8", "--tol", "3", "--criterion", "worst-case",
     "--source-tolerance", "1", "--series", "E96", "--order", "best", "--ratio", "h/l"],
    ["--values", STOCK, "--uin", "12", "--uout", "3.3", "--tol", "2", "--hi", "1,ser", "--exclude", "4k7"],
    ["--uin", "5", "--uout", "6"],
]


@pytest.mark.parametrize("args", CASES)
def test_results_are_the_command_lines(args):
    result = tarnel.search(**keywords(args))
    expected = cli(args + ["--format", "csv"])
    out = io.StringIO()
    result.to_csv(out)
    assert out.getvalue() == expected.stdout
    assert result.summary == (expected.stderr.removeprefix("tarnel-cli: ").rstrip("\n") or None)
    assert [str(d) for d in result] == cli(args).stdout.splitlines()[: len(result)]
    rows = list(csv.DictReader(io.StringIO(expected.stdout)))
    table = result.to_numpy()
    assert len(rows) == len(result) == len(table) == result.shown <= result.count
    for row, divider, record in zip(rows, result, table):
        for column, text in row.items():
            value = divider.to_dict()[column]
            assert getattr(divider, column) == value
            if isinstance(value, str):
                assert value == text == record[column]
            elif value is None:
                assert text == "" and math.isnan(record[column])
            else:
                assert value == record[column] and math.isclose(value, float(text), rel_tol=1e-11)


def test_values_given_as_a_list_read_as_a_stock_file(tmp_path):
    values = ["4k7", 10, 2.2, "100R", 1000.0, 0.0001]
    (tmp_path / "stock").write_text("\n".join(map(str, values)))
    listed = tarnel.search(uin=12, uout=3.3, tol=20, values=values)
    assert [str(d) for d in listed] == cli(["--uin", "12", "--uout", "3.3", "--tol", "20",
                                            "--values", str(tmp_path / "stock")]).stdout.splitlines()
    assert tarnel.read_stock(tmp_path / "stock") == ([0.1, 2.2, 4.7, 10.0, 1000.0], 1)


def test_no_divider_is_told_why():
    result = tarnel.search(rmin=100, rmax=10)
    why = "--rmin 100 k is above --rmax 10 k; with --rmin 0.001 there are 2"
    assert (len(result), result.why_none, result.summary) == (0, why, "No divider: " + why)
    assert tarnel.search().why_none is tarnel.search().summary is None  # 24 dividers, all listed


@pytest.mark.parametrize("args", [
    ["--uin", "x"],
    ["--uout", "0", "--order", "bad", "--rmin", "1M5x"],
    ["--hi", "1,foo"],
    ["--ratio", "1:1"],
    ["--series", "E7"],
    ["--only", "4k7", "--only", "x"],
    ["--values", STOCK, "--series", "E96"],
])
def test_bad_input_raises_the_command_lines_message(args):
    expected = [line.replace("--", "") if " and --" in line else keyword(line.split()[0]) + ": " + line.split(" ", 1)[1]
                for line in cli(args).stderr.replace("tarnel-cli: --", "").splitlines()]
    with pytest.raises(ValueError) as raised:
        tarnel.search(**keywords(args))
    assert str(raised.value).splitlines() == expected


@pytest.mark.parametrize("call, error, message", [
    (lambda: tarnel.search(values="/no/such/stock"), FileNotFoundError, "cannot be read: No such file or directory"),
    (lambda: tarnel.search(values=os.path.dirname(STOCK)), OSError, "is not a regular file"),
    (lambda: tarnel.search(values=["4k7", "x"]), ValueError, 'values: line 2: "x" is no resistor value'),
    (lambda: tarnel.search(exclude=[1, 2, 3], only=[4, 5]), ValueError, 'only: "5": at most four'),
    (lambda: tarnel.search(uni=12), TypeError, "unexpected keyword argument 'uni'"),
    (lambda: tarnel.search(12), TypeError, "keyword arguments only"),
    (lambda: tarnel.search(uin=[12]), TypeError, "uin: takes a number or a text, not list"),
    (lambda: tarnel.series("E5"), ValueError, 'series: "E5" is no series'),
    (lambda: tarnel.read_stock("/no/such/stock"), FileNotFoundError, "No such file"),
    (lambda: tarnel.search()[24], IndexError, "out of range"),
    (lambda: tarnel.search().to_csv("/no/such/dir/out.csv"), FileNotFoundError, "No such file"),
])
def test_every_other_fault_raises_its_error(call, error, message):
    with pytest.raises(error, match=message):
        call()


BIG = dict(tol=100, series="E192", rmax=9100000, rsum_min=1, rsum_max=9100000, max_results=9100000,
           high="1,ser,par", low="1,ser,par", order="best")


def tasks():
    return len(os.listdir("/proc/self/task"))


def test_a_signal_stops_a_search_while_it_runs():
    alone, seen = tasks(), []

    def interrupt(signum, frame):
        seen.append(tasks())
        raise KeyboardInterrupt

    previous = signal.signal(signal.SIGALRM, interrupt)
    signal.setitimer(signal.ITIMER_REAL, 0.2)
    try:
        with pytest.raises(KeyboardInterrupt):
            tarnel.search(**BIG)
    finally:
        signal.signal(signal.SIGALRM, previous)
    assert seen[0] > alone  # the handler ran while the search's threads did
    assert len(tarnel.search()) == 24


def test_two_threads_search_at_once():
    request = dict(uin=12, uout=3.3, tol=1, series="E96", high="1,ser,par", low="1,ser,par", max_results=5000)
    alone = [str(d) for d in tarnel.search(**request)]
    found = {}
    threads = [threading.Thread(target=lambda k=k: found.update({k: [str(d) for d in tarnel.search(**request)]}))
               for k in range(2)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert found == {0: alone, 1: alone}
    long_search = threading.Thread(target=tarnel.search, kwargs=dict(BIG, order="found"))
    long_search.start()
    time.sleep(0.02)  # the other search under way, unless the interpreter is held
    tarnel.search()
    assert long_search.is_alive()  # this search ran while the other did
    long_search.join()
