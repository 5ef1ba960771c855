// Screenshots of each view at a phone's size and a desktop's, light, and the phone also dark.
// Usage: node web/tests/screenshots.mjs [OUT_DIR] [SITE_DIR]   (defaults docs, build-web/site)
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { DESKTOP, launch, openApp, PHONE } from './browser.mjs';
import { serve } from './server.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const out = process.argv[2] || join(root, 'docs');
const server = await serve(process.argv[3] || join(root, 'build-web/site'));
const browser = await launch();
const shots = [];

// The pointing view on 36 E: first with the one-time warning, then with the phone's heading
// 12° short of the compass azimuth (the absolute-orientation sensor override).
async function aimShots(page, viewport) {
  const size = `${viewport.width}x${viewport.height}`;
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Emulation.setSensorOverrideEnabled', { enabled: true, type: 'absolute-orientation' });
  await page.click('#TabAim');
  const first = join(out, `web-aim-${size}.png`);
  await page.screenshot({ path: first });
  const target = Number((await page.textContent('#AimCompass')).replace('°', ''));
  const half = ((360 - (target - 12)) * Math.PI) / 360;
  await cdp.send('Emulation.setSensorOverrideReadings', {
    type: 'absolute-orientation', reading: { quaternion: { x: 0, y: 0, z: Math.sin(half), w: Math.cos(half) } },
  });
  await page.click('#ButtonAimUnderstood');
  await page.click('#ButtonCompass');
  await page.waitForSelector('#AimDial:not([hidden])');
  await page.locator('#AimCompassBox').scrollIntoViewIfNeeded();
  const compass = join(out, `web-aim-compass-${size}.png`);
  await page.screenshot({ path: compass });
  return [first, compass];
}
for (const [viewport, dark] of [[PHONE, false], [PHONE, true], [DESKTOP, false]]) {
  const { ctx, page } = await openApp(browser, server.url, { viewport, dark });
  // A fixed month, so the pictures change only when the app does.
  await page.fill('#EditYear', '2026');
  await page.dispatchEvent('#EditYear', 'change');
  await page.selectOption('#SelectMonth', '3');
  for (const [tab, view] of [['TabSun', 'sun'], ['TabSat', 'sat'], ['TabOut', 'out']]) {
    await page.click(`#${tab}`);
    if (view === 'out') {
      await page.fill('#ESlot', '36 E');
      await page.dispatchEvent('#ESlot', 'change');
    }
    const path = join(out, `web-${view}-${viewport.width}x${viewport.height}${dark ? '-dark' : ''}.png`);
    await page.screenshot({ path });
    shots.push(path);
  }
  if (!dark) shots.push(...(await aimShots(page, viewport)));
  await ctx.close();
}
await browser.close();
await server.close();
console.log(shots.join('\n'));
