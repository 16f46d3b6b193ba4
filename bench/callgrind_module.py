#!/usr/bin/env python3
"""Instructions executed in each object's own code, from a callgrind output
file: callgrind_module.py FILE. Prints "OBJECT IR" lines, largest first.
Costs of calls (inclusive) are left out, so a module's figure is its own
code without the host services it calls."""
import collections
import re
import sys

names = {}


def resolve(value):
    m = re.match(r"\((\d+)\)(?:\s+(.*))?$", value.strip())
    if not m:
        return value.strip()
    if m.group(2) is not None:
        names[m.group(1)] = m.group(2)
    return names.get(m.group(1), value.strip())


def main(path):
    self_ir = collections.Counter()
    ob = "?"
    skip_next = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("ob="):
                ob = resolve(line[3:])
            elif line.startswith(("cob=", "cfi=", "cfl=", "cfn=", "fl=", "fi=", "fe=", "fn=")):
                # Define compressed names so later references resolve.
                resolve(line.split("=", 1)[1])
            elif line.startswith("calls="):
                skip_next = True
            elif line and (line[0].isdigit() or line[0] in "+-*"):
                if skip_next:
                    skip_next = False
                    continue
                fields = line.split()
                if len(fields) >= 2:
                    self_ir[ob] += int(fields[1])
    for obj, ir in self_ir.most_common():
        print(obj, ir)


if __name__ == "__main__":
    main(sys.argv[1])
