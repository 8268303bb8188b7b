"""The include checker on small trees written into a temporary folder."""

import importlib.util
import io
import os
import tempfile
import textwrap
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.environ.get("TAMZEL_CHECK_INCLUDES",
                        os.path.join(HERE, "..", "..", "scripts", "check-includes.py"))
_spec = importlib.util.spec_from_file_location("check_includes", SCRIPT)
checker = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(checker)

MARK = "// Test of engine internals."
UI_CMAKE = "set(CLI_SOURCES ConsoleMode.cpp CommandLine.cpp)\n"


class Tree:
    """A source tree in a temporary folder: {path: text}."""

    def __init__(self, files):
        self._dir = tempfile.TemporaryDirectory()
        self.root = self._dir.name
        for path, text in files.items():
            full = os.path.join(self.root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(textwrap.dedent(text))

    def check(self):
        out = io.StringIO()
        code = checker.check(self.root, out)
        return code, out.getvalue()

    def close(self):
        self._dir.cleanup()


def includes(*paths):
    return "".join(f'#include "{p}"\n' for p in paths)


class CheckerCase(unittest.TestCase):
    def run_tree(self, files):
        tree = Tree(files)
        self.addCleanup(tree.close)
        return tree.check()


class CyclesTest(CheckerCase):
    def test_layered_trees_pass(self):
        trees = {
            "empty tree": {},
            "chain": {
                "engine/Engine.h": "#pragma once\n",
                "profiles/Store.h": includes("engine/Engine.h"),
                "ui/Window.cpp": includes("profiles/Store.h", "engine/Engine.h"),
            },
            "includes inside one folder and of system headers": {
                "engine/A.h": includes("engine/B.h") + "#include <vector>\n",
                "engine/B.h": includes("engine/A.h"),
                "tests/engine/ATest.cpp": includes("Fixture.h", "engine/A.h"),
                "tests/engine/Fixture.h": includes("engine/B.h"),
            },
            "shared module under both sides": {
                "chrome/Ports.h": "#pragma once\n",
                "profiles/windows/Form.h": includes("chrome/Ports.h", "profiles/Store.h"),
                "profiles/Store.h": "#pragma once\n",
                "ui/Window.cpp": includes("chrome/Ports.h", "profiles/windows/Form.h"),
            },
        }
        for name, files in trees.items():
            with self.subTest(name):
                code, out = self.run_tree(files)
                self.assertEqual(code, 0, out)
                self.assertNotIn("cycle:", out)

    def test_cycles_fail_naming_every_edge(self):
        trees = {
            "two top-level folders": (
                {"ui/Ports.h": "#pragma once\n",
                 "ui/Window.cpp": includes("profiles/windows/Form.h"),
                 "profiles/windows/Form.h": includes("ui/Ports.h")},
                ["profiles -> ui: profiles/windows/Form.h includes ui/Ports.h",
                 "ui -> profiles: ui/Window.cpp includes profiles/windows/Form.h"]),
            "three folders": (
                {"engine/A.h": includes("speech/B.h"),
                 "speech/B.h": includes("profiles/C.h"),
                 "profiles/C.h": includes("engine/A.h")},
                ["engine -> speech: engine/A.h includes speech/B.h",
                 "speech -> profiles: speech/B.h includes profiles/C.h",
                 "profiles -> engine: profiles/C.h includes engine/A.h"]),
            "two libraries of one folder": (
                {"speech/text/Text.h": includes("speech/playback/Play.h"),
                 "speech/playback/Play.h": includes("speech/text/Text.h")},
                ["speech/playback -> speech/text: speech/playback/Play.h includes speech/text/Text.h",
                 "speech/text -> speech/playback: speech/text/Text.h includes speech/playback/Play.h"]),
            "through a header the build generates (not in the tree)": (
                {"engine/A.cpp": includes("ui/Generated.h"),
                 "ui/B.cpp": includes("engine/A.h")},
                ["engine -> ui: engine/A.cpp includes ui/Generated.h",
                 "ui -> engine: ui/B.cpp includes engine/A.h"]),
            "plain and Qt part of ui": (
                {"ui/CMakeLists.txt": UI_CMAKE,
                 "ui/ConsoleMode.cpp": includes("ui/Window.h"),
                 "ui/Window.h": "#include <QWidget>\n" + includes("ui/CommandLine.h"),
                 "ui/CommandLine.h": "#pragma once\n"},
                ["ui/cli -> ui/qt: ui/ConsoleMode.cpp includes ui/Window.h",
                 "ui/qt -> ui/cli: ui/Window.h includes ui/CommandLine.h"]),
        }
        for name, (files, edges) in trees.items():
            with self.subTest(name):
                code, out = self.run_tree(files)
                self.assertEqual(code, 1, out)
                self.assertIn("Include cycle: ", out)
                for edge in edges:
                    self.assertIn(edge, out)

    def test_ui_parts_follow_the_plain_list(self):
        # The Qt part including the plain part is the allowed direction; a plain header
        # without a .cpp goes with the plain part.
        code, out = self.run_tree({
            "ui/CMakeLists.txt": UI_CMAKE,
            "ui/Modes.h": includes("ui/CommandLine.h"),
            "ui/CommandLine.h": "#pragma once\n",
            "ui/ConsoleMode.cpp": includes("ui/Modes.h"),
            "ui/GuiMode.cpp": "#include <QApplication>\n" + includes("ui/Modes.h"),
        })
        self.assertEqual(code, 0, out)
        self.assertIn("  ui/qt -> ui/cli\n", out)
        self.assertIn("  ui/cli -> -\n", out)


class EngineInternalsTest(CheckerCase):
    INTERNAL = "engine/internal/RuleState.h"

    def test_who_may_include_engine_internals(self):
        cases = [
            ("the engine itself", "engine/RulePass.cpp", "", 0),
            ("a test that says so", "tests/engine/RulePassTest.cpp", MARK + "\n", 0),
            ("a marked test with the mark indented", "tests/engine/TagsTest.cpp", "  " + MARK + "\n", 0),
            ("an unmarked test", "tests/engine/RulePassTest.cpp", "", 1),
            ("a test with the mark inside a longer line", "tests/engine/T.cpp",
             MARK + " Not yet.\n", 1),
            ("the mark outside tests", "ui/Window.cpp", MARK + "\n", 1),
            ("a marked benchmark of the internals", "bench/engine/EngineBench.cpp", MARK + "\n", 0),
            ("a marked fuzz target", "fuzz/FuzzSupport.h", MARK + "\n", 0),
            ("an unmarked benchmark", "bench/engine/EngineBench.cpp", "", 1),
            ("a library", "profiles/Store.cpp", "", 1),
        ]
        for name, path, head, expected in cases:
            with self.subTest(name):
                code, out = self.run_tree({
                    self.INTERNAL: "#pragma once\n",
                    path: head + includes(self.INTERNAL),
                })
                self.assertEqual(code, expected, out)
                fault = f"Engine internals outside the engine: {path} includes {self.INTERNAL}"
                if expected:
                    self.assertIn(fault, out)
                else:
                    self.assertNotIn("Engine internals outside", out)


if __name__ == "__main__":
    unittest.main()
