#!/usr/bin/env python3
"""The include arrows between the source folders point down, never up, and
never around in a circle.

Each folder has a floor (LAYERS, lowest first); a file may include files of its
own folder and of folders on a lower floor. A folder's win/ half stands on the
same floor as the folder. Run from anywhere: python3 tools/check_layers.py
Exit code 0 when the tree keeps to the floors, 1 with the offending includes.
"""
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]

# Lowest first. Folders on one floor may not include each other.
LAYERS = [
    ("common",),
    ("engine",),
    ("ui",),
    ("controls", "processes"),
    ("calendar",),
    ("weather", "holidays", "settings", "update"),
    ("launcher",),
    ("app", "server"),
]
SOURCE_SUFFIXES = {".h", ".cpp", ".rc"}
# Tests, benchmarks and fuzz targets stand beside the tree, not in it.
SKIPPED = {"build", "tests", "bench", "fuzz", "tools", "resources", "cmake", "installer"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def floor_of(folder):
    for level, folders in enumerate(LAYERS):
        if folder in folders:
            return level
    return None


def sub_folder(path):
    """A file's folder below the top one: calendar/win/x.cpp -> calendar/win."""
    return str(Path(path).parent)


def cycles(edges):
    """Folder cycles in a graph {folder: {folder}}, each as a list."""
    found, state = [], {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                found.append(trail[trail.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])
    return found


def check(root):
    """The problems of the tree at `root`, as lines."""
    problems = []
    folder_edges = {}
    for path in sorted(root.rglob("*")):
        rel = path.relative_to(root)
        if path.suffix not in SOURCE_SUFFIXES or rel.parts[0] in SKIPPED or len(rel.parts) < 2:
            continue
        if floor_of(rel.parts[0]) is None:
            problems.append(f"{rel}: folder {rel.parts[0]}/ has no floor in tools/check_layers.py")
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            parts = target.split("/")
            if len(parts) < 2 or not (root / parts[0]).is_dir():
                continue
            folder_edges.setdefault(sub_folder(rel), set()).add(sub_folder(target))
            src, dst = floor_of(rel.parts[0]), floor_of(parts[0])
            if parts[0] == rel.parts[0] or src is None or dst is None:
                continue
            if dst >= src:
                where = "up" if dst > src else "across"
                problems.append(f"{rel} includes {target}: an arrow {where} from {rel.parts[0]}/ to {parts[0]}/")
    for cycle in cycles({k: v - {k} for k, v in folder_edges.items()}):
        problems.append("folders include each other in a circle: " + " -> ".join(cycle))
    return problems


def main():
    root = Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else ROOT
    problems = check(root)
    for line in problems:
        print(line)
    if problems:
        return 1
    print(f"layers: every include between folders of {root.name} points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
