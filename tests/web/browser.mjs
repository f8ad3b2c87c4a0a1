// Debian's chromium under playwright-core, and the page from a copy of
// web/dist on a local server, for the replay tool, the browser checks and
// the benchmark.
import { execFile } from 'node:child_process';
import { rmSync } from 'node:fs';
import { mkdtemp } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { serve } from '../../web/serve.mjs';

// playwright-core as web/package.json pins it (npm ci in web/); loaded on
// the first start, so that a missing install is the start's error.
const chromium = () => createRequire(new URL('../../web/package.json', import.meta.url))('playwright-core').chromium;
export const dist = fileURLToPath(new URL('../../web/dist/', import.meta.url));

// web/dist as it is now, in a new folder of the caller's, removed when the
// process ends: a build beside may lay it out anew while a page is served.
// The copy holds web/dist.lock shared, the layout holds it alone
// (web/CMakeLists.txt): the copy is of a whole folder, the old one or the
// new.
export async function copyOfDist() {
  const folder = await mkdtemp(join(tmpdir(), 'petcalc-web-'));
  process.once('exit', () => rmSync(folder, { recursive: true, force: true }));
  await promisify(execFile)('flock', ['--shared', dist.replace(/\/$/, '.lock'), 'cp', '-R', `${dist}.`, folder])
    .catch((e) => { throw new Error(`cannot copy web/dist: ${e.stderr?.trim() || e.message}`); });
  return folder;
}

// Ready, in the page: the module has started, and the font the captions were
// measured in has loaded (the load event waits for neither). It waits on
// events, never on a timer, so a stopped page clock does not hold it up.
export const ready = () => document.fonts.ready.then(() => window.petcalcProbe || new Promise((done) =>
  new MutationObserver((_, seen) => { if (window.petcalcProbe) { seen.disconnect(); done(); } })
    .observe(document.documentElement, { attributes: true }))).then(() => true);

// Chromium alone (the planner's benchmark, which needs no page); Chromium
// and a server of a copy of web/dist, started side by side. No
// deadline for the start: on a busy machine it takes what it takes, and
// only a hang reaches the test's own outer limit.
const launch = {
  executablePath: process.env.PETCALC_CHROMIUM || '/usr/lib/chromium/chromium',
  headless: !process.env.PETCALC_HEADED,  // PETCALC_HEADED=1: a window on $DISPLAY
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--no-first-run'],
  timeout: 0,
};
export const launchChromium = () => chromium().launch(launch);
export async function start() {
  const folder = await copyOfDist();
  const [browser, server] = await Promise.all([launchChromium(), serve(folder)]);
  return { browser, url: server.url, close: () => browser.close().then(() => server.close()) };
}

// Chromium on a profile of the caller's (a folder kept across starts), its
// one page at url; no service worker, and the page's own clock.
export async function startKept(profile, url, options = {}) {
  const context = await chromium().launchPersistentContext(profile, { ...launch, serviceWorkers: 'block', ...options });
  context.setDefaultTimeout(0);
  const page = context.pages()[0] || await context.newPage();
  await page.goto(url);
  await page.evaluate(ready);
  return page;
}

// A context whose every action and navigation waits as long as it takes:
// each waits on its own condition (an element there, the load event), never
// on a time that a slow machine could overrun.
export async function newContext(web, options = {}) {
  const context = await web.browser.newContext(options);
  context.setDefaultTimeout(0);
  return context;
}

// The page in a context of its own, with the clock in the test's hands: no
// timer fires until the test moves the time on. No service worker.
export async function openPage(web, options = {}) {
  const page = await (await newContext(web, { serviceWorkers: 'block', ...options })).newPage();
  // The clock stops before the page loads: every document of this context
  // starts stopped. pauseAt may only move forward, and the blank document
  // it is first applied to has been running since the install: a day ahead
  // is ahead of it however slow the machine (pausing at a second, the load
  // alone could pass it).
  await page.clock.install({ time: 0 });
  await page.clock.pauseAt(24 * 3600 * 1000);
  await page.goto(web.url);
  await page.evaluate(ready);
  return page;
}
