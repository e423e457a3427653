// Runs the native simulator and the one built for Node (quarnex-sim.js) on
// the same scenarios and requires the same from both: the same bytes of
// traces, exit codes and messages (the summary's ticks per second aside) and
// the same pixels in every frame (the native PNG files are compressed by
// libpng, the browser build's are stored, so their bytes differ).
//   node sim-parity.mjs NATIVE_SIM WEB_SIM
// Exits 77 (skipped) when the web build is missing.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { decodePng } from './png.mjs';

const [nativeSim, webSim] = process.argv.slice(2);
if (!nativeSim || !webSim) {
  console.error('usage: node sim-parity.mjs NATIVE_SIM WEB_SIM');
  process.exit(2);
}
if (!fs.existsSync(webSim)) {
  console.log(`SKIP: ${webSim} is missing; build it with \`make web\``);
  process.exit(77);
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-sim-parity-'));
const script = (name, lines) => {
  const file = path.join(work, name);
  fs.writeFileSync(file, lines.join('\n') + '\n');
  return file;
};

// The Emperor steered and firing with every button, the Rebel on the keys
// of both key blocks, a resize, a repaint and new games in between.
const mouseAndButtons = script('mouse.txt', [
  '# the Emperor chases the pointer and fires',
  '1 mouse 100 100', '40 lbutton', '60 mouse 500 50', '61 rbutton', '90 mbutton',
  '120 key 13', '200 mouse 300 380', '201 lbutton', '202 lbutton', '400 mouse 0 0',
]);
const bothSides = script('both.txt', [
  '1 key 37', '5 key 32', '30 key 38', '31 key 67', '60 key 103', '61 key 88', '90 key 36',
  '120 key 98', '121 key 105', '150 key 40', '151 key 45', '180 key 35', '200 key 39',
  '210 key 99', '220 key 97', '230 key 96', '240 key 100', '250 key 102', '260 key 104',
  '300 mouse 50 60', '301 lbutton', '350 resize 900 640', '351 mouse 800 600', '400 paint',
  '500 newgame human computer', '700 newgame computer computer', '900 newgame human human',
  '950 resize 1 1', '1000 resize 640 400',
]);
const badLine = script('bad.txt', ['5 mouse 1 2', '3 lbutton']);

const scenarios = [
  { name: 'defaults', args: [] },
  { name: 'seed and standard output', args: ['--seed', '7', '--ticks', '3000', '--trace', '-'] },
  { name: 'Emperor by mouse, frames', args: ['--seed', '11', '--ticks', '1500',
    '--emperor', 'human', '--client', '800x500', '--input', mouseAndButtons,
    '--frames', 'FRAMES', '--frame-every', '250'] },
  { name: 'both sides by hand, resized', args: ['--seed', '5', '--ticks', '1200',
    '--emperor', 'human', '--rebel', 'human', '--client', '333x222', '--input', bothSides,
    '--frames', 'FRAMES', '--frame-every', '300'] },
  { name: 'games that end', args: ['--seed', '3', '--ticks', '2000', '--emperor', 'human'] },
  { name: 'sync test', args: ['--seed', '13', '--ticks', '600', '--emperor', 'human',
    '--rebel', 'human', '--input', bothSides, '--sync-test', '4'] },
  { name: 'bad option value', args: ['--ticks', 'abc'] },
  { name: 'unknown option', args: ['--speed', '3'] },
  { name: 'missing input file', args: ['--input', path.join(work, 'none.txt')] },
  { name: 'bad input line', args: ['--input', badLine] },
];

function run(command, which, scenario) {
  const dir = path.join(work, which, scenario.name.replace(/\W+/g, '-'));
  fs.mkdirSync(path.join(dir, 'frames'), { recursive: true });
  const args = scenario.args.map((a) => (a === 'FRAMES' ? path.join(dir, 'frames') : a));
  if (!args.includes('--trace')) args.push('--trace', path.join(dir, 'trace.jsonl'));
  const result = spawnSync(command[0], [...command.slice(1), ...args],
                           { maxBuffer: 1 << 28, encoding: 'buffer' });
  if (result.error) throw result.error;
  const read = (name) => (fs.existsSync(name) ? fs.readFileSync(name) : Buffer.alloc(0));
  const frames = fs.readdirSync(path.join(dir, 'frames')).sort();
  return {
    status: result.status,
    stdout: result.stdout,
    stderr: result.stderr.toString().replace(/, \d+ ticks\/s/, ''),
    trace: read(path.join(dir, 'trace.jsonl')),
    frames: frames.map((f) => [f, read(path.join(dir, 'frames', f))]),
  };
}

let failed = 0;
for (const scenario of scenarios) {
  const native = run([nativeSim], 'native', scenario);
  const web = run([process.execPath, webSim], 'web', scenario);
  const problems = [];
  if (native.status !== web.status) problems.push(`exit ${native.status} vs ${web.status}`);
  if (native.stderr !== web.stderr) {
    problems.push(`messages differ:\n${native.stderr}\n---\n${web.stderr}`);
  }
  if (!native.stdout.equals(web.stdout)) problems.push('standard output differs');
  if (!native.trace.equals(web.trace)) problems.push('trace differs');
  const names = (r) => r.frames.map(([f]) => f).join(' ');
  if (names(native) !== names(web)) problems.push(`frames ${names(native)} vs ${names(web)}`);
  const pixels = (bytes) => {
    const { width, height, rgba } = decodePng(bytes);
    return Buffer.concat([Buffer.from(`${width}x${height}:`), Buffer.from(rgba)]);
  };
  native.frames.forEach(([f, bytes], i) => {
    if (web.frames[i] && !pixels(bytes).equals(pixels(web.frames[i][1]))) {
      problems.push(`${f} has other pixels`);
    }
  });
  const lines = native.trace.length + native.stdout.length;
  const detail = `exit ${native.status}, ${lines} trace bytes, ${native.frames.length} frames`;
  if (problems.length) {
    failed++;
    console.log(`FAIL ${scenario.name}: ${problems.join('; ')}`);
  } else {
    console.log(`ok   ${scenario.name} (${detail})`);
  }
}
fs.rmSync(work, { recursive: true, force: true });
console.log(`${scenarios.length - failed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
