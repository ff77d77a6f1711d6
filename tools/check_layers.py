#!/usr/bin/env python3
"""Checks that every source file includes only headers of its own folder and of the folders its
library links (layers only look down), that no file outside a qt/ folder includes Qt, and that the
declared layers form no cycle.

Usage: check_layers.py ROOT FOLDER=BELOW,BELOW ...   (as CMake records them in NIMBREL_LAYERS)
A folder is a core library folder (decode) or a Qt folder (decode/qt); the files of cli/ count
as the folder cli. Prints each offending include and exits 1 when there is one.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
QT_INCLUDE = re.compile(r'^\s*#\s*include\s+<Q', re.M)


def folder_of(header):
    parts = header.split("/")
    if len(parts) >= 3 and parts[1] == "qt":
        return parts[0] + "/qt"
    return parts[0] if len(parts) >= 2 else None


def find_cycle(layers):
    state = {}

    def visit(node, path):
        state[node] = "open"
        for below in layers.get(node, ()):
            if state.get(below) == "open":
                return path + [node, below]
            if below not in state:
                found = visit(below, path + [node])
                if found:
                    return found
        state[node] = "done"
        return None

    for node in layers:
        if node not in state:
            found = visit(node, [])
            if found:
                return found
    return None


def main():
    root = pathlib.Path(sys.argv[1])
    layers = {}
    for argument in sys.argv[2:]:
        name, _, below = argument.partition("=")
        layers[name] = [b for b in below.split(",") if b]
    problems = []
    cycle = find_cycle(layers)
    if cycle:
        problems.append("the layers form a cycle: " + " -> ".join(cycle))
    for folder, below in sorted(layers.items()):
        allowed = {folder, *below}
        for path in sorted((root / folder).glob("*.[ch]*")):
            text = path.read_text(encoding="utf-8", errors="replace")
            if not folder.endswith("/qt") and QT_INCLUDE.search(text):
                problems.append(f"{path.relative_to(root)}: includes Qt outside a qt/ folder")
            for header in INCLUDE.findall(text):
                owner = folder_of(header)
                if owner is not None and owner in layers and owner not in allowed:
                    problems.append(f"{path.relative_to(root)}: includes {header}, "
                                    f"but {folder} looks only at {', '.join(sorted(allowed))}")
    for problem in problems:
        print(problem)
    print(f"{len(layers)} folders checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
