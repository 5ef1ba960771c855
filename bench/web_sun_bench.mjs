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

// The best of five rounds, in µs per table: wall time and CPU time (the process's, its
// collector's threads included). On a shared machine the CPU times are the steadier pair.
function nodeMicroseconds(run) {
  run(200);  // warm up the compiled code
  let wall = Infinity, cpu = Infinity;
  for (let round = 0; round < 5; ++round) {
    const n = 500;
    const t0 = process.hrtime.bigint(), c0 = process.cpuUsage();
    run(n);
    const c = process.cpuUsage(c0);
    wall = Math.min(wall, Number(process.hrtime.bigint() - t0) / 1000 / n);
    cpu = Math.min(cpu, (c.user + c.system) / n);
  }
  return {wall, cpu};
}

function nativeMicroseconds() {
  const out = execFileSync(join(bin, 'kelmar-bench'),
                           ['--benchmark_filter=BM_SunTableMonth$', '--benchmark_repetitions=5', '--benchmark_format=json'],
                           {encoding: 'utf8'});
  const runs = JSON.parse(out).benchmarks.filter((b) => b.run_type === 'iteration');
  const us = (b, time) => b[time] * {ns: 1e-3, us: 1, ms: 1e3}[b.time_unit];
  return {wall: Math.min(...runs.map((b) => us(b, 'real_time'))), cpu: Math.min(...runs.map((b) => us(b, 'cpu_time')))};
}

const native = nativeMicroseconds();
const core = nodeMicroseconds((n) => k.benchSunTable(args, n));
const api = nodeMicroseconds((n) => { for (let i = 0; i < n; ++i) k.sunTable(args); });
for (const time of ['wall', 'cpu']) {
  console.log(`sun table, one month (${time}): native ${native[time].toFixed(1)} µs; Node: the module's core ` +
              `${core[time].toFixed(1)} µs (${(core[time] / native[time]).toFixed(2)}×), sunTable() with its cells ` +
              `${api[time].toFixed(1)} µs (${(api[time] / native[time]).toFixed(2)}×)`);
}
