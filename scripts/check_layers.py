#!/usr/bin/env python3
"""Checks that no folder includes a header of a higher layer, nor of a sibling in its own layer.

The layers, lowest first; a folder may include its own headers and those of lower layers:

    common < platform < controls, recorder, analysis, help < tools, app < bench, tests

Usage: check_layers.py [--graph]. Prints every include that breaks the order, with its file
and line, and exits 1 when there is one. --graph prints which folder includes which instead.
"""

import re
import subprocess
import sys
from collections import Counter
from pathlib import Path

LAYERS = [
    ["common"],
    ["platform"],
    ["controls", "recorder", "analysis", "help"],
    ["tools", "app"],
    ["bench", "tests"],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
SOURCE_ENDINGS = (".h", ".hpp", ".c", ".cc", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def included_folder(root, source, name):
    """The top folder of the tree that an include names, or None when it names none."""
    beside = (source.parent / name).resolve()
    if beside.is_file() and beside.is_relative_to(root):
        return beside.relative_to(root).parts[0]
    first = name.split("/")[0]
    return first if "/" in name and first in RANK else None


def sources(root):
    """The files of the tree that git knows and does not ignore; in a copy without git, every
    file outside build/."""
    try:
        listed = subprocess.run(["git", "-C", str(root), "ls-files", "-z", "--cached", "--others",
                                 "--exclude-standard"], check=True,
                                capture_output=True, text=True).stdout.split("\0")
        return [name for name in listed if name]
    except (OSError, subprocess.CalledProcessError):
        return [str(p.relative_to(root)) for p in root.rglob("*")
                if p.is_file() and "build" not in p.relative_to(root).parts[:1]]


def includes(root):
    """Every include of a tracked source that names a folder: (file, line, name, folder)."""
    for relative in sources(root):
        if not relative.endswith(SOURCE_ENDINGS) or relative.split("/")[0] not in RANK:
            continue
        source = root / relative
        if not source.is_file():
            continue
        lines = source.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if match:
                folder = included_folder(root, source, match.group(1))
                if folder in RANK:
                    yield relative, number, match.group(1), folder


def main():
    root = Path(__file__).resolve().parent.parent
    graph = Counter()
    wrong = []
    for relative, number, name, folder in includes(root):
        own = relative.split("/")[0]
        graph[own, folder] += 1
        if folder != own and RANK[folder] >= RANK[own]:
            how = "a sibling in its layer" if RANK[folder] == RANK[own] else "a higher layer"
            wrong.append(f"{relative}:{number}: includes {name}: {own}/ may not include "
                         f"{folder}/, {how}")
    if "--graph" in sys.argv[1:]:
        for (own, folder), count in sorted(graph.items(), key=lambda e: (RANK[e[0][0]], e[0])):
            print(f"{own} -> {folder} ({count})")
        return 0
    if wrong:
        print("check_layers: includes against the layer order", file=sys.stderr)
        print("  " + " < ".join(", ".join(folders) for folders in LAYERS), file=sys.stderr)
        for line in wrong:
            print(line, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
