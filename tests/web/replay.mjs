// petcalc-replay-web (scripts/replay.sh web): the replay protocol
// (docs/replay-protocol.md) over the real page in headless Chromium. Every
// step is real input through the browser's input pipeline (mouse, keyboard,
// an input method's commit), a tick is the page's clock moved on by one
// interval, and each state line is read from the DOM, with the running
// timers and the count of faults shown from the page's read-only probe.
import { createInterface } from 'node:readline';
import { launch, middle, openPage, serveDist } from './browser.mjs';

const tool = 'petcalc-replay-web';
const interval = 100;  // one tick: the repeat interval the page was given
const boxes = Array.from({ length: 23 }, (_, i) => `Text${i + 1}`);
const buttonNumber = { left: 0, right: 2, middle: 1 };

class StepError extends Error {}

// "Text1" .. "Text23" and the like: the number, or a refusal.
function numbered(name, prefix, last, what) {
  const m = typeof name === 'string' && name.match(new RegExp(`^${prefix}([1-9][0-9]?)$`));
  if (m && Number(m[1]) <= last) return Number(m[1]);
  throw new StepError(`unknown ${what} "${name}"`);
}
function field(step, name, type) {
  if (!(name in step)) throw new StepError(`missing "${name}"`);
  if (typeof step[name] !== type) throw new StepError(`"${name}" is not a ${type}`);
  return step[name];
}

// The step, checked as the reference checks it; kinds are the page's own
// controls by name.
function parse(line, kinds) {
  let step;
  try { step = JSON.parse(line); } catch { step = null; }
  if (!step || typeof step !== 'object' || Array.isArray(step)) throw new StepError('not a JSON object');
  const op = field(step, 'op', 'string');
  const s = { op };
  if (op === 'type') {
    s.box = numbered(field(step, 'box', 'string'), 'Text', 23, 'box');
    s.text = field(step, 'text', 'string');
  } else if (op === 'check') {
    s.check = numbered(field(step, 'box', 'string'), 'Check', 8, 'check box');
    if (!('state' in step)) throw new StepError('missing "state"');
    if (step.state !== 0 && step.state !== 1) throw new StepError('"state" is not 0 or 1');
    s.state = step.state === 1;
  } else if (['click', 'key', 'press', 'release'].includes(op)) {
    s.control = field(step, 'control', 'string');
    if (!kinds[s.control]) throw new StepError(`unknown control "${s.control}"`);
    if (kinds[s.control] !== 'button') throw new StepError(`${s.control} is not a button`);
    const b = 'button' in step ? step.button : 'left';
    if (!(b in buttonNumber)) throw new StepError(`unknown button "${typeof b === 'string' ? b : JSON.stringify(b)}"`);
    s.button = b;
    s.outside = step.outside === true;
  } else if (op === 'tick') {
    s.timer = numbered(field(step, 'timer', 'string'), 'Timer', 22, 'timer');
  } else if (op === 'close') {
    s.window = field(step, 'window', 'string');
    if (s.window !== 'Form1' && s.window !== 'Form2') throw new StepError(`unknown window "${s.window}"`);
  } else {
    throw new StepError(`unknown op "${op}"`);
  }
  return s;
}

// Everything a state line says, in one look at the page.
const look = () => ({
  texts: Array.from({ length: 23 }, (_, i) => document.getElementById(`Text${i + 1}`).value),
  flag: document.getElementById('Label21').getAttribute('aria-disabled') === 'false',
  running: window.petcalcProbe.running(),
  form1: !document.getElementById('Form1').hidden,
  form2: !!document.getElementById('Form2'),
  faults: window.petcalcProbe.faults(),
  kind: document.getElementById('fault').dataset.kind,
  message: document.getElementById('fault-text').textContent,
});

function stateLine(s, faulted) {
  const texts = {};
  for (const name of [...boxes].sort()) texts[name] = s.texts[Number(name.slice(4)) - 1];
  return JSON.stringify({
    fault: faulted ? { kind: s.kind, message: s.message } : null,
    flag: s.flag,
    running: s.running.sort((a, b) => a - b).map((n) => `Timer${n}`),
    texts,
    windows: [s.form1 && 'Form1', s.form2 && 'Form2'].filter(Boolean),
  });
}

const browser = await launch();
const server = await serveDist();
const context = await browser.newContext({ serviceWorkers: 'block', viewport: { width: 1000, height: 700 } });
const page = await openPage(context, server.url);
const kinds = await page.evaluate(() => Object.fromEntries([...document.querySelectorAll('#Form1 [id]')].map((el) =>
  [el.id, el.tagName === 'BUTTON' ? 'button' : el.tagName === 'INPUT' ? el.type : 'label'])));
const down = new Set();  // the mouse buttons the tool holds down
const away = { x: 995, y: 695 };  // well away from every control
let before = await page.evaluate(look);

async function pointAt(selector) {
  const p = await middle(page, selector);
  await page.mouse.move(p.x, p.y);
}

// A user replaces the whole text: select all, then type. Printable ASCII is
// one key stroke a character; any other run arrives at once, as an input
// method commits it.
async function type(n, text) {
  await page.focus(`#Text${n}`);
  await page.keyboard.press('ControlOrMeta+A');
  if (text === '') return page.keyboard.press('Backspace');
  for (const run of text.match(/[\x20-\x7e]+|[^\x20-\x7e]+/g)) {
    if (/^[\x20-\x7e]/.test(run)) await page.keyboard.type(run);
    else await page.keyboard.insertText(run);
  }
}

async function play(s) {
  if (!before.form1 && !(s.op === 'close' && s.window === 'Form2')) throw new StepError('Form1 is closed');
  switch (s.op) {
  case 'type': return type(s.box, s.text);
  case 'check':
    if (down.size) throw new StepError('a mouse button is down');
    if ((await page.isChecked(`#Check${s.check}`)) !== s.state) {
      await pointAt(`#Check${s.check}`);
      await page.mouse.down();
      await page.mouse.up();
    }
    return;
  case 'click':
    if (down.size) throw new StepError('a mouse button is down');
    await pointAt(`#${s.control}`);
    await page.mouse.down();
    return page.mouse.up();
  case 'press':
    if (down.has(s.button)) throw new StepError('that mouse button is down already');
    await pointAt(`#${s.control}`);
    down.add(s.button);
    return page.mouse.down({ button: s.button });
  case 'release':
    if (!down.has(s.button)) throw new StepError('that mouse button is not down');
    if (s.outside) await page.mouse.move(away.x, away.y);
    else await pointAt(`#${s.control}`);
    down.delete(s.button);
    return page.mouse.up({ button: s.button });
  case 'key':
    await page.focus(`#${s.control}`);
    return page.keyboard.press('Space');
  case 'tick':
    if (!before.running.includes(s.timer)) throw new StepError(`Timer${s.timer} is not running`);
    return page.clock.runFor(interval);
  case 'close':
    if (s.window === 'Form2' && !before.form2) throw new StepError('Form2 is not open');
    await pointAt(`#${s.window} > .close`);
    await page.mouse.down();
    return page.mouse.up();
  }
}

let number = 0;
let status = 0;
for await (const line of createInterface({ input: process.stdin, crlfDelay: Infinity })) {
  number++;
  if (!line.trim()) continue;
  try {
    await play(parse(line, kinds));
  } catch (e) {
    if (!(e instanceof StepError)) throw e;
    process.stderr.write(`${tool}: line ${number}: ${e.message}\n`);
    status = 2;
    break;
  }
  const after = await page.evaluate(look);
  process.stdout.write(stateLine(after, after.faults !== before.faults) + '\n');
  before = after;
}
await browser.close();
server.close();
process.exit(status);
