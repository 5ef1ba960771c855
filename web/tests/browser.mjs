// Debian's Chromium, headless, driven by playwright-core; nothing is downloaded.
import { chromium } from 'playwright-core';

export const PHONE = { width: 360, height: 740 };
export const DESKTOP = { width: 1920, height: 1080 };

export function launch() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    // As root Chromium runs only without its sandbox.
    args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
  });
}

// A fresh profile (no stored places, no service worker) at the given size.
export async function openApp(browser, url, { viewport = PHONE, dark = false, context } = {}) {
  const ctx = context || (await browser.newContext({
    viewport,
    deviceScaleFactor: 1,
    colorScheme: dark ? 'dark' : 'light',
    locale: 'ru-RU',
    acceptDownloads: true,
  }));
  const page = await ctx.newPage();
  await page.goto(url);
  await page.waitForSelector('body[data-ready="1"]');
  return { ctx, page };
}

// The texts of a table as the page shows them.
export function tableTexts(page, id) {
  return page.$eval(`#${id}`, (t) => [...t.rows].map((tr) => [...tr.cells].map((c) => c.textContent)));
}

// `fn(page)` on a fresh profile; the profile goes when `fn` ends, also on a failure.
export async function withApp(browser, url, options, fn) {
  const { ctx, page } = await openApp(browser, url, options);
  try {
    await fn(page);
  } finally {
    await ctx.close();
  }
}
