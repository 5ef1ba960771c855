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
  [0.40, (g) => ['sun', ...place(g), ...(g.chance(0.8) ? zone(g) : []), '--year', String(g.int(1900, 2100)),
                 '--month', String(g.int(1, 12)), ...twilight(g), ...(g.chance(0.3) ? ['--seconds'] : []), ...format(g)]],
  [0.25, (g) => ['sat', ...place(g), ...format(g), ...(g.chance(0.4) ? ['--magnetic', '--date', date(g)] : [])]],
  [0.12, (g) => ['declination', ...place(g), '--date', date(g), ...format(g, ['text', 'json'])]],
  [0.08, (g) => ['locator', ...(g.chance(0.7) ? place(g) : [g.pick([' KO85TS', ' ko85ts', ' AA00AA', ' RR99XX', ' ZZ00', 'KO85TS', ' JJ00MM'])])]],
  [0.05, (g) => ['align', ...place(g), '--slot', slot(g), '--date', date(g), ...(g.chance(0.5) ? ['--days', String(g.int(1, 40))] : []),
                 ...(g.chance(0.7) ? zone(g) : []), ...format(g, ['text', 'json'])]],
  [0.10, (g) => ['outage', ...place(g), '--slot', g.chance(0.02) ? 'all' : slot(g), '--year', String(g.int(2000, 2050)),
                 ...(g.chance(0.3) ? ['--dish', g.pick(['0.6', '1.2', '2.4', '0.05', '40'])] : []),
                 ...(g.chance(0.3) ? ['--freq', g.pick(['4', '11.7', '20', '0.5'])] : []), ...(g.chance(0.7) ? zone(g) : []), ...format(g)]],
];

// The declination is GeographicLib's, which calls the platform's C library: glibc's on the
// desktop (Debian's build of it), Emscripten's in the module. Where every bit is printed (JSON)
// its doubles may differ in the last digits; those are counted and reported. Everything else,
// the core's own trigonometry included, must come out byte for byte.
const NUMBER = /(-?\d+(?:\.\d+)?(?:e[+-]?\d+)?)/;
let largest = 0;  // the largest declination difference seen

function declinationDigitsOnly(args, web, native) {
  if (args[0] !== 'declination' || web.code !== native.code || web.stderr !== native.stderr) return false;
  const a = web.stdout.split(NUMBER), b = native.stdout.split(NUMBER);
  if (a.length !== b.length) return false;
  for (let i = 0; i < b.length; ++i) {
    if (a[i] === b[i]) continue;
    if (i % 2 === 0) return false;  // text between the numbers
    const d = Math.abs(Number(a[i]) - Number(b[i]));
    largest = Math.max(largest, d);
    if (!(d <= 1e-12 * Math.max(1, Math.abs(Number(b[i]))))) return false;
  }
  return true;
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
  let declinationDigits = 0;
  const perCommand = {};
  for (let i = 0; i < CASES; ++i) {
    const args = argumentSet(g);
    const web = k.cli(args);
    const native = runNative('kelmar-cli', args);
    perCommand[args[0]] = (perCommand[args[0]] ?? 0) + 1;
    cells += cellCount(native.stdout) + (native.stderr ? 1 : 0);
    if (web.code !== native.code || web.stdout !== native.stdout || web.stderr !== native.stderr) {
      if (declinationDigitsOnly(args, web, native)) ++declinationDigits;
      else differences.push({args, web, native});
    }
  }
  console.log(`parity: ${CASES} cases ${JSON.stringify(perCommand)}, ${cells} cells, ${differences.length} differences; ` +
              `${declinationDigits} declinations differing in a double's last digits (at most ${largest})`);
  for (const d of differences.slice(0, 3)) console.log(JSON.stringify(d.args), JSON.stringify(d.web).slice(0, 400), JSON.stringify(d.native).slice(0, 400));
  assert.equal(differences.length, 0);
});
