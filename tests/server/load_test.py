#!/usr/bin/env python3
"""The load test in small: a server on a free port, quarnex-loadgen playing
50 games (half the players over WebSocket) for 3 seconds; every game must
run and no packet may be lost. Relay times are printed, not judged (they
depend on the machine's load)."""
import subprocess
import sys

from server_process import start_server, stop_server


def main():
    server_exe, loadgen_exe = sys.argv[1], sys.argv[2]
    server, port = start_server(server_exe, "--max-per-address", "1000")
    try:
        load = subprocess.run([loadgen_exe, "--server", "127.0.0.1:%d" % port, "--games", "50",
                               "--seconds", "3", "--server-pid", str(server.pid)],
                              capture_output=True, text=True, timeout=90)
        print(load.stdout, end="")
        print(load.stderr, end="", file=sys.stderr)
        last = load.stdout.strip().splitlines()[-1] if load.stdout.strip() else ""
        if load.returncode != 0 or not last.startswith("games 50, packets ") or \
                not last.endswith(", lost 0"):
            print("load test failed:", load.returncode)
            return 1
    finally:
        code = stop_server(server)
    if code != 0:
        print("the server exited", code, "on SIGTERM (-1: it did not stop)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
