// petcalc-replay-web (scripts/replay.sh web, web-firefox, web-webkit): the
// replay protocol over the real page in one browser engine (engines.mjs).
// Every step is real input (mouse, keyboard, an input method's commit), a
// tick moves the page's clock one interval, a state line comes from the DOM
// and the page's read-only probe; {"case": ...} starts afresh.
//   node tests/web/replay.mjs [chromium|firefox|webkit]
import { createInterface } from 'node:readline';
import { engines, ready } from './engines.mjs';

// Any failure but a refused step ends the run with why, in one line, and
// status 1: a browser that would not start, a driver gone, a closed output.
const fail = (e) => { process.stderr.write(`petcalc-replay-web: ${String(e?.message || e).split('\n')[0]}\n`); process.exit(1); };
process.on('uncaughtException', fail).on('unhandledRejection', fail);
process.stdout.on('error', (e) => fail(`cannot write standard output: ${e.message}`));

const refuse = (why) => { throw Object.assign(new Error(why), { refused: true }); };

// Checks a step as the reference does; kinds names the page's controls.
function parse(line, kinds) {
  let s = null;
  try { s = JSON.parse(line); } catch {}
  if (!s || typeof s !== 'object' || Array.isArray(s)) refuse('not a JSON object');
  const text = (k) => (!(k in s) ? refuse(`missing "${k}"`) : typeof s[k] !== 'string' ? refuse(`"${k}" is not a string`) : s[k]);
  const numbered = (k, prefix, last, what) => {
    const m = text(k).match(new RegExp(`^${prefix}([1-9][0-9]?)$`));
    return m && Number(m[1]) <= last ? Number(m[1]) : refuse(`unknown ${what} "${s[k]}"`);
  };
  if (!('op' in s) && 'case' in s) return { op: 'case' };
  const op = text('op');
  if (op === 'type') return { op, box: numbered('box', 'Text', 23, 'box'), text: text('text') };
  if (op === 'check') {
    const check = numbered('box', 'Check', 8, 'check box');
    if (s.state !== 0 && s.state !== 1) refuse('state' in s ? '"state" is not 0 or 1' : 'missing "state"');
    return { op, check, state: s.state === 1 };
  }
  if (['click', 'key', 'press', 'release'].includes(op)) {
    const control = text('control');
    const kind = Object.hasOwn(kinds, control) && kinds[control];
    if (kind !== 'BUTTON') refuse(kind ? `${control} is not a button` : `unknown control "${control}"`);
    const button = s.button ?? 'left';
    if (!['left', 'right', 'middle'].includes(button)) refuse(`unknown button ${JSON.stringify(button)}`);
    return { op, control, button, outside: s.outside === true };
  }
  if (op === 'tick') return { op, timer: numbered('timer', 'Timer', 22, 'timer') };
  if (op === 'close') return ['Form1', 'Form2'].includes(text('window')) ? { op, window: s.window } : refuse(`unknown window "${s.window}"`);
  refuse(`unknown op "${op}"`);
}

// Everything a state line says, in one look at the page.
const look = () => ({
  texts: Array.from({ length: 23 }, (_, i) => document.getElementById(`Text${i + 1}`).value),
  flag: document.getElementById('Label21').getAttribute('aria-disabled') === 'false',
  running: window.petcalcProbe.running().sort((a, b) => a - b).map((n) => `Timer${n}`),
  windows: ['Form1', 'Form2'].filter((id) => document.getElementById(id)?.hidden === false),
  faults: window.petcalcProbe.faults(),
  fault: { kind: document.getElementById('fault').dataset.kind, message: document.getElementById('fault-text').textContent },
});

const engine = await engines[process.argv[2] || 'chromium']();
let before, down = new Set();  // down: the mouse buttons held
async function fresh() {  // the page loaded again (the clock stays stopped)
  for (const b of down) await engine.up(b);
  await engine.reload();
  await engine.evaluate(ready);
  [before, down] = [await engine.evaluate(look), new Set()];
}
await engine.evaluate(ready);
before = await engine.evaluate(look);
const kinds = await engine.evaluate(() => Object.fromEntries([...document.querySelectorAll('#Form1 [id]')].map((e) => [e.id, e.tagName])));
const away = await engine.evaluate(() => [innerWidth - 5, innerHeight - 5]);  // well off every control

const focus = (selector) => engine.evaluate((s) => document.querySelector(s).focus(), selector);
const pressOn = (selector, key) => focus(selector).then(() => engine.key(key));
const click = (selector) => engine.move(selector).then(() => engine.down('left')).then(() => engine.up('left'));

async function play(s) {
  if (!before.windows.includes('Form1') && !(s.op === 'close' && s.window === 'Form2')) refuse('Form1 is closed');
  if ((s.op === 'click' || s.op === 'check') && down.size) refuse('a mouse button is down');
  switch (s.op) {
  case 'type':  // select all, then printable ASCII a key stroke each, any other run as one commit
    await pressOn(`#Text${s.box}`, 'SelectAll');  // focused as a screen reader would, then keys
    if (s.text === '') return engine.key('Backspace');
    for (const run of s.text.match(/[\x20-\x7e]+|[^\x20-\x7e]+/g))
      await (/^[\x20-\x7e]/.test(run) ? engine.type(run) : engine.commit(run));
    return;
  case 'check':
    return (await engine.evaluate((n) => document.getElementById(`Check${n}`).checked, s.check)) !== s.state &&
      click(`#Check${s.check}`);
  case 'click': return click(`#${s.control}`);
  case 'press': case 'release': {
    const press = s.op === 'press';
    if (press === down.has(s.button)) refuse(`that mouse button is ${press ? 'down already' : 'not down'}`);
    press ? down.add(s.button) : down.delete(s.button);
    await engine.move(s.outside ? away : `#${s.control}`);
    return press ? engine.down(s.button) : engine.up(s.button);
  }
  case 'key': return pressOn(`#${s.control}`, 'Space');
  case 'tick':
    if (!before.running.includes(`Timer${s.timer}`)) refuse(`Timer${s.timer} is not running`);
    return engine.tick();  // one repeat interval
  case 'close':  // the title bar's close button through the keyboard: a mouse button may be held
    if (s.window === 'Form2' && !before.windows.includes('Form2')) refuse('Form2 is not open');
    return pressOn(`#${s.window} > .close`, 'Enter');
  }
}

let number = 0, status = 0;
for await (const line of createInterface({ input: process.stdin, crlfDelay: Infinity })) {
  number++;
  if (!line.trim()) continue;
  try {
    const s = parse(line, kinds);
    await (s.op === 'case' ? fresh() : play(s));
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
  process.stdout.write(JSON.stringify({ fault: after.faults !== before.faults ? fault : null, flag, running, texts, windows }) + '\n');
  before = after;
}
await engine.close();
process.exit(status);
