// Network play's words and addresses (pure, so Node's tests use them too):
// the links that open a game (#join=CODE, #watch=CODE, CODE@HOST:PORT for a
// game on another server), the invite link to share, the status line and
// the message a network game ends with, as the desktop words them.

// The game's own numbers (web/WebNetGame.h, net/NetPeer.h, net/MatchProtocol.h).
export const PHASE = { Connecting: 0, WaitingForPlayer: 1, Playing: 2, Watching: 3, Over: 4 };
export const OUTCOME = { Running: 0, Peer: 1, NoRoom: 2, ServerLost: 3, WatchedToTheEnd: 4, Quit: 5 };
export const PEER_END = {
  None: 0, Done: 1, Desync: 2, Unreachable: 3, Full: 4, OtherVersion: 5, Silent: 6, Garbled: 7,
  Refused: 8, Left: 9, Quit: 10, ServerSilent: 11, ServerLost: 12,
};
export const KIND = { create: 1, join: 2, quick: 3, watch: 4 };
// How a game through the server ended (net/RoomEnd.h): its game, a refusal
// of the room, or a connection that gave none.
export const CAUSE = { None: 0, Game: 1, Refused: 2, BadCode: 3, Unreachable: 4, NoAnswer: 5,
                       Closed: 6 };

export const CAPTION = 'Sitova hra';
const TICK_MS = 30;

const CODE_CHARACTERS = /^[0-9A-Za-z -]{8,12}$/;

// Longer than any invite the game makes (a code, @ and a server's name).
const MAX_LINK_CHARS = 300;

// A link's request: { kind: 'join' | 'watch', code, server (or null: the
// page's default) }, or null when the fragment asks for no game or cannot
// (gameLinkFault says why).
export function parseGameLink(hash) {
  return readGameLink(hash).link ?? null;
}

// Why the fragment cannot open the game it asks for (a text to translate),
// or null when it is a good link or asks for no game at all.
export function gameLinkFault(hash) {
  return readGameLink(hash).fault ?? null;
}

function readGameLink(hash) {
  const text = hash ?? '';
  if (text.length > MAX_LINK_CHARS) return { fault: 'Odkaz na sitovou hru je prilis dlouhy.' };
  const match = /^#(join|watch)(?:=(.*))?$/s.exec(text);
  if (!match) return {};
  let value;
  try {
    value = decodeURIComponent(match[2] ?? '').trim();
  } catch {
    return { fault: 'Odkaz na sitovou hru je poskozeny (chybne zakodovane znaky).' };
  }
  const at = value.indexOf('@');
  const code = at < 0 ? value : value.slice(0, at);
  const server = at < 0 ? null : value.slice(at + 1).trim();
  if (code === '') return { fault: 'V odkazu na sitovou hru chybi kod hry.' };
  if (!CODE_CHARACTERS.test(code)) {
    return { fault: 'Kod hry v odkazu na sitovou hru neplati (8 az 12 pismen a cislic).' };
  }
  if (server !== null && !normalizeServer(server, { host: '' })) {
    return { fault: 'Adresa serveru v odkazu na sitovou hru neplati (pocitac:port).' };
  }
  return { link: { kind: match[1], code, server } };
}

// The link a player sends: this page with #join=CODE (and @SERVER when the
// game is not on the server that serves the page).
export function inviteLink(location, code, server, kind = 'join') {
  const page = `${location.origin}${location.pathname}`;
  const away = server && server !== location.host ? `@${server}` : '';
  return `${page}#${kind}=${code}${away}`;
}

// A host name's most (253) with a port, or a ws(s):// address to a server.
const MAX_SERVER_CHARS = 270;

// The server address as the player typed it: "HOST:PORT" or a ws(s):// URL;
// empty means the page's own host. Returns null when it cannot be one.
export function normalizeServer(typed, location) {
  const text = (typed ?? '').trim();
  if (text === '') return location.host;
  if (text.length > MAX_SERVER_CHARS) return null;
  if (/^wss?:\/\/[^\s/]+(\/\S*)?$/.test(text)) return text;
  if (/^[A-Za-z0-9.-]+(:\d{1,5})?$/.test(text) || /^\[[0-9A-Fa-f:.]+\](:\d{1,5})?$/.test(text)) {
    const port = /:(\d+)$/.exec(text);
    if (port && (Number(port[1]) < 1 || Number(port[1]) > 65535)) return null;
    return text;
  }
  return null;
}

// The WebSocket address of a server (a page served over https asks wss://).
export function socketUrl(server, location) {
  if (/^wss?:\/\//.test(server)) return server;
  return `${location.protocol === 'https:' ? 'wss' : 'ws'}://${server}/ws`;
}

// The game's players by name (names: [Emperor's, Rebel's], '' anonymous),
// as the desktop words them; '' when the server sent none or nobody has one.
export function namesLine(names, translate = (text) => text) {
  if (!names || names.every((name) => !name)) return '';  // nobody named: nothing to say
  const [emperor, rebel] = names.map((name) => shortened(name || translate('bez jmena'), 20));
  return fill(translate('%1 (imperator) proti %2 (povstalec)'), emperor, rebel);
}

// What the title says of the network game ('' when none runs), with the
// players' names once they are known and the server's closing notice.
export function heading(game, translate = (text) => text) {
  let text = phaseHeading(game, translate);
  const names = namesLine(game.names, translate);
  if (text && names && game.phase !== PHASE.Connecting) text += ` - ${names}`;
  // The server's notice that it is closing (a drain), with the most seconds left.
  if (text && game.closing !== null && game.closing !== undefined) {
    text += ` - ${fill(translate('server se vypina, hra muze bezet jeste nejvyse %1 s'), game.closing)}`;
  }
  return text;
}

function phaseHeading({ phase, side, code, server }, translate) {
  switch (phase) {
    case PHASE.Connecting: return fill(translate('pripojuji se k serveru %1'), shortened(server));
    case PHASE.WaitingForPlayer: return fill(translate('cekam na soupere, kod %1'), code);
    case PHASE.Watching: return fill(translate('divam se na hru %1'), code);
    case PHASE.Playing:
      return translate(side === 2 ? 'sitova hra za povstalce' : 'sitova hra za imperatora');
    default: return '';
  }
}

// The status line: "ping 12 ms, zpozdeni 1, navraty 3/s, ztraceno 0",
// and " - cekam na soupere" while the game waits for the other machine.
export function statusLine(figures, translate = (text) => text) {
  let text = fill(translate('ping %1 ms, zpozdeni %2, navraty %3/s, ztraceno %4'),
                  figures.ping, figures.delay, figures.rollbacks, figures.lost);
  if (figures.waiting) text += translate(' - cekam na soupere');
  return text;
}

// The message a network game ends with ('' when none is due: the game was
// played to its end or the player left it). end: { outcome, cause, peerEnd,
// tick, figure, replayFile, slept, ownLength, text }: the module's end
// (net/RoomEnd: the cause, the game's end, the figure its words name) and
// its words from the game's one table (net/NetEndTexts, in Czech), which the
// page translates; ownLength: the length this page asked for (0: none);
// slept: the tab was frozen in the background meanwhile; names: the
// players' names as the server sent them (a line of their own).
export function endMessage(end, translate = (text) => text) {
  const message = endWords(end, translate);
  const names = namesLine(end.names, translate);
  return message && names ? `${message}\n${names}` : message;
}

function endWords(end, translate) {
  switch (end.outcome) {
    case OUTCOME.NoRoom:
      return end.text ? fill(translate(end.text), shortened(end.figure ?? '')) : '';
    case OUTCOME.ServerLost:
    case OUTCOME.WatchedToTheEnd:
    case OUTCOME.Peer:
      return gameEndMessage(end, translate);
    default:
      return '';
  }
}

// The game's end: while the tab slept the other side or the server gave up
// on it, whatever the game itself saw on waking.
function gameEndMessage(end, translate) {
  // A game that ends when the other side's shorter length runs out (a page
  // game asks for none): the player did not choose that end, so it is said.
  if (end.outcome === OUTCOME.Peer && end.peerEnd === PEER_END.Done &&
      (!end.ownLength || end.tick < end.ownLength)) {
    return fill(translate('Sitova hra skoncila: souper ji chtel hrat jen %1 tiku (%2 s) a ty jsou odehrany.'),
                end.tick, Math.round((end.tick * TICK_MS) / 1000));
  }
  if (!end.text) return '';
  if (end.slept && end.outcome !== OUTCOME.WatchedToTheEnd) {
    return translate('Sitova hra skoncila, zatimco stranka spala na pozadi.');
  }
  let message = fill(translate(end.text), shortened(end.figure ?? ''));
  if (end.peerEnd === PEER_END.Desync && end.replayFile) {
    message += fill(translate('\nZaznam hry byl stazen jako soubor %1.'), end.replayFile);
  }
  return message;
}

// The name of a network game's replay: sitova-hra-YYYYMMDD-HHMMSS(-tik-N).qxr.
export function netReplayFileName(date, tick = null) {
  const two = (n) => String(n).padStart(2, '0');
  const stamp = `${date.getFullYear()}${two(date.getMonth() + 1)}${two(date.getDate())}-` +
                `${two(date.getHours())}${two(date.getMinutes())}${two(date.getSeconds())}`;
  return `sitova-hra-${stamp}${tick === null ? '' : `-tik-${tick}`}.qxr`;
}

// A text the player typed or a link brought, cut to fit a message.
export function shortened(text, most = 60) {
  const chars = [...String(text)];
  return chars.length <= most ? chars.join('') : `${chars.slice(0, most).join('')}...`;
}

function fill(text, ...args) {
  return args.reduce((out, arg, i) => out.replaceAll(`%${i + 1}`, String(arg ?? '')), text);
}
