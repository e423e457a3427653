// Reads the PNG screenshots Chromium takes (8-bit RGB or RGBA, not
// interlaced) into RGBA pixels, so the tests can look at them.
import zlib from 'node:zlib';

export function decodePng(buffer) {
  let offset = 8;
  let header = null;
  const data = [];
  while (offset < buffer.length) {
    const length = buffer.readUInt32BE(offset);
    const type = buffer.toString('latin1', offset + 4, offset + 8);
    const body = buffer.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      header = { width: body.readUInt32BE(0), height: body.readUInt32BE(4), depth: body[8],
                 colour: body[9], interlace: body[12] };
    } else if (type === 'IDAT') {
      data.push(body);
    }
    offset += 12 + length;
  }
  if (!header || header.depth !== 8 || header.interlace !== 0 ||
      (header.colour !== 2 && header.colour !== 6)) {
    throw new Error('unsupported PNG');
  }
  const channels = header.colour === 6 ? 4 : 3;
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = header.width * channels;
  const rows = unfilter(raw, header.height, stride, channels);
  const rgba = new Uint8Array(header.width * header.height * 4);
  for (let i = 0, j = 0; i < rows.length; i += channels, j += 4) {
    rgba[j] = rows[i];
    rgba[j + 1] = rows[i + 1];
    rgba[j + 2] = rows[i + 2];
    rgba[j + 3] = channels === 4 ? rows[i + 3] : 255;
  }
  return { width: header.width, height: header.height, rgba };
}

function unfilter(raw, height, stride, bpp) {
  const out = new Uint8Array(height * stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const row = y * stride;
    for (let x = 0; x < stride; x++) {
      const a = x >= bpp ? out[row + x - bpp] : 0;
      const b = y > 0 ? out[row - stride + x] : 0;
      const c = x >= bpp && y > 0 ? out[row - stride + x - bpp] : 0;
      out[row + x] = (line[x] + predict(filter, a, b, c)) & 255;
    }
  }
  return out;
}

function predict(filter, a, b, c) {
  switch (filter) {
    case 0: return 0;
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) >> 1;
    case 4: {
      const p = a + b - c;
      const pa = Math.abs(p - a);
      const pb = Math.abs(p - b);
      const pc = Math.abs(p - c);
      return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    default: throw new Error(`bad PNG filter ${filter}`);
  }
}
