// petcalc-replay-web (scripts/replay.sh web): the replay protocol over the
// real page. Every step is real input (mouse, keyboard, an input method's
// commit), a tick moves the page's clock one interval, a state line comes
// from the DOM and the page's read-only probe; {"case": ...} starts afresh.
import { createInterface } from 'node:readline';
import { openPage, start } from './browser.mjs';

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
  texts: Object.fromEntries(Array.from({ length: 23 }, (_, i) => `Text${i + 1}`).sort()
    .map((id) => [id, document.getElementById(id).value])),
  flag: document.getElementById('Label21').getAttribute('aria-disabled') === 'false',
  running: window.petcalcProbe.running().sort((a, b) => a - b).map((n) => `Timer${n}`),
  windows: ['Form1', 'Form2'].filter((id) => document.getElementById(id)?.hidden === false),
  faults: window.petcalcProbe.faults(),
  fault: { kind: document.getElementById('fault').dataset.kind, message: document.getElementById('fault-text').textContent },
});

const web = await start();
let page, before, down;  // down: the mouse buttons held
async function fresh() {  // a new page, or the same one loaded again (the clock stays paused)
  if (!page) page = await openPage(web, { viewport: { width: 1000, height: 700 } });
  else {
    for (const b of down) await page.mouse.up({ button: b });
    await page.reload();
    await page.waitForFunction(() => window.petcalcProbe, null, { polling: 10 });
  }
  [before, down] = [await page.evaluate(look), new Set()];
}
await fresh();
const kinds = await page.evaluate(() => Object.fromEntries([...document.querySelectorAll('#Form1 [id]')].map((e) => [e.id, e.tagName])));

const pointAt = (selector, away) =>  // to the middle of the control, or well off every control
  (away ? page.mouse.move(995, 695) : page.hover(selector, { force: true }));
const click = (selector) => pointAt(selector).then(() => page.mouse.down()).then(() => page.mouse.up());

async function play(s) {
  if (!before.windows.includes('Form1') && !(s.op === 'close' && s.window === 'Form2')) refuse('Form1 is closed');
  if ((s.op === 'click' || s.op === 'check') && down.size) refuse('a mouse button is down');
  switch (s.op) {
  case 'type':  // select all, then printable ASCII a key stroke each, any other run as one commit
    await page.press(`#Text${s.box}`, 'ControlOrMeta+A');  // focused as a screen reader would, then keys
    if (s.text === '') return page.keyboard.press('Backspace');
    for (const run of s.text.match(/[\x20-\x7e]+|[^\x20-\x7e]+/g))
      await (/^[\x20-\x7e]/.test(run) ? page.keyboard.type(run) : page.keyboard.insertText(run));
    return;
  case 'check': return (await page.isChecked(`#Check${s.check}`)) !== s.state && click(`#Check${s.check}`);
  case 'click': return click(`#${s.control}`);
  case 'press': case 'release': {
    const press = s.op === 'press';
    if (press === down.has(s.button)) refuse(`that mouse button is ${press ? 'down already' : 'not down'}`);
    press ? down.add(s.button) : down.delete(s.button);
    await pointAt(`#${s.control}`, s.outside);
    return press ? page.mouse.down({ button: s.button }) : page.mouse.up({ button: s.button });
  }
  case 'key': return page.press(`#${s.control}`, 'Space');
  case 'tick':
    if (!before.running.includes(`Timer${s.timer}`)) refuse(`Timer${s.timer} is not running`);
    return page.clock.runFor(100);  // one repeat interval
  case 'close':  // the title bar's close button through the keyboard: a mouse button may be held
    if (s.window === 'Form2' && !before.windows.includes('Form2')) refuse('Form2 is not open');
    return page.press(`#${s.window} > .close`, 'Enter');
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
  const after = await page.evaluate(look);
  const { texts, flag, running, windows, fault } = after;
  process.stdout.write(JSON.stringify({ fault: after.faults !== before.faults ? fault : null, flag, running, texts, windows }) + '\n');
  before = after;
}
process.exit(status);  // playwright-core ends the browser as the process exits
