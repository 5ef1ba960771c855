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
  await ctx.close();
}
await browser.close();
await server.close();
console.log(shots.join('\n'));
