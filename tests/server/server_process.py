"""quarnex-server for the server tests: started on a free port of 127.0.0.1
with the given options; its port read from its first line (after the log's
time stamp: "quarnex-server: listening on P"); stopped with SIGTERM. Its
log lines are kept in `server.log_lines`."""
import re
import subprocess
import threading


def start_server(server_exe, *options, env=None):
    """The running server and its port. The rest of its log is read away, so
    that it never fills the pipe."""
    server = subprocess.Popen([server_exe, "--port", "0", "--bind", "127.0.0.1", *options],
                              stdout=subprocess.PIPE, text=True, env=env)
    line = server.stdout.readline()
    match = re.search(r"quarnex-server: listening on (\d+)", line)
    if not match:
        server.kill()
        raise RuntimeError("unexpected first line: %r" % line)
    server.log_lines = [line]
    threading.Thread(target=lambda: [server.log_lines.append(l) for l in server.stdout],
                     daemon=True).start()
    return server, int(match.group(1))


def stop_server(server):
    """The server's exit status on SIGTERM, or -1 if it had to be killed."""
    server.terminate()
    try:
        return server.wait(timeout=10)
    except subprocess.TimeoutExpired:
        server.kill()
        return -1


def log_text(server):
    return "".join(server.log_lines)
