#!/usr/bin/env python3
"""The match server serving the web build's page folder, as browsers see it.

    page_folder_test.py QUARNEX_SERVER WEB_BUILD_DIR

The folder holds the page and nothing else; each file goes out as the
compressed copy the browser accepts (brotli, gzip, or none), with Vary and
an ETag, and If-None-Match gets 304; names carrying their content's hash are
cached for a year, the page, its service worker and manifest are checked on
every visit. The build folder itself is refused. Exits 77 (skipped) when the
page is not built.
"""
import gzip
import http.client
import json
import os
import re
import subprocess
import sys

SKIP = 77
failures = []


def check(ok, what):
    print(f"{'ok  ' if ok else 'FAIL'} {what}", flush=True)
    if not ok:
        failures.append(what)


def get(port, path, **headers):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    connection.request("GET", path, headers=headers)
    answer = connection.getresponse()
    body = answer.read()
    connection.close()
    return answer, body


def start(server, folder):
    process = subprocess.Popen([server, "--port", "0", "--bind", "127.0.0.1", "--web", folder],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    line = process.stdout.readline()
    match = re.search(r"listening on (\d+)", line)
    return process, int(match.group(1)) if match else None


def page_files(folder):
    """What the page loads: the names its service worker lists, and sw.js."""
    with open(os.path.join(folder, "sw.js"), encoding="utf-8") as file:
        listing = re.search(r"const PAGE_FILES = (\[.*?\]);", file.read()).group(1)
    names = {"index.html" if name == "./" else name for name, _ in json.loads(listing)}
    return names | {"sw.js"}


def main():
    server, build = sys.argv[1:3]
    folder = os.path.join(build, "page")
    if not os.path.isfile(os.path.join(folder, "index.html")):
        print(f"SKIP: no page in {folder}; build it with `make web`")
        return SKIP

    loaded = page_files(folder)
    stray = [name for name in os.listdir(folder)
             if name not in loaded and not (name[-3:] in (".br", ".gz") and name[:-3] in loaded)]
    check(not stray, f"the page folder holds the page's {len(loaded)} files and their "
          f"compressed copies only (stray: {stray})")

    refused = subprocess.run([server, "--port", "0", "--bind", "127.0.0.1", "--web", build],
                             capture_output=True, text=True, timeout=30)
    check(refused.returncode != 0 and "build folder" in refused.stderr,
          f"the build folder itself is refused ({refused.stderr.strip()})")

    process, port = start(server, folder)
    try:
        check(port is not None, "the server listens")
        with open(os.path.join(folder, "index.html"), encoding="utf-8") as file:
            wasm = re.search(r'href="(quarnex\.[0-9a-f]{16}\.wasm)"', file.read()).group(1)
        raw = open(os.path.join(folder, wasm), "rb").read()
        packed = open(os.path.join(folder, wasm + ".br"), "rb").read()
        answer, body = get(port, "/" + wasm, **{"Accept-Encoding": "gzip, deflate, br"})
        check(answer.status == 200 and answer.getheader("Content-Encoding") == "br" and body == packed
              and answer.getheader("Vary") == "Accept-Encoding"
              and answer.getheader("Cache-Control") == "public, max-age=31536000, immutable",
              f"{wasm}: brotli ({len(body)} of {len(raw)} bytes), Vary, immutable")
        tag = answer.getheader("ETag")
        again, body = get(port, "/" + wasm, **{"Accept-Encoding": "gzip, deflate, br",
                                               "If-None-Match": tag})
        check(again.status == 304 and body == b"" and again.getheader("ETag") == tag,
              f"If-None-Match {tag}: 304 without a body")
        answer, body = get(port, "/" + wasm, **{"Accept-Encoding": "gzip", "If-None-Match": tag})
        check(answer.status == 200 and answer.getheader("Content-Encoding") == "gzip"
              and gzip.decompress(body) == raw and answer.getheader("ETag") != tag,
              "gzip for a browser without brotli, with its own ETag (the brotli one does not match)")
        answer, body = get(port, "/" + wasm, **{"Accept-Encoding": "identity"})
        check(answer.status == 200 and answer.getheader("Content-Encoding") is None and body == raw,
              "identity: the file as it is")

        for path in ("/", "/sw.js", "/manifest.webmanifest"):
            answer, body = get(port, path, **{"Accept-Encoding": "br"})
            tag = answer.getheader("ETag")
            again, _ = get(port, path, **{"Accept-Encoding": "br", "If-None-Match": tag})
            check(answer.status == 200 and answer.getheader("Cache-Control") == "no-cache"
                  and tag and again.status == 304,
                  f"{path}: checked on every visit (no-cache, ETag {tag}, then 304)")
        for path in ("/CMakeCache.txt", "/build.ninja", "/quarnex-sim.js", "/quarnex.wasm"):
            answer, _ = get(port, path)
            check(answer.status == 404, f"{path}: {answer.status}")
    finally:
        process.terminate()
        process.wait(timeout=30)
    print(f"{len(failures)} check(s) failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
