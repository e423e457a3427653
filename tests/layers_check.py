#!/usr/bin/env python3
"""Checks that the folders above the core see only what they may include.

Reads the build's compile_commands.json: for every source of net/, server/,
web/, tools/ and app/, the top-level folders reachable through its include
paths (the source root itself, or a folder of links made for it) must be
among the folders that source may include. An include path that gives a
folder the whole source tree again fails here before a wrong-way include
can slip in unnoticed.
"""
import json
import os
import shlex
import sys

CORE = {"common", "gfx", "ships", "meteor", "panel", "game", "replay"}
MAY_SEE = {
    "net": CORE | {"net"},
    "server": CORE | {"net", "server"},
    "web": CORE | {"net", "web"},
    "tools": CORE | {"net", "tools"},
    "app": CORE | {"net", "app"},
}


def include_dirs(command):
    args = shlex.split(command)
    for i, arg in enumerate(args):
        if arg in ("-I", "-isystem") and i + 1 < len(args):
            yield args[i + 1]
        elif arg.startswith("-I"):
            yield arg[2:]


def visible_folders(dirs, root):
    seen = set()
    for folder in dirs:
        folder = os.path.realpath(folder)
        if folder == root:
            seen |= {name for name in os.listdir(root) if os.path.isdir(os.path.join(root, name))}
        elif os.path.isdir(folder):
            for name in os.listdir(folder):
                target = os.path.realpath(os.path.join(folder, name))
                if os.path.dirname(target) == root:
                    seen.add(name)
    return seen


def main(build, root):
    root = os.path.realpath(root)
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    faults = []
    checked = 0
    for entry in entries:
        source = os.path.realpath(entry["file"])
        if not source.startswith(root + os.sep):
            continue
        top = os.path.relpath(source, root).split(os.sep)[0]
        if top not in MAY_SEE:
            continue
        checked += 1
        extra = visible_folders(include_dirs(entry["command"]), root) - MAY_SEE[top]
        if extra:
            faults.append(f"{os.path.relpath(source, root)} can include {', '.join(sorted(extra))}")
    for fault in faults:
        print(fault)
    print(f"{checked} sources checked, {len(faults)} see too much")
    return 1 if faults or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
