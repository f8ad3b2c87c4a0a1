// One plan ("加点方案") in the page's WebAssembly in headless Chromium: the
// plans of bench/plan_cases.h, built as the page's module is
// (bench/web/CMakeLists.txt). In FRESH pages (7) of each plan, the first
// and the second plan timed alone (the module just instantiated, as at the
// page's first keystrokes: the first compiles the planner's code); in one
// more, once warm, SAMPLES batches of plans, each long enough (>= 20 ms)
// for the page's clock; a sample is a batch's time over its plans. Prints the median, quartiles and extremes per plan; with ROWS,
// appends them to bench/run.sh's table.
//   node bench/web/plan_bench.mjs MODULE [SAMPLES] [ROWS]     (bench/run.sh)
import { appendFile, readFile } from 'node:fs/promises';
import { launchChromium } from '../../tests/web/browser.mjs';

const [module, samples = '31', rows] = process.argv.slice(2);
const fresh = Number(process.env.FRESH || 7);
const bytes = (await readFile(module)).toString('base64');

// In the page: the whole benchmark of plan i, so that no round trip to node
// falls inside a timing.
async function inPage({ bytes, i, samples }) {
  const binary = Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0));
  const imports = {};
  for (const { module, name } of WebAssembly.Module.imports(new WebAssembly.Module(binary)))
    (imports[module] ??= {})[name] = () => { throw new Error(`the module called ${module}.${name}`); };
  const { instance } = await WebAssembly.instantiate(binary, imports);
  const core = instance.exports;
  core._initialize();
  if (i < 0) return core.pb_cases();
  core.pb_prepare(i);  // its "确定" runs the panel's code before the first plan, as the page's does
  const alone = () => {
    const t = performance.now();
    return [core.pb_plan(1), (performance.now() - t) * 1000];
  };
  const [ok, first] = alone();
  const [, second] = alone();
  const memory = new Uint8Array(core.memory.buffer);
  const at = core.pb_label();
  const label = new TextDecoder().decode(memory.subarray(at, memory.indexOf(0, at)));
  if (!ok || !samples) return { label, ok, first, second };
  // Warm: batches doubling until one takes 20 ms, and 0.3 s in all, so that
  // the hot code has been optimised before the first sample.
  let n = 1;
  for (const start = performance.now(); ;) {
    const t = performance.now();
    core.pb_plan(n);
    if (performance.now() - t < 20) n *= 2;
    else if (performance.now() - start >= 300) break;
  }
  const times = [];
  for (let s = 0; s < samples; ++s) {
    const t = performance.now();
    core.pb_plan(n);
    times.push(((performance.now() - t) * 1000) / n);
  }
  return { label, ok, batch: n, times: times.sort((a, b) => a - b), isolated: crossOriginIsolated };
}

// Each run in a fresh context, on an empty page of its own origin that is
// cross-origin isolated: Chromium's clock there ticks in 5 us, not 100 us.
const browser = await launchChromium();
const origin = 'http://127.0.0.1:9/';  // a secure context, as isolation needs; never reached
async function run(i, samples) {
  const context = await browser.newContext();
  await context.route(origin, (route) => route.fulfill({
    contentType: 'text/html', body: '<!doctype html><title>plan</title>',
    headers: { 'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp' },
  }));
  const page = await context.newPage();
  await page.goto(origin);
  const r = await page.evaluate(inPage, { bytes, i, samples });
  await context.close();
  return r;
}
const cases = await run(-1, 0);

const us = (v) => (v < 10 ? v.toFixed(2) : v < 100 ? v.toFixed(1) : v.toFixed(0));
const at = (xs, q) => xs[Math.round(q * (xs.length - 1))];
const stats = (xs) => [0.5, 0.25, 0.75, 0, 1].map((q) => at(xs.sort((a, b) => a - b), q));
console.log(`Chromium ${browser.version()}, per plan in us: ${samples} warm samples, ${fresh} fresh pages`);
console.log('| plan | warm: median [q1 .. q3] {min .. max} | batch | first plan: median {min .. max} | second |\n' +
            '|---|---|---:|---|---:|');
let failed = false;
for (let i = 0; i < cases; ++i) {
  const cold = [];
  for (let k = 0; k < fresh; ++k) cold.push(await run(i, 0));
  const r = await run(i, Number(samples));
  if (!r.ok) {
    console.log(`| ${r.label} | no plan | | | |`);
    failed = true;
    continue;
  }
  if (!r.isolated) console.log('(not cross-origin isolated: the clock ticks in 100 us)');
  const [m, q1, q3, lo, hi] = stats(r.times);
  const [f, , , flo, fhi] = stats(cold.map((c) => c.first));
  const [second] = stats(cold.map((c) => c.second));
  console.log(`| ${r.label} | ${us(m)} [${us(q1)} .. ${us(q3)}] {${us(lo)} .. ${us(hi)}} | ${r.batch} | ` +
              `${us(f)} {${us(flo)} .. ${us(fhi)}} | ${us(second)} |`);
  if (rows) await appendFile(rows, ['wasm', r.label, m, lo, hi, f, flo, fhi, second].join('\t') + '\n');
}
await browser.close();
process.exit(failed ? 1 : 0);
