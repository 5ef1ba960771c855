// How long switching a month or a place takes to show the new table, in headless Chromium at a
// phone's size: the change handler with the module's computation and the table's DOM, then the
// browser's layout of it (read back at once), and separately until the next frame is drawn.
// Usage: node web/tests/bench.mjs [SITE_DIR]   (default build-web/site)
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launch, openApp } from './browser.mjs';
import { serve } from './server.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const server = await serve(process.argv[2] || join(root, 'build-web/site'));
const browser = await launch();
const { page } = await openApp(browser, server.url);

async function measure(select, values, rounds) {
  return page.evaluate(async ({ select, values, rounds }) => {
    const el = document.querySelector(select);
    const table = document.querySelector('#StringGridVos');
    const laid = [];
    const framed = [];
    for (let r = 0; r < rounds; ++r) {
      for (const v of values) {
        const start = performance.now();
        el.value = v;
        el.dispatchEvent(new Event('change'));
        void table.offsetHeight;  // forces the layout of the new rows
        laid.push(performance.now() - start);
        await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
        framed.push(performance.now() - start);
      }
    }
    return { laid, framed };
  }, { select, values, rounds });
}

function report(name, { laid, framed }) {
  const stat = (xs) => {
    const s = [...xs].sort((a, b) => a - b);
    const at = (q) => s[Math.min(s.length - 1, Math.floor(q * s.length))].toFixed(1);
    return `median ${at(0.5)} ms, 95% ${at(0.95)} ms, max ${s[s.length - 1].toFixed(1)} ms`;
  };
  console.log(`${name} (${laid.length} switches): computed and laid out ${stat(laid)}; next frame ${stat(framed)}`);
}

const months = Array.from({ length: 12 }, (_, i) => String(i + 1));
const places = await page.$$eval('#ComboBoxPunkt option', (o) => o.map((x) => x.value));
await measure('#SelectMonth', months, 1);  // warm-up
report('month', await measure('#SelectMonth', months, 5));
report('place', await measure('#ComboBoxPunkt', places, 10));
await browser.close();
await server.close();
