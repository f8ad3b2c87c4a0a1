// The page's first load against a floor page (one HTML file with one
// button), in headless Chromium from a local server: what the first visit
// transfers (each file gzipped, as a static host would send it), and the
// time from navigation to the first frame and to the first "确定" result.
// Medians of RUNS fresh visits (default 15) of each page for each time.
//   node bench/web/page_bench.mjs [RUNS]       (make bench-web)
import { gzipSync } from 'node:zlib';
import { copyFile, readFile } from 'node:fs/promises';
import { serve } from '../../web/serve.mjs';
import { dist, start } from '../../tests/web/browser.mjs';

const runs = Number(process.argv[2] || 15);
await copyFile(new URL('floor.html', import.meta.url), dist + 'floor.html');
const web = await start();
const { browser } = web;

// At readiness (the module wired, or the floor's script run) the button is
// clicked at once; the result is there when the click returns.
const probe = () => new MutationObserver((_, o) => {
  if (!('ready' in document.documentElement.dataset)) return;
  o.disconnect();
  document.getElementById('Command1').click();
  const result = document.getElementById('Text17') || document.getElementById('Command1');
  if ((result.tagName === 'INPUT' ? result.value : result.textContent) === ' 100') window.firstResult = performance.now();
}).observe(document, { attributes: true, subtree: true });

// The first frame from a visit of its own, with nothing added to the page;
// the first result from another, with the clicking script.
async function visit(path, clicked) {
  const context = await browser.newContext({ serviceWorkers: 'block' });
  if (clicked) await context.addInitScript(probe);
  const page = await context.newPage();
  await page.goto(web.url + path);
  const t = await page.waitForFunction((clicked) => {
    const paint = performance.getEntriesByName('first-contentful-paint')[0];
    return paint && (!clicked || window.firstResult) && (clicked ? window.firstResult : paint.startTime);
  }, clicked, { polling: 10 }).then((h) => h.jsonValue());
  await context.close();
  return t;
}
const median = (xs) => xs.sort((a, b) => a - b)[xs.length >> 1];

// Everything the first visit fetches, the service worker's copies included
// (revalidations, which carry no body, count nothing), as the server saw it.
const got = [];
const site = await serve(dist, 0, (path, status) => got.push([path.replace(/\/$/, '/index.html'), status]));
const context = await browser.newContext();
const page = await context.newPage();
await page.goto(site.url);
await page.evaluate(() => navigator.serviceWorker.ready);
await context.close();
site.close();
let raw = 0, zipped = 0;
console.log('| file | bytes | gzip -9 |\n|---|---:|---:|');
for (const [path, status] of got.sort()) {
  const body = status === 200 ? await readFile(dist + path) : Buffer.alloc(0);
  const z = status === 200 ? gzipSync(body, { level: 9 }).length : 0;
  raw += body.length; zipped += z;
  console.log(`| ${path}${status === 200 ? '' : ' (revalidated: 304, no body)'} | ${body.length} | ${z} |`);
}
console.log(`| total, ${got.length} requests | ${raw} | ${zipped} (${(zipped / 1000).toFixed(1)} kB; goal <= 150 KB) |\n`);

const times = { floor: { frame: [], result: [] }, petcalc: { frame: [], result: [] } };
for (let i = 0; i < runs; i++) {  // alternating, so that load on the machine falls on both alike
  for (const [name, path] of [['floor', 'floor.html'], ['petcalc', '']]) {
    times[name].frame.push(await visit(path, false));
    times[name].result.push(await visit(path, true));
  }
}
const f = { frame: median(times.floor.frame), result: median(times.floor.result) };
const p = { frame: median(times.petcalc.frame), result: median(times.petcalc.result) };
console.log(`| median of ${runs} | floor page | petcalc | ratio |\n|---|---:|---:|---:|`);
console.log(`| navigation to first frame (first contentful paint) | ${f.frame.toFixed(1)} ms | ${p.frame.toFixed(1)} ms | ${(p.frame / f.frame).toFixed(2)} (goal <= 1.5) |`);
console.log(`| navigation to first "确定" result | ${f.result.toFixed(1)} ms | ${p.result.toFixed(1)} ms | ${(p.result / f.result).toFixed(2)} |`);
await web.close();
