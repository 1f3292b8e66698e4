#!/usr/bin/env python3
"""Runs the desktop kestrin-cli and another build of it (the WebAssembly one under node, or
one computing in software) on the same generated battles and compares every byte of their
standard output and standard error, and their exit status.

Usage: compare.py --native CLI --other "node build/wasm/cli/kestrin-cli.js" [--cases N]
                  [--seed S] [--jobs J] [--keep DIR]
Prints one line per difference and closes with "N passed, M failed"."""

import argparse
import concurrent.futures
import json
import os
import random
import shlex
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, "..", "..", "fuzz", "seeds")
BATTLE_LINES = 130


def battle_bytes(rng):
    """A battle file as saved: counts on some lines, CR LF line ends."""
    density = rng.choice([0.1, 0.3, 0.6])
    lines = []
    for _ in range(BATTLE_LINES):
        if rng.random() < density:
            lines.append(str(int(10 ** rng.uniform(0, rng.choice([2, 4, 6, 8])))))
        else:
            lines.append("")
    return ("\r\n".join(lines) + "\r\n").encode()


def solve_call(rng):
    n = rng.randint(1, 12)
    return json.dumps({
        "ships": [rng.randint(0, 10 ** rng.randint(0, 7)) for _ in range(n)],
        "killRates": [rng.choice([0, rng.uniform(0, 3), 10 ** rng.uniform(-6, 0)]) for _ in range(n)],
        "damage": [rng.choice([0, rng.random()]) for _ in range(n)],
        "shots": rng.randint(0, 10 ** rng.randint(1, 9)),
        "variant": rng.choice(["new", "old"]),
    }).encode()


def report_text(rng):
    """A scan or combat report: a seed file with its figures changed."""
    kind, name = rng.choice([("scan", "sector_scan.txt"), ("combat", "combat_report.txt")])
    with open(os.path.join(SEEDS, name), encoding="utf-8") as f:
        words = f.read().split(" ")
    words = [str(rng.randint(0, 10 ** rng.randint(1, 6))) if w.strip().isdigit() else w for w in words]
    return kind, " ".join(words).encode()


def case_commands(index, rng, folder, stats):
    """The command lines (without the program) and standard input of one case."""
    battle = os.path.join(folder, f"case{index}.kbf")
    with open(battle, "wb") as f:
        f.write(battle_bytes(rng))
    common = ["--stats", stats]
    solver = ["--solver", rng.choice(["new", "new", "old"])]
    kind = index % 6
    if kind == 0:
        args = ["calc", battle, "--ticks", str(rng.randint(1, 4))] + solver + common
        if rng.random() < 0.6:
            args.append("--log")
        return args, b""
    if kind == 1:
        report, text = report_text(rng)
        args = ["parse", report, "--in", battle] + common
        if report == "scan":
            args += ["--side", rng.choice(["defender", "attacker"])]
        return args + (["--log"] if rng.random() < 0.5 else []), text
    if kind == 2:
        return ["solve"], solve_call(rng)
    if kind == 3:
        row = rng.randint(1, 30)
        top = rng.randint(1, 10 ** rng.randint(1, 6))
        args = ["sweep", battle, "--vary", f"attacker:{row}", "--from", "0", "--to", str(top),
                "--points", str(rng.randint(2, 6)), "--ticks", str(rng.randint(1, 3))] + solver + common
        return args + (["--findings"] if rng.random() < 0.3 else []), b""
    if kind == 4:
        rows = rng.sample(range(1, 30), 2)
        vary = ",".join(f"{r}={rng.randint(1, 12)}" for r in rows)
        goal = rng.choice(["roids", "loss-per-roid", "smallest-fleet"])
        return ["optimise", battle, "--vary", f"attacker:{vary}", "--goal", goal] + common, b""
    return (["tables"] + common if index % 60 == 5 else ["calc", battle, "--ticks", "3"] + common), b""


def run(program, args, stdin):
    done = subprocess.run(program + args, input=stdin, capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


def compare_case(index, seed, native, other, folder, stats):
    rng = random.Random(seed * 1000003 + index)
    args, stdin = case_commands(index, rng, folder, stats)
    expected = run(native, args, stdin)
    actual = run(other, args, stdin)
    if expected == actual:
        return None
    what = [name for name, a, b in zip(("exit status", "output", "errors"), expected, actual) if a != b]
    return f"case {index}: {shlex.join(args)}: {', '.join(what)} differ"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--native", required=True)
    parser.add_argument("--other", required=True)
    parser.add_argument("--cases", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--keep", help="folder for the generated files (default: a temporary one)")
    options = parser.parse_args()
    native, other = shlex.split(options.native), shlex.split(options.other)
    with tempfile.TemporaryDirectory() as temporary:
        folder = options.keep or temporary
        os.makedirs(folder, exist_ok=True)
        # Both read the same statistics file: the built-in values, as the desktop writes them.
        stats = os.path.join(folder, "ShipStats.ini")
        subprocess.run(native + ["tables"], capture_output=True, check=True)  # writes it if missing
        shutil.copyfile(os.path.join(os.path.dirname(native[-1]), "ShipStats.ini"), stats)
        failures = []
        with concurrent.futures.ThreadPoolExecutor(options.jobs) as pool:
            results = pool.map(lambda i: compare_case(i, options.seed, native, other, folder, stats),
                               range(options.cases))
            for done, result in enumerate(results, 1):
                if result:
                    failures.append(result)
                    print(result, flush=True)
                if done % 500 == 0:
                    print(f"{done} cases compared, {len(failures)} differ", file=sys.stderr, flush=True)
    print(f"{options.cases - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
