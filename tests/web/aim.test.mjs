// The pointing view's entry points: one slot's numbers as the satellite table has them, the
// Sun-alignment moments as kelmar-cli's, the phone's turn, a horizon profile, the slots' names.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {loadKelmar, runNative} from './support.mjs';

const k = await loadKelmar();
const moscow = {lat: '55.75', lon: '37.62'};
const cli = (args) => JSON.parse(runNative('kelmar-cli', [...args, '--format', 'json']).stdout);

test('one slot: the satellite table\'s cells, true and compass, and why none', () => {
  const table = k.satTable({...moscow, date: '2026-03-01'}).slots;
  const compass = k.satTable({...moscow, compass: true, date: '2026-03-01'}).slots;
  for (const label of ['36 E', '5 W', '117 E']) {  // south, west of south, under the horizon
    const p = k.pointing({...moscow, slot: label, date: '2026-03-01'});
    const i = table.findIndex((s) => s.label === label);
    assert.deepEqual([p.cells.azimuth, p.cells.elevation, p.cells.correction, p.cells.compass],
                     [table[i].cells.azimuth, table[i].cells.elevation, table[i].cells.correction, compass[i].cells.azimuth], label);
  }
  const rows = [
    // [place and slot, belowHorizon, note, compass azimuth given]
    [{...moscow, slot: '19.2E'}, false, '', true],                                   // between whole degrees
    [{...moscow, slot: '150 W'}, true, 'Спутник 150 W не виден из этого пункта', true],
    [{lat: '89', lon: '0', slot: '0'}, true, 'Спутник 0 не виден из этого пункта', false],  // at the pole: no azimuth
  ];
  for (const [args, below, note, hasCompass] of rows) {
    const p = k.pointing({...args, date: '2026-03-01'});
    assert.deepEqual([p.belowHorizon, p.note, p.compassAzimuth !== null], [below, note, hasCompass], args.slot);
  }
  assert.throws(() => k.pointing({...moscow, slot: 'xx'}), {message: "Неверная позиция спутника 'xx'"});
});

test('alignment moments are kelmar-cli\'s', () => {
  const a = k.alignment({...moscow, slot: '36 E', date: '2026-03-01', days: 2, zone: {kind: 'gmt', text: '3'}, horizon: '150:30 210:30'});
  const native = cli(['align', '--lat', '55.75', '--lon', '37.62', '--slot', '36 E', '--date', '2026-03-01', '--days', '2', '--gmt', '3']);
  assert.deepEqual(a.days.map((d) => d.events.map((e) => [e.kind, e.text.slice(0, 8)])),
                   native.days.map((d) => d.events.map((e) => [e.kind, e.time])));
  // the Sun at 26.7° behind a 30° mask
  assert.equal(a.days[0].line, '01.03.2026  по Солнцу 12:48:54 (за препятствием)  по тени 00:47:49 (под горизонтом)');
});

test('the phone\'s turn toward the compass azimuth', () => {
  const rows = [
    // [reading, words or null when not used]
    [{alpha: 190, beta: 2, gamma: 1}, 'на цели'],       // alpha counts the other way: heading 170
    [{alpha: 202, beta: 0, gamma: 0}, 'правее 12°'],    // heading 158
    [{alpha: 187, beta: 0, gamma: 0}, 'левее 3°'],      // heading 173
    [{heading: 350, beta: 0, gamma: 0}, 'правее 180°'],  // iOS's own heading, exactly behind: one way
    [{alpha: 190, beta: 60, gamma: 0}, null],          // held up, not flat
    [{alpha: null, beta: null, gamma: null}, null],    // no sensor
  ];
  for (const [reading, words] of rows) {
    const r = k.aim({...reading, target: 170});
    assert.equal(r.words ?? null, words, JSON.stringify(reading));
  }
});

test('a horizon profile file and the slots\' names in kelmar.INI', () => {
  const pvgis = 'Latitude (decimal degrees):\t55.75\n\nA\tH_hor\tA_sun(w)\tH_sun(w)\n-180.0\t2.3\t0\t0\n-90.0\t10.7\t0\t0\n' +
    '0.0\t5.0\t0\t0\n90.0\t1.1\t0\t0\n\nH_hor: horizon height\n';
  assert.equal(k.horizonFromProfile(pvgis), k.horizonFromProfile('0 2.3\n90 10.7\n180 5\n270 1.1\n'));  // from south vs from north
  assert.throws(() => k.horizonFromProfile('A\tH_hor\n\n'), {message: 'В файле нет профиля горизонта'});
  const names = k.setSlotName(k.setSlotName({}, 19.2, 'Astra'), 36, '  Eutelsat 36 ');
  assert.deepEqual(names, {'19.2 E': 'Astra', '36 E': 'Eutelsat 36'});
  assert.deepEqual(k.slotNamesAt(names, [19, 20, 36, 37]), ['Astra (19.2 E)', '', 'Eutelsat 36', '']);
  assert.deepEqual([k.slotName(names, '19.2e'), k.slotName(names, 'xx')], ['Astra', '']);
  assert.deepEqual(k.namedPosition(names, 19), {position: 19.2, text: '19.2 E', name: 'Astra'});
  assert.throws(() => k.setSlotName({}, 36, 'Ω'), /Windows-1251/);
  const state = {places: [{name: 'A', lat: '1', lon: '2'}], selected: 0, form: {}};
  const bytes = k.writeIni({...state, names}, new Uint8Array());
  assert.deepEqual(k.readIni(bytes).names, names);
  // without names the section is kept as it is; with none it goes
  assert.deepEqual(k.readIni(k.writeIni(state, bytes)).names, names);
  assert.deepEqual(k.readIni(k.writeIni({...state, names: {}}, bytes)).names, {});
});
