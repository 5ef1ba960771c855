// Screenshots of the "Небо" and "Год" views at a phone's size and a desktop's: Moscow, March
// 2026, a horizon, the slot 36 E ringed and read out under the pointer.
// Usage: node web/tests/picture-shots.mjs [OUT_DIR] [SITE_DIR]   (defaults docs, build-web/site)
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { DESKTOP, launch, openApp, PHONE } from './browser.mjs';
import { serve } from './server.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const out = process.argv[2] || join(root, 'docs');
const server = await serve(process.argv[3] || join(root, 'build-web/site'));
const browser = await launch();
const shots = [];
const set = async (page, id, text) => {
  await page.fill(`#${id}`, text);
  await page.dispatchEvent(`#${id}`, 'change');
};
for (const viewport of [PHONE, DESKTOP]) {
  const { ctx, page } = await openApp(browser, server.url, { viewport });
  await set(page, 'EditYear', '2026');
  await page.selectOption('#SelectMonth', '3');
  await page.click('#TabOut');
  await set(page, 'ESlot', '36 E');
  await page.click('#TabSky');
  await set(page, 'EditHorizon', '90:5 150:12 200:8 270:3');
  await set(page, 'EditSkyDate', '2026-03-20');
  for (const [tab, view] of [['TabSky', 'sky'], ['TabYear', 'year']]) {
    await page.click(`#${tab}`);
    // The picture's foot just above the phone's tab bar.
    const lift = () => page.evaluate((id) => {
      const bottom = document.getElementById(id).getBoundingClientRect().bottom;
      window.scrollBy(0, bottom - (window.innerHeight - document.getElementById('tabs').offsetHeight - 8));
    }, view === 'sky' ? 'SkyReadout' : 'YearView');
    await lift();
    if (view === 'sky') {
      const ring = await page.locator('circle.ring').boundingBox();
      await page.mouse.move(ring.x + ring.width / 2, ring.y + ring.height / 2);
      await lift();
    }
    const path = join(out, `web-${view}-${viewport.width}x${viewport.height}.png`);
    await page.screenshot({ path });
    shots.push(path);
  }
  await ctx.close();
}
await browser.close();
await server.close();
console.log(shots.join('\n'));
