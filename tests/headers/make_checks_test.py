#!/usr/bin/env python3
"""The header-alone check's sources: every header read once, after only what it includes."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # nothing written into the checkout
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_checks  # noqa: E402


def write_tree(root, tree):
    for header, includes in tree.items():
        path = os.path.join(root, header)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write("#pragma once\n")
            f.write("".join('#include "%s"\n' % name for name in includes))


def reached(tree):
    """Every header of the tree each header reaches through its includes."""
    result = {}
    for header in tree:
        seen, todo = set(), list(tree[header])
        while todo:
            name = todo.pop()
            if name in tree and name not in seen:
                seen.add(name)
                todo += tree[name]
        result[header] = seen
    return result


def included_lines(text):
    return [line.split('"')[1] for line in text.splitlines() if line.startswith("#include")]


class MakeChecks(unittest.TestCase):
    # tree (header: its quoted includes), then the chains expected, each from the header
    # read first to its last.
    CASES = [
        ("a line of includes is one source", {"a/A.h": [], "a/B.h": ["a/A.h"], "a/C.h": ["a/B.h"]},
         [["a/A.h", "a/B.h", "a/C.h"]]),
        ("two headers on one base: the second is alone",
         {"a/A.h": [], "a/B.h": ["a/A.h"], "a/C.h": ["a/A.h"]},
         [["a/A.h", "a/C.h"], ["a/B.h"]]),
        ("the longest chain takes the shared header",
         {"a/A.h": [], "a/B.h": ["a/A.h"], "a/C.h": ["a/B.h"], "a/D.h": ["a/A.h"]},
         [["a/A.h", "a/B.h", "a/C.h"], ["a/D.h"]]),
        ("an include reached only through another still counts",
         {"a/A.h": [], "a/B.h": ["a/A.h"], "a/C.h": ["a/B.h"], "a/D.h": ["a/C.h"], "a/E.h": ["a/B.h"]},
         [["a/A.h", "a/B.h", "a/C.h", "a/D.h"], ["a/E.h"]]),
        ("system headers and files outside the tree are no links",
         {"a/A.h": ["vector", "generated/Paths.h"], "a/B.h": ["generated/Paths.h"]},
         [["a/A.h"], ["a/B.h"]]),
        ("a cycle ends", {"a/A.h": ["a/B.h"], "a/B.h": ["a/A.h"]}, None),
    ]

    def run_case(self, tree):
        with tempfile.TemporaryDirectory() as root:
            src = os.path.join(root, "src")
            out = os.path.join(root, "out")
            write_tree(src, tree)
            self.assertEqual(make_checks.main([src, out] + sorted(tree)), 0)
            texts = {}
            for header in tree:
                with open(os.path.join(out, make_checks.source_name(header)), encoding="utf-8") as f:
                    texts[header] = f.read()
            return texts

    def test_sources(self):
        for name, tree, expected in self.CASES:
            with self.subTest(name):
                texts = self.run_case(tree)
                chains = [included_lines(t) for t in texts.values() if included_lines(t)]
                # Every header is read exactly once.
                read = sorted(h for chain in chains for h in chain)
                self.assertEqual(read, sorted(tree))
                # Each header comes after only headers it includes, directly or not: it
                # could lean on nothing more than when compiled alone.
                closure = reached(tree)
                for chain in chains:
                    for i, header in enumerate(chain):
                        self.assertLessEqual(set(chain[:i]), closure[header], (name, chain))
                if expected is not None:
                    self.assertEqual(sorted(chains), sorted(expected))

    def test_an_unchanged_source_is_not_written_again(self):
        tree = {"a/A.h": [], "a/B.h": ["a/A.h"], "a/C.h": ["a/A.h"]}
        with tempfile.TemporaryDirectory() as root:
            src = os.path.join(root, "src")
            out = os.path.join(root, "out")
            write_tree(src, tree)
            make_checks.main([src, out] + sorted(tree))
            paths = {h: os.path.join(out, make_checks.source_name(h)) for h in tree}
            for path in paths.values():
                os.utime(path, (1, 1))
            # C.h now includes B.h: one chain, so B's and C's sources change, A's not.
            write_tree(src, {"a/C.h": ["a/B.h"]})
            make_checks.main([src, out] + sorted(tree))
            changed = {h for h, path in paths.items() if os.stat(path).st_mtime != 1}
            self.assertEqual(changed, {"a/B.h", "a/C.h"})


if __name__ == "__main__":
    unittest.main()
