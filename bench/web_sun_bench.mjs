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
  const n = 1000;
  const t0 = process.hrtime.bigint(), c0 = process.cpuUsage();
  run(n);
  const c = process.cpuUsage(c0);
  return {wall: Number(process.hrtime.bigint() - t0) / 1000 / n, cpu: (c.user + c.system) / n};
}

function nativeMicroseconds() {
  const out = execFileSync(join(bin, 'kelmar-bench'),
                           ['--benchmark_filter=BM_SunTableMonth$', '--benchmark_min_time=0.1', '--benchmark_format=json'],
                           {encoding: 'utf8'});
  const [b] = JSON.parse(out).benchmarks;
  const us = (time) => b[time] * {ns: 1e-3, us: 1, ms: 1e3}[b.time_unit];
  return {wall: us('real_time'), cpu: us('cpu_time')};
}

// The three in turn, seven rounds, the best of each: a slow spell of the machine falls on all
// three alike rather than on one.
const best = {native: {wall: Infinity, cpu: Infinity}, core: {wall: Infinity, cpu: Infinity},
              api: {wall: Infinity, cpu: Infinity}};
const runs = {
  native: nativeMicroseconds,
  core: () => nodeMicroseconds((n) => k.benchSunTable(args, n)),
  api: () => nodeMicroseconds((n) => { for (let i = 0; i < n; ++i) k.sunTable(args); }),
};
runs.core();
runs.api();  // warm up the compiled code
for (let round = 0; round < 7; ++round) {
  for (const [name, run] of Object.entries(runs)) {
    const t = run();
    for (const time of ['wall', 'cpu']) best[name][time] = Math.min(best[name][time], t[time]);
  }
}
const {native, core, api} = best;
for (const time of ['wall', 'cpu']) {
  console.log(`sun table, one month (${time}): native ${native[time].toFixed(1)} µs; Node: the module's core ` +
              `${core[time].toFixed(1)} µs (${(core[time] / native[time]).toFixed(2)}×), sunTable() with its cells ` +
              `${api[time].toFixed(1)} µs (${(api[time] / native[time]).toFixed(2)}×)`);
}
