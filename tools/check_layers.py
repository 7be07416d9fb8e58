#!/usr/bin/env python3
"""Checks that every folder of the product includes only folders of its own
layer or below, so that the layers only point down:

  0  core/                       portable number texts
  1  platform/pocketpc/, resources/   the handheld's shell services, resource ids
  2  currency/core/              the currency core and its Windows side
  3  frame/                      what every screen shares
  4  calculators/, currency/screens/
  5  todayplugin/, platform/todayhost/
  6  shell/                      the program's top

Prints each include that points up and exits 1 if there is one.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAYERS = [
    ("core/", 0), ("resources/", 1), ("platform/pocketpc/", 1), ("currency/core/", 2), ("frame/", 3),
    ("calculators/", 4), ("currency/screens/", 4), ("todayplugin/", 5), ("platform/todayhost/", 5),
    ("shell/", 6),
]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer_of(path):
    for prefix, layer in LAYERS:
        if path.startswith(prefix):
            return layer
    return None


def main():
    upward = []
    for prefix, layer in LAYERS:
        for folder, _, names in os.walk(os.path.join(ROOT, prefix)):
            for name in names:
                if not name.endswith((".h", ".cpp", ".rc")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), ROOT)
                with open(os.path.join(folder, name), encoding="latin-1") as source:
                    for included in INCLUDE.findall(source.read()):
                        target = layer_of(included)
                        if target is not None and target > layer:
                            upward.append("%s includes %s" % (path, included))
    for line in upward:
        print(line)
    return 1 if upward else 0


if __name__ == "__main__":
    sys.exit(main())
