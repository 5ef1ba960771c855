// The module's typed entry points: the same tables as kelmar-cli prints, the program's exact
// messages as JS Errors, kelmar.INI as Windows-1251 bytes, and the place list's rules.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {loadKelmar, runNative} from './support.mjs';

const k = await loadKelmar();
const moscow = {lat: '55.75', lon: '37.62'};
const cli = (args) => runNative('kelmar-cli', args);
const json = (args) => JSON.parse(cli([...args, '--format', 'json']).stdout);

test('the tables are the cells kelmar-cli prints', () => {
  const cases = [
    // [module call, the same table as kelmar-cli arguments]
    [() => k.sunTable({...moscow, year: 2026, month: 3, zone: {kind: 'msk', text: '0'}}), ['sun', '--lat', '55.75', '--lon', '37.62', '--year', '2026', '--month', '3', '--msk', '0']],
    // a polar month in the south, twilight by height, seconds
    [() => k.sunTable({lat: '-78.5', lon: '166.7', year: 2025, month: 6, zone: {kind: 'gmt', text: '12'}, twilight: {kind: 'height', text: '3.5'}, seconds: true}),
     ['sun', '--lat', '-78.5', '--lon', '166.7', '--year', '2025', '--month', '6', '--gmt', '12', '--height', '3.5', '--seconds']],
    [() => k.satTable(moscow), ['sat', '--lat', '55.75', '--lon', '37.62']],
    [() => k.satTable({...moscow, compass: true, date: '2026-03-01'}), ['sat', '--lat', '55.75', '--lon', '37.62', '--magnetic', '--date', '2026-03-01']],
  ];
  for (const [call, args] of cases) assert.deepEqual(call().cells, json(args), args.join(' '));
});

test('satellite slots carry the numbers of their cells', () => {
  const t = k.satTable({lat: '55.75', lon: '37.62', date: '2026-03-01'});
  assert.equal(t.slots.length, 160);
  for (const s of t.slots) {
    assert.equal(t.cells[s.row][s.column], s.label);
    assert.equal(t.cells[s.row][s.column + 1], s.cells.azimuth);
    assert.equal(s.azimuth === null ? '---' : s.azimuth.toFixed(1), s.cells.azimuth);
  }
  assert.equal(t.declination.line, cli(['declination', '--lat', '55.75', '--lon', '37.62', '--date', '2026-03-01']).stdout.trim());
});

test('outage days for one slot and for all are kelmar-cli\'s', () => {
  const args = ['outage', '--lat', '55.75', '--lon', '37.62', '--year', '2026', '--gmt', '3'];
  const one = k.outage({...moscow, slot: '36 E', year: 2026, zone: {kind: 'gmt', text: '3'}}).slots;
  const native = json([...args, '--slot', '36 E']);
  assert.equal(one.length, 1);
  assert.deepEqual(one[0].days.map((d) => [d.date, d.start, d.peak, d.end, d.duration]),
                   native.days.map((d) => [d.date, d.start, d.peak, d.end, d.duration]));
  assert.equal(one[0].cells.length, native.days.length + 1);
  assert.match(one[0].info, /^Угол интерференции 1\.24°   Азимут 182\.0°   Высота 26\.5°$/);
  const all = k.outage({...moscow, slot: 'all', year: 2026, zone: {kind: 'gmt', text: '3'}}).slots;
  assert.deepEqual(all.map((s) => s.label), json([...args, '--slot', 'all']).slots.map((s) => s.slot));
  // a slot below the horizon says so instead of a table
  const hidden = k.outage({...moscow, slot: '150 W', year: 2026}).slots[0];
  assert.deepEqual([hidden.visible, hidden.note, hidden.days.length], [false, 'Спутник 150 W не виден из этого пункта', 0]);
});

test('locator both ways', () => {
  assert.equal(k.locator(moscow), cli(['locator', '--lat', '55.75', '--lon', '37.62']).stdout.trim());
  for (const name of [' KO85TS', 'KO85TS', ' ko85ts']) assert.deepEqual(k.coordinates(name), {lat: '55.7708', lon: '37.625'});
});

test('bad input throws the program\'s message and leaves the module usable', () => {
  const rows = [
    // [module call, kelmar-cli arguments with the same input]
    [() => k.sunTable({lat: 'abc', lon: '37'}), ['sun', '--lat', 'abc', '--lon', '37', '--year', '2026', '--month', '1']],
    [() => k.sunTable({lat: '1,5', lon: '37'}), ['sun', '--lat', '1,5', '--lon', '37', '--year', '2026', '--month', '1']],
    [() => k.sunTable({...moscow, zone: {kind: 'gmt', text: ''}}), ['sun', '--lat', '55.75', '--lon', '37.62', '--gmt', '', '--year', '2026', '--month', '1']],
    [() => k.sunTable({...moscow, twilight: {kind: 'height', text: 'x'}}), ['sun', '--lat', '55.75', '--lon', '37.62', '--height', 'x', '--year', '2026', '--month', '1']],
    [() => k.declination({lat: '95', lon: '0', date: '2026-01-01'}), ['declination', '--lat', '95', '--lon', '0', '--date', '2026-01-01']],
    // the magnetic pole: no compass there
    [() => k.satTable({lat: '86', lon: '150', compass: true, date: '2026-01-01'}), ['sat', '--lat', '86', '--lon', '150', '--magnetic', '--date', '2026-01-01']],
    [() => k.outage({...moscow, slot: '200 E', year: 2026}), ['outage', '--lat', '55.75', '--lon', '37.62', '--slot', '200 E', '--year', '2026']],
    [() => k.outage({...moscow, slot: '36 E', dish: '40', year: 2026}), ['outage', '--lat', '55.75', '--lon', '37.62', '--slot', '36 E', '--dish', '40', '--year', '2026']],
    [() => k.coordinates(' ZZ99'), ['locator', ' ZZ99']],
  ];
  for (const [call, args] of rows) {
    const native = cli(args);
    assert.equal(native.code, 1, args.join(' '));
    assert.throws(call, (e) => e instanceof Error && e.kelmar === true && e.message === native.stderr.trim(), args.join(' '));
  }
  assert.equal(k.sunTable({...moscow, year: 2026, month: 1}).cells.length, 34);
});

test('cli() refuses what needs files', () => {
  for (const args of [['sun', '--place', 'Москва'], ['places'], ['sky', '--lat', '1', '--lon', '2', '--png', 'a.png', '--date', '2026-01-01']]) {
    const r = k.cli(args);
    assert.equal(r.code, 1, args.join(' '));
    assert.match(r.stderr, /^no (settings|picture) files? here: .* need the desktop kelmar-cli\n$/);
  }
});

// Windows-1251 bytes of a text (only the letters these tests use).
const cp1251 = (text) => Uint8Array.from([...text], (c) => {
  const code = c.codePointAt(0);
  if (code < 0x80) return code;
  if (code >= 0x410 && code <= 0x44f) return code - 0x410 + 0xc0;
  if (code === 0x401) return 0xa8;
  if (code === 0x451) return 0xb8;
  throw new Error(`no byte for ${c}`);
});

test('kelmar.INI: read and written as the desktop does', async () => {
  const file = '[Points]\r\nМосква=55.75;37.62\r\nЁлки=60;30\r\n\r\n[Form]\r\nInd=1\r\nEG=3\r\nRBG=1\r\n\r\n[Horizon]\r\nМосква=90:5 150:25\r\n\r\n[Mine]\r\nkey=значение\r\n\r\n';
  const s = k.readIni(cp1251(file));
  assert.deepEqual(s.places, [{name: 'Москва', lat: '55.75', lon: '37.62'}, {name: 'Ёлки', lat: '60', lon: '30'}]);
  assert.deepEqual([s.selected, s.form.zoneGmt, s.form.zoneIsGmt, s.form.latitude, s.horizons['Москва'], s.cutShort],
                   [1, '3', true, '60', '90:5 150:25', false]);

  // A second save of what a save wrote changes nothing; a new place goes into "Points", every
  // other section is kept.
  const once = k.writeIni(s, cp1251(file));
  assert.deepEqual(k.writeIni(k.readIni(once), once), once);
  const more = k.writeIni({...s, places: [...s.places, {name: 'Дом', lat: '1', lon: '2'}], selected: 2}, cp1251(file));
  const text = new TextDecoder('windows-1251').decode(more);
  assert.match(text, /\[Points\]\r\nМосква=55\.75;37\.62\r\nЁлки=60;30\r\nДом=1;2\r\n/);
  assert.match(text, /\[Mine\]\r\nkey=значение\r\n/);
  assert.match(text, /Ind=2\r\n/);
  assert.deepEqual(k.readIni(more).places.at(-1), {name: 'Дом', lat: '1', lon: '2'});

  // Read as kelmar-cli reads a hand-written file.
  const {mkdtempSync, writeFileSync} = await import('node:fs');
  const path = `${mkdtempSync('/tmp/kelmar-web-')}/kelmar.INI`;
  const odd = '[points]\nA=1;2\nбез значения\na=3;4\n[Form]\nInd=7\nEK=2.5\n';
  writeFileSync(path, cp1251(odd));
  const native = JSON.parse(cli(['places', '--settings', path, '--format', 'json']).stdout);
  const web = k.readIni(cp1251(odd));
  assert.deepEqual([web.places, web.selected, web.form.twilightHeight], [native.places, native.index, native.EK]);
  assert.match(web.caseTwins, /^Названия пунктов, различающиеся только регистром букв/);
});

test('the place list\'s rules and messages', () => {
  const places = [{name: 'Москва', lat: '55.75', lon: '37.62'}];
  const rows = [
    // [name, lat, lon, message, added place or null]
    ['москва', '1', '2', 'Пункт с таким названием уже есть', null],
    ['', '1', '2', 'Недопустимое название пункта: пустое название', null],
    ['a=b', '1', '2', 'Недопустимое название пункта: символ "=" недопустим', null],
    [' ZZ99', '', '', 'Неверный QTH-локатор', null],
    ['Дача', '56,1', '38', '', {name: 'Дача', lat: '56.1', lon: '38'}],  // the comma rule
    [' KO85TS', '', '', '', {name: ' KO85TS', lat: '55.7708', lon: '37.625'}],
  ];
  for (const [name, lat, lon, message, added] of rows) {
    const r = k.addPlace({places, name, lat, lon});
    assert.equal(r.message, message, name);
    assert.equal(r.ok, added !== null, name);
    if (added) assert.deepEqual([r.places.at(-1), r.selected], [added, 1]);
    assert.equal(k.checkPlaceName(places, name), message);
  }
  assert.equal(k.deleteQuestion({places, selected: 0}), 'Удалить запись "Москва" ?');
  assert.deepEqual(k.deletePlace({places, selected: 0}).message, 'Нельзя уничтожить последнюю запись');
  const two = [...places, {name: 'Б', lat: 'x', lon: '2'}];
  assert.deepEqual(k.deletePlace({places: two, selected: 0}).places, [two[1]]);
  assert.equal(k.choosePlace({places: two, index: 1}).message, "'x' is not a valid floating point value");
});
