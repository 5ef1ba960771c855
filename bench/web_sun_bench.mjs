// A month's sun table in Node against the native core, side by side in one run: the module's
// sunTable() (cells included, as the web app gets them) and kelmar-bench's BM_SunTableMonth,
// the same place and month (Moscow, GMT+3, July 2026).
//   node bench/web_sun_bench.mjs [build-web/site] [build/bin]
import {execFileSync} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {join, resolve} from 'node:path';

const site = resolve(process.argv[2] ?? 'build-web/site');
const bin = resolve(process.argv[3] ?? 'build/bin');
const {default: createKelmar} = await import(join(site, 'kelmar.js'));
const k = await createKelmar({wasmBinary: readFileSync(join(site, 'kelmar_wasm.wasm'))});
const args = {lat: '55.75', lon: '37.62', year: 2026, month: 7, zone: {kind: 'gmt', text: '3'}};

// One round, in µs per table: wall time and CPU time (the process's, its collector's threads
// included). On a shared machine the CPU times are the steadier pair.
function nodeMicroseconds(run) {
  const n = 300;
  const t0 = process.hrtime.bigint(), c0 = process.cpuUsage();
  run(n);
  const c = process.cpuUsage(c0);
  return {wall: Number(process.hrtime.bigint() - t0) / 1000 / n, cpu: (c.user + c.system) / n};
}

function nativeMicroseconds() {
  const out = execFileSync(join(bin, 'kelmar-bench'),
                           ['--benchmark_filter=BM_SunTableMonth$', '--benchmark_min_time=0.02', '--benchmark_format=json'],
                           {encoding: 'utf8'});
  const [b] = JSON.parse(out).benchmarks;
  const us = (time) => b[time] * {ns: 1e-3, us: 1, ms: 1e3}[b.time_unit];
  return {wall: us('real_time'), cpu: us('cpu_time')};
}

// Short rounds, each timing native, the module's core, sunTable() and native again; a round's
// ratios are to the mean of its two native times. A shared machine has spells of a second or
// more in which everything runs at half speed or less, so the best time of each of the three
// may come from different spells: the ratios are the median of the rounds', each round's four
// times taken within a spell or two.
const runs = {
  core: () => nodeMicroseconds((n) => k.benchSunTable(args, n)),
  api: () => nodeMicroseconds((n) => { for (let i = 0; i < n; ++i) k.sunTable(args); }),
};
runs.core();
runs.api();  // warm up the compiled code
const times = ['wall', 'cpu'];
const best = {native: {}, core: {}, api: {}}, ratios = {core: {wall: [], cpu: []}, api: {wall: [], cpu: []}};
const keepBest = (name, t) => times.forEach((time) => { best[name][time] = Math.min(best[name][time] ?? Infinity, t[time]); });
for (let round = 0; round < 30; ++round) {
  const before = nativeMicroseconds(), core = runs.core(), api = runs.api(), after = nativeMicroseconds();
  [['native', before], ['native', after], ['core', core], ['api', api]].forEach(([name, t]) => keepBest(name, t));
  for (const time of times) {
    const native = (before[time] + after[time]) / 2;
    ratios.core[time].push(core[time] / native);
    ratios.api[time].push(api[time] / native);
  }
}
const median = (v) => [...v].sort((a, b) => a - b)[v.length >> 1];
for (const time of times) {
  console.log(`sun table, one month (${time}): native ${best.native[time].toFixed(1)} µs; Node: the module's core ` +
              `${best.core[time].toFixed(1)} µs (${median(ratios.core[time]).toFixed(2)}×), sunTable() with its cells ` +
              `${best.api[time].toFixed(1)} µs (${median(ratios.api[time]).toFixed(2)}×)`);
}
console.log('times: the best round of each; ratios: the median of the rounds, side by side');
