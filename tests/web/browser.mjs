// Debian's chromium under playwright-core, and the page from web/dist on a
// local server, for the replay tool, the browser checks and the benchmark.
import { createRequire } from 'node:module';
import { fileURLToPath } from 'node:url';
import { serve } from '../../web/serve.mjs';

// playwright-core as web/package.json pins it (npm ci in web/).
const { chromium } = createRequire(new URL('../../web/package.json', import.meta.url))('playwright-core');
export const dist = fileURLToPath(new URL('../../web/dist/', import.meta.url));

export function launch() {
  return chromium.launch({
    executablePath: process.env.PETCALC_CHROMIUM || '/usr/lib/chromium/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run'],
  });
}

export const serveDist = () => serve(dist);

// A page with the clock in the test's hands: no timer fires until the
// test advances the time.
export async function openPage(context, url) {
  const page = await context.newPage();
  await page.clock.install({ time: 0 });
  await page.goto(url);
  await page.waitForFunction(() => window.petcalcProbe, null, { polling: 10 });
  await page.clock.pauseAt(1000);
  return page;
}

// The middle of an element, in the page's coordinates.
export async function middle(page, selector) {
  const b = await page.locator(selector).boundingBox();
  return { x: b.x + b.width / 2, y: b.y + b.height / 2 };
}
