#!/usr/bin/env python3
"""The folder-rule check on small trees of its own: what it must catch, what it must let
through, and a rule table it must refuse."""

import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECK = pathlib.Path(__file__).resolve().parents[2] / "cmake" / "check_folder_rules.py"

RULES = """\
# folder       qt      uses
src/base       no-qt   -
src/core       no-qt   src/base
src/core/qt    qt      src/core
tools/probe    no-qt   src/core src/base
"""


class FolderRulesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.folder.name)
        self.write("rules.txt", RULES)
        self.write("src/base/base.h", "#pragma once\n")
        self.write("src/core/core.h", '#pragma once\n#include "base/base.h"\n')
        self.write("src/core/qt/view.h", "#pragma once\n#include <QWidget>\n")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, path, text):
        file = self.root / path
        file.parent.mkdir(parents=True, exist_ok=True)
        file.write_text(text)

    def run_check(self):
        result = subprocess.run(
            [sys.executable, str(CHECK), "--root", str(self.root), "--rules",
             str(self.root / "rules.txt")], capture_output=True, text=True)
        return result.returncode, result.stdout

    def test_allowed_includes_pass(self):
        self.write("src/core/core.cpp",
                   '#include "core/core.h"\n#include "core.h"\n#include <vector>\n'
                   '#include "moc_core.cpp"\n')
        self.write("tools/probe/probe.h", '#pragma once\n#include "core/core.h"\n')
        self.write("tools/probe/main.cpp", '#include "probe/probe.h"\n')
        self.assertEqual(self.run_check(), (0, ""))

    def test_upward_include_names_file_include_and_rule(self):
        self.write("src/base/base.cpp", '#include <string>\n  #  include "core/core.h"\n')
        code, output = self.run_check()
        self.assertEqual(code, 1)
        self.assertEqual(output, 'src/base/base.cpp:2: includes "core/core.h" from src/core, '
                         "but the rule at rules.txt:2 lets src/base use no other folder\n")

    def test_parent_folder_may_not_use_its_qt_half(self):
        self.write("src/core/core.cpp", '#include "core/qt/view.h"\n')
        code, output = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("src/core/core.cpp:1: includes \"core/qt/view.h\" from src/core/qt, but "
                      "the rule at rules.txt:3 lets src/core use only src/base", output)

    def test_qt_header_in_qt_free_folder(self):
        self.write("tools/probe/main.cpp",
                   "#include <QtCore/QString>\n#include <QCoreApplication>\n#include <qglobal.h>\n")
        code, output = self.run_check()
        self.assertEqual(code, 1)
        self.assertEqual(len(output.splitlines()), 3)
        self.assertIn("tools/probe/main.cpp:2: includes <QCoreApplication>, a Qt header, but "
                      "the rule at rules.txt:5 keeps tools/probe Qt-free", output)

    def test_folder_without_rule(self):
        self.write("src/extra/extra.cpp", '#include "base/base.h"\n')
        code, output = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("src/extra has no line in rules.txt", output)

    def test_rules_that_point_both_ways_are_refused(self):
        self.write("rules.txt", RULES.replace("src/base       no-qt   -",
                                              "src/base       no-qt   tools/probe"))
        code, output = self.run_check()
        self.assertEqual(code, 1)
        self.assertIn("src/base and tools/probe may use each other", output)
        self.assertIn("src/base and src/core may use each other", output)

    def test_unreadable_table_is_an_error_not_a_pass(self):
        for table in (RULES + "src/base no-qt -\n", RULES + "src/other maybe -\n"):
            self.write("rules.txt", table)
            code, _ = self.run_check()
            self.assertEqual(code, 2)

if __name__ == "__main__":
    unittest.main()
