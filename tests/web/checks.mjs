// What the scenarios cannot say about the page: its layout against the
// window table, its accessibility tree and tab order, the phone's view with
// touch holds, offline use and a new build, and a storm of input that must
// never leave a timer running. PETCALC_WEB_SHOTS=folder keeps screenshots.
//   PETCALC_CONTROLS=build/wasm/web/controls.json node --test tests/web/checks.mjs
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../web/serve.mjs';
import { dist, middle, openPage, start } from './browser.mjs';

const controls = JSON.parse(await readFile(process.env.PETCALC_CONTROLS, 'utf8'));
const shot = (page, name) => process.env.PETCALC_WEB_SHOTS && page.screenshot({ path: join(process.env.PETCALC_WEB_SHOTS, name) });
let web;
before(async () => { web = await start(); });
after(() => web.close());
const open = (options) => openPage(web, options);
const running = (page) => page.evaluate(() => window.petcalcProbe.running());

test('every control stands where the table puts it, its caption whole, at every device pixel ratio', async () => {
  for (const scale of [1, 1.5, 2]) {
    const page = await open({ deviceScaleFactor: scale });
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
    await shot(page, `desktop-${scale}.png`);
    await page.context().close();
  }
});

test('names and roles, tab order from Text1, the title', async () => {
  const page = await open();
  assert.match(await page.title(), /宠物属性计算器/);
  const focusable = controls.filter((c) => c.kind !== 'label').sort((a, b) => a.tab - b.tab);
  const tree = await page.locator('#Form1 .client').ariaSnapshot();
  assert.deepEqual([...tree.matchAll(/- (\w+) "([^"]*)"/g)].map((m) => `${m[1]} ${m[2]}`),
                   focusable.map((c) => `${c.kind} ${c.accessibleName}`));
  for (const c of focusable) {
    assert.equal(await page.evaluate(() => document.activeElement.id), c.name);
    await page.keyboard.press('Tab');
  }
  await page.context().close();
});

test('a phone: scaled to its width, no sideways scroll, touch holds repeat, pinch zoom works', async () => {
  const page = await open({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth));
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, p) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: p ? [p] : [] });
  const plus = await middle(page, '#Command7');
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
  await shot(page, 'phone.png');
  const scale = await page.evaluate(() => visualViewport.scale);
  await cdp.send('Input.synthesizePinchGesture', { x: 20, y: 700, scaleFactor: 2, relativeSpeed: 2000 });
  assert.ok(await page.evaluate((s) => visualViewport.scale > s * 1.5, scale), 'pinch zoom');
  await page.context().close();
});

test('after one visit the page works offline, and a new build replaces the old cache', async () => {
  const folder = await mkdtemp(join(tmpdir(), 'petcalc-web-'));
  await cp(dist, folder, { recursive: true });
  const site = await serve(folder);
  const context = await web.browser.newContext();
  const page = await context.newPage();
  await page.goto(site.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  await page.click('#Command1');
  assert.equal(await page.inputValue('#Text17'), ' 100');
  await context.setOffline(false);
  const sw = join(folder, 'sw.js');
  await writeFile(sw, (await readFile(sw, 'utf8')).replace(/petcalc-\w+/, 'petcalc-newbuild'));
  await page.reload();
  await page.waitForFunction(() => caches.keys().then((k) => k.join() === 'petcalc-newbuild'), null, { polling: 50 });
  await context.close();
  site.close();
});

test('a storm of pointer and key input never leaves a timer running, nor does a hold left for another tab', async () => {
  let page = await open();
  const client = await page.locator('#Form1 .client').boundingBox();
  let seed = 11;
  const random = (n) => (seed = (seed * 16807) % 2147483647) % n;
  const spots = controls.filter((c) => c.kind === 'button');
  const held = new Set();
  for (let i = 0; i < 600; i++) {
    const r = random(10), c = spots[random(spots.length)], b = ['left', 'right', 'middle'][random(3)];
    if (r < 3) await page.mouse.move(client.x + c.left + random(c.width + 40) - 20, client.y + c.top + random(c.height + 40) - 20);
    else if (r < 5) await (held.delete(b) ? page.mouse.up({ button: b }) : (held.add(b), page.mouse.down({ button: b })));
    else if (r < 6) await page.keyboard.press(['Space', 'Enter', 'Tab', 'Shift+Tab'][random(4)]);
    else await page.clock.runFor(50 + random(100));
    if (!held.size) assert.deepEqual(await running(page), [], `step ${i}`);
  }
  for (const b of held) await page.mouse.up({ button: b });
  assert.deepEqual(await running(page), []);
  await page.context().close();
  page = await open();  // a hold while the user turns to another tab
  await page.hover('#Command27');
  await page.mouse.down();
  assert.deepEqual(await running(page), [21]);
  const cdp = await page.context().newCDPSession(page);  // the window's focus as it really goes
  await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
  await (await page.context().newPage()).bringToFront();
  assert.deepEqual(await running(page), []);
  await page.context().close();
});
