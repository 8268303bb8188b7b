#!/usr/bin/env python3
"""Checks the include graph of the source tree.

Every `#include "..."` of the project's sources is an edge between the folders the two files
belong to, in two graphs: one between the top-level folders, and a finer one where a folder
that holds libraries that must stay layered is split: profiles/ and its windows/, the two
parts of speech/, the plain and the Qt part of ui/, and each tool. The check fails (exit 1)
when

  * either graph has a cycle: a link order can hide it, but then neither side can be built,
    tested or changed without the other;
  * a file outside engine/ includes an engine-internal header (engine/internal/...), unless
    it is a test that declares itself with the line `// Test of engine internals.`

Usage: check-includes.py [ROOT]   (ROOT: the source tree, by default the one this script is in)
"""

import os
import re
import sys
from collections import defaultdict

SOURCE_FOLDERS = ("base", "engine", "speech", "profiles", "ui", "chrome", "tools", "bench",
                  "fuzz", "tests")
SOURCE_SUFFIXES = (".h", ".hpp", ".inl", ".c", ".cc", ".cpp")
# Folders whose sub-folders are separate libraries or programs.
SPLIT_FOLDERS = ("profiles", "speech", "tools")
INTERNAL_PREFIX = "engine/internal/"
INTERNALS_MARK = "// Test of engine internals."

INCLUDE_RE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)
QT_INCLUDE_RE = re.compile(r"^\s*#\s*include\s*<Q", re.MULTILINE)
CLI_SOURCES_RE = re.compile(r"set\(\s*CLI_SOURCES\s+([^)]*)\)")


def read_text(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def source_files(root):
    """Paths (relative, with '/') of every source file of the project's folders."""
    found = []
    for top in SOURCE_FOLDERS:
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    rel = os.path.relpath(os.path.join(folder, name), root)
                    found.append(rel.replace(os.sep, "/"))
    return found


class UiParts:
    """Tells the plain command-line part of ui/ (tamzel_cli) from its Qt part (tamzel_ui).

    The plain part is the list CLI_SOURCES of ui/CMakeLists.txt; a header goes with its .cpp,
    and a header without one is plain unless it includes a Qt header. Without that list ui/
    is one module.
    """

    def __init__(self, root):
        self.root = root
        self.cli_stems = None
        cmake = os.path.join(root, "ui", "CMakeLists.txt")
        if os.path.exists(cmake):
            match = CLI_SOURCES_RE.search(read_text(cmake))
            if match:
                self.cli_stems = {os.path.splitext(s)[0] for s in match.group(1).split()}

    def module_of(self, rel):
        if self.cli_stems is None:
            return "ui"
        parts = rel.split("/")
        if len(parts) != 2:
            return "ui/qt"
        stem, suffix = os.path.splitext(parts[1])
        if stem in self.cli_stems:
            return "ui/cli"
        if suffix in (".h", ".hpp") and not os.path.exists(os.path.join(self.root, "ui", stem + ".cpp")):
            return "ui/qt" if QT_INCLUDE_RE.search(read_text(os.path.join(self.root, rel))) else "ui/cli"
        return "ui/qt"


def module_of(rel, ui_parts):
    parts = rel.split("/")
    if parts[0] == "ui":
        return ui_parts.module_of(rel)
    if parts[0] in SPLIT_FOLDERS and len(parts) > 2:
        return parts[0] + "/" + parts[1]
    return parts[0]


def resolve(root, including, target):
    """The included file relative to root, or None when it is not one of the project's."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), target)).replace(os.sep, "/")
    if os.path.isfile(os.path.join(root, beside)):
        return beside
    if target.split("/")[0] in SOURCE_FOLDERS:
        return os.path.normpath(target).replace(os.sep, "/")
    return None


# Benchmarks and fuzz targets of the internals are tests in this sense: they run the engine's
# inner functions on purpose and ship in no program.
TEST_FOLDERS = ("tests/", "bench/", "fuzz/")


def is_marked_test(rel, text):
    return rel.startswith(TEST_FOLDERS) and any(line.strip() == INTERNALS_MARK for line in text.splitlines())


def top_folder_of(rel):
    return rel.split("/")[0]


def add_edge(graph, source, target, example):
    graph[source]
    if target != source:
        graph[source].setdefault(target, example)


def scan(root):
    """The folder graphs {folder: {folder: first (file, include)}}, top-level and fine, and the
    internal-include faults."""
    ui_parts = UiParts(root)
    top, fine = defaultdict(dict), defaultdict(dict)
    faults = []
    for rel in source_files(root):
        text = read_text(os.path.join(root, rel))
        add_edge(top, top_folder_of(rel), top_folder_of(rel), None)
        add_edge(fine, module_of(rel, ui_parts), module_of(rel, ui_parts), None)
        for target in INCLUDE_RE.findall(text):
            resolved = resolve(root, rel, target)
            if resolved is None:
                continue
            if (resolved.startswith(INTERNAL_PREFIX) and not rel.startswith("engine/")
                    and not is_marked_test(rel, text)):
                faults.append((rel, resolved))
            add_edge(top, top_folder_of(rel), top_folder_of(resolved), (rel, resolved))
            add_edge(fine, module_of(rel, ui_parts), module_of(resolved, ui_parts), (rel, resolved))
    return top, fine, faults


def find_cycle(graph):
    """One cycle as a list of modules (first == last), or None."""
    state = {}  # absent: not seen; 1: on the current path; 2: done
    path = []

    def visit(node):
        state[node] = 1
        path.append(node)
        for nxt in sorted(graph.get(node, {})):
            if state.get(nxt) == 1:
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                cycle = visit(nxt)
                if cycle:
                    return cycle
        path.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            cycle = visit(node)
            if cycle:
                return cycle
    return None


def report_cycle(graph, out):
    """Prints the graph and its cycle, if any; true when there is one."""
    for module in sorted(graph):
        print(f"  {module} -> {', '.join(sorted(graph[module])) or '-'}", file=out)
    cycle = find_cycle(graph)
    if not cycle:
        return False
    print("Include cycle: " + " -> ".join(cycle), file=out)
    for a, b in zip(cycle, cycle[1:]):
        source, target = graph[a][b]
        print(f"  {a} -> {b}: {source} includes {target}", file=out)
    return True


def check(root, out=sys.stdout):
    """Prints both graphs and every fault; returns the exit code."""
    top, fine, faults = scan(root)
    print("Top-level folders:", file=out)
    failed = report_cycle(top, out)
    print("Libraries:", file=out)
    failed = report_cycle(fine, out) or failed
    for source, target in faults:
        failed = True
        print(f"Engine internals outside the engine: {source} includes {target}"
              f" (a test of them says so with the line '{INTERNALS_MARK}')", file=out)
    if not failed:
        print("No include cycle; engine internals stay in the engine.", file=out)
    return 1 if failed else 0


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    return check(root)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
