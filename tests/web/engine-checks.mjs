// The checks of audit.mjs in one engine (engines.mjs): the phone layout
// (Chromium emulates a phone; Firefox and WebKit get a narrow window) and
// the desktop, light and dark; and a touch hold where the driver sends touch.
// PETCALC_SHOTS=DIR keeps a screenshot of each size and scheme there.
//   PETCALC_CONTROLS=build/wasm/web/controls.json node tests/web/engine-checks.mjs chromium|firefox
//   ... scripts/xvfb.sh node tests/web/engine-checks.mjs webkit
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { audit, axe, controls, desktop, faults, misplaced, phones, placed } from './audit.mjs';
import { engines, ready } from './engines.mjs';

const name = process.argv[2];
const open = (options) => engines[name](options).then((engine) => (after(() => engine.close()), engine));

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
      assert.deepEqual(await engine.evaluate(faults, phone), [], at);
      await engine.resume();  // axe waits on timers of its own
      await engine.evaluate(axe);
      assert.deepEqual(await engine.evaluate(audit, !phone), [], at);
      if (process.env.PETCALC_SHOTS) {  // the widest value in every panel box, the panel in view
        await engine.evaluate(() => ['Text6', 'Text7', 'Text8', 'Text9', 'Text10', 'Text16']
          .map((id) => Object.assign(document.getElementById(id), { value: ' 4593.039' })).at(-1).scrollIntoView({ block: 'center' }));
        await writeFile(join(process.env.PETCALC_SHOTS, `${name}-${w}x${h}-${scheme}.png`), await engine.shot());
      }
      if (phone) {  // the growth table as a sheet
        await engine.move('#Command25').then(() => engine.down('left')).then(() => engine.up('left'));
        assert.deepEqual(await engine.evaluate(audit, false), [], `${at}, growth table`);
      }
    }
  });
}

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
