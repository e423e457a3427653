#!/usr/bin/env python3
"""Serves the browser page on 127.0.0.1 and prints its address.

    python3 web/serve.py [--port N] [FOLDER]

FOLDER is the page's own folder in the web build (build-web/page); a build
folder itself is refused. Port 0 picks a free port. Only the loopback
address is used: the page is for this machine's browser. It answers as the
match server does: the compressed copy the build made (name.br, name.gz)
when the browser accepts it, an ETag on every file and 304 when the browser
already has it, a year's caching for names that carry their content's hash
and a check on every visit for the others.
"""
import argparse
import functools
import http.server
import os
import re
import sys

BUILD_MARKS = ("CMakeCache.txt", "build.ninja", "Makefile")
IMMUTABLE = "public, max-age=31536000, immutable"


def accepted_encodings(header):
    """The codings an Accept-Encoding header allows (q=0 refuses one)."""
    accepted = set()
    for part in (header or "").split(","):
        name, _, params = part.strip().partition(";")
        quality = 1.0
        for param in params.split(";"):
            key, _, value = param.strip().partition("=")
            if key == "q":
                try:
                    quality = float(value)
                except ValueError:
                    quality = 0.0
        if name and quality > 0:
            accepted.add(name.strip().lower())
    return accepted


def choose_file(path, header):
    """The file to send for `path` and its coding: a compressed copy beside
    it that the browser accepts, brotli first."""
    accepted = accepted_encodings(header)
    for coding, suffix in (("br", ".br"), ("gzip", ".gz")):
        if coding in accepted and os.path.isfile(path + suffix):
            return path + suffix, coding
    return path, None


def hashed_name(name):
    """Whether a file name carries its content's hash: stem.<16 hex>.ext."""
    parts = name.split(".")
    return len(parts) >= 3 and parts[0] != "" and re.fullmatch("[0-9a-f]{16}", parts[-2]) is not None


def entity_tag(path, coding):
    stat = os.stat(path)
    return f'"{stat.st_size:x}-{stat.st_mtime_ns:x}{"-" + coding if coding else ""}"'


def none_match_hits(header, tag):
    def opaque(item):
        item = item.strip()
        return item[2:] if item.startswith("W/") else item
    return any(item.strip() == "*" or opaque(item) == opaque(tag)
               for item in (header or "").split(",") if item.strip())


class PageHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".mjs": "text/javascript",
        ".js": "text/javascript",
        ".webmanifest": "application/manifest+json",
    }

    def send_head(self):
        target = self.path.split("?", 1)[0].split("#", 1)[0]
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            if not target.endswith("/"):
                return super().send_head()  # the redirect to the folder's address
            path = os.path.join(path, "index.html")
        if any(part.startswith(".") for part in target.split("/")) or not os.path.isfile(path):
            self.send_error(404)
            return None
        sent, coding = choose_file(path, self.headers.get("Accept-Encoding"))
        tag = entity_tag(sent, coding)
        cache = IMMUTABLE if hashed_name(os.path.basename(path)) else "no-cache"
        if none_match_hits(self.headers.get("If-None-Match"), tag):
            self.send_response(304)
            self.send_header("ETag", tag)
            self.send_header("Cache-Control", cache)
            self.end_headers()
            return None
        try:
            file = open(sent, "rb")
        except OSError:
            self.send_error(404)
            return None
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        if coding:
            self.send_header("Content-Encoding", coding)
        self.send_header("Content-Length", str(os.fstat(file.fileno()).st_size))
        self.send_header("ETag", tag)
        self.send_header("Cache-Control", cache)
        self.end_headers()
        return file

    def list_directory(self, path):
        self.send_error(404)
        return None

    def end_headers(self):
        # What is sent depends on what the browser accepts.
        self.send_header("Vary", "Accept-Encoding")
        super().end_headers()

    def handle(self):
        # A browser that leaves a page mid-download closes the connection:
        # nothing to report.
        try:
            super().handle()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def log_message(self, format, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=8030)
    parser.add_argument("folder", nargs="?", default="build-web/page")
    options = parser.parse_args()
    for mark in BUILD_MARKS:
        if os.path.exists(os.path.join(options.folder, mark)):
            sys.exit(f"serve.py: {options.folder} is a build folder (it holds {mark}); "
                     f"serve the page's own folder in it: {os.path.join(options.folder, 'page')}")
    if not os.path.isfile(os.path.join(options.folder, "index.html")):
        sys.exit(f"serve.py: no index.html in {options.folder}: build it with `make web`")
    handler = functools.partial(PageHandler, directory=options.folder)
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port), handler)
    except OSError as error:
        sys.exit(f"serve.py: cannot listen on 127.0.0.1:{options.port}: {error}")
    print(f"Quarnex in the browser: http://127.0.0.1:{server.server_port}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
