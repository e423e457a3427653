// Writes the page's icons (favicon, the web app manifest's icons) from the
// game's icon art, as the desktop's icons are made: the black that touches
// the picture's border turns transparent, and the pixel art is enlarged by
// whole pixels so it stays crisp. The maskable icon keeps the black and
// leaves the margin that launchers may cut off.
//   node make-icons.mjs ART.bmp OUT_DIR
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

// An uncompressed 1/4/8/24/32-bit BMP as { width, height, rgba }.
export function decodeBmp(file) {
  const fail = (why) => { throw new Error(`not a BMP the icons can use: ${why}`); };
  if (file.length < 54 || file.toString('latin1', 0, 2) !== 'BM') fail('no BM header');
  const dataAt = file.readUInt32LE(10);
  const headerSize = file.readUInt32LE(14);
  const width = file.readInt32LE(18);
  const rawHeight = file.readInt32LE(22);
  const depth = file.readUInt16LE(28);
  if (file.readUInt32LE(30) !== 0) fail('compressed');
  if (![1, 4, 8, 24, 32].includes(depth)) fail(`${depth} bits per pixel`);
  const height = Math.abs(rawHeight);
  if (width <= 0 || height === 0 || width > 4096 || height > 4096) fail('size');
  const colours = depth <= 8 ? (file.readUInt32LE(46) || 1 << depth) : 0;
  const paletteAt = 14 + headerSize;
  const stride = Math.ceil((width * depth) / 32) * 4;
  if (dataAt + stride * height > file.length) fail('cut short');
  const rgba = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; y++) {
    const row = dataAt + stride * (rawHeight > 0 ? height - 1 - y : y);
    for (let x = 0; x < width; x++) {
      let bgr;
      if (depth <= 8) {
        const bit = x * depth;
        const index = (file[row + (bit >> 3)] >> (8 - depth - (bit & 7))) & ((1 << depth) - 1);
        if (index >= colours) fail('colour index outside the palette');
        bgr = paletteAt + index * 4;
      } else {
        bgr = row + x * (depth / 8);
      }
      rgba.set([file[bgr + 2], file[bgr + 1], file[bgr], 255], (y * width + x) * 4);
    }
  }
  return { width, height, rgba };
}

// The black reached from the border becomes transparent.
export function cutOut({ width, height, rgba }) {
  const out = Uint8Array.from(rgba);
  const black = (i) => out[i + 3] === 255 && out[i] === 0 && out[i + 1] === 0 && out[i + 2] === 0;
  const open = [];
  for (let x = 0; x < width; x++) open.push([x, 0], [x, height - 1]);
  for (let y = 0; y < height; y++) open.push([0, y], [width - 1, y]);
  while (open.length) {
    const [x, y] = open.pop();
    if (x < 0 || y < 0 || x >= width || y >= height) continue;
    const i = (y * width + x) * 4;
    if (!black(i)) continue;
    out.fill(0, i, i + 4);
    open.push([x + 1, y], [x - 1, y], [x, y + 1], [x, y - 1]);
  }
  return { width, height, rgba: out };
}

// `picture` enlarged `factor` times into a size x size square at (left, top)
// over `background` (RGBA).
export function place(picture, size, factor, background = [0, 0, 0, 0]) {
  const rgba = new Uint8Array(size * size * 4);
  for (let i = 0; i < rgba.length; i += 4) rgba.set(background, i);
  const left = Math.floor((size - picture.width * factor) / 2);
  const top = Math.floor((size - picture.height * factor) / 2);
  for (let y = 0; y < picture.height * factor; y++) {
    for (let x = 0; x < picture.width * factor; x++) {
      const from = (Math.floor(y / factor) * picture.width + Math.floor(x / factor)) * 4;
      if (picture.rgba[from + 3] === 0) continue;
      rgba.set(picture.rgba.subarray(from, from + 4), ((top + y) * size + left + x) * 4);
    }
  }
  return { width: size, height: size, rgba };
}

export function encodePng({ width, height, rgba }) {
  const chunk = (type, body) => {
    const head = Buffer.alloc(8);
    head.writeUInt32BE(body.length, 0);
    head.write(type, 4, 'latin1');
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(zlib.crc32(Buffer.concat([head.subarray(4), body])) >>> 0, 0);
    return Buffer.concat([head, body, crc]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8);  // 8-bit RGBA, no interlace
  const rows = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; y++) {
    Buffer.from(rgba.buffer, rgba.byteOffset + y * width * 4, width * 4)
      .copy(rows, y * (width * 4 + 1) + 1);
  }
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk('IHDR', header),
    chunk('IDAT', zlib.deflateSync(rows, { level: 9 })), chunk('IEND', Buffer.alloc(0))]);
}

function main([artFile, outDir]) {
  if (!artFile || !outDir) {
    console.error('usage: node make-icons.mjs ART.bmp OUT_DIR');
    return 2;
  }
  const art = decodeBmp(fs.readFileSync(artFile));
  const cut = cutOut(art);
  const icons = {
    'icon-32.png': place(cut, 32, Math.floor(32 / art.width)),
    'icon-192.png': place(cut, 192, Math.floor(192 / art.width)),
    'icon-512.png': place(cut, 512, Math.floor(512 / art.width)),
    // Launchers may cut a maskable icon to a circle: the art in the middle 75%.
    'icon-maskable-512.png': place(art, 512, Math.floor(384 / art.width), [0, 0, 0, 255]),
  };
  fs.mkdirSync(outDir, { recursive: true });
  for (const [name, picture] of Object.entries(icons)) {
    fs.writeFileSync(path.join(outDir, name), encodePng(picture));
  }
  return 0;
}

if (import.meta.url === `file://${process.argv[1]}`) process.exitCode = main(process.argv.slice(2));
