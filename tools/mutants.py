#!/usr/bin/env python3
"""Mutation testing for Mirvane2: how many small, realistic faults the tests catch.

Draws a reproducible random sample of mutants per folder (a relational or arithmetic operator
swapped, a constant moved by one, a condition inverted, a statement dropped, ...), applies each
one alone to a copy of the tree, rebuilds incrementally (ccache) and runs ctest. A mutant is
caught when a test fails or times out, missed when every test passes; one that does not compile
is stillborn and not counted. Prints caught/missed per folder and the diff of every survivor.

    tools/mutants.py [--seed N] [--per-folder N] [--folders platform model ...] [--jobs N]

Mutants judged equivalent (no behaviour changes) are listed in tools/mutants-equivalent.txt, one
per line: the mutant's id, then a blank and the reason. They are left out of the score.

Not part of CI: a sample of 150 takes about an hour on 8 cores.
"""
import argparse
import difflib
import os
import random
import re
import shutil
import subprocess
import sys
import time

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
WORK = os.path.join(TOP, "build-mutants")
SRC = os.path.join(WORK, "src")
BUILD = os.path.join(WORK, "build")
EQUIVALENT = os.path.join(TOP, "tools", "mutants-equivalent.txt")
FOLDERS = ["platform", "model", "line", "frames", "ui"]

# (name, pattern, replacement). Patterns are matched on the line with its comments and string
# and character literals masked, so that only code is mutated.
OPERATORS = [
    # Binary operators stand between blanks in this code's one format, which tells them from
    # template brackets, pointers, references and unary signs.
    ("lt-le", r"(?<=\s)<(?=\s)", "<="),
    ("le-lt", r"(?<=\s)<=(?=\s)", "<"),
    ("gt-ge", r"(?<=\s)>(?=\s)", ">="),
    ("ge-gt", r"(?<=\s)>=(?=\s)", ">"),
    ("eq-ne", r"==", "!="),
    ("ne-eq", r"!=", "=="),
    ("and-or", r"&&", "||"),
    ("or-and", r"\|\|", "&&"),
    ("plus-minus", r"(?<=\s)\+(?=\s)", "-"),
    ("minus-plus", r"(?<=\s)-(?=\s)", "+"),
    ("mul-div", r"(?<=\s)\*(?=\s)", "/"),
    ("div-mul", r"(?<=\s)/(?=\s)", "*"),
    ("mod-mul", r"(?<=\s)%(?=\s)", "*"),
    ("bitand-bitor", r"(?<=\s)&(?=\s)", "|"),
    ("bitor-bitand", r"(?<=\s)\|(?=\s)", "&"),
    ("xor-or", r"(?<=\s)\^(?=\s)", "|"),
    ("shl-shr", r"(?<=\s)<<(?=\s)", ">>"),
    ("shr-shl", r"(?<=\s)>>(?=\s)", "<<"),
    ("true-false", r"\btrue\b", "false"),
    ("false-true", r"\bfalse\b", "true"),
    ("not-drop", r"!(?!=)", ""),
    ("inc-dec", r"\+\+", "--"),
    ("dec-inc", r"--", "++"),
    ("const-plus1", r"(?<![\w.])(\d+)(?![\w.])", None),
    ("const-minus1", r"(?<![\w.])([1-9]\d*)(?![\w.])", None),
]

SKIP_LINE = re.compile(r"^\s*(assert\(|Q_ASSERT|#|//|\*|/\*|static_assert|using |namespace |template|typedef|class |struct |enum |public:|private:|protected:|\}|\{)")
# A statement worth dropping: a call or an assignment (not a declaration, not an assert, which
# the configured builds compile out).
STATEMENT = re.compile(r"^\s*(?!return\b|assert\b|Q_ASSERT\b)[\w:.\->\[\]*]+\s*(\(|=[^=]|\+=|-=|\|=|&=|\+\+|--).*;\s*$")
# Pixel geometry of controls: a constant moved by one there changes no behaviour worth a test.
GEOMETRY = re.compile(r"Left|Top|Width|Height|Bounds|Geometry|Size|Margin|Spacing|Indent")


def mask(line):
    """The line with string and character literals and a trailing comment blanked out."""
    out = []
    i, n = 0, len(line)
    while i < n:
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (n - i))
            break
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + (c if j - i >= 2 else ""))
            i = j
            continue
        out.append(c)
        i += 1
    return "".join(out)[:n]


def sites(path, rel):
    """Every mutation the file offers: (id, line index, new line)."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    found = []
    in_block = False
    for k, line in enumerate(lines):
        stripped = line.strip()
        if in_block:
            if "*/" in stripped:
                in_block = False
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if not stripped or SKIP_LINE.match(line) or "#include" in line:
            continue
        code = mask(line)
        for name, pattern, repl in OPERATORS:
            for m in re.finditer(pattern, code):
                if name.startswith("const"):
                    if GEOMETRY.search(code) or (code.count('"') >= 2 and len(re.findall(r"\b\d+\b", code)) >= 2):
                        continue
                    value = int(m.group(1))
                    if value > 100000:
                        continue
                    new = str(value + 1 if name == "const-plus1" else value - 1)
                else:
                    new = repl
                mutated = line[: m.start()] + new + line[m.end():]
                found.append((f"{rel}:{k + 1}:{m.start() + 1}:{name}", k, mutated))
        if STATEMENT.match(code):
            found.append((f"{rel}:{k + 1}:1:drop-call", k, re.sub(r"\S.*", "(void)0;", line, count=1)))
    return lines, found


def sources(folder):
    out = subprocess.run(["git", "ls-files", f"{folder}/*.cpp"], cwd=TOP, capture_output=True, text=True, check=True)
    files = [f for f in out.stdout.split() if f.endswith(".cpp") and not f.startswith("ui/resources/")]
    if folder == "platform":
        return files
    return [f for f in files if not f.startswith("platform/")]


def copy_tree():
    """A copy of the tracked tree (as it is in the working tree) in build-mutants/src."""
    out = subprocess.run(["git", "ls-files"], cwd=TOP, capture_output=True, text=True, check=True)
    for rel in out.stdout.split("\n"):
        if not rel:
            continue
        src, dst = os.path.join(TOP, rel), os.path.join(SRC, rel)
        if not os.path.isfile(src):
            continue
        if os.path.exists(dst) and open(src, "rb").read() == open(dst, "rb").read():
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        # A fresh time, not the source's: a copy that puts back a file an interrupted run left
        # mutated would otherwise look older than the mutant's objects, and not be rebuilt.
        shutil.copy(src, dst)


def run(cmd, timeout=None):
    try:
        p = subprocess.run(cmd, cwd=WORK, capture_output=True, text=True, timeout=timeout)
        return p.returncode, p.stdout + p.stderr
    except subprocess.TimeoutExpired:
        return -1, "timeout"


def configure(jobs):
    if not os.path.exists(os.path.join(BUILD, "build.ninja")):
        code, out = run(["cmake", "-S", SRC, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                         "-DMIRVANE_TESTS=ON", "-DMIRVANE_BENCH=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"])
        if code:
            sys.exit("configure failed:\n" + out)
    code, out = run(["cmake", "--build", BUILD, "--parallel", str(jobs)])
    if code:
        sys.exit("the unmutated tree does not build:\n" + out[-4000:])
    code, out = ctest(jobs)
    if code:
        sys.exit("the unmutated tree fails its tests:\n" + out[-4000:])


def ctest(jobs):
    env_cmd = ["env", "QT_QPA_PLATFORM=offscreen", "ctest", "--test-dir", BUILD, "--stop-on-failure",
               "--parallel", str(jobs), "--timeout", "120"]
    return run(env_cmd, timeout=1800)


def load_equivalent():
    known = {}
    if os.path.exists(EQUIVALENT):
        for line in open(EQUIVALENT, encoding="utf-8"):
            line = line.strip()
            if line and not line.startswith("#"):
                ident, _, why = line.partition(" ")
                known[ident] = why
    return known


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--per-folder", type=int, default=30)
    ap.add_argument("--folders", nargs="+", default=FOLDERS)
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--list", action="store_true", help="only print the sample")
    args = ap.parse_args()

    rng = random.Random(args.seed)
    sample = []
    for folder in args.folders:
        every = []
        for rel in sources(folder):
            _, found = sites(os.path.join(TOP, rel), rel)
            every.extend((folder, rel, ident, k, new) for ident, k, new in found)
        every.sort(key=lambda s: s[2])
        sample.extend(rng.sample(every, min(args.per_folder, len(every))))
    if args.list:
        for s in sample:
            print(s[2])
        return

    os.makedirs(SRC, exist_ok=True)
    copy_tree()
    configure(args.jobs)
    equivalent = load_equivalent()
    score = {f: [0, 0, 0, 0] for f in args.folders}   # caught, missed, stillborn, equivalent
    survivors = []
    started = time.time()
    for i, (folder, rel, ident, k, new) in enumerate(sample, 1):
        path = os.path.join(SRC, rel)
        original = open(path, encoding="utf-8").read()
        lines = original.split("\n")
        old = lines[k]
        lines[k] = new
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        try:
            code, _ = run(["cmake", "--build", BUILD, "--parallel", str(args.jobs)], timeout=1800)
            if code:
                verdict, slot = "stillborn", 2
            elif ident in equivalent:
                verdict, slot = "equivalent", 3
            else:
                code, _ = ctest(args.jobs)
                verdict, slot = ("caught", 0) if code else ("MISSED", 1)
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        score[folder][slot] += 1
        print(f"[{i}/{len(sample)} {time.time() - started:.0f}s] {verdict:10} {ident}", flush=True)
        if slot == 1:
            diff = difflib.unified_diff([old + "\n"], [new + "\n"], f"a/{rel}:{k + 1}", f"b/{rel}:{k + 1}")
            survivors.append((ident, "".join(diff)))
    run(["cmake", "--build", BUILD, "--parallel", str(args.jobs)])   # leave the copy built unmutated

    print("\nSurvivors:")
    for ident, diff in survivors:
        print(f"--- {ident}\n{diff}")
    print(f"\nseed {args.seed}, {args.per_folder} per folder")
    print(f"{'folder':10} {'caught':>7} {'missed':>7} {'score':>7} {'stillborn':>10} {'equivalent':>11}")
    for folder in args.folders:
        c, m, s, e = score[folder]
        pct = f"{100 * c / (c + m):.0f}%" if c + m else "-"
        print(f"{folder:10} {c:7} {m:7} {pct:>7} {s:10} {e:11}")


if __name__ == "__main__":
    main()
