#!/usr/bin/python3
"""Include scan: the folders depend one way (see docs/ARCHITECTURE.md, "Layers").

Fails, listing each offending include, when
  - two folders include each other (in either direction, file by file),
  - a file outside app/ and tests/ includes app/ (app/ stands on top; the benchmarks that drive
    the whole window live in tests/e2e/), or one outside cli/ and tests/ includes cli/,
  - a core file (not named *_view.*, *_tab.*, qt_*.*, main_window.*, nor in app/, cli/, qtcore/,
    widgets/, tests/) includes a Qt header.
(That qtcore/ and cli/ use no widget is held by the build: they link QtCore and QtSerialPort only.)
Project includes are written from the project root ("link/frames.h"); a folder is the first part
of a path, so sim/posix/ counts as sim/.
"""
import os
import re
import sys
from collections import defaultdict

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
QT_NAMED = re.compile(r"^(qt_.*|.*_view\..*|.*_tab\..*|main_window\..*)$")
QT_FOLDERS = {"app", "cli", "qtcore", "widgets", "tests"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*$|q[a-z]+\.h$)")


def source_files(root):
    for folder, dirs, files in os.walk(root):
        # Hidden folders and build trees (anything holding a CMake cache) are not sources.
        dirs[:] = sorted(d for d in dirs if not d.startswith(".")
                         and not os.path.exists(os.path.join(folder, d, "CMakeCache.txt")))
        if folder == root:
            continue
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(folder, name), root)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    folders = {d for d in os.listdir(root) if os.path.isdir(os.path.join(root, d)) and not d.startswith(".")}
    edges = defaultdict(list)  # (from folder, to folder) -> ["file:line"]
    problems = []
    for path in source_files(root):
        parts = path.split(os.sep)
        here = parts[0]
        qt_file = here in QT_FOLDERS or QT_NAMED.match(parts[-1]) is not None
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(2)
                close = ">" if m.group(1) == "<" else '"'
                where = f"{path}:{number}: #include {m.group(1)}{target}{close}"
                if QT_HEADER.match(target) and not qt_file:
                    problems.append(f"{where}: a core file includes a Qt header")
                first = target.split("/")[0]
                if m.group(1) != '"' or "/" not in target or first not in folders or first == here:
                    continue
                edges[(here, first)].append(where)
                if first == "app" and here not in ("app", "tests"):
                    problems.append(f"{where}: only app/ and the tests may include app/")
                if first == "cli" and here not in ("cli", "tests"):
                    problems.append(f"{where}: only cli/ (and the tests) may include cli/")
    for (a, b), uses in sorted(edges.items()):
        if a < b and (b, a) in edges:
            problems.append(f"{a}/ and {b}/ include each other:\n    " +
                            "\n    ".join(uses + edges[(b, a)]))
    for p in problems:
        print(p)
    if problems:
        print(f"check-includes: {len(problems)} problem(s)")
        return 1
    print("check-includes: folders depend one way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
