// What scenarios cannot say: layout, accessibility tree and tab order, the
// phone's view with touch holds, offline use and a new build.
//   PETCALC_CONTROLS=build/wasm/web/controls.json node --test tests/web/checks.mjs
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../web/serve.mjs';
import { dist, newContext, openPage, start } from './browser.mjs';

const controls = JSON.parse(await readFile(process.env.PETCALC_CONTROLS, 'utf8'));
const web = await start();
after(() => web.close());
const running = (page) => page.evaluate(() => window.petcalcProbe.running());

test('every control stands where the table puts it, its caption whole, at every device pixel ratio', async () => {
  for (const scale of [1, 1.5, 2]) {
    const page = await openPage(web, { deviceScaleFactor: scale });
    const seen = await page.evaluate((names) => names.map((name) => {
      const el = document.getElementById(name);
      const at = el.type === 'checkbox' ? el.parentElement : el;  // a check box clicks as its whole label
      const [r, c] = [at.getBoundingClientRect(), document.querySelector('#Form1 .client').getBoundingClientRect()];
      return [r.x - c.x, r.y - c.y, r.width, r.height, at.scrollWidth > at.clientWidth + 1 || at.scrollHeight > at.clientHeight + 1];
    }), controls.map((c) => c.name));
    controls.forEach((c, i) => {
      if (c.name === 'Label21') return;  // never seen
      const [x, y, w, h, cut] = seen[i];
      assert.ok([x - c.left, y - c.top, w - c.width, h - c.height].every((d) => Math.abs(d) <= 1), `${c.name} at ${scale}: ${seen[i]}`);
      assert.ok(!cut, `${c.name}'s caption does not fit at ${scale}`);
    });
    await page.context().close();
  }
});

test('names and roles, tab order from Text1, the title', async () => {
  const page = await openPage(web);
  assert.match(await page.title(), /宠物属性计算器/);
  const focusable = controls.filter((c) => c.kind !== 'label').sort((a, b) => a.tab - b.tab);
  const tree = await page.locator('#Form1 .client').ariaSnapshot();
  assert.deepEqual([...tree.matchAll(/- (\w+) "([^"]*)"/g)].map((m) => `${m[1]} ${m[2]}`),
                   focusable.map((c) => `${c.kind} ${c.accessibleName}`));
  for (const c of focusable.slice(0, 3)) {  // focus starts in Text1, Tab goes on in the table's order
    assert.equal(await page.evaluate(() => document.activeElement.id), c.name);
    await page.keyboard.press('Tab');
  }
  await page.context().close();
});

test('a phone: scaled to its width, no sideways scroll, pinch zoom works; touch holds repeat and end when the touch is cancelled or the tab left', async () => {
  const page = await openPage(web, { viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth));
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, p) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: p ? [p] : [] });
  const b = await page.locator('#Command7').boundingBox();
  const plus = { x: b.x + b.width / 2, y: b.y + b.height / 2 };
  await touch('touchStart', plus);
  await page.clock.runFor(300);
  await touch('touchMove', { x: plus.x, y: plus.y + 3 });  // a finger wobbles: nothing scrolls
  await page.clock.runFor(200);
  assert.deepEqual(await running(page), [2]);
  await touch('touchEnd');
  await page.touchscreen.tap(plus.x, plus.y);
  assert.equal(await page.inputValue('#Text11'), ' 7');  // five ticks and a click, then a tap's click
  assert.equal(await page.evaluate(() => scrollY), 0);
  await touch('touchStart', plus);  // the system takes the finger away
  await touch('touchCancel');
  assert.deepEqual(await running(page), []);
  await touch('touchStart', plus);  // held while the user turns to another tab: no release comes
  assert.deepEqual(await running(page), [2]);
  await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });  // the focus as it really goes
  await (await page.context().newPage()).bringToFront();
  // The page hears of it by an event of its own, after bringToFront returns.
  await page.waitForFunction(() => window.petcalcProbe.running().length === 0, null, { polling: 10 });
  const scale = await page.evaluate(() => visualViewport.scale);
  await cdp.send('Input.synthesizePinchGesture', { x: 20, y: 700, scaleFactor: 2, relativeSpeed: 2000 });
  assert.ok(await page.evaluate((s) => visualViewport.scale > s * 1.5, scale), 'pinch zoom');
  await page.context().close();
});

test('after one visit the page works offline, and a new build replaces the old cache', async () => {
  const folder = await mkdtemp(join(tmpdir(), 'petcalc-web-'));
  await cp(dist, folder, { recursive: true });
  const site = await serve(folder);
  const page = await (await newContext(web)).newPage();
  await page.goto(site.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.context().setOffline(true);
  await page.reload();
  await page.click('#Command1');
  assert.equal(await page.inputValue('#Text17'), ' 100');
  await page.context().setOffline(false);
  const sw = join(folder, 'sw.js');
  await writeFile(sw, (await readFile(sw, 'utf8')).replace(/petcalc-\w+/, 'petcalc-newbuild'));
  await page.reload();
  await page.waitForFunction(() => caches.keys().then((k) => k.join() === 'petcalc-newbuild'), null, { polling: 50 });
  await page.context().close();
  site.close();
});
