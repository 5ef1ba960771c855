// What the module's tests share: the module built by scripts/web.sh, loaded the way Node
// must load it (its bytes passed as wasmBinary), and the native executables to compare with.
import {spawnSync} from 'node:child_process';
import {existsSync, readFileSync} from 'node:fs';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const site = process.env.KELMAR_SITE ?? join(root, 'build-web/site');
export const nativeBin = process.env.KELMAR_NATIVE_BIN ?? join(root, 'build/bin');

export async function loadKelmar() {
  const {default: createKelmar} = await import(join(site, 'kelmar.js'));
  return createKelmar({wasmBinary: readFileSync(join(site, 'kelmar_wasm.wasm'))});
}

export function nativeTool(name) {
  const path = join(nativeBin, name);
  if (!existsSync(path)) throw new Error(`${path} is missing: build the desktop program first`);
  return path;
}

// The C locale carries no names of its own: the tool prints its fixed Russian names, as the
// browser does.
export function runNative(name, args) {
  const r = spawnSync(nativeTool(name), args, {encoding: 'utf8', env: {...process.env, LC_ALL: 'C.UTF-8'}});
  if (r.error) throw r.error;
  return {code: r.status, stdout: r.stdout, stderr: r.stderr};
}

// A small seeded generator, so a failing case can be run again.
export function random(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const int = (lo, hi) => lo + Math.floor(next() * (hi - lo + 1));
  const pick = (items) => items[Math.floor(next() * items.length)];
  return {next, int, pick, chance: (p) => next() < p};
}
