// The pictures, the horizon field and the downloads in headless Chromium, checked against the
// module itself run in Node and against the desktop workbooks' cell map.
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import ExcelJS from 'exceljs';
import { DESKTOP, launch, PHONE, tableTexts, withApp as withProfile } from './browser.mjs';
import { serve } from './server.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const SITE = process.env.KELMAR_SITE || join(root, 'build-web/site');
const MOSCOW = { lat: '55.75', lon: '37.62', zone: { kind: 'gmt', text: '3' } };

let server;
let browser;
let k;

before(async () => {
  assert.ok(existsSync(join(SITE, 'lib/exceljs.bare.min.js')), `site missing: ${SITE} (bash scripts/web.sh build)`);
  const { default: createKelmar } = await import(pathToFileURL(join(SITE, 'kelmar.js')).href);
  k = await createKelmar({ wasmBinary: readFileSync(join(SITE, 'kelmar_wasm.wasm')) });
  server = await serve(SITE);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  await server?.close();
});

const withApp = (options, fn) => withProfile(browser, server.url, options, fn);

async function setField(page, id, text) {
  await page.fill(`#${id}`, text);
  await page.dispatchEvent(`#${id}`, 'change');
}

// Moscow, March 2026, the outage slot 36 E: a fixed scene.
async function march(page) {
  await setField(page, 'EditYear', '2026');
  await page.selectOption('#SelectMonth', '3');
  await page.click('#TabOut');
  await setField(page, 'ESlot', '36 E');
}

const reload = async (page) => {
  await page.waitForTimeout(400);  // the page writes its file a moment after a change
  await page.reload();
  await page.waitForSelector('body[data-ready="1"]');
};

describe('sky view', () => {
  // Moscow faces south; Buenos Aires (the starter list's sixth place, GMT+3 kept) faces north.
  const cases = [
    { viewport: PHONE, place: 0, where: MOSCOW, slot: '36 E' },
    { viewport: DESKTOP, place: 0, where: MOSCOW, slot: '36 E' },
    { viewport: PHONE, place: 5, where: { lat: '-34.6', lon: '-58.38', zone: MOSCOW.zone }, slot: '61 W' },
  ];
  for (const { viewport, place, where, slot } of cases) {
    test(`${viewport.width} px, ${where.lat}: every slot's mark sits at the scene's azimuth and elevation, read off the drawn axes`, async () => {
      await withApp({ viewport }, async (page) => {
        await march(page);
        await setField(page, 'ESlot', slot);
        await page.selectOption('#ComboBoxPunkt', String(place));
        await page.click('#TabSky');
        const scene = k.skyScene({ ...where, date: '2026-03-01', horizon: '', slot });
        const drawn = await page.$eval('#SkyView svg', (svg) => {
          const lines = [...svg.querySelectorAll('line')].map((l) => ({
            x1: +l.getAttribute('x1'), x2: +l.getAttribute('x2'), y1: +l.getAttribute('y1'), y2: +l.getAttribute('y2'),
            w: +l.getAttribute('stroke-width'),
          }));
          const labels = [...svg.querySelectorAll('text')].map((t) => ({ text: t.textContent, x: +t.getAttribute('x') }));
          const marks = [...svg.querySelectorAll('circle[data-slot]')].map((c) => ({
            i: +c.dataset.slot, x: +c.getAttribute('cx'), y: +c.getAttribute('cy'), filled: c.getAttribute('fill') !== 'none',
          }));
          const ring = svg.querySelector('circle.ring');
          return { lines, labels, marks, ring: ring && { x: +ring.getAttribute('cx'), y: +ring.getAttribute('cy') } };
        });
        // The horizon is the heavier line, 90° the top one; the south and the west by their labels.
        const rows = drawn.lines.filter((l) => l.y1 === l.y2);
        const y0 = rows.find((l) => l.w === 1.5).y1;
        const y90 = Math.min(...rows.map((l) => l.y1));
        const xOf = (text) => drawn.labels.find((l) => l.text === text).x;
        const [x180, x270] = [xOf('180°'), xOf('270°')];
        const azAt = (x) => (180 + ((x - x180) / (x270 - x180)) * 90 + 360) % 360;
        const elAt = (y) => ((y0 - y) / (y0 - y90)) * 90;
        const expected = scene.arc.map((s, i) => ({ ...s, i })).filter((s) => s.az !== null && s.el >= -10);
        assert.deepEqual(drawn.marks.map((m) => m.i), expected.map((s) => s.i));
        for (const m of drawn.marks) {
          const s = scene.arc[m.i];
          assert.ok(Math.abs(azAt(m.x) - s.az) < 0.5, `${s.label}: azimuth ${azAt(m.x)} for ${s.az}`);
          assert.ok(Math.abs(elAt(m.y) - s.el) < 0.5, `${s.label}: elevation ${elAt(m.y)} for ${s.el}`);
          assert.equal(m.filled, s.visible, s.label);
        }
        // No label of the plot lies over another, however narrow the screen.
        const boxes = await page.$$eval('#SkyView svg g[clip-path] text', (ts) => ts.map((t) => {
          const b = t.getBBox();
          return { text: t.textContent, x0: b.x, x1: b.x + b.width, y0: b.y, y1: b.y + b.height };
        }));
        assert.ok(boxes.length > 10, `${boxes.length} labels`);
        for (const [i, a] of boxes.entries()) {
          for (const b of boxes.slice(i + 1)) {
            const overlap = Math.min(a.x1, b.x1) - Math.max(a.x0, b.x0) > 1 && Math.min(a.y1, b.y1) - Math.max(a.y0, b.y0) > 3;
            assert.ok(!overlap, `"${a.text}" over "${b.text}"`);
          }
        }
        const ringed = drawn.marks.find((m) => m.i === scene.highlighted);
        assert.equal(scene.arc[scene.highlighted].label, slot);
        assert.deepEqual(drawn.ring, { x: ringed.x, y: ringed.y });
      });
    });
  }

  test('a slot and a time of the Sun\'s path read out under the finger', async () => {
    await withApp({}, async (page) => {
      await march(page);
      await page.click('#TabSky');
      await setField(page, 'EditSkyDate', '2026-06-21');  // the Sun high above the arc
      const scene = k.skyScene({ ...MOSCOW, date: '2026-06-21', horizon: '', slot: '36 E' });
      const slot = scene.arc[scene.highlighted];
      await page.$eval('#SkyView', (e) => e.scrollIntoView({ block: 'start' }));
      const box = await page.$eval('circle.ring', (c) => {
        const r = c.getBoundingClientRect();
        return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
      });
      await page.mouse.move(box.x, box.y);
      assert.equal(await page.textContent('#SkyReadout'),
        `${slot.label}\nазимут ${slot.azimuth}\nвысота ${slot.elevation}\nпоправка ${slot.correction}`);
      // The Sun's path at 10 o'clock, away from every slot.
      const at10 = await page.$eval('#SkyView svg', (svg) => {
        const day = [...svg.querySelectorAll('polyline.sun-path')].find((p) => p.getAttribute('stroke-opacity') === '1');
        const pts = day.getAttribute('points').split(' ');
        const r = svg.getBoundingClientRect();
        const scale = r.width / +svg.getAttribute('width');
        return pts.map((p) => p.split(',').map(Number)).map(([x, y]) => ({ x: r.x + x * scale, y: r.y + y * scale }));
      });
      const ten = scene.day.path.findIndex((p) => p.hours === 10);
      const visibleFrom = scene.day.path.findIndex((p) => p.el > 0);
      const point = at10[ten - visibleFrom];
      await page.mouse.move(point.x, point.y);
      assert.equal(await page.textContent('#SkyReadout'), 'Солнце 10:00');
    });
  });
});

describe('picture downloads', () => {
  test('PNG and SVG of both pictures at 1200×600, named as the desktop names them', async () => {
    await withApp({}, async (page) => {
      await march(page);
      for (const [tab, word] of [['TabSky', 'небо'], ['TabYear', 'год']]) {
        await page.click(`#${tab}`);
        for (const kind of ['png', 'svg']) {
          const [download] = await Promise.all([page.waitForEvent('download'), page.click(`#Button${kind === 'png' ? 'Png' : 'Svg'}`)]);
          assert.equal(download.suggestedFilename(), `Москва_${word}.${kind}`);
          const bytes = readFileSync(await download.path());
          const size = kind === 'png' ? [bytes.readUInt32BE(16), bytes.readUInt32BE(20)]
            : /<svg[^>]* width="(\d+)" height="(\d+)"/.exec(bytes.toString('utf8')).slice(1).map(Number);
          assert.deepEqual(size, [1200, 600], `${word}.${kind}`);
        }
      }
    });
  });
});

describe('horizon', () => {
  test('typed for a place, found again after a reload, drawn, and in the exported INI', async () => {
    await withApp({}, async (page) => {
      await page.click('#TabSky');
      await setField(page, 'EditHorizon', '90:5 150:25,5 210:25');
      assert.equal(await page.inputValue('#EditHorizon'), '90:5 150:25.5 210:25');  // the comma rule
      assert.equal(await page.locator('#SkyView polygon.mask').count(), 1);
      await reload(page);
      assert.equal(await page.inputValue('#EditHorizon'), '90:5 150:25.5 210:25');
      await page.selectOption('#ComboBoxPunkt', '1');  // another place has its own, empty one
      assert.equal(await page.inputValue('#EditHorizon'), '');
      assert.equal(await page.locator('#SkyView polygon.mask').count(), 0);
      const [download] = await Promise.all([page.waitForEvent('download'), page.click('#ButtonSaveIni')]);
      const text = new TextDecoder('windows-1251').decode(readFileSync(await download.path()));
      assert.match(text, /\r\n\[Horizon\]\r\nМосква=90:5 150:25\.5 210:25\r\n/);
      // Blanks clear it.
      await page.selectOption('#ComboBoxPunkt', '0');
      await setField(page, 'EditHorizon', '  ');
      await reload(page);
      assert.equal(await page.inputValue('#EditHorizon'), '');
    });
  });

  const bad = ['abc', '90:5 400:3', '90:95', '90:5 80:5 70:5 60:5'];
  test(`refused with the desktop's message, nothing kept: ${bad.join(' | ')}`, async () => {
    await withApp({}, async (page) => {
      await page.click('#TabSky');
      await setField(page, 'EditHorizon', '90:5');
      let refused = 0;
      for (const text of bad) {
        let expected;
        try {
          k.skyScene({ ...MOSCOW, date: '2026-03-01', horizon: text, slot: '' });
        } catch (e) {
          expected = e.message;
        }
        if (!expected) continue;  // the module takes it: nothing to refuse
        refused += 1;
        await setField(page, 'EditHorizon', text);
        assert.equal(await page.textContent('.err[data-for="sky"]'), expected, text);
        assert.equal(await page.getAttribute('#EditHorizon', 'aria-invalid'), 'true');
        assert.equal(await page.inputValue('#EditHorizon'), text, 'the bad text stays to be mended');
      }
      assert.ok(refused >= 3, `${refused} refused`);
      await reload(page);
      assert.equal(await page.inputValue('#EditHorizon'), '90:5');
    });
  });
});

// The desktop's cell map: the template's headings, the place, the lines above the table, the
// table's texts from row 5.
async function readBook(path) {
  const book = new ExcelJS.Workbook();
  await book.xlsx.readFile(path);
  assert.equal(book.worksheets.length, 1);
  const ws = book.worksheets[0];
  const text = (ref) => (ws.getCell(ref).value === null ? '' : String(ws.getCell(ref).value));
  const block = (rows, cols) => Array.from({ length: rows }, (_, r) =>
    Array.from({ length: cols }, (_, c) => text(ws.getCell(5 + r, c + 1).address)));
  return { name: ws.name, text, block, ws };
}

async function exportBook(page, button = '#ButtonExcel') {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  return { name: download.suggestedFilename(), path: await download.path() };
}

describe('workbooks', () => {
  test('each table as the desktop\'s workbook, read back cell by cell', async () => {
    await withApp({}, async (page) => {
      await march(page);
      await setField(page, 'EDish', '1.2');
      const sun = k.sunTable({ ...MOSCOW, year: 2026, month: 3, twilight: { kind: 'angle', text: '6' }, seconds: false });
      const sat = k.satTable({ ...MOSCOW, compass: false, date: '2026-03-01' });
      const out = k.outage({ ...MOSCOW, slot: '36 E', year: 2026, dish: '1.2', freq: '12' }).slots[0];
      const cases = [
        { tab: 'TabSun', file: 'Моск_3.xlsx', sheet: 'Sun', cells: sun.cells, rows: 31, cols: 9,
          fixed: { A1: 'Восход и заход Солнца', A2: 'Пункт:', B2: 'Москва', A3: 'Время: GMT+3', D3: `QTH-локатор: ${sun.locator}`,
            H3: 'Сумерки: Угол=6гр.', A4: 'Дата', I4: 'Веч. сумер.',
            A37: `${sun.cells[33][0]}  ${sun.cells[33][1]}  ${sun.cells[33][2]}`,
            F37: `${sun.cells[33][5]}  ${sun.cells[33][6]} ${sun.cells[33][7]}` } },
        { tab: 'TabSat', file: 'Моск_Sat.xlsx', sheet: 'Satel', cells: sat.cells, rows: sat.cells.length - 1, cols: 19,
          fixed: { A1: 'Азимут и угол места геостационарных спутников', A2: 'Москва', F2: '', A4: 'Спутник', S4: 'Коррекц.' } },
        { tab: 'TabOut', file: 'Моск_36E_2026.xlsx', sheet: 'Out', cells: out.cells, rows: out.cells.length - 1, cols: 6,
          fixed: { A1: 'Солнечная интерференция', B2: 'Москва', F4: 'Угол, °',
            A3: `Спутник: 36 E   Антенна: 1.2 м, 12 ГГц   Угол: ${/Угол интерференции (\S+)°/.exec(out.info)[1]}°   Время: GMT+3` } },
      ];
      for (const c of cases) {
        await page.click(`#${c.tab}`);
        const { name, path } = await exportBook(page);
        assert.equal(name, c.file);
        const book = await readBook(path);
        assert.equal(book.name, c.sheet);
        for (const [ref, want] of Object.entries(c.fixed)) assert.equal(book.text(ref), want, `${c.file} ${ref}`);
        assert.deepEqual(book.block(c.rows, c.cols), c.cells.slice(1, c.rows + 1), c.file);
        assert.equal(book.text(`A${5 + c.rows}`), '', 'nothing under the table');
        assert.ok(book.ws.getCell('A4').font.bold, 'the template\'s look: bold headings');
      }
    });
  });

  // The file names at their edges, and the lines that depend on the fields.
  const names = [
    { name: 'seconds and a short name', place: 'Ош', seconds: true, file: 'Ош_3с.xlsx', A3: 'Время: GMT+3' },
    { name: 'MSK, height, a leading dot', place: '.Дача/2', msk: '-1', height: '12.345', file: '_Дач_3.xlsx',
      A3: 'Время: MSK-1', H3: 'Сумерки: Высота=12.345км' },
    { name: 'zone 0 has no sign', place: 'Лондон', gmt: '0', file: 'Лонд_3.xlsx', A3: 'Время: GMT' },
  ];
  for (const c of names) {
    test(`sun workbook: ${c.name}`, async () => {
      await withApp({}, async (page) => {
        await march(page);
        await page.click('#TabSun');
        await page.click('#ButtonNew');
        await page.fill('#EditPunkt', c.place);
        await page.fill('#EditSir', '51.5');
        await page.fill('#EditDolg', '0');
        await page.click('#ButtonNew');
        if (c.seconds) await page.check('#CheckBoxSec');
        if (c.msk) {
          await setField(page, 'EditMSK', c.msk);
          await page.check('#RadioButtonMSK');
        }
        if (c.gmt) await setField(page, 'EditGMT', c.gmt);
        if (c.height) {
          await setField(page, 'EditKm', c.height);
          await page.check('#RadioButtonVys');
        }
        const { name, path } = await exportBook(page);
        assert.equal(name, c.file);
        const book = await readBook(path);
        assert.equal(book.text('B2'), c.place);
        assert.equal(book.text('A3'), c.A3);
        if (c.H3) assert.equal(book.text('H3'), c.H3);
        const shown = await tableTexts(page, 'StringGridVos');
        assert.deepEqual(book.block(shown.length - 1, 9), shown.slice(1));
      });
    });
  }

  test('compass azimuths: the satellite workbook carries the compass note beside the place', async () => {
    await withApp({}, async (page) => {
      await page.click('#TabSat');
      await page.check('#CheckBoxMagAz');
      const d = new Date();
      const date = `${d.getFullYear()}-${String(d.getMonth() + 1).padStart(2, '0')}-${String(d.getDate()).padStart(2, '0')}`;
      const sat = k.satTable({ ...MOSCOW, compass: true, date });
      const book = await readBook((await exportBook(page)).path);
      assert.match(sat.declination.note, /^Азимут по компасу/);
      assert.equal(book.text('F2'), sat.declination.note);
      assert.deepEqual(book.block(sat.cells.length - 1, 19), sat.cells.slice(1));
    });
  });

  test('an outage workbook without a table carries the note in A5', async () => {
    await withApp({}, async (page) => {
      await march(page);
      await setField(page, 'ESlot', '150W');
      const out = k.outage({ ...MOSCOW, slot: '150W', year: 2026, dish: '0.9', freq: '12' }).slots[0];
      assert.ok(out.note, 'a slot Moscow does not see');
      const { name, path } = await exportBook(page);
      assert.equal(name, `Моск_${out.label.replace(/ /g, '')}_2026.xlsx`);
      const book = await readBook(path);
      assert.equal(book.text('A5'), out.note);
      assert.equal(book.text('B5'), '');
    });
  });

  test('CSV: the table as shown, under the same name', async () => {
    await withApp({}, async (page) => {
      await march(page);
      await page.click('#TabSat');
      const { name, path } = await exportBook(page, '#ButtonCsv');
      assert.equal(name, 'Моск_Sat.csv');
      const text = readFileSync(path, 'utf8').replace(/^\uFEFF/, '');
      const rows = text.trimEnd().split('\r\n').map((line) => line.split(','));
      assert.deepEqual(rows, await tableTexts(page, 'StringGridSat'));
    });
  });

  test('the library comes on the first export and is kept: a reload offline still exports', async () => {
    await withApp({}, async (page) => {
      const lib = [];
      page.on('request', (r) => r.url().includes('/lib/') && lib.push(r.url()));
      await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        if (!navigator.serviceWorker.controller) {
          await new Promise((r) => navigator.serviceWorker.addEventListener('controllerchange', r, { once: true }));
        }
      });
      assert.deepEqual(lib, [], 'nothing of the library before the first export');
      await march(page);
      await page.click('#TabSun');
      const online = await exportBook(page);
      assert.ok(lib.some((u) => u.endsWith('exceljs.bare.min.js')));
      await page.context().setOffline(true);
      await page.reload();
      await page.waitForSelector('body[data-ready="1"]');
      const offline = await exportBook(page);
      assert.equal(offline.name, online.name);
      assert.deepEqual((await readBook(offline.path)).block(31, 9), (await readBook(online.path)).block(31, 9));
    });
  });

  test('the first visit leaves the library out; its size is counted apart', () => {
    const sw = readFileSync(join(SITE, 'sw.js'), 'utf8');
    const files = JSON.parse(/const FILES = (\[.*\]);/.exec(sw)[1]);
    assert.ok(!files.some((f) => f.startsWith('lib/')), 'no lib/ file on the first visit');
    const gzip = ['exceljs.bare.min.js', 'Sun.fods', 'Sat.fods', 'Out.fods']
      .reduce((sum, f) => sum + gzipSync(readFileSync(join(SITE, 'lib', f)), { level: 9 }).length, 0);
    console.log(`# on the first export: ${(gzip / 1024).toFixed(1)} KB gzip`);
    assert.ok(gzip < 300 * 1024, `${gzip} bytes gzip`);
  });
});
