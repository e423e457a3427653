#!/usr/bin/env python3
"""Puts the page together in a folder of its own, ready to be served.

    make-page.py OUT_DIR --brotli BROTLI --gzip GZIP [--esbuild ESBUILD] FILE...

FILE... are everything the page loads (its sources, quarnex.js and
quarnex.wasm, the generated texts and icons). With ESBUILD the modules, the
style sheet and the wasm's loader are minified (Debian's esbuild; each file
on its own, its imports and global names kept). The scripts, the style sheet and the wasm get names that
carry the hash of their content (quarnex.0123456789abcdef.wasm), and every
reference to them in the page, the loader and the modules' imports is
rewritten, so a server can let browsers keep them for a year. The service
worker gets the list of files with their SHA-256 digests (and a version made
from that list), so a new build is a new service worker. Text and the wasm
are also written compressed beside themselves (name.br by Debian's brotli,
name.gz by gzip -9 -n) when that is smaller. OUT_DIR is emptied first: it
holds the page and nothing else.
"""
import argparse
import base64
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys

HASHED = {".mjs", ".css", ".js", ".wasm"}
NOT_HASHED = {"index.html", "sw.js"}
COMPRESSIBLE = {".html", ".js", ".mjs", ".css", ".wasm", ".json", ".webmanifest", ".svg", ".txt"}
SW_LIST = "const PAGE_FILES = [];"
SW_VERSION = "const VERSION = 'unbuilt';"


def content_name(name, data):
    stem, ext = os.path.splitext(name)
    return f"{stem}.{hashlib.sha256(data).hexdigest()[:16]}{ext}"


def reference(name):
    """A quoted reference to `name` in a script or an attribute: "name",
    'name', "./name" or './name'."""
    return re.compile(r"""(['"])(\./)?""" + re.escape(name) + r"\1")


def referenced(data, names):
    text = data.decode("utf-8")
    return {name for name in names if reference(name).search(text)}


def rewrite(data, renamed):
    text = data.decode("utf-8")
    for old, new in renamed.items():
        text = reference(old).sub(lambda m, new=new: f"{m.group(1)}{m.group(2) or ''}{new}{m.group(1)}",
                                  text)
    return text.encode("utf-8")


def hash_names(files):
    """Renames every hashed file after its content, references to other
    hashed files rewritten first (so a changed module renames the modules
    that import it too). Returns {old name: new name}."""
    hashed = {name for name in files if os.path.splitext(name)[1] in HASHED and name not in NOT_HASHED}
    texts = {name for name in hashed if not name.endswith(".wasm")}
    needs = {name: (referenced(files[name], hashed - {name}) if name in texts else set())
             for name in hashed}
    renamed = {}
    while len(renamed) < len(hashed):
        ready = [name for name in hashed - renamed.keys() if needs[name] <= renamed.keys()]
        if not ready:
            sys.exit("make-page.py: the page's scripts import each other in a circle: "
                     + ", ".join(sorted(hashed - renamed.keys())))
        for name in sorted(ready):
            if name in texts:
                files[name] = rewrite(files[name], {n: renamed[n] for n in needs[name]})
            renamed[name] = content_name(name, files[name])
    return renamed


def service_worker(source, served):
    """sw.js with the list of [url, integrity] of the page's files."""
    entries = []
    for name in sorted(served):
        digest = base64.b64encode(hashlib.sha256(served[name]).digest()).decode("ascii")
        entries.append(["./" if name == "index.html" else name, f"sha256-{digest}"])
    listing = json.dumps(entries, separators=(",", ":"))
    version = hashlib.sha256(listing.encode("utf-8")).hexdigest()[:16]
    text = source.decode("utf-8")
    if SW_LIST not in text or SW_VERSION not in text:
        sys.exit(f"make-page.py: sw.js lacks `{SW_LIST}` or `{SW_VERSION}`")
    text = text.replace(SW_LIST, f"const PAGE_FILES = {listing};")
    text = text.replace(SW_VERSION, f"const VERSION = '{version}';")
    return text.encode("utf-8")


def minify(name, data, esbuild):
    """The module or style sheet minified by esbuild (names it exports kept)."""
    loader = "css" if name.endswith(".css") else "js"
    done = subprocess.run([esbuild, f"--loader={loader}", "--minify", "--log-level=warning"],
                          input=data, capture_output=True, check=False)
    if done.returncode != 0:
        sys.exit(f"make-page.py: esbuild could not minify {name}:\n{done.stderr.decode()}")
    return done.stdout


def compress(path, brotli, gzip):
    size = os.path.getsize(path)
    subprocess.run([brotli, "--best", "--force", "--output=" + path + ".br", path], check=True)
    with open(path + ".gz", "wb") as out:
        subprocess.run([gzip, "-9", "-n", "-c", path], stdout=out, check=True)
    for packed in (path + ".br", path + ".gz"):
        if os.path.getsize(packed) >= size:
            os.remove(packed)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--brotli", required=True)
    parser.add_argument("--gzip", required=True)
    parser.add_argument("--esbuild")
    parser.add_argument("files", nargs="+")
    options = parser.parse_args()
    files = {}
    for path in options.files:
        with open(path, "rb") as file:
            files[os.path.basename(path)] = file.read()
    if options.esbuild:
        for name in files:
            if name.endswith((".mjs", ".css", ".js")) and name not in NOT_HASHED:
                files[name] = minify(name, files[name], options.esbuild)
    renamed = hash_names(files)
    files["index.html"] = rewrite(files["index.html"], renamed)
    served = {renamed.get(name, name): data for name, data in files.items() if name != "sw.js"}
    served["sw.js"] = service_worker(files["sw.js"], served)

    shutil.rmtree(options.out, ignore_errors=True)
    os.makedirs(options.out)
    for name, data in served.items():
        path = os.path.join(options.out, name)
        with open(path, "wb") as file:
            file.write(data)
        if os.path.splitext(name)[1] in COMPRESSIBLE:
            compress(path, options.brotli, options.gzip)


if __name__ == "__main__":
    main()
