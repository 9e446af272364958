#!/usr/bin/env python3
"""Fails when the docs or a comment name code that is not there: every repository path named in
docs/, the README and the comments of the sources must exist (a file's bare name, somewhere), and every symbol named beside a path
("`Club::Flush` in server/club/Club.cpp", "`EZnError` (game/ZnError.h)", a table row's class
and its files) must be named in that file.

Usage: tests/source/check-doc-paths.py [ROOT]   (ROOT defaults to the repository)
"""
import os
import re
import sys

# The top folders a path may start with; a word before a slash that is none of these is no path.
TOPS = ["game", "link", "table", "record", "profile", "shell", "deal", "dealrecord", "server", "sqlite",
        "tests", "tools", "bench", "docs", "scripts", "packaging", "resources"]
SOURCE_EXT = (".h", ".cpp", ".py", ".sh", ".txt")
SKIP_DIRS = ("build", "corpus")
# Files whose paths are made up on purpose: the gates plant files in a scratch tree.
PLANTED = {"tests/source/check-gates.sh"}

TOP = "|".join(re.escape(t) for t in TOPS)
PATH = re.compile(r"(?<![\w./-])((?:%s)/[\w./*{},-]*[\w*}/])" % TOP)
SYMBOL = r"`([A-Za-z_][\w:~]*)(?:\(\))?`"
# A path, or a file's bare name ("Club.cpp"): the latter may be any file of that name.
BARE = r"[A-Z]\w*\.(?:h|cpp)"
TARGET = r"`?((?:%s)/[\w./*{},-]*[\w*}]|%s)`?" % (TOP, BARE)
BARE_NAME = re.compile(r"(?<![\w./-])(%s)(?![\w])" % BARE)
CLAIMS = [
    re.compile(SYMBOL + r"\s+in\s+" + TARGET),          # `S` in P
    re.compile(SYMBOL + r"\s*\(" + TARGET + r"[),:;]"),  # `S` (P)
    re.compile(r"\(" + SYMBOL + r",\s*" + TARGET),       # (`S`, P
    re.compile(r"\|\s*" + SYMBOL + r"\s*\|\s*" + TARGET),  # | `S` | P   (a table row)
]


def files(root):
    for name in sorted(os.listdir(root)):
        if name.endswith(".md"):
            yield name
    for top in TOPS:
        for folder, dirs, names in os.walk(os.path.join(root, top)):
            dirs[:] = sorted(d for d in dirs if not d.startswith(SKIP_DIRS) and not d.startswith("."))
            for name in sorted(names):
                yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def expand(path):
    """The paths a named path stands for: "a/B.{h,cpp}" is two; a trailing "." is a full stop."""
    m = re.match(r"(.*)\{([^}]*)\}(.*)", path)
    if m:
        return [m.group(1) + part + m.group(3) for part in m.group(2).split(",")]
    return [path.rstrip(".")]


def matches(root, path, by_name):
    """The files a named path means: the file, a folder's files, a glob ("*"), a stem without its
    extension ("record/ArchiveStore", "table/ZnBid.*"), or every file of a bare name."""
    if "/" not in path:
        return by_name.get(path.rstrip("."), [])
    found = []
    for p in expand(path):
        full = os.path.join(root, p)
        if os.path.isfile(full):
            found.append(full)
            continue
        if os.path.isdir(full):
            found.extend(os.path.join(full, n) for n in os.listdir(full) if os.path.isfile(os.path.join(full, n)))
            found.append(full)
            continue
        folder, base = os.path.split(full)
        if not os.path.isdir(folder):
            continue
        pattern = re.compile(re.escape(base).replace(r"\*", ".*") + (r"$" if "*" in base else r"\.[\w.]+$"))
        found.extend(os.path.join(folder, n) for n in os.listdir(folder) if pattern.match(n))
    return found


def names(path, symbol):
    last = symbol.split("::")[-1]
    with open(path, encoding="utf-8", errors="replace") as f:
        return re.search(r"(?<![\w])%s(?![\w])" % re.escape(last), f.read()) is not None


def commented(rel, line):
    """The part of a line that is prose: a whole Markdown line, or a source line's comment."""
    if rel.endswith(".md"):
        return line
    for mark in ("//", "#"):
        at = line.find(mark)
        if at >= 0 and not line.lstrip().startswith("#include"):
            return line[at:]
    return ""


def check(root):
    problems = []
    by_name = {}
    for rel in files(root):
        by_name.setdefault(os.path.basename(rel), []).append(os.path.join(root, rel))
    for rel in files(root):
        if rel in PLANTED or not rel.endswith((".md",) + SOURCE_EXT):
            continue
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                text = commented(rel, line)
                if not text:
                    continue
                where = f"{rel}:{number}"
                for rx in (PATH, BARE_NAME):
                    for m in rx.finditer(text):
                        if not matches(root, m.group(1), by_name):
                            problems.append(f"{where}: {m.group(1)} does not exist")
                for claim in CLAIMS:
                    for m in claim.finditer(text):
                        symbol, path = m.groups()
                        targets = [t for t in matches(root, path, by_name) if os.path.isfile(t)]
                        if targets and not any(names(t, symbol) for t in targets):
                            problems.append(f"{where}: {symbol} is not in {path}")
    return problems


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", ".."))
    problems = check(root)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"check-doc-paths: {len(problems)} name(s) of code that is not there", file=sys.stderr)
        return 1
    print("check-doc-paths: every path and symbol named is there")
    return 0


if __name__ == "__main__":
    sys.exit(main())
