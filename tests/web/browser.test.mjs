// The module in a browser: Debian's Chromium, headless, loads kelmar.js from a local server the
// way the web app does (fetching kelmar_wasm.wasm beside it) and computes a table and an error.
import assert from 'node:assert/strict';
import {execFile} from 'node:child_process';
import {promisify} from 'node:util';
import {existsSync, mkdtempSync, readFileSync} from 'node:fs';
import {createServer} from 'node:http';
import {join} from 'node:path';
import {test} from 'node:test';

import {site} from './support.mjs';

const chromium = '/usr/bin/chromium';
const page = `<!doctype html><meta charset="utf-8"><pre id="out">loading</pre><script type="module">
import createKelmar from './kelmar.js';
const out = document.getElementById('out');
try {
  const k = await createKelmar();
  const t = k.sunTable({lat: '55.75', lon: '37.62', year: 2026, month: 6, zone: {kind: 'gmt', text: '3'}});
  let error = '';
  try { k.declination({lat: '95', lon: '0', date: '2026-01-01'}); } catch (e) { error = e.message; }
  out.textContent = JSON.stringify({row: t.cells[1], error});
} catch (e) { out.textContent = 'failed: ' + e; }
</script>`;

const types = {'.js': 'text/javascript', '.wasm': 'application/wasm', '.html': 'text/html; charset=utf-8'};

test('kelmar.js loads and computes in Chromium', {skip: !existsSync(chromium) && 'no Chromium here'}, async () => {
  const server = createServer((req, res) => {
    const name = req.url === '/check.html' ? null : req.url.replace(/^\//, '');
    const body = name === null ? page : existsSync(join(site, name)) ? readFileSync(join(site, name)) : null;
    res.writeHead(body === null ? 404 : 200, {'content-type': types[(req.url.match(/\.\w+$/) ?? [''])[0]] ?? 'text/plain'});
    res.end(body ?? '');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  try {
    // Off the network: only the local server is reached.
    // Asynchronously: the server in this process must answer while Chromium runs.
    const r = await promisify(execFile)(chromium, ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                                   '--disable-background-networking', '--disable-component-update', '--disable-sync',
                                   `--user-data-dir=${mkdtempSync('/tmp/kelmar-chromium-')}`, '--virtual-time-budget=20000',
                                   '--dump-dom', `http://127.0.0.1:${server.address().port}/check.html`],
                                         {encoding: 'utf8', timeout: 90000});
    const shown = JSON.parse(r.stdout.match(/<pre id="out">(.*?)<\/pre>/s)[1].replace(/&quot;/g, '"').replace(/&amp;/g, '&'));
    assert.deepEqual(shown, {row: ['01.06.26   Пн', '03:53', '21:02', '17:09', '12:27', ' 46.5', ' 313.7', '02:57', '21:59'],
                             error: 'Широта должна быть от -90 до 90'});
  } finally {
    server.close();
  }
});
