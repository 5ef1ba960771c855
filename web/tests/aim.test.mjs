// The pointing view in headless Chromium with DevTools' overrides: the place from the
// geolocation override, the phone's heading from the absolute-orientation sensor override (it
// reaches deviceorientationabsolute), iOS's compass heading as a synthetic event, and against
// the native kelmar-cli: the compass azimuth, the Sun-alignment moments. Then a horizon profile
// imported from a file and a slot's name where the desktop shows it.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { DESKTOP, launch, openApp, PHONE } from './browser.mjs';
import { serve } from './server.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const SITE = process.env.KELMAR_SITE || join(root, 'build-web/site');
const CLI = process.env.KELMAR_CLI || join(root, 'build/bin/kelmar-cli');
const cliJson = (...args) => JSON.parse(spawnSync(CLI, [...args, '--format', 'json'], { encoding: 'utf8' }).stdout);
const two = (n) => String(n).padStart(2, '0');
const now = new Date();
const TODAY = `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
const HERE = { lat: '55.75', lon: '37.62' };

let server;
let browser;

before(async () => {
  for (const path of [join(SITE, 'kelmar.js'), CLI]) assert.ok(existsSync(path), `missing: ${path}`);
  server = await serve(SITE);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  await server?.close();
});

// A phone lying face up, its top toward `heading` (magnetic), or tilted `beta` degrees up.
function quaternion(heading, beta = 0) {
  const a = ((360 - heading) * Math.PI) / 360;  // alpha counts counter-clockwise
  const b = (beta * Math.PI) / 360;
  return { x: Math.cos(a) * Math.sin(b), y: Math.sin(a) * Math.sin(b), z: Math.sin(a) * Math.cos(b), w: Math.cos(a) * Math.cos(b) };
}

// A fresh profile whose one place is where the geolocation override puts the device, the
// pointing view open on `slot`; `sensor` switches the orientation override on first.
async function onTheRoof(fn, { slot = '36 E', sensor = true } = {}) {
  const ctx = await browser.newContext({ viewport: PHONE, locale: 'ru-RU', timezoneId: 'UTC', deviceScaleFactor: 1 });
  const page = await ctx.newPage();
  const cdp = await ctx.newCDPSession(page);
  // Granting one permission refuses every other: the motion sensors are granted with it.
  await ctx.grantPermissions(['geolocation', 'accelerometer', 'gyroscope', 'magnetometer']);
  await cdp.send('Emulation.setGeolocationOverride', { latitude: Number(HERE.lat), longitude: Number(HERE.lon), accuracy: 10 });
  const turn = async (heading, beta = 0) => {
    await cdp.send('Emulation.setSensorOverrideReadings', { type: 'absolute-orientation', reading: { quaternion: quaternion(heading, beta) } });
    await page.waitForTimeout(150);
  };
  if (sensor) {
    await cdp.send('Emulation.setSensorOverrideEnabled', { enabled: true, type: 'absolute-orientation' });
    await turn(0);
  }
  try {
    await page.goto(server.url);
    await page.waitForSelector('body[data-ready="1"]');
    await page.click('#ButtonHere');
    await page.waitForFunction(() => !document.getElementById('EditPunkt').hidden);
    await page.click('#ButtonNew');
    await page.click('#TabAim');
    await page.fill('#EAimSlot', slot);
    await page.dispatchEvent('#EAimSlot', 'change');
    await fn(page, turn);
  } finally {
    await ctx.close();
  }
}

const text = (page, id) => page.$eval(`#${id}`, (el) => el.textContent);
// The words once the sensor's next reading has come (or whatever stands there after 2 s).
async function wordsFor(page, expected) {
  await page.waitForFunction((w) => document.getElementById('AimWords').textContent === w, expected, { timeout: 2000 }).catch(() => {});
  return text(page, 'AimWords');
}
const degrees = (s) => Number(s.replace('°', ''));

test('the arrow and its words for headings around the compass azimuth; the declination applied', async () => {
  await onTheRoof(async (page, turn) => {
    // The place is the device's: the numbers are kelmar-cli's for it, the compass azimuth its
    // magnetic table's (the true azimuth less the declination, east positive).
    const sat = cliJson('sat', '--lat', HERE.lat, '--lon', HERE.lon);
    const magnetic = cliJson('sat', '--lat', HERE.lat, '--lon', HERE.lon, '--magnetic', '--date', TODAY);
    const row = (grid) => {
      for (const r of grid) for (let c = 0; c < r.length; c += 5) if (r[c] === '36 E') return r.slice(c, c + 4);
      return null;
    };
    assert.deepEqual([await text(page, 'AimAzimuth'), await text(page, 'AimElevation'), await text(page, 'AimSkew')],
      row(sat).slice(1).map((t) => `${t}°`));
    assert.equal(await text(page, 'AimCompass'), `${row(magnetic)[1]}°`);
    assert.notEqual(await text(page, 'AimCompass'), await text(page, 'AimAzimuth'));
    // The warning comes once, then one line.
    assert.ok(await page.isVisible('#AimWarning'));
    await page.click('#ButtonAimUnderstood');
    assert.deepEqual([await page.isVisible('#AimWarning'), await page.isVisible('#AimWarningShort')], [false, true]);
    await page.click('#ButtonCompass');
    const target = degrees(await text(page, 'AimCompass'));
    const rows = [
      // [phone's magnetic heading, words, side, arrow turned clockwise (+) or not]
      [target + 1, 'на цели', 'on', 0],
      [target - 12, 'правее 12°', 'right', 1],
      [target + 3, 'левее 3°', 'left', -1],
      [target + 179, 'левее 179°', 'left', -1],  // nearly behind: the shorter way round
    ];
    for (const [heading, words, side, sign] of rows) {
      await turn(heading);
      assert.equal(await wordsFor(page, words), words, `heading ${heading}`);
      assert.equal(await page.$eval('#AimDial', (d) => d.dataset.side), side);
      const rotation = await page.$eval('#AimArrow', (g) => Number(/rotate\(([^)]+)\)/.exec(g.getAttribute('transform'))[1]));
      if (sign !== 0) assert.equal(Math.sign(rotation), sign, `heading ${heading}`);
    }
    // Held up to the eye the compass heading swings: not used.
    await turn(target, 60);
    assert.equal(await wordsFor(page, 'Положите телефон горизонтально'), 'Положите телефон горизонтально');
    await page.reload();
    await page.waitForSelector('body[data-ready="1"]');
    await page.click('#TabAim');
    assert.deepEqual([await page.isVisible('#AimWarning'), await page.isVisible('#AimWarningShort')], [false, true]);
  });
});

test('without sensors: the numbers and today\'s Sun-alignment moments; iOS\'s heading after the tap', async () => {
  await onTheRoof(async (page) => {
    const align = cliJson('align', '--lat', HERE.lat, '--lon', HERE.lon, '--slot', '36 E', '--date', TODAY, '--gmt', '0');
    const lines = await page.$$eval('#AimAlign li', (items) => items.map((li) => [li.dataset.kind, li.textContent]));
    for (const kind of ['sun', 'shadow']) {
      const line = lines.find(([k]) => k === kind)[1];
      for (const e of align.days[0].events.filter((x) => x.kind === kind)) assert.ok(line.includes(e.time), `${kind} ${e.time}`);
    }
    assert.ok(lines.some(([, t]) => t.includes('Встаньте лицом к Солнцу')));
    assert.notEqual(await text(page, 'AimAzimuth'), '');
    await page.click('#ButtonCompass');
    await page.waitForSelector('#AimSilent:not([hidden])', { timeout: 5000 });
    assert.equal(await page.isVisible('#AimDial'), false);
    // iOS: the permission asked from the tap, then its own magnetic heading.
    await page.evaluate(() => {
      const e = new Event('deviceorientation');
      Object.defineProperties(e, { webkitCompassHeading: { value: 100 }, beta: { value: 1 }, gamma: { value: -2 } });
      window.dispatchEvent(e);
    });
    const target = degrees(await text(page, 'AimCompass'));
    const expected = `правее ${Math.round(target - 100)}°`;
    assert.equal(await wordsFor(page, expected), expected);
  }, { sensor: false });
});

test('trying to break it: a slot under the horizon, at the pole, no place', async () => {
  await onTheRoof(async (page) => {
    assert.equal(await text(page, 'LabelAimNote'), 'Спутник 150 W не виден из этого пункта');
    assert.equal(await page.isVisible('#AimCompassBox'), false);
    await page.fill('#EditSir', '89.5');
    await page.dispatchEvent('#EditSir', 'change');
    assert.equal(await text(page, 'AimAzimuth'), '---');
    await page.fill('#EAimSlot', '36 Q');
    await page.dispatchEvent('#EAimSlot', 'change');
    assert.equal(await page.$eval('.err[data-for="aim"]', (p) => p.textContent), "Неверная позиция спутника '36 Q'");
  }, { slot: '150 W' });
  // No starter file: no place yet, the place being entered has no coordinates.
  const ctx = await browser.newContext({ viewport: PHONE, locale: 'ru-RU' });
  await ctx.route('**/kelmar.INI', (r) => r.fulfill({ status: 404 }));
  const { page } = await openApp(browser, server.url, { context: ctx });
  try {
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    await page.click('#TabAim');
    await page.fill('#EditSir', '55.75');
    await page.dispatchEvent('#EditSir', 'change');
    assert.deepEqual([errors, await text(page, 'AimAzimuth')], [[], '']);
  } finally {
    await ctx.close();
  }
});

test('a horizon profile from a file and a slot\'s name, kept in kelmar.INI', async () => {
  await onTheRoof(async (page) => {
    // The sky view: a PVGIS CSV, azimuths from south.
    await page.click('#TabSky');
    const pvgis = 'Latitude (decimal degrees):\t55.75\n\nA\tH_hor\tA_sun(w)\tH_sun(w)\n-180.0\t2.0\t0\t0\n-90.0\t12.0\t0\t0\n' +
      '0.0\t30.0\t0\t0\n90.0\t4.0\t0\t0\n\n';
    await page.setInputFiles('#FileProfile', { name: 'horizon.csv', mimeType: 'text/csv', buffer: Buffer.from(pvgis) });
    await page.waitForFunction(() => document.getElementById('EditHorizon').value !== '');
    const horizon = await page.inputValue('#EditHorizon');
    assert.match(horizon, /^0:2 90:12 180:30 270:4/);
    assert.ok(await page.$('#SkyView polygon.mask'));
    // A name given in the satellite table, as the desktop's context menu gives it.
    page.on('dialog', (d) => d.accept('Eutelsat 36'));
    await page.click('#TabSat');
    const cell = page.locator('#StringGridSat td', { hasText: /^36 E$/ });
    await cell.click({ button: 'right' });
    assert.equal(await cell.getAttribute('title'), 'Eutelsat 36');
    await page.click('#TabOut');
    await page.fill('#ESlot', '36 E');
    await page.dispatchEvent('#ESlot', 'change');
    assert.equal(await text(page, 'LabelSlotName'), 'Eutelsat 36');
    await page.click('#TabAim');
    assert.equal(await text(page, 'LabelAimName'), 'Eutelsat 36');
    // On a phone's width the names give way to the labels, as on the desktop: a wide window.
    await page.setViewportSize(DESKTOP);
    await page.click('#TabSky');
    assert.ok((await page.$$eval('#SkyView text.name', (t) => t.map((x) => x.textContent))).includes('Eutelsat 36'));
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#ButtonSaveIni')]);
    const chunks = [];
    for await (const c of await download.createReadStream()) chunks.push(c);
    const ini = Buffer.concat(chunks).toString('latin1');
    assert.match(ini, /\r\n\[Names\]\r\n36 E=Eutelsat 36\r\n/);
    assert.ok(ini.includes(`=${horizon}\r\n`), 'the horizon in the file');
  });
});
