// What scenarios and engine-checks.mjs cannot say, in Chromium: two tabs, the desktop
// layout at other pixel ratios, tab order, a fault on a phone, a cancelled
// touch, pinch zoom, offline use and a new build.
//   PETCALC_CONTROLS=build/wasm/web/controls.json node --test tests/web/checks.mjs
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFile, writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { serve } from '../../web/serve.mjs';
import { copyOfDist, newContext, openPage, ready, start } from './browser.mjs';
import { controls, faults, misplaced, phones, placed } from './audit.mjs';

const web = await start();
after(() => web.close());
const running = (page) => page.evaluate(() => window.petcalcProbe.running());
const stopped = (page) => page.waitForFunction(() => window.petcalcProbe.running().length === 0, null, { polling: 10 });
const centre = (page, id) => page.locator(id).boundingBox().then((b) => ({ x: b.x + b.width / 2, y: b.y + b.height / 2 }));
const tap = (page, id) => centre(page, id).then((c) => page.touchscreen.tap(c.x, c.y));
const open = (width, height, colorScheme = 'light') => openPage(web, { viewport: { width, height }, colorScheme,
  ...(width < 600 && { deviceScaleFactor: 3, isMobile: true, hasTouch: true }) });

test('every control stands where the table puts it, its caption whole, at every device pixel ratio', async () => {
  for (const scale of [1, 1.5, 2]) {
    const page = await openPage(web, { deviceScaleFactor: scale });
    assert.deepEqual(misplaced(await page.evaluate(placed, controls.map((c) => c.name))), [], `at ${scale}`);
    assert.deepEqual(await page.evaluate(faults, false), []);
    await page.context().close();
  }
});

// Tab from the start: the focused control's id, whether it stands below or
// right of the one before, and whether it shows (nothing covers its centre).
async function tabWalk(page, steps) {
  const seen = [];
  for (let i = 0; i < steps; i++) {
    await page.keyboard.press('Tab');
    seen.push(await page.evaluate((before) => {
      const el = document.activeElement, r = el.getBoundingClientRect(), p = before && document.getElementById(before).getBoundingClientRect();
      return { id: el.id, after: !p || r.top > p.top + 1 || (Math.abs(r.top - p.top) <= 1 && r.left > p.left),
               shown: el.contains(document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2)) };
    }, seen.at(-1)?.id));
  }
  return seen;
}

test('tab order: the table\'s on the desktop, top to bottom on a phone, never under the bottom bar', async () => {
  const focusable = controls.filter((c) => c.kind !== 'label').sort((a, b) => a.tab - b.tab);
  const desktop = await openPage(web);
  assert.equal(await desktop.evaluate(() => document.activeElement.id), 'Text1');
  assert.deepEqual((await tabWalk(desktop, focusable.length - 1)).map((f) => f.id), focusable.slice(1).map((c) => c.name));
  const phone = await open(320, 568);
  const walk = await tabWalk(phone, focusable.length);
  assert.deepEqual(walk.map((f) => f.id).sort(), focusable.map((c) => c.name).sort());
  walk.forEach((f, i) => assert.ok(f.shown && f.after, `${f.id} after ${walk[i - 1]?.id}`));
  await Promise.all([desktop.context().close(), phone.context().close()]);
});

test('a phone: a fault shows on screen away from the finger', async () => {
  const page = await open(390, 844);
  await page.fill('#Text1', '1E39');
  for (const [button, edge] of [['#Command1', 'top'], ['#Command2', 'bottom']]) {
    await tap(page, button);
    const [panel, under] = [await page.locator('#fault').boundingBox(), await page.locator(button).boundingBox()];
    assert.ok(panel.y >= 0 && panel.y + panel.height <= 844, `${button}: ${JSON.stringify(panel)}`);
    assert.ok(panel.y > under.y + under.height || panel.y + panel.height < under.y, `${button}: the message covers the finger`);
    assert.equal(await page.getAttribute('#fault', 'data-edge'), edge);
    await tap(page, '#fault-ok');
  }
  await page.context().close();
});

// In the page: where the summary stands against the screen, the bar and a
// control, and whether that control shows (nothing covers its centre).
function inSight(id) {
  const box = (el) => el.getBoundingClientRect();
  const meets = (a, b) => a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  const [s, bar, c] = [box(document.getElementById('summary')), box(document.getElementById('bar')), box(document.getElementById(id))];
  const shown = document.getElementById(id).contains(document.elementFromPoint(c.x + c.width / 2, c.y + c.height / 2));
  return { onScreen: s.top >= 0 && s.bottom <= innerHeight, overBar: meets(s, bar), overControl: meets(s, c), shown };
}

test('a phone: the summary stays in sight over no control while the player steps, changes the level and scrolls; the planner is a sheet', async () => {
  for (const [width, height] of phones) {
    const page = await open(width, height);
    await page.fill('#Text18', '100');
    await tap(page, '#Command1');
    // Each row the player works in, brought into view as scrolling brings it, then touched.
    for (const id of ['Text18', 'Command2', 'Command27', 'Text11', 'Command8', 'Text12', 'Text13', 'Text14', 'Text15', 'Command24', 'Text17', 'Text16']) {
      await page.evaluate((i) => document.getElementById(i).scrollIntoView({ block: 'end' }), id);
      if (id.startsWith('Command')) await tap(page, '#' + id); else await page.focus('#' + id);
      assert.deepEqual(await page.evaluate(inSight, id), { onScreen: true, overBar: false, overControl: false, shown: true }, `${width}: ${id}`);
    }
    assert.notEqual(await page.textContent('#chg17'), '', 'the last step shows its change');
    await tap(page, '#planner-open');
    const [sheet, summary, apply] = await Promise.all(['#planner', '#summary', '#apply'].map((id) => page.locator(id).boundingBox()));
    assert.ok(sheet.y >= summary.y + summary.height && sheet.y + sheet.height <= height + 0.5, `${width}: the sheet under the summary, on screen`);
    assert.ok(apply.y > height / 2, `${width}: 应用 within the thumb's reach`);
    assert.deepEqual(await page.evaluate(faults, true), [], `${width}, planner`);
    await page.context().close();
  }
});

// The hold and the lift are engine-checks.mjs's, in every engine that sends
// touch; what only Chromium's driver can do is here.
test('a phone: a cancelled touch or a hidden page stops every timer, pinch zoom works', async () => {
  const page = await open(390, 844);
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, p) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: p ? [p] : [] });
  const plus5 = await centre(page, '#Command8');
  await touch('touchStart', plus5);  // the system takes the finger away (pointercancel)
  // The driver may answer before the page has heard the cancel (it cannot
  // be cancelled, so nothing waits for the page): wait until it has.
  await touch('touchCancel');
  await stopped(page);
  await page.clock.runFor(1000);
  assert.equal(await page.inputValue('#Text11'), ' 0');  // the press's own write: no repeat, no click
  await touch('touchStart', plus5);  // held while the user turns to another tab: no release comes
  assert.deepEqual(await running(page), [4]);
  await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: false });  // the focus as it really goes
  await (await page.context().newPage()).bringToFront();
  await stopped(page);  // the page hears of it by an event of its own, after bringToFront returns
  const scale = await page.evaluate(() => visualViewport.scale);
  await cdp.send('Input.synthesizePinchGesture', { x: 20, y: 700, scaleFactor: 2, relativeSpeed: 2000 });
  assert.ok(await page.evaluate((s) => visualViewport.scale > s * 1.5, scale), 'pinch zoom');
  await page.context().close();
});

test('after one visit the page works offline, and a new build replaces the old cache', async () => {
  const folder = await copyOfDist();
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

test('two tabs on the same pets follow each other\'s saves before they act: neither overwrites the other', async () => {
  const a = await openPage(web), b = await a.context().newPage();
  await b.goto(web.url);
  await b.evaluate(ready);
  await a.click('#pet-new');
  await a.fill('#Text18', '5');
  await b.click('#pet-list tr:first-child button');  // the press follows A first: the tap lands on the first pet
  assert.deepEqual(await b.locator('#pet-list button').allTextContents(), ['宠物 1', '宠物 2']);
  await b.fill('#Text18', '9');
  await a.waitForFunction(() => document.getElementById('Text18').value === '9', null, { polling: 10 });
  await a.click('#pet-list tr:nth-child(2) button');
  assert.equal(await a.inputValue('#Text18'), '5');
  await a.context().close();
});

