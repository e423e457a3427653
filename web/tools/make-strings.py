#!/usr/bin/env python3
"""Writes the page's English string table (a JS module) from Qt Linguist files.

    make-strings.py OUT.mjs FILE.ts...

The .ts files in i18n/ are the one source of every translation: Czech source
texts, English translations. The page looks a text up by its Czech source;
a message without a translation (empty, or vanished/obsolete) is left out,
so the page keeps its Czech. One text has one wording everywhere: when two
messages translate the same source text differently, or two different
source texts (accelerators aside) come out as the same English, the page is
not built and every such pair is named, so the desktop and the page never
say one thing two ways. Only files whose language is English are read.
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


def plain(text):
    """A text without its accelerator marks."""
    return text.replace("&", "")


def disagreements(pairs):
    """Every source text translated two ways and every English text made from
    two sources, as readable lines."""
    by_source, by_english = {}, {}
    for source, text, path in pairs:
        by_source.setdefault(source, {}).setdefault(text, path)
        by_english.setdefault(plain(text), {}).setdefault(plain(source), path)
    found = []
    for source, texts in by_source.items():
        if len(texts) > 1:
            ways = "; ".join(f"{text!r} ({path})" for text, path in texts.items())
            found.append(f"{source!r} is translated two ways: {ways}")
    for text, sources in by_english.items():
        if len(sources) > 1:
            ways = "; ".join(f"{source!r} ({path})" for source, path in sources.items())
            found.append(f"{text!r} translates different source texts: {ways}")
    return found


def build_table(paths):
    pairs = [(s, t, path) for path in paths for s, t in read_translations(path)]
    found = disagreements(pairs)
    if found:
        raise ValueError("one text, two wordings:\n  " + "\n  ".join(found))
    table = {}
    for source, text, _ in pairs:
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
