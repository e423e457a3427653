#!/usr/bin/env python3
"""Runs quarnex-sim over the scenarios in scenarios.txt and compares the
trace bytes and the frames' pixels with the hashes recorded in
expected.txt (or records them with --record).

    golden.py SIM [--quick] [--record] [--only NAME] [--keep DIR] [--reference SIM2]

Pixels are hashed as RGB rows decoded from the PNG frames, so how a frame is
compressed does not matter, only what it shows.

The hashes say only that a run differs. To say where, every run that
matches its hashes is kept (the trace, gzipped, and each frame's hash) in
DIR (default: golden-kept beside SIM); a later run that differs is compared
with the kept one and the first differing tick and field of the trace, or
the first differing frame, are named. With --reference the runs of another
simulator (say, a build of the last good commit) are compared instead."""
import gzip, hashlib, json, os, struct, subprocess, sys, tempfile, zlib

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
    """Runs a scenario: returns (the trace's bytes, [(frame name, hash of its
    pixels)], the run's trace hash, its pixel hash), or None and the error."""
    with tempfile.TemporaryDirectory() as tmp:
        trace = os.path.join(tmp, 'trace.jsonl')
        cmd = [sim] + args + ['--trace', trace]
        if every > 0:
            frames = os.path.join(tmp, 'frames')
            os.mkdir(frames)
            cmd += ['--frames', frames, '--frame-every', str(every)]
        res = subprocess.run(cmd, cwd=HERE, capture_output=True, text=True)
        if res.returncode != 0:
            return None, res.stderr.strip()
        text = open(trace, 'rb').read()
        th = hashlib.sha256(text).hexdigest()[:16]
        ph, shown = hashlib.sha256(), []
        if every > 0:
            for name in sorted(os.listdir(frames)):
                rgb = png_rgb(os.path.join(frames, name))
                ph.update(name.encode())
                ph.update(rgb)
                shown.append((name, hashlib.sha256(rgb).hexdigest()[:16]))
        return (text, shown, th, ph.hexdigest()[:16]), None


def first_difference(want, got, path=''):
    """The first field (in the trace line's order) where two parsed trace
    lines differ, as (path, recorded value, value now), or None."""
    if isinstance(want, dict) and isinstance(got, dict):
        for key in list(want) + [k for k in got if k not in want]:
            sub = f'{path}.{key}' if path else key
            if key not in want or key not in got:
                return sub, want.get(key, '(none)'), got.get(key, '(none)')
            found = first_difference(want[key], got[key], sub)
            if found:
                return found
        return None
    if isinstance(want, list) and isinstance(got, list):
        for i in range(max(len(want), len(got))):
            if i >= len(want) or i >= len(got):
                return f'{path}[{i}]', want[i] if i < len(want) else '(none)', \
                    got[i] if i < len(got) else '(none)'
            found = first_difference(want[i], got[i], f'{path}[{i}]')
            if found:
                return found
        return None
    return None if want == got else (path, want, got)


def where_traces_differ(want, got):
    """Names the first tick and field in which the trace `got` differs from
    `want` (both the bytes of a trace: one JSON object a tick)."""
    want_lines, got_lines = want.splitlines(), got.splitlines()
    for n, (w, g) in enumerate(zip(want_lines, got_lines)):
        if w == g:
            continue
        try:
            w, g = json.loads(w), json.loads(g)
        except ValueError:
            return f'line {n + 1} of the trace differs and is not JSON'
        tick = w.get('tick', n) if isinstance(w, dict) else n
        found = first_difference(w, g)
        if not found:
            return f'tick {tick}: the same values written differently'
        field, a, b = found
        return f'tick {tick}: {field} is {json.dumps(b)}, recorded {json.dumps(a)}'
    if len(want_lines) != len(got_lines):
        return f'the trace has {len(got_lines)} ticks, recorded {len(want_lines)}'
    return 'the traces differ only in their line ends'


def where_frames_differ(want, got):
    """Names the first frame whose pixels differ (or that is missing)."""
    want, got = dict(want), dict(got)
    for name in sorted(set(want) | set(got)):
        if name not in got:
            return f'frame {name} is missing'
        if name not in want:
            return f'frame {name} was not recorded'
        if want[name] != got[name]:
            return f'frame {name} differs'
    return 'the same frames, hashed differently'


def kept_path(keep, name):
    return os.path.join(keep, name + '.json.gz')


def keep_run(keep, name, result):
    text, shown, th, ph = result
    os.makedirs(keep, exist_ok=True)
    with gzip.open(kept_path(keep, name), 'wt', compresslevel=1) as out:
        json.dump({'th': th, 'ph': ph, 'frames': shown, 'trace': text.decode()}, out)


def kept_run(keep, name, want):
    """The kept run of a scenario if it matched the hashes `want`."""
    try:
        with gzip.open(kept_path(keep, name), 'rt') as f:
            kept = json.load(f)
    except (OSError, ValueError):
        return None
    if (kept['th'], kept['ph']) != want:
        return None
    return kept['trace'].encode(), [tuple(f) for f in kept['frames']], kept['th'], kept['ph']


def explain(name, want, result, good, keep):
    """What differs in a run whose hashes are not `want`, measured against
    a good run (kept or of the reference simulator) when there is one."""
    text, shown, th, ph = result
    parts = []
    if want[0] != th:
        parts.append('trace: ' + (where_traces_differ(good[0], text) if good else 'differs'))
    if want[1] != ph:
        parts.append('pixels: ' + (where_frames_differ(good[1], shown) if good else 'differ'))
    hint = '' if good else (f' (no matching run kept in {keep} to say where: run golden.py '
                            'once on a tree that passes, or pass --reference SIM2)')
    return f'{name}: differs from the recorded run: ' + '; '.join(parts) + hint


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
    keep = argv[argv.index('--keep') + 1] if '--keep' in argv else \
        os.path.join(os.path.dirname(os.path.abspath(sim)), 'golden-kept')
    reference = argv[argv.index('--reference') + 1] if '--reference' in argv else None
    failures, lines = 0, []
    for name, is_quick, args, every in scenarios():
        if (quick and not is_quick) or (only and name != only):
            continue
        result, err = run(sim, args, every)
        if err:
            print(f'{name}: quarnex-sim failed: {err}')
            failures += 1
            continue
        th, ph = result[2], result[3]
        lines.append(f'{name} {th} {ph}')
        want = expected.get(name)
        if record:
            print(f'{name} {th} {ph}')
            keep_run(keep, name, result)
        elif want is None:
            print(f'{name}: no recorded hashes')
            failures += 1
        elif want != (th, ph):
            good = kept_run(keep, name, want)
            if reference:
                good, err = run(reference, args, every)
                if good and (good[2], good[3]) != want:
                    good, err = None, 'its run does not match the recorded hashes either'
                if err:
                    print(f'{name}: the reference simulator cannot be compared with: {err}')
            print(explain(name, want, result, good, keep))
            failures += 1
        else:
            keep_run(keep, name, result)
            print(f'{name}: same trace and pixels')
    if record:
        open(expected_path, 'w').write('\n'.join(lines) + '\n')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
