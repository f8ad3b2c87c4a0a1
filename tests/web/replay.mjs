// petcalc-replay-web (scripts/replay.sh web, web-firefox, web-webkit): the
// replay protocol over the real page in one browser engine (engines.mjs).
// Every step is real input (mouse, keyboard, an input method's commit), a
// tick moves the page's clock one interval, a state line comes from the DOM
// and the page's read-only probe; {"case": ...} starts afresh, with nothing
// kept. The pets' steps are the page's own: a real reload, its "分享",
// "撤销" and "重做" buttons, and opening the page's address with a code in
// its fragment; the planner's steps are its own controls and "应用".
//   node tests/web/replay.mjs [chromium|firefox|webkit]
import { createRequire } from 'node:module';
import { createInterface } from 'node:readline';
import { engines, ready } from './engines.mjs';

// Any failure but a refused step ends the run with why, in one line, and
// status 1: a browser that would not start, a driver gone, a closed output.
const fail = (e) => { process.stderr.write(`petcalc-replay-web: ${String(e?.message || e).split('\n')[0]}\n`); process.exit(1); };
process.on('uncaughtException', fail).on('unhandledRejection', fail);
process.stdout.on('error', (e) => fail(`cannot write standard output: ${e.message}`));

const refuse = (why) => { throw Object.assign(new Error(why), { refused: true }); };

// The steps are read and refused by the other tools' own code
// (headless/protocol.cpp, built for node by scripts/web.sh build), against
// the page as the last state line saw it and the mouse buttons held here.
// PETCALC_REPLAY_PETS=1: the page keeps pets (reload, share, open, undo, redo).
const protocol = await createRequire(import.meta.url)('../../build/wasm/headless/petcalc-protocol.js')();
const readStep = protocol.cwrap('pc_read_step', 'string', ['array', ...Array(8).fill('number')]);
const keepsPets = process.env.PETCALC_REPLAY_PETS === '1';
const bits = (numbers) => numbers.reduce((mask, n) => mask | (1 << n), 0);
function read(line, before, down) {
  try {  // {"case": ...}, which has no op: Form1 afresh, in a run of many cases
    const s = JSON.parse(line);
    if (!('op' in s) && 'case' in s) return { op: 'case', phone: s.phone === true };
  } catch {}
  const bytes = new TextEncoder().encode(line);
  const s = JSON.parse(readStep(bytes, bytes.length, before.windows.includes('Form1'), before.windows.includes('Form2'),
    bits(before.running.map((t) => Number(t.slice(5)))), bits([...down].map((b) => ['left', 'right', 'middle'].indexOf(b))),
    keepsPets, planSet && before.plan.shown, before.pets.names.length));
  return 'refused' in s ? refuse(s.refused) : s;
}

// Everything a state line says, in one look at the page.
const look = () => ({
  texts: Array.from({ length: 23 }, (_, i) => document.getElementById(`Text${i + 1}`).value),
  flag: document.getElementById('Label21').getAttribute('aria-disabled') === 'false',
  running: window.petcalcProbe.running().sort((a, b) => a - b).map((n) => `Timer${n}`),
  windows: ['Form1', 'Form2'].filter((id) => document.getElementById(id)?.hidden === false),
  faults: window.petcalcProbe.faults(),
  fault: { kind: document.getElementById('fault').dataset.kind, message: document.getElementById('fault-text').textContent },
  notices: window.petcalcProbe.notices(),
  notice: { kind: document.getElementById('notice').dataset.kind, message: document.getElementById('notice-text').textContent },
  link: document.getElementById('notice-link').value,
  focus: document.activeElement?.id,
  pets: ((list) => ({  // each name is the first text of its button, the mark of the compared pet after it
    compare: list.findIndex((b) => b.classList.contains('compared')),
    current: list.findIndex((b) => b.getAttribute('aria-current') === 'true'),
    names: list.map((b) => b.firstChild.data),
  }))([...document.querySelectorAll('#pet-list button')]),
  // The planner's cells and the change beside each box (page.cpp's side()).
  plan: { shown: !document.getElementById('apply').disabled, message: document.getElementById('plan24').textContent,
          cells: Array.from({ length: 17 }, (_, k) => document.getElementById(`plan${k + 5}`).textContent) },
  changes: [17, 6, 7, 8, 9, 10, 16].map((n) => document.getElementById(`chg${n}`).textContent),
});
const panelBoxes = ['Text17', 'Text6', 'Text7', 'Text8', 'Text9', 'Text10', 'Text16'];
const stats = ['hp', 'SH', 'fy', 'sd', 'lli'];
const sorted = (pairs) => Object.fromEntries(pairs.sort(([a], [b]) => (a < b ? -1 : 1)));
// A plan step was played (until a reload closes the planner), and since the
// case began (the changes are shown from then on).
let planSet = false, changesShown = false;

const engine = await engines[process.argv[2] || 'chromium']();
let before, down = new Set();  // down: the mouse buttons held
let listShown = false, file = null;  // the state lines name the pets once a step used the list
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
  [before, down, listShown] = [await engine.evaluate(look), new Set(), false];
  planSet = changesShown = false;
}
await engine.evaluate(ready);
before = await engine.evaluate(look);
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
    before = await engine.evaluate(look);  // a new page: no fault or notice shown yet
    planSet = false;  // the planner is the page's, not kept
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
    if (s.do === 'switch') return click(`#pet-list li:nth-child(${s.index + 1}) button`);
    if (s.do === 'rename') await engine.evaluate((name) => { document.getElementById('pet-name').value = name; }, s.name);
    return click(`#pet-${s.do}`);
  case 'compare':
    return s.index < 0 ? click('#pet-uncompare') : click('#pet-compare').then(() => click(`#pet-list li:nth-child(${s.index + 1}) button`));
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
    const target = stats.indexOf(s.target);
    await click(`#mode${s.mode === 'all' ? 1 : 0}`);
    await click(`#target${target}`);
    for (const [k, key] of stats.entries())
      if (k !== target) await type(`#min${k}`, s.min[key] ?? '');
    return;
  }
  case 'apply': return click('#apply');
  default: throw new Error(`the page cannot play "${s.op}" yet`);
  }
}

let number = 0, status = 0;
for await (const line of createInterface({ input: process.stdin, crlfDelay: Infinity })) {
  number++;
  if (!/[^ \t\r]/.test(line)) continue;  // blank, as the other tools see it
  let s;
  try {
    s = read(line, before, down);
    await (s.op === 'case' ? fresh(s.phone) : play(s));
    if (s.op === 'plan') planSet = changesShown = true;
    if (s.op === 'compare') changesShown = true;
    if (s.op === 'case') continue;
  } catch (e) {
    if (!e.refused) throw e;
    process.stderr.write(`petcalc-replay-web: line ${number}: ${e.message}\n`);
    status = 2;
    break;
  }
  const after = await engine.evaluate(look);
  // Every object made here, keys in order: WebDriver hands back a page's
  // objects with their keys in an order of its own.
  const { flag, running, windows, fault: { kind, message } } = after;
  const fault = { kind, message };
  const texts = Object.fromEntries(after.texts.map((t, i) => [`Text${i + 1}`, t]).sort(([a], [b]) => (a < b ? -1 : 1)));
  // The share confirmation is the line's "link"; any other notice shown is its "notice".
  const link = s.op === 'share' ? { link: after.link.split('#')[1] } : {};
  const said = after.notices !== before.notices && after.notice.kind !== 'link';
  const noPlan = planSet && !after.plan.shown;
  const notice = said || noPlan
    ? { notice: said ? { kind: after.notice.kind, message: after.notice.message } : { kind: 'no plan', message: after.plan.message } } : {};
  const { cells } = after.plan;
  const plan = planSet && !noPlan
    ? { plan: { counts: cells.slice(0, 5), texts: sorted(panelBoxes.map((b, i) => [b, cells[5 + i]])) } } : {};
  const changes = changesShown ? { changes: sorted(panelBoxes.map((b, i) => [b, after.changes[i]]).filter(([, c]) => c)) } : {};
  listShown ||= ['pets', 'open', 'paste', 'import', 'export', 'compare'].includes(s.op);
  const focus = s.op === 'enter' ? { focus: /^Text\d+$/.test(after.focus) ? after.focus : null } : {};
  const { compare, current, names } = after.pets;
  const pets = listShown ? { pets: { ...(compare < 0 ? {} : { compare }), current, names } } : {};
  const exported = s.op === 'export' ? { file } : {};
  process.stdout.write(JSON.stringify({ ...changes, fault: after.faults !== before.faults ? fault : null, ...exported, flag, ...focus, ...link,
    ...notice, ...pets, ...plan, running, texts, windows }) + '\n');
  before = after;
}
await engine.close();
process.exit(status);
