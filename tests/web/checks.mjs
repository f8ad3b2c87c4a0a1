// What the scenarios cannot say about the page: its layout against the
// window table, its accessibility tree and tab order, the phone's view with
// touch holds, offline use and a new build, and a storm of input that must
// never leave a timer running.
//   PETCALC_CONTROLS=build/wasm/web/controls.json node --test tests/web/checks.mjs
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../web/serve.mjs';
import { dist, launch, middle, openPage, serveDist } from './browser.mjs';

const controls = JSON.parse(await readFile(process.env.PETCALC_CONTROLS, 'utf8'));
const shots = process.env.PETCALC_WEB_SHOTS;  // a folder for screenshots to look at
let browser, server;
before(async () => { browser = await launch(); server = await serveDist(); });
after(async () => { await browser.close(); server.close(); });

async function desktop(scale = 1) {
  const context = await browser.newContext({ serviceWorkers: 'block', deviceScaleFactor: scale });
  return openPage(context, server.url);
}
const running = (page) => page.evaluate(() => window.petcalcProbe.running());

test('every control stands where the table puts it, at every device pixel ratio', async () => {
  for (const scale of [1, 1.5, 2]) {
    const page = await desktop(scale);
    // A check box's place is its label's, which clicks as the whole box.
    const boxes = await page.evaluate((names) => names.map((name) => {
      const el = document.getElementById(name);
      const at = el.type === 'checkbox' ? el.parentElement : el;
      const [r, c] = [at.getBoundingClientRect(), document.querySelector('#Form1 .client').getBoundingClientRect()];
      return { name, at: [r.x - c.x, r.y - c.y, r.width, r.height], cut: at.scrollWidth > at.clientWidth + 1 || at.scrollHeight > at.clientHeight + 1 };
    }), controls.map((c) => c.name).filter((n) => n !== 'Label21'));
    for (const { name, at, cut } of boxes) {
      const c = controls.find((c) => c.name === name);
      assert.ok(at.every((v, i) => Math.abs(v - [c.left, c.top, c.width, c.height][i]) <= 1), `${name} at ${scale}: ${at}`);
      assert.ok(!cut, `${name}: its caption does not fit at ${scale}`);
    }
    if (shots) await page.screenshot({ path: join(shots, `desktop-${scale}.png`) });
    await page.context().close();
  }
});

test('names and roles, tab order from Text1, the title', async () => {
  const page = await desktop();
  assert.match(await page.title(), /宠物属性计算器/);
  const roles = { button: 'button', textbox: 'textbox', checkbox: 'checkbox' };
  const focusable = controls.filter((c) => roles[c.kind]).sort((a, b) => a.tab - b.tab);
  const tree = await page.locator('#Form1 .client').ariaSnapshot();
  const seen = [...tree.matchAll(/- (button|textbox|checkbox) "([^"]*)"/g)].map((m) => `${m[1]} ${m[2]}`);
  assert.deepEqual(seen, focusable.map((c) => `${roles[c.kind]} ${c.accessibleName}`));
  const walked = [];
  for (const _ of focusable) {
    walked.push(await page.evaluate(() => document.activeElement.id));
    await page.keyboard.press('Tab');
  }
  assert.deepEqual(walked, focusable.map((c) => c.name));
  await page.context().close();
});

test('a phone: scaled to its width, no sideways scroll, touch holds repeat, pinch zoom works', async () => {
  const context = await browser.newContext({ serviceWorkers: 'block', viewport: { width: 360, height: 740 },
                                             deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  const page = await openPage(context, server.url);
  const fits = await page.evaluate(() => [document.documentElement.scrollWidth <= innerWidth,
                                          document.getElementById('Form1').getBoundingClientRect().right <= innerWidth]);
  assert.deepEqual(fits, [true, true]);
  const cdp = await context.newCDPSession(page);
  const scale = await page.evaluate(() => visualViewport.scale);
  const touch = (type, p) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: p ? [p] : [] });
  const plus = await middle(page, '#Command7');
  await touch('touchStart', plus);
  await page.clock.runFor(300);
  await touch('touchMove', { x: plus.x, y: plus.y + 3 });  // a finger wobbles: nothing scrolls
  await page.clock.runFor(200);
  assert.deepEqual(await running(page), [2]);
  await touch('touchEnd');
  assert.equal(await page.inputValue('#Text11'), ' 6');  // five ticks and the tap's click
  assert.deepEqual(await running(page), []);
  assert.equal(await page.evaluate(() => scrollY), 0);
  await page.touchscreen.tap(plus.x, plus.y);
  assert.equal(await page.inputValue('#Text11'), ' 7');
  await touch('touchStart', plus);  // the system takes the finger away
  await touch('touchCancel');
  assert.deepEqual(await running(page), []);
  if (shots) await page.screenshot({ path: join(shots, 'phone.png') });
  await cdp.send('Input.synthesizePinchGesture', { x: 20, y: 700, scaleFactor: 2, relativeSpeed: 2000 });
  assert.ok(await page.evaluate((s) => visualViewport.scale > s * 1.5, scale), 'pinch zoom');
  await context.close();
});

test('after one visit the page works offline, and a new build replaces the old cache', async () => {
  const folder = await mkdtemp(join(tmpdir(), 'petcalc-web-'));
  await cp(dist, folder, { recursive: true });
  const site = await serve(folder);
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(site.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const first = await page.evaluate(() => caches.keys());
  await context.setOffline(true);
  await page.reload();
  await page.click('#Command1');
  assert.equal(await page.inputValue('#Text17'), ' 100');
  await context.setOffline(false);
  const sw = join(folder, 'sw.js');
  await writeFile(sw, (await readFile(sw, 'utf8')).replace(/petcalc-\w+/, 'petcalc-newbuild'));
  await page.reload();
  await page.waitForFunction(() => caches.keys().then((k) => k.join() === 'petcalc-newbuild'), null, { polling: 50 });
  assert.equal(first.length, 1);
  await context.close();
  site.close();
});

test('a storm of pointer and key input never leaves a timer running, nor does a hold left for another tab', async () => {
  const page = await desktop();
  const client = await page.locator('#Form1 .client').boundingBox();
  let seed = 11;
  const random = (n) => (seed = (seed * 16807) % 2147483647) % n;
  const buttons = ['left', 'right', 'middle'];
  const spots = controls.filter((c) => c.kind === 'button');
  const held = new Set();
  for (let i = 0; i < 600; i++) {
    const r = random(10);
    if (r < 3) {  // near a button, on it or off it
      const c = spots[random(spots.length)];
      await page.mouse.move(client.x + c.left + random(c.width + 40) - 20, client.y + c.top + random(c.height + 40) - 20);
    }
    else if (r < 5) {
      const b = buttons[random(3)];
      if (held.has(b)) held.delete(b), await page.mouse.up({ button: b });
      else held.add(b), await page.mouse.down({ button: b });
    } else if (r < 6) await page.keyboard.press(['Space', 'Enter', 'Tab', 'Shift+Tab'][random(4)]);
    else await page.clock.runFor(50 + random(100));
    if (!held.size) assert.deepEqual(await running(page), [], `step ${i}`);
  }
  for (const b of held) await page.mouse.up({ button: b });
  assert.deepEqual(await running(page), []);
  // A hold while the user turns to another tab: no release will come.
  const up = await middle(page, '#Command27');
  await page.mouse.move(up.x, up.y);
  await page.mouse.down();
  assert.deepEqual(await running(page), [21]);
  const cdp = await page.context().newCDPSession(page);  // the window's focus as it really goes
  await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });
  await (await page.context().newPage()).bringToFront();
  assert.deepEqual(await running(page), []);
  await page.context().close();
});
