// kelmar-cli's own command code in the module against the native kelmar-cli on random argument
// sets over every table command: the same exit code and the same bytes on stdout and stderr.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {loadKelmar, random, runNative} from './support.mjs';

const CASES = Number(process.env.KELMAR_PARITY_CASES ?? 3000);

function numberText(g, lo, hi) {
  if (g.chance(0.05)) return g.pick([String(lo), String(hi), '0', '-0']);
  return (lo + g.next() * (hi - lo)).toFixed(g.int(0, 4));
}

// Now and then a text the window refuses, so that errors are compared too.
function maybeBad(g, text) {
  return g.chance(0.03) ? g.pick(['abc', '1,5', '', ' ', '1e400', '--1']) : text;
}

function zone(g) {
  const text = g.chance(0.3) ? (g.int(-24, 28) / 2).toString() : String(g.int(-12, 14));
  return g.chance(0.5) ? ['--gmt', maybeBad(g, text)] : ['--msk', maybeBad(g, text)];
}

function twilight(g) {
  if (g.chance(0.2)) return [];
  return g.chance(0.5) ? ['--angle', maybeBad(g, numberText(g, 0, 18))] : ['--height', maybeBad(g, numberText(g, 0, 1000))];
}

function place(g) {
  return ['--lat', maybeBad(g, numberText(g, -90, 90)), '--lon', maybeBad(g, numberText(g, -180, 180))];
}

function format(g, kinds = ['text', 'csv', 'json']) {
  return g.chance(0.3) ? [] : ['--format', g.pick(kinds)];
}

const date = (g) => `${g.int(2020, 2035)}-${String(g.int(1, 12)).padStart(2, '0')}-${String(g.int(1, 28)).padStart(2, '0')}`;
const slot = (g) =>
  g.pick(['36 E', '13 E', '19.2 E', '5 W', '42 W', '0', '180', '75 E', '140 E', '100 W', '13.5w', 'abc', '200 E']);

// The commands with the share of cases each gets; an outage year costs most, so it gets fewest.
const commands = [
  [0.45, (g) => ['sun', ...place(g), ...(g.chance(0.8) ? zone(g) : []), '--year', String(g.int(1900, 2100)),
                 '--month', String(g.int(1, 12)), ...twilight(g), ...(g.chance(0.3) ? ['--seconds'] : []), ...format(g)]],
  [0.25, (g) => ['sat', ...place(g), ...format(g), ...(g.chance(0.4) ? ['--magnetic', '--date', date(g)] : [])]],
  [0.12, (g) => ['declination', ...place(g), '--date', date(g), ...format(g, ['text', 'json'])]],
  [0.08, (g) => ['locator', ...(g.chance(0.7) ? place(g) : [g.pick([' KO85TS', ' ko85ts', ' AA00AA', ' RR99XX', ' ZZ00', 'KO85TS', ' JJ00MM'])])]],
  [0.10, (g) => ['outage', ...place(g), '--slot', g.chance(0.02) ? 'all' : slot(g), '--year', String(g.int(2000, 2050)),
                 ...(g.chance(0.3) ? ['--dish', g.pick(['0.6', '1.2', '2.4', '0.05', '40'])] : []),
                 ...(g.chance(0.3) ? ['--freq', g.pick(['4', '11.7', '20', '0.5'])] : []), ...(g.chance(0.7) ? zone(g) : []), ...format(g)]],
];

// The browser's C library computes sin, cos and atan2 with roundings of its own, so doubles
// may differ in their last bits. Where a command prints every bit (JSON: the declination, an
// outage's azimuth and separations) that shows; and an outage's start or end, found by a
// search to the second, can then fall one second apart. Those two kinds are counted and
// reported; anything else, and anything at all in the sun and satellite tables, is a difference.
const TOKENS = /(\d+:\d\d(?::\d\d)?|-?\d+(?:\.\d+)?(?:e[+-]?\d+)?)/;
const seconds = (t) => t.split(':').reduce((s, part) => s * 60 + Number(part), 0);
let largest = 0;  // the largest number difference seen

function libmOnly(args, web, native) {
  if (!['outage', 'declination'].includes(args[0]) || web.code !== native.code || web.stderr !== native.stderr) return null;
  const a = web.stdout.split(TOKENS), b = native.stdout.split(TOKENS);
  if (a.length !== b.length) return null;
  let kind = 'digits';
  for (let i = 0; i < b.length; ++i) {
    if (a[i] === b[i]) continue;
    if (i % 2 === 0) return null;  // text between the numbers
    if (b[i].includes(':')) {
      if (!a[i].includes(':') || Math.abs(seconds(a[i]) - seconds(b[i])) !== 1) return null;
      kind = 'second';
      continue;
    }
    const d = Math.abs(Number(a[i]) - Number(b[i]));
    largest = Math.max(largest, d);
    if (!(d <= 1e-10 * Math.max(1, Math.abs(Number(b[i]))))) return null;
  }
  return kind;
}

function argumentSet(g) {
  let r = g.next();
  for (const [share, make] of commands) {
    if ((r -= share) < 0) return make(g);
  }
  return commands[0][1](g);
}

// What a case compares, counted as cells: the fields of csv and json tables, the words of text.
function cellCount(out) {
  if (out.startsWith('[') || out.startsWith('{')) return (out.match(/"(?:[^"\\]|\\.)*"|-?\d[\d.e+-]*/g) ?? []).length;
  return out.split(/\r?\n/).reduce((n, line) => n + (line.includes(',') ? line.split(',').length : line.split(/\s{2,}/).filter(Boolean).length), 0);
}

test(`the module's cli() prints what the native kelmar-cli prints (${CASES} random cases)`, async () => {
  const k = await loadKelmar();
  const g = random(20);
  let cells = 0;
  const differences = [];
  const explained = {digits: 0, second: 0};
  const perCommand = {};
  for (let i = 0; i < CASES; ++i) {
    const args = argumentSet(g);
    const web = k.cli(args);
    const native = runNative('kelmar-cli', args);
    perCommand[args[0]] = (perCommand[args[0]] ?? 0) + 1;
    cells += cellCount(native.stdout) + (native.stderr ? 1 : 0);
    if (web.code !== native.code || web.stdout !== native.stdout || web.stderr !== native.stderr) {
      const kind = libmOnly(args, web, native);
      if (kind) ++explained[kind];
      else differences.push({args, web, native});
    }
  }
  console.log(`parity: ${CASES} cases ${JSON.stringify(perCommand)}, ${cells} cells, ${differences.length} differences; ` +
              `C library roundings: ${explained.digits} outputs differing in a double's last digits (at most ${largest}), ` +
              `${explained.second} outage outputs with a time one second apart`);
  for (const d of differences.slice(0, 3)) console.log(JSON.stringify(d.args), JSON.stringify(d.web).slice(0, 400), JSON.stringify(d.native).slice(0, 400));
  assert.equal(differences.length, 0);
});
