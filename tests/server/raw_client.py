"""Bare HTTP and WebSocket clients for the server tests, on plain sockets, so
a test can send what a browser would never send and read every byte of the
answer (or see that none came)."""
import os
import socket
import struct

CREATE = b"QM\x01\x01\x01" + bytes(27)  # Create, Emperor, no seed, no length
CREATED, ERROR = 16, 23
KEEP_ALIVE = b"QM\x01\x1c"  # what the server says on a WebSocket that is otherwise quiet
THROTTLED = 3


def connect(port, source="127.0.0.1", timeout=5.0):
    s = socket.create_connection(("127.0.0.1", port), timeout=timeout,
                                 source_address=(source, 0))
    return s


def read_head(s):
    """The answer's status code and header block ("" and 0 when the server
    closed without a word)."""
    data = b""
    while b"\r\n\r\n" not in data:
        try:
            chunk = s.recv(4096)
        except (ConnectionResetError, socket.timeout):
            return 0, data.decode("latin-1")
        if not chunk:
            break
        data += chunk
    head = data.decode("latin-1")
    parts = head.split(" ", 2)
    return (int(parts[1]) if len(parts) > 1 and parts[1].isdigit() else 0), head


def request(s, method="GET", target="/healthz", headers=(), body=b""):
    """Sends one request and returns (status, head)."""
    lines = ["%s %s HTTP/1.1" % (method, target), "Host: test"] + list(headers)
    if body:
        lines.append("Content-Length: %d" % len(body))
    s.sendall(("\r\n".join(lines) + "\r\n\r\n").encode() + body)
    return read_head(s)


def ws_open(port, headers=(), source="127.0.0.1"):
    """A WebSocket at /ws: (socket, status, head); status 101 when open."""
    s = connect(port, source)
    status, head = request(s, target="/ws", headers=[
        "Upgrade: websocket", "Connection: Upgrade", "Sec-WebSocket-Version: 13",
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ=="] + list(headers))
    return s, status, head


def ws_send(s, payload):
    mask = os.urandom(4)
    masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
    s.sendall(struct.pack(">BB", 0x82, 0x80 | len(payload)) + mask + masked)


def ws_recv(s, keep_alives=False):
    """(opcode, payload) of the server's next frame (past keep-alives unless
    asked for them); (None, b"") at its end."""
    def exactly(n):
        data = b""
        while len(data) < n:
            chunk = s.recv(n - len(data))
            if not chunk:
                raise ConnectionError
            data += chunk
        return data
    try:
        first, length = exactly(2)
        length &= 0x7F
        if length == 126:
            length = struct.unpack(">H", exactly(2))[0]
        elif length == 127:
            length = struct.unpack(">Q", exactly(8))[0]
        payload = exactly(length)
        if payload == KEEP_ALIVE and not keep_alives:
            return ws_recv(s)
        return first & 0x0F, payload
    except (ConnectionError, socket.timeout, OSError):
        return None, b""


def create_room(port, source="127.0.0.1", headers=()):
    """Asks for a room on a new WebSocket: the answer's type and body byte
    (CREATED, or ERROR and its error), then closes."""
    s, status, _ = ws_open(port, headers, source=source)
    try:
        if status != 101:
            return None, status
        ws_send(s, CREATE)
        opcode, payload = ws_recv(s)
        if opcode != 2 or len(payload) < 5:
            return None, 0
        return payload[3], payload[4]
    finally:
        s.close()
