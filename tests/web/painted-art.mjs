// The browser build paints its pictures at start instead of carrying res/:
// runs the web build's check (quarnex-paintcheck.js, the same painting code
// and table as the page) and requires every picture to be res/'s file.
//   node painted-art.mjs WEB_DIR RES_DIR
// Exits 77 (skipped) when the web build is missing.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [webDir, resDir] = process.argv.slice(2);
const check = path.join(webDir ?? '', 'quarnex-paintcheck.js');
if (!fs.existsSync(check)) {
  console.log(`SKIP: ${check} is missing; build it with \`make web\``);
  process.exit(77);
}
const run = spawnSync(process.execPath, [check, resDir], { stdio: 'inherit' });
process.exit(run.status ?? 1);
