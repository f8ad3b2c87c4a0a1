// The checks of audit.mjs in one engine (engines.mjs): the phone layout
// (Chromium emulates a phone; Firefox and WebKit get a narrow window) and
// the desktop, light and dark; and a touch hold where the driver sends touch.
// PETCALC_SHOTS=DIR keeps a screenshot of each size and scheme there.
//   PETCALC_CONTROLS=build/wasm/web/controls.json node tests/web/engine-checks.mjs chromium|firefox
//   ... scripts/xvfb.sh node tests/web/engine-checks.mjs webkit
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { audit, axe, controls, desktop, faults, misplaced, phones, placed } from './audit.mjs';
import { engines, ready } from './engines.mjs';

const name = process.argv[2];
const open = (options) => engines[name](options).then((engine) => (after(() => engine.close()), engine));
const opened = (options) => open(options).then((engine) => engine.evaluate(ready).then(() => engine));

// What the page keeps, as a user finds it: typed in, clicked, read back.
const typeIn = async (engine, id, text) => {
  await engine.evaluate((i) => { const el = document.getElementById(i); el.focus(); el.select(); }, id);
  await engine.type(text);
};
const clickOn = (engine, id) => engine.move(`#${id}`).then(() => engine.down('left')).then(() => engine.up('left'));
const value = (engine, id) => engine.evaluate((i) => document.getElementById(i).value, id);
const notice = (engine) => engine.evaluate(() => [document.getElementById('notice').hidden ? '' : document.getElementById('notice').dataset.kind,
  document.getElementById('notice-text').textContent]);

for (const dark of [false, true]) {
  const scheme = dark ? 'dark' : 'light';
  test(`${name} ${scheme}: phones and the desktop: targets, text, no sideways scroll, values whole, the table's positions, no axe violation`, async () => {
    const engine = await open({ dark });
    const seen = new Set();  // WebKitGTK gives every phone the same narrowest window
    for (const [width, height] of [...phones, desktop]) {
      await engine.reload();
      await engine.evaluate(ready);
      await engine.size(width, height);
      const [w, h, isDark] = await engine.evaluate(() => [innerWidth, innerHeight, matchMedia('(prefers-color-scheme: dark)').matches]);
      const at = `${w}x${h} ${scheme}`, phone = w < 600;
      if (seen.has(w)) continue;
      seen.add(w);
      assert.ok(phone === width < 600 && isDark === dark, at);
      if (!phone) assert.deepEqual(misplaced(await engine.evaluate(placed, controls.map((c) => c.name))), [], at);
      if (!phone) assert.ok(await engine.evaluate(() => document.getElementById('side').getBoundingClientRect().left
        >= document.getElementById('Form1').getBoundingClientRect().right), `${at}: the planner outside Form1's frame`);
      assert.deepEqual(await engine.evaluate(faults, phone), [], at);
      await engine.resume();  // axe waits on timers of its own
      await engine.evaluate(axe);
      assert.deepEqual(await engine.evaluate(audit, !phone), [], at);
      if (process.env.PETCALC_SHOTS) {  // the widest value in every panel box, the panel in view
        await engine.evaluate(() => ['Text6', 'Text7', 'Text8', 'Text9', 'Text10', 'Text16']
          .map((id) => Object.assign(document.getElementById(id), { value: ' 4593.039' })).at(-1).scrollIntoView({ block: 'center' }));
        await writeFile(join(process.env.PETCALC_SHOTS, `${name}-${w}x${h}-${scheme}.png`), await engine.shot());
      }
      if (phone) {  // "我的宠物" as a sheet, with two pets, one compared
        for (const id of ['pets-open', 'pet-new', 'pet-compare']) await clickOn(engine, id);
        await clickOn(engine, 'pet-list tr:first-child button');
        // The shown pet given a panel, then the table sorted by 气血: its row
        // first, still marked, the empty one last; by name the other way.
        // Once: the pets and the sort are kept for the next sizes.
        if (seen.size === 1) {
          for (const [id, text] of [['Text18', '100'], ['Text3', '4500'], ['Text19', '1.2']]) await typeIn(engine, id, text);
          const rows = () => engine.evaluate(() => [...document.querySelectorAll('#pet-list tr')]
            .map((r) => [r.cells[0].textContent, r.querySelector('[aria-current]') !== null, r.cells[2].textContent !== '']));
          await clickOn(engine, 'pets th:nth-child(3) button');
          assert.deepEqual(await rows(), [['宠物 2', true, true], ['宠物 1（对比）', false, false]], `${at}, sorted`);
          await clickOn(engine, 'pets th:nth-child(1) button');
          await clickOn(engine, 'pets th:nth-child(1) button');
          assert.deepEqual(await rows(), [['宠物 2', true, true], ['宠物 1（对比）', false, false]], `${at}, names the other way`);
        }
        assert.deepEqual(await engine.evaluate(faults, phone), [], `${at}, pets`);
        assert.deepEqual(await engine.evaluate(audit, false), [], `${at}, pets`);
        if (process.env.PETCALC_SHOTS) await writeFile(join(process.env.PETCALC_SHOTS, `${name}-${w}x${h}-${scheme}-pets.png`), await engine.shot());
        await clickOn(engine, 'pets > .close');
        // the planner, then the growth table, as sheets
        await engine.move('#planner-open').then(() => engine.down('left')).then(() => engine.up('left'));
        assert.deepEqual(await engine.evaluate(faults, true), [], `${at}, planner`);
        assert.deepEqual(await engine.evaluate(audit, false), [], `${at}, planner`);
        await engine.move('#planner-close').then(() => engine.down('left')).then(() => engine.up('left'));
        await engine.move('#Command25').then(() => engine.down('left')).then(() => engine.up('left'));
        assert.deepEqual(await engine.evaluate(audit, false), [], `${at}, growth table`);
      }
    }
  });
}

// On a phone, as a player types a pet: one tap on 等级, then keypad keys
// alone. A keypad is a visual viewport that ends above it.
const walk = [['Text18', '100'], ['Text19', '1.2'], ['Text1', '1500'], ['Text2', '1400'], ['Text3', '4500'], ['Text4', '2500'],
  ['Text5', '1300'], ['Text11', '120'], ['Text12', '120'], ['Text13', '620'], ['Text14', '120'], ['Text15', '120'],
  ['Text20', '100'], ['Text21', '50'], ['Text22', '20'], ['Text23', '30']];
const keypad = (height) => { const v = visualViewport, h = v.height;
  Object.defineProperty(v, 'height', { configurable: true, get: () => h - height }); v.dispatchEvent(new Event('resize')); };
// The focused box: its name, whether its whole text is selected, whether it
// shows between the rows' top (under the summary) and the keypad, clear of
// the minus key, which shows only for a box that takes a minus. Waited on
// until it shows there (a browser may scroll it first by its own reckoning,
// which knows no keypad; the page then scrolls it back).
const focused = () => new Promise((done) => {
  const rows = document.querySelector('#Form1 .rows'), look = () => {
    const el = document.activeElement, r = el.getBoundingClientRect(), minus = document.getElementById('minus');
    const low = Math.min(visualViewport.offsetTop + visualViewport.height, minus.hidden ? Infinity : minus.getBoundingClientRect().top);
    return { id: el.id, selected: el.selectionStart === 0 && el.selectionEnd === el.value.length,
             inView: r.top >= rows.getBoundingClientRect().top && r.bottom <= low
               && document.getElementById('summary').getBoundingClientRect().top >= 0,
             minus: !minus.hidden };
  };
  const now = look();
  if (now.inView) return done(now);
  rows.addEventListener('scroll', function seen() { if (look().inView) rows.removeEventListener('scroll', seen), done(look()); });
});
test(`${name}: a phone enters a pet with one tap and the keypad: its boxes ask for it, Enter walks them in sight, the minus key, a pasted link`, async () => {
  const engine = await opened();
  const seen = new Set();
  for (const [width, height] of phones) {
    await engine.size(width, height);
    const w = await engine.evaluate(() => innerWidth), at = `${w}x${height}`;
    if (seen.has(w)) continue;
    seen.add(w);
    await engine.evaluate(() => window.petcalcProbe.journaled().then(() => new Promise((done) => {  // a new player's page
      localStorage.clear();
      Object.assign(indexedDB.deleteDatabase('petcalc'), { onsuccess: done, onerror: done });
    })));
    await engine.reload();
    await engine.evaluate(ready);
    assert.deepEqual(await engine.evaluate(() => [...document.querySelectorAll('input[inputmode="decimal"]')]
      .map((el) => `${el.id} ${el.getAttribute('enterkeyhint')}`)), [...walk.slice(0, 12), ['Text6'], ...walk.slice(12)]
      .map(([id]) => `${id} ${id === 'Text23' ? 'done' : id === 'Text6' ? 'go' : 'next'}`)
      .concat(['hp', 'SH', 'fy', 'sd', 'lli'].map((k) => `min-${k} done`)), at);
    await engine.evaluate(keypad, Math.round(height * 0.45));
    await clickOn(engine, 'Text18');
    for (const [i, [id, text]] of walk.entries()) {
      assert.deepEqual(await engine.evaluate(focused), { id, selected: true, inView: true, minus: /Text(1[1-5]|2\d)/.test(id) }, `${at} ${id}`);
      await engine.type(text);
      await engine.key('Enter');
      if (i + 1 === walk.length) assert.equal(await engine.evaluate(() => document.activeElement.matches('input')), false, at);
    }
    assert.deepEqual(await engine.evaluate(() => ['Text17', 'Text6', 'Text8', 'Text10'].map((id) => document.getElementById(id).value)),
      [' 0', ' 4368.039', ' 1429.5', ' 280.26'], at);
    await clickOn(engine, 'Text18');
    await engine.key('Enter');
    assert.deepEqual(await engine.evaluate(focused), { id: 'Text19', selected: true, inView: true, minus: false }, `${at}, again`);
    // "-" in one tap over the selection; the focus stays.
    await engine.evaluate(() => document.getElementById('Text14').focus());
    await engine.key('SelectAll');
    await clickOn(engine, 'minus');
    await engine.type('5');
    assert.deepEqual([await engine.evaluate(() => document.activeElement.id), await value(engine, 'Text14')], ['Text14', '-5'], at);
    await clickOn(engine, 'Command1');
    assert.equal(await value(engine, 'Text17'), ' 125', at);
    await engine.evaluate(() => { delete visualViewport.height; visualViewport.dispatchEvent(new Event('resize')); });
  }
  // A shared link pasted into the pets sheet opens its pet; a bad one changes nothing.
  await engine.evaluate(() => document.getElementById('share').click());
  const link = await value(engine, 'notice-link');
  await engine.evaluate(() => document.getElementById('notice-ok').click());
  await typeIn(engine, 'Text18', '7');
  await clickOn(engine, 'pets-open');
  for (const text of [`看看 ${link}`, 'abc']) {
    await engine.evaluate(() => document.getElementById('pet-paste').focus());
    await engine.commit(text);
    await engine.key('Enter');
  }
  assert.deepEqual([await value(engine, 'Text18'), await value(engine, 'Text14'), (await notice(engine))[0],
    await engine.evaluate(() => document.querySelectorAll('#pet-list button').length)], ['100', '-5', 'bad link', 2]);
});

test(`${name}: a touch hold on +5 repeats, lifting the finger stops every timer`, async (t) => {
  const engine = await open();
  if (!engine.touch) return t.skip('its WebDriver sends no touch input');
  await engine.evaluate(ready);
  await engine.size(390, 844);
  const running = () => engine.evaluate(() => window.petcalcProbe.running());
  const [x, y] = await engine.evaluate(() => { const r = document.getElementById('Command8').getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });
  const finger = await engine.touch(x, y);
  for (let i = 0; i < 5; i++) await engine.tick();
  await finger.move(x, y + 3);  // a finger wobbles: nothing scrolls
  for (let i = 0; i < 5; i++) await engine.tick();
  assert.deepEqual(await running(), [4]);
  await finger.end();
  assert.deepEqual(await running(), []);
  assert.equal(await engine.evaluate(() => document.getElementById('Text11').value), ' 55');  // ten ticks, then the lift's click
});

test(`${name}: two pets typed in are there after the browser is killed without warning and started again on its profile`, async (t) => {
  if (name === 'webkit') return t.skip('MiniBrowser keeps no site data of a WebDriver session (engines.mjs)');
  const profile = await mkdtemp(join(tmpdir(), `petcalc-${name}-`));
  after(() => rm(profile, { recursive: true, force: true }));
  const first = await opened({ profile });
  await typeIn(first, 'Text18', '100');
  await clickOn(first, 'Command1');
  await clickOn(first, 'pet-new');  // a second pet, shown
  await typeIn(first, 'Text18', '7');
  const kept = await first.evaluate(() => [localStorage.getItem('petcalc-pet'), localStorage.getItem('petcalc-pet1')]);
  // The kill comes as soon as the page has saved by its own reckoning.
  await first.evaluate(() => window.petcalcProbe.journaled());
  await first.kill();
  const again = await opened({ profile, url: first.url });
  assert.deepEqual(await again.evaluate(() => [localStorage.getItem('petcalc-pet'), localStorage.getItem('petcalc-pet1')]), kept);
  assert.deepEqual([await value(again, 'Text18'), await again.evaluate(() => document.querySelectorAll('#pet-list button').length)], ['7', 2]);
  await clickOn(again, 'pet-list tr:first-child button');
  assert.deepEqual([await value(again, 'Text18'), await value(again, 'Text17')], ['100', ' 1100']);
});

test(`${name}: an unreadable record is set aside, a full store keeps its last good save, blocked storage keeps nothing and stops nothing, a file too large changes nothing`, async () => {
  const engine = await opened();
  await engine.evaluate(() => localStorage.setItem('petcalc-pet', '1damaged'));
  await engine.reload();
  await engine.evaluate(ready);
  const [kind, aside] = await notice(engine);
  assert.ok(kind === 'storage' && aside, 'a message says the record is set aside');
  await typeIn(engine, 'Text18', '100');
  await clickOn(engine, 'Command1');
  assert.equal(await engine.evaluate(() => localStorage.getItem('petcalc-pet')), '1damaged');  // untouched
  const good = await engine.evaluate(() => localStorage.getItem('petcalc-pet1'));
  assert.ok(good);
  // Every byte of the quota taken by another key; then an edit.
  await engine.evaluate(() => {
    for (let size = 1 << 20; size >= 1; size >>= 1)
      for (let i = 0; ; i++) try { localStorage.setItem(`filler${size}.${i}`, 'x'.repeat(size)); } catch { break; }
    // A new key costs its name too: the last few characters go onto the first.
    const first = `filler${1 << 20}.0`;
    try { for (let v = localStorage.getItem(first); ;) localStorage.setItem(first, v += 'x'); } catch { /* full */ }
  });
  await typeIn(engine, 'Text18', '101');
  const [, full] = await notice(engine);
  assert.ok(full && full !== aside, 'a message says the edit was not saved');
  assert.equal(await engine.evaluate(() => localStorage.getItem('petcalc-pet1')), good);
  await engine.reload();
  await engine.evaluate(ready);
  assert.deepEqual([await value(engine, 'Text18'), await value(engine, 'Text17')], ['100', ' 1100']);
  assert.equal(await engine.evaluate(() => localStorage.getItem('petcalc-pet')), '1damaged');

  const profile = await mkdtemp(join(tmpdir(), `petcalc-${name}-`));
  after(() => rm(profile, { recursive: true, force: true }));
  const blocked = await opened({ blocked: true, profile });
  const [kindBlocked, said] = await notice(blocked);
  assert.ok(kindBlocked === 'storage' && said && said !== aside && said !== full, 'a message says nothing is kept here');
  await typeIn(blocked, 'Text18', '100');
  await clickOn(blocked, 'Command1');
  assert.equal(await value(blocked, 'Text17'), ' 1100');
  await clickOn(blocked, 'share');
  assert.match(await value(blocked, 'notice-link'), /#1[\w-]+$/);
  // A file over 4 MB is refused, with a message, and the list stays.
  const list = await blocked.evaluate(() => document.getElementById('pet-list').textContent);
  await blocked.evaluate(() => {
    const input = document.getElementById('pet-file'), files = new DataTransfer();
    files.items.add(new File([new Uint8Array((4 << 20) + 1)], 'pets.json'));
    input.files = files.files;
    input.dispatchEvent(new Event('change'));
    return window.petcalcProbe.imported();
  });
  const [fileKind, why] = await notice(blocked);
  assert.ok(fileKind === 'bad file' && why, 'a message says why the file is refused');
  assert.equal(await blocked.evaluate(() => document.getElementById('pet-list').textContent), list);
});
