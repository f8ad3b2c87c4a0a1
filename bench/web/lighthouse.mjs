// Lighthouse's phone run (its default: a mid-range phone on a throttled
// network and CPU) of the page and of the floor page, in one Debian
// chromium from one local server: the four category scores of each.
// Accessibility, best practices and SEO are wanted at 1 for the page.
//   node bench/web/lighthouse.mjs        (make bench-web, after npm ci in bench/web)
import { copyFile } from 'node:fs/promises';
import lighthouse from 'lighthouse';
import { launch } from 'chrome-launcher';
import { serve } from '../../web/serve.mjs';
import { dist } from '../../tests/web/browser.mjs';

await copyFile(new URL('floor.html', import.meta.url), dist + 'floor.html');
const server = await serve(dist);
const chrome = await launch({
  chromePath: process.env.PETCALC_CHROMIUM || '/usr/lib/chromium/chromium',
  chromeFlags: ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run'],
});
const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
console.log(`| Lighthouse ${(await import('lighthouse/package.json', { with: { type: 'json' } })).default.version}, phone | ${categories.join(' | ')} |`);
console.log(`|---|${categories.map(() => '---:').join('|')}|`);
let short = false;
for (const [name, path] of [['floor page', 'floor.html'], ['petcalc', '']]) {
  const { lhr } = await lighthouse(server.url + path, { port: chrome.port, onlyCategories: categories, logLevel: 'error' });
  console.log(`| ${name} | ${categories.map((c) => lhr.categories[c].score).join(' | ')} |`);
  if (name === 'petcalc') {
    for (const c of categories.slice(1)) {
      if (lhr.categories[c].score === 1) continue;
      short = true;
      const failed = lhr.categories[c].auditRefs.filter((a) => a.weight > 0 && lhr.audits[a.id].score !== 1);
      console.log(`  ${c} below 1: ${failed.map((a) => a.id).join(', ')}`);
    }
  }
}
chrome.kill();
server.close();
if (short) process.exitCode = 1;
