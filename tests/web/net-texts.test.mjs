// Network play's words and addresses in the page, under Node: the links that
// open a game, the invite link, server addresses, and the message every way
// a network game can end gets, in Czech and English.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { CAUSE, OUTCOME, PEER_END, PHASE, endMessage, heading, inviteLink, namesLine, netReplayFileName,
         normalizeServer, parseGameLink, socketUrl, statusLine } from '../../web/page/net-texts.mjs';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const page = { origin: 'http://play.example:29030', pathname: '/', host: 'play.example:29030',
               protocol: 'http:' };

async function english() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'quarnex-net-strings-'));
  const out = path.join(dir, 'strings.mjs');
  execFileSync('python3', [path.join(root, 'web/tools/make-strings.py'), out,
    path.join(root, 'i18n/page_en.ts'), path.join(root, 'i18n/quarnex_en.ts')]);
  const { ENGLISH } = await import(pathToFileURL(out).href);
  fs.rmSync(dir, { recursive: true });
  return (text) => ENGLISH[text] ?? `UNTRANSLATED ${text}`;
}

test('a game link names the game, and another server after @; anything else opens no game', () => {
  assert.deepEqual(parseGameLink('#join=7K2M9QXZ'), { kind: 'join', code: '7K2M9QXZ', server: null });
  assert.deepEqual(parseGameLink('#watch=7k2m-9qxz@eu3.play.example:29030'),
                   { kind: 'watch', code: '7k2m-9qxz', server: 'eu3.play.example:29030' });
  assert.deepEqual(parseGameLink('#join=7K2M%209QXZ'), { kind: 'join', code: '7K2M 9QXZ', server: null });
  for (const hash of ['', '#', '#join=', '#join=abc', '#play=7K2M9QXZ', '#join=7K2M9QXZ@',
    '#join=%E0%A4%A', '#join=<script>xx', '#join=7K2M9QXZ&x=1']) {
    assert.equal(parseGameLink(hash), null, hash);
  }
});

test('the invite link is this page with the code; the server is named only when it is another', () => {
  assert.equal(inviteLink(page, '7K2M9QXZ', 'play.example:29030'),
               'http://play.example:29030/#join=7K2M9QXZ');
  assert.equal(inviteLink(page, '7K2M9QXZ', '10.0.0.5:4000'),
               'http://play.example:29030/#join=7K2M9QXZ@10.0.0.5:4000');
  // The link opens what it says.
  const link = inviteLink(page, '7K2M9QXZ', '10.0.0.5:4000');
  assert.deepEqual(parseGameLink(new URL(link).hash),
                   { kind: 'join', code: '7K2M9QXZ', server: '10.0.0.5:4000' });
});

test('server addresses: empty is the page\'s own, nonsense is refused, WebSocket URLs follow the page', () => {
  assert.equal(normalizeServer('  ', page), 'play.example:29030');
  assert.equal(normalizeServer(' 127.0.0.1:29030 ', page), '127.0.0.1:29030');
  assert.equal(normalizeServer('wss://play.example/ws', page), 'wss://play.example/ws');
  for (const bad of ['http://x', 'a b', 'host:0', 'host:70000', 'ho$t', 'ws://']) {
    assert.equal(normalizeServer(bad, page), null, bad);
  }
  assert.equal(socketUrl('127.0.0.1:29030', page), 'ws://127.0.0.1:29030/ws');
  assert.equal(socketUrl('play.example', { ...page, protocol: 'https:' }), 'wss://play.example/ws');
  assert.equal(socketUrl('ws://x:1/ws', page), 'ws://x:1/ws');
});

// The game's words for its ends (net/NetEndTexts.cpp), which the page is handed.
function endTexts() {
  const source = fs.readFileSync(path.join(root, 'net/NetEndTexts.cpp'), 'utf8');
  // The players' names' words (two names, or none) and the server's closing
  // notice are no end's.
  return [...source.matchAll(/QT_TRANSLATE_NOOP\(\s*"\w+",\s*"([^"]+)"\)/g)].map((m) => m[1])
    .filter((text) => !/%2|^bez jmena$|^server se vypina/.test(text));
}

test('every end of a network game has its message in Czech and English; some have none', async () => {
  const en = await english();
  const base = { tick: 1234, figure: '7K2M9QXZ',
                 replayFile: 'sitova-hra-20260105-070300-tik-1234.qxr' };
  // The module hands the page the words of the game's one table (in Czech)
  // with the figure they name; the page only fills and translates them.
  const texts = endTexts();
  assert.ok(texts.length >= 20, texts.join('|'));
  const ends = [
    ...texts.map((text) => ({ outcome: OUTCOME.NoRoom, cause: CAUSE.Refused, text })),
    { outcome: OUTCOME.ServerLost, peerEnd: PEER_END.ServerSilent, text: texts[0], slept: true },
  ];
  const seen = new Set();
  for (const end of ends) {
    for (const translate of [undefined, en]) {
      const text = endMessage({ ...base, ...end }, translate);
      assert.ok(text.length > 10, JSON.stringify(end));
      assert.doesNotMatch(text, /%\d|UNTRANSLATED|undefined/, JSON.stringify(end));
      seen.add(text);
    }
  }
  assert.equal(seen.size, ends.length * 2, 'each end has words of its own');
  const desync = texts.find((text) => /tiku %1/.test(text));
  assert.equal(endMessage({ ...base, outcome: OUTCOME.Peer, peerEnd: PEER_END.Desync, text: desync,
                            figure: '1234' }),
               'Hry na obou pocitacich se rozesly v tiku 1234.\n' +
               'Zaznam hry byl stazen jako soubor sitova-hra-20260105-070300-tik-1234.qxr.');
  const unknown = texts.find((text) => /neexistuje/.test(text));
  assert.equal(endMessage({ ...base, outcome: OUTCOME.NoRoom, cause: CAUSE.Refused, text: unknown }, en),
               'There is no game with the code 7K2M9QXZ. Please check the code.');
  // Played to the length asked for, or left by the player: no message (the
  // game hands no words); a length the other side chose is said.
  assert.equal(endMessage({ ...base, outcome: OUTCOME.Peer, peerEnd: PEER_END.Done, text: '' }, en),
               'The network game has ended: the other player wanted to play only 1234 ticks ' +
               '(37 s), and they have been played.');
  for (const end of [{ outcome: OUTCOME.Peer, peerEnd: PEER_END.Done, text: '', ownLength: 1234 },
    { outcome: OUTCOME.Peer, peerEnd: PEER_END.Quit, text: '' }, { outcome: OUTCOME.Quit }]) {
    assert.equal(endMessage({ ...base, ...end }), '');
  }
});

test('the title and the status line say what the desktop says', async () => {
  const en = await english();
  assert.equal(statusLine({ ping: 12, delay: 1, rollbacks: 3, lost: 0, waiting: true }),
               'ping 12 ms, zpozdeni 1, navraty 3/s, ztraceno 0 - cekam na soupere');
  assert.equal(statusLine({ ping: 12, delay: 1, rollbacks: 3, lost: 0, waiting: false }, en),
               'ping 12 ms, delay 1, rollbacks 3/s, lost 0');
  const game = { code: '7K2M9QXZ', server: 'h:1', side: 2 };
  assert.equal(heading({ ...game, phase: PHASE.WaitingForPlayer }), 'cekam na soupere, kod 7K2M9QXZ');
  assert.equal(heading({ ...game, phase: PHASE.Playing }, en), 'network game as the Rebel');
  assert.equal(heading({ ...game, phase: PHASE.Watching }, en), 'watching the game 7K2M9QXZ');
  assert.equal(heading({ ...game, phase: PHASE.Connecting }), 'pripojuji se k serveru h:1');
  assert.equal(heading({ ...game, phase: PHASE.Over }), '');
  // The players' names, once the server sent them, in the title and under
  // the end's words; an anonymous player and an endless name as the desktop
  // shows them.
  const names = ['Jan \u010cern\u00fd', ''];
  assert.equal(heading({ ...game, names, phase: PHASE.Watching }, en),
               'watching the game 7K2M9QXZ - Jan \u010cern\u00fd (Emperor) vs no name (Rebel)');
  assert.equal(heading({ ...game, names, phase: PHASE.Connecting }), 'pripojuji se k serveru h:1');
  assert.equal(heading({ ...game, closing: 30, phase: PHASE.Playing }, en),
               'network game as the Rebel - the server is shutting down, the game may go on for at most 30 s');
  assert.equal(namesLine(['x'.repeat(80), 'Eva']), `${'x'.repeat(20)}... (imperator) proti Eva (povstalec)`);
  assert.equal(endMessage({ outcome: OUTCOME.Peer, peerEnd: PEER_END.Left, names: ['A', 'B'],
                            text: 'Souper ukoncil sitovou hru.' }, en),
               'The opponent has left the network game.\nA (Emperor) vs B (Rebel)');
  assert.equal(endMessage({ outcome: OUTCOME.Quit, names: ['A', 'B'] }), '');
  assert.equal(netReplayFileName(new Date(2026, 0, 5, 7, 3, 9), 77),
               'sitova-hra-20260105-070309-tik-77.qxr');
});
