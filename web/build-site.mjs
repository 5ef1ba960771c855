// Finishes build-web/site/ for any static host: the page's files beside the module, the starter
// places and the icons, and the service worker stamped with the list of everything it keeps.
// Usage: node web/build-site.mjs SITE_DIR
import { spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { gzipSync } from 'node:zlib';
import { cpSync, existsSync, readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const site = process.argv[2];
if (!site) {
  console.error('usage: node web/build-site.mjs SITE_DIR');
  process.exit(2);
}
cpSync(join(root, 'web/app'), site, { recursive: true });
cpSync(join(root, 'data/kelmar.INI'), join(site, 'kelmar.INI'));
cpSync(join(root, 'src/ui/icons/kelmar.svg'), join(site, 'icon.svg'));
cpSync(join(root, 'packaging/icons/kelmar-256.png'), join(site, 'icon-256.png'));
// Fetched on the first export only: the spreadsheet library and the workbooks' templates.
const lib = join(site, 'lib');
const exceljs = join(root, 'web/node_modules/exceljs/dist');
if (!existsSync(exceljs)) {
  // The lock file's packages, when npm is there to fetch them.
  spawnSync('npm', ['ci', '--no-audit', '--no-fund'], {
    cwd: join(root, 'web'), stdio: 'inherit', env: { ...process.env, PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD: '1' },
  });
}
if (existsSync(exceljs)) {
  cpSync(join(exceljs, 'exceljs.bare.min.js'), join(lib, 'exceljs.bare.min.js'));
  cpSync(join(exceljs, 'LICENSE'), join(lib, 'exceljs.LICENSE'));
} else {
  console.warn('build-site: web/node_modules/exceljs is missing (npm ci in web/): no workbook export');
}
for (const name of ['Sun', 'Sat', 'Out']) cpSync(join(root, `data/templates/${name}.fods`), join(lib, `${name}.fods`));
for (const needed of ['kelmar.js', 'kelmar_wasm.js', 'kelmar_wasm.wasm']) {
  if (!existsSync(join(site, needed))) console.warn(`build-site: ${needed} is missing from ${site}`);
}

function walk(dir) {
  return readdirSync(dir).flatMap((name) => {
    const path = join(dir, name);
    return statSync(path).isDirectory() ? walk(path) : [path];
  });
}
const all = walk(site)
  .map((path) => relative(site, path).split('\\').join('/'))
  .filter((path) => path !== 'sw.js' && !path.endsWith('.map'))
  .sort();
// The first visit keeps everything but lib/, which the worker keeps once it is fetched.
const files = all.filter((path) => !path.startsWith('lib/'));
const later = all.filter((path) => path.startsWith('lib/'));
const hash = createHash('sha256');
for (const path of all) hash.update(path).update(readFileSync(join(site, path)));
const stamp = hash.digest('hex').slice(0, 16);
const sw = join(site, 'sw.js');
const text = readFileSync(sw, 'utf8')
  .replace("const STAMP = 'dev';", `const STAMP = '${stamp}';`)
  .replace('const FILES = [];', `const FILES = ${JSON.stringify(['./', ...files])};`);
writeFileSync(sw, text);
const gzipOf = (list) => list.reduce((sum, path) => sum + gzipSync(readFileSync(join(site, path)), { level: 9 }).length, 0);
console.log(`build-site: ${files.length} files, ${(gzipOf(files) / 1024).toFixed(1)} KB gzip, stamp ${stamp}; ` +
  `on the first export ${later.length} more, ${(gzipOf(later) / 1024).toFixed(1)} KB gzip`);
