#!/usr/bin/env python3
"""The load test in small: a server on a free port, quarnex-loadgen playing
50 games (half the players over WebSocket) for 3 seconds; every game must
run and no packet may be lost. Relay times are printed, not judged (they
depend on the machine's load)."""
import subprocess
import sys


def main():
    server_exe, loadgen_exe = sys.argv[1], sys.argv[2]
    server = subprocess.Popen([server_exe, "--port", "0", "--bind", "127.0.0.1",
                               "--max-per-address", "1000"],
                              stdout=subprocess.PIPE, text=True)
    try:
        # The first line, after its time: "quarnex-server: listening on P".
        first = server.stdout.readline().split()
        if first[-4:-1] != ["quarnex-server:", "listening", "on"]:
            print("unexpected first line:", first)
            return 1
        port = first[-1]
        load = subprocess.run([loadgen_exe, "--server", "127.0.0.1:" + port, "--games", "50",
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
        server.terminate()
        try:
            code = server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            server.kill()
            print("the server did not stop on SIGTERM")
            return 1
    if code != 0:
        print("the server exited", code, "on SIGTERM")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
