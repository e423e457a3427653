#!/usr/bin/env python3
"""Runs quarnex-sim over the scenarios in scenarios.txt and compares the
trace bytes and the frames' pixels with the hashes recorded in
expected.txt (or records them with --record).

    golden.py SIM [--quick] [--record] [--only NAME]

Pixels are hashed as RGB rows decoded from the PNG frames, so how a frame is
compressed does not matter, only what it shows."""
import hashlib, os, struct, subprocess, sys, tempfile, zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png_rgb(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path
    pos, idat, width, height, ctype = 8, b'', 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, ctype = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and ctype in (2, 6), path
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    bpp = 3 if ctype == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    out, prev = bytearray(), bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride if f else 0):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        prev = line
        if bpp == 3:
            out += line
        else:
            rgb = bytearray(line)
            del rgb[3::4]
            out += rgb
    return struct.pack('>II', width, height) + bytes(out)


def scenarios():
    for line in open(os.path.join(HERE, 'scenarios.txt')):
        line = line.strip()
        if not line or line.startswith('#'):
            continue
        head, args, every = [p.strip() for p in line.split('|')]
        words = head.split()
        yield words[0], 'quick' in words[1:], args.split(), int(every)


def run(sim, args, every):
    with tempfile.TemporaryDirectory() as tmp:
        trace = os.path.join(tmp, 'trace.jsonl')
        cmd = [sim] + args + ['--trace', trace]
        if every > 0:
            frames = os.path.join(tmp, 'frames')
            os.mkdir(frames)
            cmd += ['--frames', frames, '--frame-every', str(every)]
        res = subprocess.run(cmd, cwd=HERE, capture_output=True, text=True)
        if res.returncode != 0:
            return None, None, res.stderr.strip()
        th = hashlib.sha256(open(trace, 'rb').read()).hexdigest()[:16]
        ph = hashlib.sha256()
        if every > 0:
            for name in sorted(os.listdir(frames)):
                ph.update(name.encode())
                ph.update(png_rgb(os.path.join(frames, name)))
        return th, ph.hexdigest()[:16], None


def main():
    argv = sys.argv[1:]
    sim = argv[0]
    quick, record = '--quick' in argv, '--record' in argv
    only = argv[argv.index('--only') + 1] if '--only' in argv else None
    expected_path = os.path.join(HERE, 'expected.txt')
    expected = {}
    if os.path.exists(expected_path):
        for line in open(expected_path):
            name, th, ph = line.split()
            expected[name] = (th, ph)
    failures, lines = 0, []
    for name, is_quick, args, every in scenarios():
        if (quick and not is_quick) or (only and name != only):
            continue
        th, ph, err = run(sim, args, every)
        if err:
            print(f'{name}: quarnex-sim failed: {err}')
            failures += 1
            continue
        lines.append(f'{name} {th} {ph}')
        want = expected.get(name)
        if record:
            print(f'{name} {th} {ph}')
        elif want is None:
            print(f'{name}: no recorded hashes')
            failures += 1
        elif want != (th, ph):
            what = ' and '.join(w for w, bad in (('trace', want[0] != th), ('pixels', want[1] != ph)) if bad)
            print(f'{name}: {what} differ from the recorded run')
            failures += 1
        else:
            print(f'{name}: same trace and pixels')
    if record:
        open(expected_path, 'w').write('\n'.join(lines) + '\n')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
