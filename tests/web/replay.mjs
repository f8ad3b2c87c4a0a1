// petcalc-replay-web (scripts/replay.sh web, web-firefox, web-webkit): the
// replay protocol over the real page in one browser engine (engines.mjs).
// Every step is real input (mouse, keyboard, an input method's commit), a
// tick moves the page's clock one interval, the state is read from the DOM
// and the page's read-only probe; {"case": ...} starts afresh, with nothing
// kept. The pets' steps are the page's own: a real reload, its "分享",
// "撤销" and "重做" buttons, and opening the page's address with a code in
// its fragment; the planner's steps are its own controls and "应用".
//   node tests/web/replay.mjs [chromium|firefox|webkit]
import { createRequire } from 'node:module';
import { createInterface } from 'node:readline';
import { engines, ready } from './engines.mjs';
import * as names from '../../web/dist/names.js';

const cellIds = { panel: names.panel, points: names.points, planReason: names.planReason };  // what look() reads

// Any failure but a refused step ends the run with why, in one line, and
// status 1: a browser that would not start, a driver gone, a closed output.
const fail = (e) => { process.stderr.write(`petcalc-replay-web: ${String(e?.message || e).split('\n')[0]}\n`); process.exit(1); };
process.on('uncaughtException', fail).on('unhandledRejection', fail);
process.stdout.on('error', (e) => fail(`cannot write standard output: ${e.message}`));

// The lines are read, refused and answered by the other tools' own loop
// (headless/protocol.cpp, built for node by scripts/web.sh build), which
// decides what each state line carries. PETCALC_REPLAY_PETS=1: the page keeps
// pets (reload, share, open, undo, redo).
const protocol = await createRequire(import.meta.url)('../../build/wasm/headless/petcalc-protocol.js')();
const feed = protocol.cwrap('pc_feed', 'string', ['array', ...Array(7).fill('number')]);
const answer = protocol.cwrap('pc_answer', 'string', ['string']);
const keepsPets = process.env.PETCALC_REPLAY_PETS === '1';
const bits = (numbers) => numbers.reduce((mask, n) => mask | (1 << n), 0);

// Everything the page shows, in one look: a state line's every key
// (Driver::answer's full state), and how many faults and notices were shown.
function look({ panel, points, planReason }) {
  const $ = (id) => document.getElementById(id), rows = [...document.querySelectorAll('#pet-list tr')];
  const list = rows.map((r) => r.cells[0].firstChild), compare = list.findIndex((b) => b.classList.contains('compared'));
  const cells = (ids) => Object.fromEntries(panel.boxes.map((box, k) => [box, $(ids[k]).textContent]));
  return {
    texts: Object.fromEntries(Array.from({ length: 23 }, (_, i) => [`Text${i + 1}`, $(`Text${i + 1}`).value])),
    flag: $('Label21').getAttribute('aria-disabled') === 'false',
    running: window.petcalcProbe.running().sort((a, b) => a - b).map((n) => `Timer${n}`),
    windows: ['Form1', 'Form2'].filter((id) => $(id)?.hidden === false),
    faults: window.petcalcProbe.faults(), fault: { kind: $('fault').dataset.kind, message: $('fault-text').textContent },
    notices: window.petcalcProbe.notices(), notice: { kind: $('notice').dataset.kind, message: $('notice-text').textContent },
    link: $('notice-link').value.split('#')[1],
    focus: /^Text\d+$/.test(document.activeElement?.id) ? document.activeElement.id : null,
    pets: {  // each name is the first text of its button, the mark of the compared pet after it
      ...(compare < 0 ? {} : { compare }), current: list.findIndex((b) => b.getAttribute('aria-current') === 'true'),
      names: list.map((b) => b.firstChild.data), table: rows.map((r) => [...r.cells].slice(1).map((c) => c.textContent)) },
    // The planner's cells (its totals, then the potential and the panel) while
    // "应用" is there, and the change beside each of those boxes, by the ids
    // the page is written with (names.js).
    ...($('apply').disabled ? {} : { plan: {
      counts: points.planTotal.map((id) => $(id).textContent), texts: cells(panel.planAfter) } }),
    noPlan: $(planReason).textContent,
    changes: Object.fromEntries(Object.entries(cells(panel.change)).filter(([, c]) => c)),
  };
}

const engine = await engines[process.argv[2] || 'chromium']();
let before, down = new Set(), file;  // down: the mouse buttons held; file: the last one exported
// A case of a file that needs the phone is played on a phone's screen.
let onPhone = false;
async function fresh(phone) {  // the page loaded again, nothing kept (the clock stays stopped)
  for (const b of down) await engine.up(b);
  if (phone !== onPhone) await engine.size(...((onPhone = phone) ? [390, 844] : engine.desktop));
  await engine.evaluate(() => window.petcalcProbe.journaled().then(() => new Promise((done) => {
    localStorage.clear();  // and the journal (the page lets go of it when asked)
    Object.assign(indexedDB.deleteDatabase('petcalc'), { onsuccess: done, onerror: done });
  })));
  await engine.reload();
  await engine.evaluate(ready);
  [before, down] = [await engine.evaluate(look, cellIds), new Set()];
}
await engine.evaluate(ready);
before = await engine.evaluate(look, cellIds);
const away = await engine.evaluate(() => [innerWidth - 5, innerHeight - 5]);  // well off every control

const focus = (selector) => engine.evaluate((s) => document.querySelector(s).focus(), selector);
const pressOn = (selector, key) => focus(selector).then(() => engine.key(key));
const click = (selector) => engine.move(selector).then(() => engine.down('left')).then(() => engine.up('left'));

// Select all, then printable ASCII a key stroke each, any other run as one commit.
async function type(selector, text) {
  await pressOn(selector, 'SelectAll');  // focused as a screen reader would, then keys
  if (text === '') return engine.key('Backspace');
  for (const run of text.match(/[\x20-\x7e]+|[^\x20-\x7e]+/g))
    await (/^[\x20-\x7e]/.test(run) ? engine.type(run) : engine.commit(run));
}

async function play(s) {
  switch (s.op) {
  case 'type': return type(`#Text${s.box}`, s.text);
  case 'check':
    return (await engine.evaluate((n) => document.getElementById(`Check${n}`).checked, s.check)) !== s.state &&
      click(`#Check${s.check}`);
  case 'click': return click(`#${s.control}`);
  case 'press': case 'release': {
    const press = s.op === 'press';
    press ? down.add(s.button) : down.delete(s.button);
    await engine.move(s.outside ? away : `#${s.control}`);
    return press ? engine.down(s.button) : engine.up(s.button);
  }
  case 'key': return pressOn(`#${s.control}`, 'Space');
  case 'tick': return engine.tick();  // one repeat interval
  case 'close':  // the title bar's close button through the keyboard: a mouse button may be held
    return pressOn(`#${s.window} > .close`, 'Enter');
  case 'reload':  // the page closed and opened again: it shows the pet it kept
    await engine.reload();
    await engine.evaluate(ready);
    before = await engine.evaluate(look, cellIds);  // a new page: no fault or notice shown yet
    return;
  case 'share': return click('#share');
  case 'open':  // the address with the code in its fragment, in the open page: done once the page took the fragment away
    await engine.go('#' + s.link);
    return engine.evaluate(() => new Promise((done) => {
      const taken = () => location.href.includes('#') || done();  // after the page's own listeners
      addEventListener('hashchange', taken);
      window.navigation?.addEventListener('navigatesuccess', taken);
      taken();
    }));
  // The keypad's Enter in the box, which has the focus then.
  case 'enter': return pressOn(`#Text${s.box}`, 'Enter');
  // A link pasted into "粘贴链接" (as an input method puts text in), then Enter.
  case 'paste': return focus('#pet-paste').then(() => engine.commit(s.text)).then(() => engine.key('Enter'));
  case 'undo': return click('#undo');
  case 'redo': return click('#redo');
  // "我的宠物"'s buttons and names; a new name set as a paste would (a tab
  // cannot be typed into a box), then "重命名".
  case 'pets':
    if (s.do === 'switch') return click(`#pet-list tr:nth-child(${s.index + 1}) button`);
    if (s.do === 'rename') await engine.evaluate((name) => { document.getElementById('pet-name').value = name; }, s.name);
    return click(`#pet-${s.do}`);
  case 'compare':
    return s.index < 0 ? click('#pet-uncompare') : click('#pet-compare').then(() => click(`#pet-list tr:nth-child(${s.index + 1}) button`));
  case 'export':  // "导出", and the file it downloads
    await click('#pet-export');
    file = await engine.evaluate(() => window.petcalcProbe.exported());
    return;
  case 'import':  // the file as the file chooser gives it, done once the page has read it
    return engine.evaluate((text) => {
      const input = document.getElementById('pet-file'), files = new DataTransfer();
      files.items.add(new File([text], 'pets.json', { type: 'application/json' }));
      input.files = files.files;
      input.dispatchEvent(new Event('change'));
      return window.petcalcProbe.imported();
    }, s.file);
  case 'plan': {  // the mode, the target, then each other minimum typed (or emptied)
    await click(`#planner [name="mode"][value="${s.mode}"]`);
    await click(`#planner [name="target"][value="${s.target}"]`);
    for (const stat of Object.keys(names.Stat))
      if (stat !== s.target) await type(`#min-${stat}`, s.min[stat] ?? '');
    return;
  }
  case 'apply': return click('#apply');
  default: throw new Error(`the page cannot play "${s.op}" yet`);
  }
}

let refusal = '';
for await (const line of createInterface({ input: process.stdin, crlfDelay: Infinity })) {
  const bytes = new TextEncoder().encode(line);  // against the page as the last look saw it
  const fed = JSON.parse(feed(bytes, bytes.length, before.windows.includes('Form1'), before.windows.includes('Form2'),
    bits(before.running.map((t) => Number(t.slice(5)))), bits([...down].map((b) => ['left', 'right', 'middle'].indexOf(b))),
    keepsPets, before.pets.names.length));
  if ((refusal = fed.refusal)) break;  // which ends the run, with status 2
  if (fed.kind === 'case') await fresh(fed.phone);  // {"case": ...}: Form1 afresh, in a run of many cases
  if (fed.kind !== 'step') continue;
  await play(fed.step);
  // The page's full state: a fault, or a notice other than the share's
  // confirmation, only if one was shown during the step.
  const after = await engine.evaluate(look, cellIds), { faults, notices, fault, notice, ...now } = after;
  process.stdout.write(answer(JSON.stringify({ ...now, file, fault: faults !== before.faults ? fault : null,
    ...(notices !== before.notices && notice.kind !== 'link' ? { notice } : {}) })) + '\n');
  before = after;
}
await engine.close();
if (refusal) process.stderr.write(`${refusal}\n`);
process.exit(refusal ? 2 : 0);
