#!/usr/bin/env python3
"""Checks that every source file under src/ and tools/ includes only headers of the
folders its folder may use, and no Qt header where its folder is Qt-free.

    check_folder_rules.py [--root REPOSITORY] [--rules TABLE]

The rules are the table cmake/folder_rules.txt. Prints one line per broken rule, naming
the file, the include and the rule, and exits with 1; exits with 0 when all hold.
"""

import argparse
import pathlib
import re
import sys

SOURCE_FOLDERS = ("src", "tools")
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# <QString>, <QtCore/QString>, <QtCharts>, <qglobal.h>
QT_HEADER = re.compile(r"^(Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/.*|q[a-z0-9_]*\.h)$")


class Rule:
    def __init__(self, folder, qt, uses, line):
        self.folder = folder
        self.qt = qt
        self.uses = uses
        self.line = line

    def describe(self, table):
        uses = "only " + " ".join(sorted(self.uses)) if self.uses else "no other folder"
        return f"the rule at {table}:{self.line} lets {self.folder} use {uses}"


def read_rules(table):
    """The rules by folder, or raises ValueError naming the bad line."""
    rules = {}
    for number, text in enumerate(table.read_text().splitlines(), 1):
        words = text.split("#", 1)[0].split()
        if not words:
            continue
        if len(words) < 3 or words[1] not in ("qt", "no-qt"):
            raise ValueError(f"{table}:{number}: expected '<folder> qt|no-qt <folders>|-'")
        if words[0] in rules:
            raise ValueError(f"{table}:{number}: a second line for {words[0]}")
        uses = set(words[2:]) - {"-"}
        rules[words[0]] = Rule(words[0], words[1] == "qt", uses, number)
    return rules


def upward_pairs(rules):
    """Folders that may use one another, directly or through others: (a, b) pairs."""
    reach = {folder: set(rule.uses) for folder, rule in rules.items()}
    changed = True
    while changed:
        changed = False
        for folder, reached in reach.items():
            more = set().union(*(reach.get(other, set()) for other in reached)) - reached
            if more:
                reached |= more
                changed = True
    return sorted((a, b) for a in reach for b in reach[a] if a < b and a in reach.get(b, ()))


def resolve(root, source, kind, name):
    """The repository file an include names, as the compiler finds it, or None for a
    header from outside the repository (system, Qt, generated)."""
    candidates = [source.parent / name] if kind == '"' else []
    candidates += [root / folder / name for folder in SOURCE_FOLDERS]
    for candidate in candidates:
        if candidate.is_file():
            return candidate.resolve()
    return None


def check_file(root, source, rule, table):
    """The broken rules of one file, as messages."""
    where = source.relative_to(root)
    problems = []
    for number, text in enumerate(source.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(text)
        if not match:
            continue
        kind, name = match.groups()
        shown = f"{kind}{name}{'>' if kind == '<' else kind}"
        target = resolve(root, source, kind, name)
        if target is None:
            if not rule.qt and kind == "<" and QT_HEADER.match(name):
                problems.append(f"{where}:{number}: includes {shown}, a Qt header, but "
                                f"the rule at {table}:{rule.line} keeps {rule.folder} Qt-free")
            continue
        folder = target.parent.relative_to(root).as_posix()
        if folder != rule.folder and folder not in rule.uses:
            problems.append(f"{where}:{number}: includes {shown} from {folder}, but "
                            f"{rule.describe(table)}")
    return problems


def check(root, table):
    """Every broken rule under root, as messages."""
    root = root.resolve()
    rules = read_rules(table)
    shown_table = table.relative_to(root) if table.resolve().is_relative_to(root) else table
    problems = [f"{shown_table}: {a} and {b} may use each other; nothing may point upward"
                for a, b in upward_pairs(rules)]
    for top in SOURCE_FOLDERS:
        for source in sorted((root / top).rglob("*")):
            if source.suffix not in SOURCE_SUFFIXES or not source.is_file():
                continue
            folder = source.parent.relative_to(root).as_posix()
            rule = rules.get(folder)
            if rule is None:
                problems.append(f"{source.relative_to(root)}: {folder} has no line in "
                                f"{shown_table}; add one saying what it may use")
                continue
            problems += check_file(root, source, rule, shown_table)
    return problems


def main():
    here = pathlib.Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", type=pathlib.Path, default=here.parent)
    parser.add_argument("--rules", type=pathlib.Path, default=here / "folder_rules.txt")
    arguments = parser.parse_args()
    try:
        problems = check(arguments.root, arguments.rules.resolve())
    except (OSError, ValueError) as error:
        print(f"check_folder_rules: {error}", file=sys.stderr)
        return 2
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the folder rules", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
