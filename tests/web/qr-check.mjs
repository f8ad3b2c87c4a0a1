// The shared link's QR code (web/qr.js) in Chromium, at the desktop's size
// and a phone's: read off a screenshot by zbarimg, as a camera would, it is
// the link in the notice's box, and that link opened in a browser that keeps
// nothing shows the same pet.
//   node --test tests/web/qr-check.mjs
import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { promisify } from 'node:util';
import { engines, ready } from './engines.mjs';

const opened = () => engines.chromium().then((engine) => (after(() => engine.close()), engine.evaluate(ready).then(() => engine)));
const typeIn = (engine, id, text) => engine.evaluate((i) => { const el = document.getElementById(i); el.focus(); el.select(); }, id)
  .then(() => engine.type(text));
const boxes = (engine) => engine.evaluate(() => Array.from({ length: 23 }, (_, i) => document.getElementById(`Text${i + 1}`).value));

// The link, once the code is shown and drawn from it (no timer: the page's clock is stopped).
const drawn = () => new Promise((done) => {
  const notice = document.getElementById('notice'), canvas = document.getElementById('notice-qr'), link = document.getElementById('notice-link');
  const shown = () => !notice.hidden && !canvas.hidden && canvas.dataset.drawn === link.value && (done(link.value), true);
  if (!shown()) new MutationObserver((_, seen) => shown() && seen.disconnect()).observe(notice, { attributes: true, subtree: true });
});
// Where the code is not wholly on the screen, or something covers a corner
// or its middle; and its size.
const placed = () => {
  const canvas = document.getElementById('notice-qr');
  canvas.scrollIntoView({ block: 'nearest' });
  const r = canvas.getBoundingClientRect();
  const faults = r.left < 0 || r.top < 0 || r.right > innerWidth || r.bottom > innerHeight ? ['off the screen'] : [];
  for (const [x, y] of [[r.left + 1, r.top + 1], [r.right - 1, r.top + 1], [r.left + 1, r.bottom - 1], [r.right - 1, r.bottom - 1], [r.x + r.width / 2, r.y + r.height / 2]])
    if (document.elementFromPoint(x, y) !== canvas) faults.push(`covered at ${x},${y}`);
  return { faults, css: r.width, device: canvas.width, ratio: devicePixelRatio };
};

const folder = await mkdtemp(join(tmpdir(), 'petcalc-qr-'));
after(() => rm(folder, { recursive: true, force: true }));

for (const [width, height] of [[1000, 700], [390, 844]]) {
  test(`chromium ${width}x${height}: the code read off the screen is the link, which opens the same pet elsewhere`, async () => {
    const first = await opened();
    await first.size(width, height);
    for (const [id, text] of [['Text18', '100'], ['Text19', '1.2'], ['Text1', '1500']]) await typeIn(first, id, text);
    await first.move('#share').then(() => first.down('left')).then(() => first.up('left'));
    const link = await first.evaluate(drawn);
    const { faults, css, device, ratio } = await first.evaluate(placed);
    assert.deepEqual(faults, []);
    assert.ok(css <= 264 && device === Math.round(css * ratio), `${css} CSS px, ${device} device px at ${ratio}`);
    const shot = join(folder, `${width}x${height}.png`);
    await writeFile(shot, await first.shot());
    assert.equal((await promisify(execFile)('zbarimg', ['--raw', '-q', shot])).stdout.replace(/\n$/, ''), link);
    const pet = await boxes(first);
    assert.deepEqual([pet[17], pet[18]], ['100', '1.2']);  // typed in, so the link holds more than a new pet
    const second = await opened();
    // The link's fragment opens it (on hashchange), then leaves the address.
    await second.go(link.slice(link.indexOf('#')));
    await second.evaluate(() => location.href.includes('#') && new Promise((done) => addEventListener('hashchange', done, { once: true })));
    assert.deepEqual(await boxes(second), pet);
  });
}
