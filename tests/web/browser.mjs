// Debian's chromium under playwright-core, and the page from web/dist on a
// local server, for the replay tool, the browser checks and the benchmark.
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { serve } from '../../web/serve.mjs';

// playwright-core as web/package.json pins it (npm ci in web/).
const { chromium } = createRequire(new URL('../../web/package.json', import.meta.url))('playwright-core');
export const dist = fileURLToPath(new URL('../../web/dist/', import.meta.url));

// Chromium and a server of web/dist, started side by side.
export async function start() {
  const [browser, server] = await Promise.all([chromium.launch({
    executablePath: process.env.PETCALC_CHROMIUM || '/usr/lib/chromium/chromium',
    headless: !process.env.PETCALC_HEADED,  // PETCALC_HEADED=1: a window on $DISPLAY
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run'],
  }), serve(dist)]);
  return { browser, url: server.url, close: () => browser.close().then(() => server.close()) };
}

// The page in a context of its own, with the clock in the test's hands: no
// timer fires until the test moves the time on. No service worker.
export async function openPage(web, options = {}) {
  const page = await (await web.browser.newContext({ serviceWorkers: 'block', ...options })).newPage();
  await page.clock.install({ time: 0 });
  await page.goto(web.url);
  await page.waitForFunction(() => window.petcalcProbe, null, { polling: 10 });
  await page.clock.pauseAt(1000);
  return page;
}
