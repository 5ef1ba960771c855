// The web app in Debian's headless Chromium at a phone's size, checked against the native
// kelmar-cli: the same cells, the same messages, the places kept, the INI bytes kept, offline.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { DESKTOP, launch, openApp, PHONE, tableTexts } from './browser.mjs';
import { serve } from './server.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const SITE = process.env.KELMAR_SITE || join(root, 'build-web/site');
const CLI = process.env.KELMAR_CLI || join(root, 'build/bin/kelmar-cli');

function cli(...args) {
  const r = spawnSync(CLI, args, { encoding: 'utf8' });
  return { code: r.status, out: r.stdout, err: r.stderr.trim() };
}
const cliGrid = (...args) => JSON.parse(cli(...args, '--format', 'json').out);
// The page leaves out rows with no text (after a short month's last day).
const shown = (grid) => grid.filter((row, r) => r === 0 || row.some((t) => t !== ''));

// RFC 4180 as kelmar-cli writes it: quotes only around cells that need them.
function parseCsv(text) {
  const rows = [];
  for (const line of text.split(/\r?\n/).filter(Boolean)) {
    const row = [];
    for (let i = 0; i <= line.length;) {
      if (line[i] === '"') {
        let j = i + 1;
        let cell = '';
        for (; j < line.length; ++j) {
          if (line[j] === '"' && line[j + 1] === '"') { cell += '"'; ++j; } else if (line[j] === '"') break;
          else cell += line[j];
        }
        row.push(cell);
        i = j + 2;
      } else {
        const end = line.indexOf(',', i) < 0 ? line.length : line.indexOf(',', i);
        row.push(line.slice(i, end));
        i = end + 1;
      }
    }
    rows.push(row);
  }
  return rows;
}

async function setField(page, id, text) {
  await page.fill(`#${id}`, text);
  await page.dispatchEvent(`#${id}`, 'change');
}

async function errorText(page, line) {
  return page.$eval(`.err[data-for="${line}"]`, (p) => p.textContent);
}

// A kelmar.INI as the desktop writes it: Windows-1251, CR LF, a horizon and an outage key.
function desktopIni() {
  const text = '[Form]\r\nInd=1\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\nEU=6\r\nEM=0\r\nEG=3\r\nESlot=36 E\r\n\r\n' +
    '[Horizon]\r\nМосква=90:5 150:25 210:25 270:3\r\n\r\n' +
    '[Points]\r\nМосква=55.75;37.62\r\nМурманск=68.97;33.08\r\n KO85TS=55.7708;37.625\r\nЁлки-Палки=1,5;2\r\n\r\n';
  const bytes = [];
  for (const ch of text) {
    const c = ch.codePointAt(0);
    if (c < 0x80) bytes.push(c);
    else if (c >= 0x410 && c <= 0x44f) bytes.push(c - 0x410 + 0xc0);
    else if (c === 0x401) bytes.push(0xa8);
    else throw new Error(`no Windows-1251 byte for ${ch}`);
  }
  return Buffer.from(bytes);
}

let server;
let browser;

// A fresh profile with the app open; the profile goes when `fn` ends, also on a failure.
async function withApp(options, fn) {
  const { ctx, page } = await openApp(browser, server.url, options);
  try {
    await fn(page);
  } finally {
    await ctx.close();
  }
}

before(async () => {
  for (const [what, path] of [['site', join(SITE, 'kelmar.js')], ['kelmar-cli', CLI]]) {
    assert.ok(existsSync(path), `${what} missing: ${path} (bash scripts/web.sh build; cmake --build build)`);
  }
  // KELMAR_URL: a site already served elsewhere (the same build) instead of our own server.
  server = process.env.KELMAR_URL ? { url: process.env.KELMAR_URL, close: async () => {} } : await serve(SITE);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  await server?.close();
});

describe('tables', () => {
  // Places and months where the desktop's tables are at their edges.
  const cases = [
    { name: 'Moscow, June, GMT+3, angle 6', lat: '55.75', lon: '37.62', year: 2026, month: 6 },
    { name: 'Murmansk, June: polar day', lat: '68.97', lon: '33.08', year: 2026, month: 6 },
    { name: 'Murmansk, December: polar night', lat: '68.97', lon: '33.08', year: 2026, month: 12 },
    { name: 'Buenos Aires, February (28 days), MSK, height 12.345 km, seconds', lat: '-34.6', lon: '-58.38',
      year: 2026, month: 2, msk: '-7', height: '12.345', seconds: true },
    { name: 'Quito, March: the equator, a satellite at the zenith', lat: '-0.18', lon: '-78.47', year: 2024, month: 3 },
  ];
  for (const c of cases) {
    test(c.name, async () => {
      await withApp({}, async (page) => {
        await setField(page, 'EditSir', c.lat);
        await setField(page, 'EditDolg', c.lon);
        await setField(page, 'EditYear', String(c.year));
        await page.selectOption('#SelectMonth', String(c.month));
        const zone = c.msk ? ['--msk', c.msk] : ['--gmt', '3'];
        if (c.msk) {
          await setField(page, 'EditMSK', c.msk);
          await page.check('#RadioButtonMSK');
        }
        const twilight = c.height ? ['--height', c.height] : ['--angle', '6'];
        if (c.height) {
          await setField(page, 'EditKm', c.height);
          await page.check('#RadioButtonVys');
        }
        if (c.seconds) await page.check('#CheckBoxSec');
        const sun = cliGrid('sun', '--lat', c.lat, '--lon', c.lon, '--year', String(c.year), '--month',
          String(c.month), ...zone, ...twilight, ...(c.seconds ? ['--seconds'] : []));
        assert.deepEqual(await tableTexts(page, 'StringGridVos'), shown(sun));

        await page.click('#TabSat');
        assert.deepEqual(await tableTexts(page, 'StringGridSat'), shown(cliGrid('sat', '--lat', c.lat, '--lon', c.lon)));

        await page.click('#TabOut');
        await setField(page, 'ESlot', '36E');
        const outArgs = ['outage', '--lat', c.lat, '--lon', c.lon, '--slot', '36E', '--year', String(c.year), ...zone];
        const out = parseCsv(cli(...outArgs, '--format', 'csv').out).map((row) => row.slice(1));
        assert.deepEqual(await tableTexts(page, 'StringGridOut'), out.length > 1 ? out : []);
        // Without a table the note says why, in the words kelmar-cli prints under the slot's line.
        const note = out.length > 1 ? '' : cli(...outArgs).out.split('\n')[1];
        assert.equal(await page.textContent('#LabelOutNote'), note);
      });
    });
  }

  test('compass azimuths follow the declination line', async () => {
    await withApp({}, async (page) => {
      await page.click('#TabSat');
      const line = await page.textContent('#LabelMag');
      assert.match(line, /^Магнитное склонение: /);
      await page.check('#CheckBoxMagAz');
      const d = new Date();
      const date = `${d.getFullYear()}-${String(d.getMonth() + 1).padStart(2, '0')}-${String(d.getDate()).padStart(2, '0')}`;
      const expected = cliGrid('sat', '--lat', '55.75', '--lon', '37.62', '--magnetic', '--date', date);
      assert.deepEqual(await tableTexts(page, 'StringGridSat'), shown(expected));
    });
  });
});

describe('places', () => {
  test('added by coordinates and by locator, found again after a reload', async () => {
    await withApp({}, async (page) => {
      const before = await page.$$eval('#ComboBoxPunkt option', (o) => o.length);
      for (const [name, lat, lon] of [['Дача', '56.1', '38,25'], [' KO85TS', '', '']]) {
        await page.click('#ButtonNew');
        assert.equal(await page.textContent('#ButtonNew'), 'Готово');
        await page.fill('#EditPunkt', name);
        await page.fill('#EditSir', lat);
        await page.fill('#EditDolg', lon);
        await page.click('#ButtonNew');
        assert.equal(await page.textContent('#ButtonNew'), 'Добавить');
      }
      const [locLat, locLon] = cli('locator', ' KO85TS').out.trim().split(/\s+/);
      await page.reload();  // at once: leaving the page writes what is still pending
      await page.waitForSelector('body[data-ready="1"]');
      const names = await page.$$eval('#ComboBoxPunkt option', (o) => o.map((x) => x.textContent));
      assert.equal(names.length, before + 2);
      // Lines of the file are trimmed when read, so a locator's leading blank stays only until
      // the next start, as on the desktop.
      assert.deepEqual(names.slice(-2), ['Дача', 'KO85TS']);
      assert.equal(await page.inputValue('#EditSir'), locLat);  // the last one added stays chosen
      assert.equal(await page.inputValue('#EditDolg'), locLon);
      await page.selectOption('#ComboBoxPunkt', String(before));
      assert.deepEqual([await page.inputValue('#EditSir'), await page.inputValue('#EditDolg')], ['56.1', '38.25']);
      assert.deepEqual(await tableTexts(page, 'StringGridVos'),
        shown(cliGrid('sun', '--lat', '56.1', '--lon', '38.25', '--gmt', '3', '--angle', '6')));
    });
  });

  test('the device position is offered as "Здесь" with its locator and the device zone', async () => {
    const ctx = await browser.newContext({
      viewport: PHONE, locale: 'ru-RU', timezoneId: 'Asia/Yekaterinburg',
      geolocation: { latitude: 56.8389, longitude: 60.6057 }, permissions: ['geolocation'],
    });
    await withApp({ context: ctx }, async (page) => {
      await page.click('#ButtonHere');
      await page.waitForFunction(() => !document.getElementById('EditPunkt').hidden);
      const locator = cli('locator', '--lat', '56.8389', '--lon', '60.6057').out.trim();
      assert.equal(await page.inputValue('#EditPunkt'), `Здесь ${locator}`);
      assert.deepEqual([await page.inputValue('#EditSir'), await page.inputValue('#EditDolg')], ['56.8389', '60.6057']);
      assert.equal(await page.inputValue('#EditGMT'), '5');
      assert.ok(await page.isChecked('#RadioButtonGMT'));
      await page.fill('#EditPunkt', 'Екатеринбург');  // the name is the user's to change
      await page.click('#ButtonNew');
      assert.equal(await page.$eval('#ComboBoxPunkt', (s) => s.selectedOptions[0].textContent), 'Екатеринбург');
      assert.deepEqual(await tableTexts(page, 'StringGridVos'),
        shown(cliGrid('sun', '--lat', '56.8389', '--lon', '60.6057', '--gmt', '5', '--angle', '6')));
    });
  });

  test('deleting asks first, keeps the last place, and is kept after a reload', async () => {
    await withApp({}, async (page) => {
      const names = () => page.$$eval('#ComboBoxPunkt option', (o) => o.map((x) => x.textContent));
      const dialogs = [];
      let answer = false;
      page.on('dialog', (d) => {
        dialogs.push(d.message());
        return answer ? d.accept() : d.dismiss();
      });
      const all = await names();
      await page.selectOption('#ComboBoxPunkt', '1');
      await page.click('#ButtonDelete');  // "No": nothing goes
      assert.deepEqual(await names(), all);
      answer = true;
      for (let n = all.length; n > 1; --n) await page.click('#ButtonDelete');
      await page.click('#ButtonDelete');  // the last one stays
      assert.deepEqual(dialogs.slice(0, 2), [`Удалить запись "${all[1]}" ?`, `Удалить запись "${all[1]}" ?`]);
      assert.equal(dialogs.at(-1), 'Нельзя уничтожить последнюю запись');
      await page.reload();
      await page.waitForSelector('body[data-ready="1"]');
      assert.deepEqual(await names(), [all.at(-1)]);
    });
  });

  // Each bad text gets kelmar-cli's own message for it, and the stored places stay as they were.
  const bad = [
    { name: 'a latitude that is no number', field: 'EditSir', text: 'abc', args: ['--lat', 'abc', '--lon', '37.62'] },
    { name: 'an empty longitude', field: 'EditDolg', text: '', args: ['--lat', '55.75', '--lon', ''] },
    { name: 'a zone that is no number', field: 'EditGMT', text: '3 ч', args: ['--lat', '55.75', '--lon', '37.62', '--gmt', '3 ч'] },
  ];
  for (const c of bad) {
    test(`refused: ${c.name}`, async () => {
      await withApp({}, async (page) => {
        const expected = cli('sun', ...c.args);
        assert.equal(expected.code, 1, expected.err);
        await setField(page, c.field, c.text);
        const line = { EditSir: 'EditSir', EditDolg: 'EditSir', EditGMT: 'EditGMT' }[c.field];
        assert.equal(await errorText(page, line), expected.err.replace(/^kelmar-cli: /, ''));
        assert.equal(await page.getAttribute(`#${c.field}`, 'aria-invalid'), 'true');
        // Fixed, the message goes and the table is the new one.
        await setField(page, c.field, { EditSir: '55.75', EditDolg: '37.62', EditGMT: '3' }[c.field]);
        assert.equal(await errorText(page, line), '');
      });
    });
  }

  test('a new place with a bad latitude or locator is not stored', async () => {
    await withApp({}, async (page) => {
      const names = () => page.$$eval('#ComboBoxPunkt option', (o) => o.map((x) => x.textContent));
      const before = await names();
      const cases = [
        { name: 'Плохая', lat: 'abc', lon: '10', line: 'EditSir', expected: cli('sun', '--lat', 'abc', '--lon', '10').err },
        // "Добавить" answers as the window does; kelmar-cli's locator command adds the reason.
        { name: ' ZZ99ZZ', lat: '', lon: '', line: 'EditPunkt', expected: 'Неверный QTH-локатор' },
      ];
      for (const c of cases) {
        await page.click('#ButtonNew');
        await page.fill('#EditPunkt', c.name);
        await page.fill('#EditSir', c.lat);
        await page.fill('#EditDolg', c.lon);
        await page.click('#ButtonNew');
        assert.equal(await errorText(page, c.line), c.expected.replace(/^kelmar-cli: /, ''), c.name);
        assert.equal(await page.textContent('#ButtonNew'), 'Готово', 'still entering, nothing lost');
      }
      await page.reload();
      await page.waitForSelector('body[data-ready="1"]');
      assert.deepEqual(await names(), before);
    });
  });
});

describe('kelmar.INI', () => {
  test('a desktop file imported and exported comes back byte for byte', async () => {
    await withApp({}, async (page) => {
      const original = desktopIni();
      const roundTrip = async (bytes) => {
        await page.setInputFiles('#FileIni', { name: 'kelmar.INI', mimeType: 'application/octet-stream', buffer: bytes });
        await page.waitForFunction(() => document.querySelectorAll('#ComboBoxPunkt option').length === 4);
        const [download] = await Promise.all([page.waitForEvent('download'), page.click('#ButtonSaveIni')]);
        assert.equal(download.suggestedFilename(), 'kelmar.INI');
        return readFileSync(await download.path());
      };
      const first = await roundTrip(original);
      assert.deepEqual(first, original);
      assert.deepEqual(await roundTrip(first), original);
      const names = await page.$$eval('#ComboBoxPunkt option', (o) => o.map((x) => x.textContent));
      assert.deepEqual(names, ['Москва', 'Мурманск', 'KO85TS', 'Ёлки-Палки']);
      assert.equal(await page.inputValue('#ComboBoxPunkt'), '1');
      assert.equal(await page.inputValue('#ESlot'), '36 E');
    });
  });
});

describe('offline and layout', () => {
  test('the service worker keeps every file of the site, at most 600 KB gzip in all', () => {
    const sw = readFileSync(join(SITE, 'sw.js'), 'utf8');
    const files = JSON.parse(/const FILES = (\[.*\]);/.exec(sw)[1]).filter((f) => f !== './');
    for (const needed of ['index.html', 'main.js', 'kelmar.js', 'kelmar_wasm.js', 'kelmar_wasm.wasm', 'manifest.webmanifest', 'kelmar.INI']) {
      assert.ok(files.includes(needed), needed);
    }
    // Installable: the manifest's icons are among the kept files.
    const manifest = JSON.parse(readFileSync(join(SITE, 'manifest.webmanifest'), 'utf8'));
    assert.equal(manifest.display, 'standalone');
    for (const icon of manifest.icons) assert.ok(files.includes(icon.src), icon.src);
    const gzip = files.reduce((sum, f) => sum + gzipSync(readFileSync(join(SITE, f)), { level: 9 }).length, 0);
    assert.ok(gzip <= 600 * 1024, `${gzip} bytes gzip`);
  });

  test('a reload with the network off still shows the tables', async () => {
    await withApp({}, async (page) => {
      await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        if (!navigator.serviceWorker.controller) {
          await new Promise((r) => navigator.serviceWorker.addEventListener('controllerchange', r, { once: true }));
        }
      });
      const online = await tableTexts(page, 'StringGridVos');
      await page.context().setOffline(true);
      await page.reload();
      await page.waitForSelector('body[data-ready="1"]');
      assert.deepEqual(await tableTexts(page, 'StringGridVos'), online);
      await page.click('#TabSat');
      assert.ok((await tableTexts(page, 'StringGridSat')).length > 1);
      await page.click('#TabSun');
      await page.selectOption('#SelectMonth', '1');
      assert.match((await tableTexts(page, 'StringGridVos'))[1]?.[0] ?? '', /^01\.01\./);
    });
  });

  for (const viewport of [PHONE, DESKTOP]) {
    test(`${viewport.width}x${viewport.height}: the page never scrolls sideways, the version shows`, async () => {
      await withApp({ viewport }, async (page) => {
        const version = /project\(\s*\w+\s+VERSION\s+([\d.]+)/.exec(readFileSync(join(root, 'CMakeLists.txt'), 'utf8'))[1];
        assert.equal(await page.textContent('#version'), `(v. ${version})`);
        for (const tab of ['TabSun', 'TabSat', 'TabOut']) {
          await page.click(`#${tab}`);
          const wide = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
          assert.ok(wide <= 0, `${tab}: ${wide} px sideways`);
        }
      });
    });
  }
});
