#!/usr/bin/env python3
"""Mutation testing: does the test suite notice a one-line fault?

Each line of the mutation list names a file, a piece of text that must occur in
it exactly once, and its replacement. Every mutation is applied in turn to a
scratch copy of the tree (never to the working tree), the test programs that
cover the mutated module are rebuilt incrementally and run, and the file is put
back. A mutation is

  killed        when a test program fails, crashes or runs past its timeout;
  survived      when every test program passes;
  stale         when its text is not found exactly once (the code has moved on);
  build-failed  when the mutant does not compile (not counted in the rate).

The kill rate is killed / (killed + survived).

  tools/mutate/mutate.py                     # every mutation in mutations.txt
  tools/mutate/mutate.py --only 3,17         # by number
  tools/mutate/mutate.py --match calculate   # by file or text
  tools/mutate/mutate.py --check             # only report stale lines

The scratch tree and its build directory are kept (default
/tmp/sightcheck-mutate) so that a second run rebuilds only what changed.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DEFAULT_LIST = Path(__file__).resolve().parent / "mutations.txt"
SEPARATOR = " ~> "

# The test programs that can notice a fault in each module, cheapest and most
# direct first: the first one that fails settles the mutation, so most
# mutants cost one small rebuild. Programs missing from the build are skipped;
# any other "<module>_..._test" program of the build runs after these.
PROGRAMS = {
    "reduction": ["reduction_test", "printout_test", "check_test", "cli_names_test", "cli_test",
                  "app_test"],
    "entry": ["entry_test", "reduction_test", "cli_names_test", "cli_test", "app_test"],
    "printout": ["printout_test", "cli_names_test", "cli_test", "app_test"],
    "app": ["app_test", "app_focus_test"],
    "check": ["check_test", "cli_test"],
    "cli": ["cli_names_test", "cli_test"],
    "help": ["help_test", "app_test"],
}


class Mutation:
    def __init__(self, number, line_no, path, find, replace):
        self.number = number
        self.line_no = line_no
        self.path = path
        self.find = find
        self.replace = replace

    def module(self):
        return self.path.split("/", 1)[0]

    def describe(self):
        return f"#{self.number} {self.path}: '{self.find}' -> '{self.replace}'"


def read_mutations(list_path):
    """Lines 'file ~> find ~> replace'; blank lines and '#' comments skipped.
    Leading and trailing blanks of the three parts are dropped; the text to
    find keeps its inner blanks exactly."""
    mutations = []
    for line_no, raw in enumerate(list_path.read_text(encoding="utf-8").splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        parts = line.split(SEPARATOR)
        if len(parts) != 3:
            sys.exit(f"{list_path}:{line_no}: expected 'file{SEPARATOR}find{SEPARATOR}replace'")
        path, find, replace = (p.strip() for p in parts)
        if find == replace:
            sys.exit(f"{list_path}:{line_no}: the replacement equals the text")
        mutations.append(Mutation(len(mutations) + 1, line_no, path, find, replace))
    return mutations


def tree_files():
    """Tracked and untracked, not ignored files of the working tree."""
    out = subprocess.run(
        ["git", "ls-files", "--cached", "--others", "--exclude-standard", "-z"],
        cwd=ROOT, check=True, capture_output=True).stdout
    return [f for f in out.decode().split("\0") if f and (ROOT / f).is_file()]


def sync_tree(scratch):
    """Copies the working tree into the scratch tree, touching only files whose
    content differs, so the scratch build stays incremental."""
    files = set(tree_files())
    copied = 0
    for name in files:
        source, target = ROOT / name, scratch / name
        data = source.read_bytes()
        if target.is_file() and target.read_bytes() == data:
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        shutil.copymode(source, target)
        copied += 1
    for target in scratch.rglob("*"):
        if target.is_file() and str(target.relative_to(scratch)) not in files:
            target.unlink()
    return copied


def run(command, cwd, timeout, env=None, tail=3000):
    """(ok, seconds, the last tail characters of the output); a timeout counts
    as not ok."""
    start = time.monotonic()
    try:
        done = subprocess.run(command, cwd=cwd, env=env, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        ok = done.returncode == 0
        output = done.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired as expired:
        ok = False
        output = (expired.stdout or b"").decode(errors="replace") + "\n[timed out]"
    return ok, time.monotonic() - start, output[-tail:] if tail else output


class Scratch:
    def __init__(self, base, jobs, test_timeout):
        self.src = base / "src"
        self.build = base / "build"
        self.jobs = jobs
        self.test_timeout = test_timeout
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                        ASAN_OPTIONS="detect_leaks=0")
        self.targets = set()

    def prepare(self):
        self.src.mkdir(parents=True, exist_ok=True)
        copied = sync_tree(self.src)
        print(f"scratch tree {self.src}: {copied} files copied", flush=True)
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        # No -Werror: a mutant that only draws a warning must still be tested.
        ok, _, out = run(["cmake", "-S", str(self.src), "-B", str(self.build), *generator,
                          "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DSIGHT_WERROR=OFF",
                          "-DSIGHT_SANITIZE=OFF", "-DSIGHT_BENCH=OFF"], ROOT, 600)
        if not ok:
            sys.exit("configuring the scratch build failed:\n" + out)
        # The targets the build knows: Ninja lists them as "name: rule", the
        # Makefile generator's help as "... name".
        if generator:
            listing = ["ninja", "-C", str(self.build), "-t", "targets", "all"]
        else:
            listing = ["cmake", "--build", str(self.build), "--target", "help"]
        ok, _, out = run(listing, ROOT, 120, tail=None)
        for line in out.splitlines():
            name = line.split(":")[0].strip().lstrip(".").strip()
            if name and "/" not in name:
                self.targets.add(name)

    def programs_for(self, module):
        listed = [p for p in PROGRAMS.get(module, []) if p in self.targets]
        # A test program added to the module later ("cli_args_test") runs too.
        added = sorted(t for t in self.targets
                       if t.startswith(module + "_") and t.endswith("_test") and t not in listed)
        return listed + added

    def build_target(self, target):
        return run(["nice", "cmake", "--build", str(self.build), "-j", str(self.jobs),
                    "--target", target], ROOT, 1800)

    def run_program(self, program):
        binary = self.build / "bin" / program
        # The whole output: after the first failure, fail-fast lists every
        # skipped test, which would push the failure out of a short tail.
        return run(["nice", str(binary), "--gtest_fail_fast", "--gtest_brief=1"],
                   self.build, self.test_timeout, self.env, tail=None)


def baseline(scratch, modules):
    """Every program the run will use must build and pass on the unmutated tree."""
    programs = []
    for module in modules:
        for program in scratch.programs_for(module):
            if program not in programs:
                programs.append(program)
    for program in programs:
        ok, secs, out = scratch.build_target(program)
        if not ok:
            sys.exit(f"baseline: {program} does not build:\n{out}")
        ok, secs, out = scratch.run_program(program)
        if not ok:
            sys.exit(f"baseline: {program} fails on the unmutated tree:\n{out}")
        print(f"baseline: {program} passes ({secs:.1f} s)", flush=True)


def try_mutation(scratch, m):
    """(status, detail)."""
    target = scratch.src / m.path
    if not target.is_file():
        return "stale", "file not found"
    original = target.read_text(encoding="utf-8")
    count = original.count(m.find)
    if count != 1:
        return "stale", f"text found {count} times"
    programs = scratch.programs_for(m.module())
    if not programs:
        return "stale", f"no test program for module {m.module()}"
    target.write_text(original.replace(m.find, m.replace), encoding="utf-8")
    try:
        for program in programs:
            ok, _, out = scratch.build_target(program)
            if not ok:
                return "build-failed", out.strip().splitlines()[-1:] and out.strip().splitlines()[-1]
            ok, _, out = scratch.run_program(program)
            if not ok:
                failed = [line for line in out.splitlines() if "[  FAILED  ]" in line]
                why = failed[0].split("]", 1)[1].strip() if failed else out.strip()[-200:]
                return "killed", f"{program}: {why}"
        return "survived", "passed: " + ", ".join(programs)
    finally:
        # Written back with a new time stamp, so the next build recompiles it.
        target.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", type=Path, default=DEFAULT_LIST, help="mutation list file")
    parser.add_argument("--scratch", type=Path, default=Path("/tmp/sightcheck-mutate"),
                        help="scratch tree and build directory (kept between runs)")
    parser.add_argument("--only", help="comma-separated mutation numbers")
    parser.add_argument("--match", help="only mutations whose file or text contains this")
    parser.add_argument("--jobs", type=int, default=2, help="parallel compile jobs")
    parser.add_argument("--timeout", type=int, default=300,
                        help="seconds one test program may run before it counts as failed")
    parser.add_argument("--check", action="store_true",
                        help="only check that every mutation's text is found exactly once")
    args = parser.parse_args()

    mutations = read_mutations(args.list)
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        mutations = [m for m in mutations if m.number in wanted]
    if args.match:
        mutations = [m for m in mutations if args.match in m.path or args.match in m.find]

    if args.check:
        stale = 0
        for m in mutations:
            text = (ROOT / m.path).read_text(encoding="utf-8") if (ROOT / m.path).is_file() else ""
            count = text.count(m.find)
            if count != 1:
                stale += 1
                print(f"stale ({count} times): {m.describe()}")
        print(f"{len(mutations)} mutations, {stale} stale")
        return 1 if stale else 0

    scratch = Scratch(args.scratch, args.jobs, args.timeout)
    scratch.prepare()
    baseline(scratch, sorted({m.module() for m in mutations}))

    results = {"killed": [], "survived": [], "stale": [], "build-failed": []}
    started = time.monotonic()
    for m in mutations:
        t0 = time.monotonic()
        status, detail = try_mutation(scratch, m)
        results[status].append((m, detail))
        print(f"{status:12} {m.describe()}\n{'':12} {detail} ({time.monotonic() - t0:.0f} s)",
              flush=True)

    print()
    for status in ("survived", "stale", "build-failed"):
        for m, detail in results[status]:
            print(f"{status}: {m.describe()}  [{detail}]")
    killed, survived = len(results["killed"]), len(results["survived"])
    rate = 100.0 * killed / (killed + survived) if killed + survived else 0.0
    print(f"\n{len(mutations)} mutations: {killed} killed, {survived} survived, "
          f"{len(results['stale'])} stale, {len(results['build-failed'])} build-failed; "
          f"kill rate {rate:.1f}% ({time.monotonic() - started:.0f} s)")
    return 0 if not results["survived"] and not results["stale"] else 1


if __name__ == "__main__":
    sys.exit(main())
