#!/usr/bin/env python3
"""Mutation check: do the unit tests notice when the code is changed a little?

Copies the source tree to a scratch folder, builds it once, then for each
mutant changes one spot of one file (a comparison flipped, a constant moved by
one, a call deleted, && swapped for ||), rebuilds incrementally, runs the unit
tests of that folder and puts the file back. A mutant the tests fail on is
killed; one they pass survived (listed, to be read: some are equivalent and
cannot be killed); one that does not build is not counted.

  tools/mutate.py [--folders scene host sheet sprites] [--per-folder N]
                  [--seed S] [--scratch DIR] [--list-survivors]
                  [--equivalent FILE] [--jobs J]

Prints one line per folder: mutants tried, killed, survived, kill rate. A
survivor named in the --equivalent file (one mutant a line, exactly as the
survivor list prints it, then `#` and why it cannot change behaviour) is
counted as equivalent, and the kill rate is also given over the others. Slow
(a rebuild and a test run per mutant); not part of `make test`.
"""
import argparse
import pathlib
import random
import re
import shutil
import subprocess
import sys

SOURCE = pathlib.Path(__file__).resolve().parent.parent

# The test programs that exercise each folder's library.
TESTS = {
    # The render tests replay recorded traces of every scenario: a random draw
    # added, dropped or moved anywhere in the scene shows there.
    "scene": ["tests/scene/test_scene", "tests/saver/test_saver",
              "tests/host/linux/render/test_render"],
    "host": ["tests/host/test_host"],
    "saver": ["tests/saver/test_saver", "tests/host/test_host"],
    "sheet": ["tests/sheet/test_sheet", "tests/sheet/win32/test_sheet_win32"],
    "sprites": ["tests/sprites/test_sprites", "tests/scene/test_scene"],
    "runtime": ["tests/runtime/test_runtime"],
    # The --print-options listing is checked through the Linux program's tests.
    "options": ["tests/options/test_options", "tests/host/linux/test_host_linux"],
    "host/linux": ["tests/host/linux/test_host_linux"],
    # The presenter's tests replay every scenario through the software
    # surfaces and compare the windows pixel for pixel.
    "platform/software": ["tests/platform/test_platform", "tests/platform/sdl/test_platform_sdl"],
    "conversation": ["tests/conversation/test_conversation"],
}

SWAPS = [(" < ", " <= "), (" <= ", " < "), (" > ", " >= "), (" >= ", " > "),
         (" == ", " != "), (" != ", " == "), (" && ", " || "), (" || ", " && ")]
NUMBER = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
CALL_LINE = re.compile(r"^\s*[A-Za-z_][\w:.>-]*(\.|->|::)?[A-Za-z_]\w*\(.*\);\s*$")


def mutants_of(path):
    """Every (line index, new line, description) one small change away."""
    lines = path.read_text().splitlines(keepends=True)
    found = []
    for index, line in enumerate(lines):
        code = line.split("//")[0]
        stripped = code.strip()
        if (not stripped or stripped.startswith("#") or stripped.startswith("static_assert")
                or '"' in code):
            continue
        for old, new in SWAPS:
            at = code.find(old)
            if at >= 0:
                found.append((index, line[:at] + new + line[at + len(old):],
                              f"'{old.strip()}' -> '{new.strip()}' at column {at + 2}"))
        for match in NUMBER.finditer(code):
            value = int(match.group(1))
            for changed in (value + 1, value - 1):
                if changed < 0:
                    continue
                found.append((index, line[:match.start()] + str(changed) + line[match.end():],
                              f"{value} -> {changed} at column {match.start() + 1}"))
        if CALL_LINE.match(code) and not stripped.startswith("return"):
            found.append((index, "\n", "call deleted"))
    return lines, found


def read_equivalent(name):
    """Mutant -> reason, from lines `<file>:<line>: <change>  # <reason>`."""
    known = {}
    for line in pathlib.Path(name).read_text().splitlines():
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        where, _, why = line.partition("  # ")
        known[where.strip()] = why.strip()
    return known


def run(command, cwd, timeout):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return 124


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--folders", nargs="+", default=["scene", "host", "sheet", "sprites"])
    parser.add_argument("--per-folder", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--scratch", default="/tmp/grazefall-mutants")
    parser.add_argument("--list-survivors", action="store_true")
    parser.add_argument("--equivalent", help="file of mutants known to be equivalent")
    parser.add_argument("--jobs", type=int, default=2, help="ninja jobs per build")
    args = parser.parse_args()
    equivalent = read_equivalent(args.equivalent) if args.equivalent else {}
    ninja = ["ninja", "-j", str(args.jobs), "-C", str(pathlib.Path(args.scratch) / "build")]

    scratch = pathlib.Path(args.scratch)
    source = scratch / "src"
    build = scratch / "build"
    if source.exists():
        shutil.rmtree(source)
    # Fresh times on every file: a scratch build kept from an earlier run must
    # not take a changed header for older than the objects built from it.
    shutil.copytree(SOURCE, source, copy_function=shutil.copy, ignore=shutil.ignore_patterns(
        ".git", "build", "build-*", "out"))
    launcher = ([f"-DCMAKE_{lang}_COMPILER_LAUNCHER=ccache" for lang in ("C", "CXX")]
                if shutil.which("ccache") else [])
    if run(["cmake", "-S", str(source), "-B", str(build), "-G", "Ninja",
            "-DGRAZEFALL_BUILD_BENCH=OFF"] + launcher, scratch, 600) != 0:
        sys.exit("mutate: the scratch copy does not configure")
    targets = sorted({pathlib.Path(t).name for f in args.folders for t in TESTS[f]})
    if run(ninja + targets, scratch, 3600) != 0:
        sys.exit("mutate: the scratch copy does not build")
    for folder in args.folders:
        for test in TESTS[folder]:
            if run([str(build / test), "--gtest_brief=1"], build, 600) != 0:
                sys.exit(f"mutate: {test} fails before any mutation")

    rng = random.Random(args.seed)
    summary = []
    for folder in args.folders:
        candidates = []
        for path in sorted((source / folder).glob("*.cpp")):
            lines, found = mutants_of(path)
            candidates += [(path, lines, m) for m in found]
        rng.shuffle(candidates)
        killed, survived, same, stillborn = 0, [], [], 0
        tried = 0
        for path, lines, (index, new_line, what) in candidates:
            if tried >= args.per_folder:
                break
            mutated = lines[:index] + [new_line] + lines[index + 1:]
            path.write_text("".join(mutated))
            try:
                folder_targets = [pathlib.Path(t).name for t in TESTS[folder]]
                if run(ninja + folder_targets, scratch, 1800) != 0:
                    stillborn += 1
                    continue
                tried += 1
                caught = any(run([str(build / t), "--gtest_brief=1"], build, 300) != 0
                             for t in TESTS[folder])
                where = f"{path.relative_to(source)}:{index + 1}: {what}"
                if caught:
                    killed += 1
                    verdict = "killed  "
                elif where in equivalent:
                    same.append(f"{where}  # {equivalent[where]}")
                    verdict = "equival."
                else:
                    survived.append(where)
                    verdict = "SURVIVED"
                print(f"  {verdict} {where}", flush=True)
            finally:
                path.write_text("".join(lines))
        # Put the folder's objects back to the unmutated build.
        run(ninja + targets, scratch, 3600)
        rate = 100.0 * killed / tried if tried else 0.0
        counted = tried - len(same)
        real_rate = 100.0 * killed / counted if counted else 0.0
        summary.append(f"{folder}: {tried} mutants, {killed} killed, {len(same)} equivalent, "
                       f"{len(survived)} survived, {stillborn} did not build; kill rate "
                       f"{rate:.1f} %, {real_rate:.1f} % of non-equivalent")
        if args.list_survivors:
            summary += [f"    survived: {s}" for s in survived]
            summary += [f"    equivalent: {s}" for s in same]
    print("\n".join(summary))


if __name__ == "__main__":
    main()
