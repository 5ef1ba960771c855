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

// JSON output prints every bit of its doubles (the declination, an outage's azimuth and
// separations), and the browser's C library computes sin, cos, acos and atan2 with roundings
// of its own: there, and only there, numbers may differ in their last digits (an acos near 0
// makes a few ulps of its argument some 1e-15°). Every text is identical.
let largest = 0;  // the largest such difference seen
function sameButLastBits(a, b) {
  if (typeof b === 'number') {
    const d = Math.abs(a - b);
    largest = Math.max(largest, d);
    return typeof a === 'number' && d <= 1e-10 * Math.max(1, Math.abs(b));
  }
  if (b === null || typeof b !== 'object') return a === b;
  const keys = Object.keys(b);
  return a !== null && typeof a === 'object' && keys.length === Object.keys(a).length &&
         keys.every((key) => sameButLastBits(a[key], b[key]));
}

function lastBitsOnly(args, web, native) {
  if (!args.includes('json') || web.code !== 0 || native.code !== 0 || web.stderr !== native.stderr) return false;
  return sameButLastBits(JSON.parse(web.stdout), JSON.parse(native.stdout));
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
  let lastBits = 0;
  const perCommand = {};
  for (let i = 0; i < CASES; ++i) {
    const args = argumentSet(g);
    const web = k.cli(args);
    const native = runNative('kelmar-cli', args);
    perCommand[args[0]] = (perCommand[args[0]] ?? 0) + 1;
    cells += cellCount(native.stdout) + (native.stderr ? 1 : 0);
    if (web.code !== native.code || web.stdout !== native.stdout || web.stderr !== native.stderr) {
      if (lastBitsOnly(args, web, native)) ++lastBits;
      else differences.push({args, web, native});
    }
  }
  console.log(`parity: ${CASES} cases ${JSON.stringify(perCommand)}, ${cells} cells, ${differences.length} differences, ` +
              `${lastBits} JSON outputs differing only in the last digits of a double (at most ${largest})`);
  for (const d of differences.slice(0, 3)) console.log(JSON.stringify(d.args), JSON.stringify(d.web).slice(0, 400), JSON.stringify(d.native).slice(0, 400));
  assert.equal(differences.length, 0);
});
