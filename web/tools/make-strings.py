#!/usr/bin/env python3
"""Writes the page's English string table (a JS module) from Qt Linguist files.

    make-strings.py OUT.mjs FILE.ts...

The .ts files in i18n/ are the one source of every translation: Czech source
texts, English translations. The page looks a text up by its Czech source;
a message without a translation (empty, or vanished/obsolete) is left out,
so the page keeps its Czech. When two files translate the same source text
differently, the first file named wins (the page's own file comes first).
Only files whose language is English are read.
"""
import json
import sys
import xml.etree.ElementTree as ElementTree

DROPPED = {"vanished", "obsolete"}


def read_translations(path):
    """The (source, translation) pairs of one .ts file, in file order."""
    root = ElementTree.parse(path).getroot()
    if root.tag != "TS":
        raise ValueError(f"{path}: not a Qt Linguist file (root <{root.tag}>)")
    if not root.get("language", "en").lower().startswith("en"):
        return []
    pairs = []
    for message in root.iter("message"):
        source = message.findtext("source")
        translation = message.find("translation")
        if source is None or translation is None:
            continue
        if translation.get("type") in DROPPED or message.get("numerus") == "yes":
            continue
        text = translation.text or ""
        if text:
            pairs.append((source, text))
    return pairs


def build_table(paths):
    table = {}
    for path in paths:
        for source, text in read_translations(path):
            table.setdefault(source, text)
    return table


def main(argv):
    if len(argv) < 2:
        sys.exit("usage: make-strings.py OUT.mjs FILE.ts...")
    out, paths = argv[0], argv[1:]
    try:
        table = build_table(paths)
    except (OSError, ElementTree.ParseError, ValueError) as error:
        sys.exit(f"make-strings.py: {error}")
    body = json.dumps(dict(sorted(table.items())), ensure_ascii=False, indent=0)
    with open(out, "w", encoding="utf-8") as file:
        file.write("// Generated from i18n/*.ts by web/tools/make-strings.py; do not edit.\n")
        file.write("// English texts by their Czech source text.\n")
        file.write(f"export const ENGLISH = Object.freeze({body});\n")


if __name__ == "__main__":
    main(sys.argv[1:])
