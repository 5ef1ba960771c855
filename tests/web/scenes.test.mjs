// The pictures' scene data from the module against the desktop build's (kelmar_scene_dump):
// the same slots, texts and events, the numbers equal but for the C library's last digits.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {test} from 'node:test';

import {loadKelmar, nativeTool} from './support.mjs';

const k = await loadKelmar();
const dump = (args) => JSON.parse(spawnSync(nativeTool('kelmar_scene_dump'), args, {encoding: 'utf8'}).stdout);

// Equal, with numbers allowed 1e-9 of difference; the texts, counts and flags must match exactly.
function compare(web, native, path, stats) {
  if (typeof native === 'number' || native === null) {
    const a = web === null || Number.isNaN(web) ? null : web;
    if (native === null || a === null) return assert.equal(a, native, path);
    ++stats.numbers;
    if (a !== native) ++stats.inexact;
    return assert.ok(Math.abs(a - native) <= 1e-9 * Math.max(1, Math.abs(native)), `${path}: ${a} vs ${native}`);
  }
  if (typeof native !== 'object') return assert.equal(web, native, path);
  assert.deepEqual(Object.keys(web).filter((key) => key in native).length, Object.keys(native).length, path);
  for (const key of Object.keys(native)) compare(web[key], native[key], `${path}.${key}`, stats);
}

test('sky and year scenes are the desktop\'s', () => {
  const stats = {numbers: 0, inexact: 0};
  const sky = [
    // lat, lon, date, horizon, zone kind, zone
    ['55.75', '37.62', '2026-03-01', '90:5 150:25 210:25 270:3', 'gmt', '3'],
    ['-33.9', '18.4', '2026-12-21', '', 'gmt', '2'],    // southern: centred on north
    ['78.2', '15.6', '2026-06-21', '0:2 350:4', 'msk', '-2'],  // polar day, a mask over north
    ['0', '-179.99', '2025-09-23', '', 'gmt', '-12'],
  ];
  for (const [lat, lon, date, horizon, kind, text] of sky) {
    const [y, m, d] = date.split('-');
    compare(k.skyScene({lat, lon, date, horizon, zone: {kind, text}}), dump(['sky', lat, lon, y, m, d, horizon, kind, text]), `sky ${lat} ${lon}`, stats);
  }
  const years = [
    ['55.75', '37.62', '2026', 'gmt', '3', 'angle', '6'],
    ['69.0', '33.1', '2024', 'msk', '0', 'height', '12.345'],  // a leap year above the polar circle
    ['-89.9', '0', '2025', 'gmt', '0', 'angle', '18'],
  ];
  for (const [lat, lon, year, kind, text, tk, tt] of years) {
    compare(k.yearScene({lat, lon, year: Number(year), zone: {kind, text}, twilight: {kind: tk, text: tt}}),
            dump(['year', lat, lon, year, kind, text, tk, tt]), `year ${lat} ${lon}`, stats);
  }
  console.log(`scenes: ${stats.numbers} numbers compared, ${stats.inexact} differing in the last digits`);
  const marked = (today) => k.yearScene({lat: '55.75', lon: '37.62', year: 2024, today}).today;
  assert.deepEqual([marked('2024-12-31'), marked('2025-01-01'), marked(undefined)], [365, -1, -1]);
  assert.equal(k.skyScene({lat: '55.75', lon: '37.62', date: '2026-03-01', slot: '36 E'}).arc[
    k.skyScene({lat: '55.75', lon: '37.62', date: '2026-03-01', slot: '36 E'}).highlighted].label, '36 E');
});
