#!/usr/bin/env python3
"""Prints the include graph of src/ per folder and checks the layering.

Each folder may include only the folders below it in the layer table of the
design notes (and what those may include). A header and its source file form
one unit; includes between units must not form a circle.

Usage: tools/include_graph.py [SRC_DIR]
Exit status 0 when the graph is clean, 1 when it has a fault (listed).
"""

import re
import sys
from pathlib import Path

# What each folder may use directly; the closure of this relation is allowed.
MAY_USE = {
    "platform": set(),
    "core": {"platform"},
    "runtime": {"core", "platform"},
    "markup": {"core"},
    "model": {"core", "markup"},
    "links": {"model", "markup", "runtime", "core"},
    "sheet": {"links"},
    # The controller's clone commands drive the clone manager over the document.
    "control": {"sheet", "clone"},
    "clone": {"model", "runtime", "core", "platform"},
    "cli": {"control", "clone"},
    "grid": {"control", "clone"},
    "app": {"grid", "editors", "print", "diag", "help", "control", "clone"},
    "editors": {"grid"},
    "print": {"grid"},
    "diag": {"grid"},
    "help": {"grid"},
}
QT_FOLDERS = {"grid", "app", "editors", "print", "diag", "help"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def allowed_folders():
    closure = {}
    for folder in MAY_USE:
        seen, todo = set(), [folder]
        while todo:
            for used in MAY_USE.get(todo.pop(), ()):
                if used not in seen:
                    seen.add(used)
                    todo.append(used)
        closure[folder] = seen | {folder}
    return closure


def strongly_connected(graph):
    index, low, stack, on_stack, result = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in graph.get(node, ()):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                result.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in list(graph):
        if node not in index:
            visit(node)
    return result


def main():
    src = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src")
    allowed = allowed_folders()
    faults = []
    folder_edges = {}
    unit_graph = {}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".def") or not path.is_file():
            continue
        relative = path.relative_to(src)
        folder = relative.parts[0] if len(relative.parts) > 1 else ""
        unit = str(relative.with_suffix(""))
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, target = match.groups()
            if bracket == "<":
                if target.startswith("Q") and folder not in QT_FOLDERS:
                    faults.append(f"{relative}:{number}: Qt header <{target}> outside the Qt folders")
                continue
            target_folder = target.split("/")[0] if "/" in target else folder
            folder_edges.setdefault(folder, set()).add(target_folder)
            if folder in allowed and target_folder not in allowed[folder]:
                faults.append(f"{relative}:{number}: {folder}/ may not include {target}")
            target_unit = str(Path(target).with_suffix(""))
            if target_unit != unit:
                unit_graph.setdefault(unit, set()).add(target_unit)
    for component in strongly_connected(unit_graph):
        faults.append("include circle: " + " -> ".join(component))

    for folder in sorted(folder_edges):
        used = sorted(f for f in folder_edges[folder] if f != folder)
        print(f"{folder or '.'}: {' '.join(used) if used else '(nothing)'}")
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
