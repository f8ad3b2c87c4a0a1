// The page's side of petcalc: the platform the core runs on. It turns the
// browser's pointer, keyboard and text events into Form1's events, runs the
// 22 timers, makes the growth table window and shows fault messages. Every
// rule, number and message comes from the module (binding.cpp lists the
// surface); nothing here computes or formats a value.

const $ = (id) => document.getElementById(id);
const number = (el) => Number(el.dataset.n);  // the number in the control's name, as the page was written
const box = (n) => $('Text' + n);
const flagLabel = $('Label21');
const utf8 = new TextEncoder();
const fromUtf8 = new TextDecoder();

let core;  // the module's exports
const bytes = (pointer, length) => new Uint8Array(core.memory.buffer, pointer, length);
const string = (pointer, length) => fromUtf8.decode(bytes(pointer, length));

// Text boxes: setting .value raises no event, and the core raises the
// change of its own writes itself; every input event is handed on, and the
// core tells a change from a character typed over the same one.

// Timers: real intervals; the page keeps which ones run.
const timers = new Map();
function startTimer(n, interval) {
  stopTimer(n);
  timers.set(n, setInterval(() => core.pc_tick(n), interval));
}
function stopTimer(n) {
  clearInterval(timers.get(n));
  timers.delete(n);
}

// The phone's layout (style.css) lists the controls top to bottom, and focus
// follows it; the desktop's window keeps the table's tab order.
const phone = matchMedia('(max-width: 599px)');
function tabOrder() {
  for (const el of document.querySelectorAll('[data-tab]')) {
    if (phone.matches) el.removeAttribute('tabindex');
    else el.tabIndex = Number(el.dataset.tab);
  }
}
tabOrder();
phone.addEventListener('change', tabOrder);
// The window starts with the focus in Text1; a phone starts at the top.
if (!phone.matches) box(1).focus();

// Faults: one message in the page at a time, which never blocks the form; a
// new fault replaces the text of one still shown. On a phone it floats at
// the edge of the screen away from the last touch, never over the finger.
let faultsShown = 0;
let touchedAt = Infinity;  // no touch yet: the top
document.addEventListener('pointerdown', (e) => { touchedAt = e.clientY; }, { capture: true, passive: true });
function showFault(kind, message) {
  const panel = $('fault');
  panel.dataset.kind = kind;
  panel.dataset.edge = touchedAt < innerHeight / 2 ? 'bottom' : 'top';
  $('fault-text').textContent = message;
  panel.hidden = false;
  faultsShown++;
}
$('fault-ok').addEventListener('click', () => { $('fault').hidden = true; });

// The mouse: the core's pointer model decides what each press and release
// means; the page delivers them to the button that has the pointer. A finger
// is a mouse with one button. What the browsers force:
// - a pointer has one pointerdown, for its first button; the others, and
//   all but the last release, arrive as pointermove with a button number;
// - a pointerdown while the page still holds a press means every button was
//   up for the browser: that hold's release was lost unseen;
// - Chromium lets the capture go at any button's release, and clicks a
//   captured button wherever the pointer is let go.
const mouse = { target: null, pointer: null, chordUp: false };
const bit = [1, 4, 2, 8, 16];  // button number -> bit in buttons
const over = (e, el) => (el.contains(document.elementFromPoint(e.clientX, e.clientY)) ? 1 : 0);

function release(el, e) {
  if (e.buttons === 0) mouse.target = null;  // the last button went up
  else mouse.chordUp = true;
  core.pc_button_up(number(el), e.button, over(e, el));
}
// Nothing will release what is held now.
function letGo() {
  mouse.target = null;
  core.pc_pointer_lost();
}

// A chorded press or release goes to the button that holds the pointer,
// wherever it lands: Firefox sends it to the element under the pointer even
// while another has the capture.
document.addEventListener('pointermove', (e) => {
  const el = mouse.target;
  if (e.button < 0 || !el || e.pointerId !== mouse.pointer) return;
  if (e.buttons & bit[e.button]) core.pc_button_down(number(el), e.button, over(e, el));
  else release(el, e);
});

function wireButton(el) {
  el.addEventListener('pointerdown', (e) => {
    if (!e.isPrimary) return;
    if (mouse.target) letGo();
    mouse.target = el;
    mouse.pointer = e.pointerId;
    el.setPointerCapture(e.pointerId);
    core.pc_button_down(number(el), e.button, over(e, el));
  });
  el.addEventListener('pointerup', (e) => {
    if (mouse.target === el && e.pointerId === mouse.pointer) release(el, e);
  });
  el.addEventListener('pointercancel', (e) => { if (e.pointerId === mouse.pointer) letGo(); });
  // After the last release the capture goes as it should, and after one of
  // several buttons it is taken back; otherwise it was taken away.
  el.addEventListener('lostpointercapture', (e) => {
    if (mouse.target !== el || e.pointerId !== mouse.pointer) return;
    if (mouse.chordUp && e.buttons !== 0) el.setPointerCapture(e.pointerId);
    else letGo();
    mouse.chordUp = false;
  });
  // Space and Enter click without a press (detail 0, like an assistive
  // technology's click); a mouse's own clicks are the core's to decide.
  el.addEventListener('click', (e) => { if (e.detail === 0) core.pc_key(number(el)); });
  el.addEventListener('contextmenu', (e) => e.preventDefault());
  // On Linux a middle release pastes the selection into the focused box.
  el.addEventListener('mouseup', (e) => { if (e.button === 1) e.preventDefault(); });
}

// Form2: made from its template at each opening, one at a time, movable by
// its title bar; beside Form1 when the screen has room for both, else under
// the form and its message. On a phone it is a sheet over the whole screen,
// and the form behind it is out of reach until it closes.
function openGrowthTable() {
  const open = $('Form2');
  if (open) {
    open.querySelector('textarea').focus();
    return;
  }
  const w = $('Form2-template').content.firstElementChild.cloneNode(true);
  document.body.append(w);
  const form = document.querySelector('main');
  form.inert = phone.matches;
  w.querySelector('.close').addEventListener('click', () => { form.inert = false; });
  const main = $('Form1').getBoundingClientRect();
  const beside = main.right + 8 + w.offsetWidth <= document.documentElement.clientWidth;
  w.style.left = (beside ? main.right + 8 : main.left) + window.scrollX + 'px';
  w.style.top = (beside ? main.top : document.body.getBoundingClientRect().bottom + 8) + window.scrollY + 'px';
  w.querySelector('.close').addEventListener('click', () => w.remove());
  const title = w.querySelector('.title');
  let grab = null;
  title.addEventListener('pointerdown', (e) => {
    grab = { x: e.clientX - w.offsetLeft, y: e.clientY - w.offsetTop };
    title.setPointerCapture(e.pointerId);
  });
  title.addEventListener('pointermove', (e) => {
    if (!grab) return;
    w.style.left = Math.max(0, e.clientX - grab.x) + 'px';
    w.style.top = Math.max(0, e.clientY - grab.y) + 'px';
  });
  title.addEventListener('lostpointercapture', () => { grab = null; });
  w.querySelector('textarea').focus();
}

function closeForm1() {
  $('Form1').hidden = true;
  letGo();  // its buttons can no longer get their releases
}

const imports = {
  page: {
    text(n, buffer, capacity) {
      const encoded = utf8.encode(box(n).value);
      if (encoded.length <= capacity) bytes(buffer, capacity).set(encoded);
      return encoded.length;
    },
    set_text: (n, pointer, length) => { box(n).value = string(pointer, length); },
    checked: (n) => ($('Check' + n).checked ? 1 : 0),
    set_checked: (n, on) => { $('Check' + n).checked = on !== 0; },
    show_flag: (on) => flagLabel.setAttribute('aria-disabled', on ? 'false' : 'true'),
    start_timer: startTimer,
    stop_timer: stopTimer,
    open_growth_table: openGrowthTable,
    fault: (kind, kindLength, message, messageLength) =>
      showFault(string(kind, kindLength), string(message, messageLength)),
  },
  // The C library's system calls, which the core never needs: no output,
  // no environment (zero variables), no exit.
  wasi_snapshot_preview1: {
    proc_exit: (code) => { throw new Error('petcalc stopped: ' + code); },
    fd_write: () => 52, fd_close: () => 52, fd_seek: () => 52,
    environ_sizes_get: (count, size) => {
      new DataView(core.memory.buffer).setUint32(count, 0, true);
      new DataView(core.memory.buffer).setUint32(size, 0, true);
      return 0;
    },
    environ_get: () => 0,
  },
};

// A host that serves .wasm under another type gets the slower path.
const { instance } = await WebAssembly.instantiateStreaming(fetch('petcalc.wasm'), imports).catch(() =>
  fetch('petcalc.wasm').then((r) => r.arrayBuffer()).then((bytes) => WebAssembly.instantiate(bytes, imports)));
core = instance.exports;
core._initialize();
core.pc_start();

for (const el of document.querySelectorAll('#Form1 .client input[type="text"]')) {
  const n = number(el);
  el.addEventListener('input', (e) => { if (!e.isComposing) core.pc_text_changed(n); });
  el.addEventListener('compositionend', () => core.pc_text_changed(n));
  core.pc_text_changed(n);  // what was typed while the module loaded counts as typed
}
for (const el of document.querySelectorAll('#Form1 .client button')) wireButton(el);
$('Form1').querySelector('.close').addEventListener('click', closeForm1);
// Every repeat stops when the page can no longer see the release.
window.addEventListener('blur', letGo);
document.addEventListener('visibilitychange', () => { if (document.hidden) letGo(); });

// What a test reads besides the DOM; it changes nothing.
Object.defineProperty(window, 'petcalcProbe', {
  value: Object.freeze({ running: () => [...timers.keys()], faults: () => faultsShown }),
});
document.documentElement.dataset.ready = '';

if ('serviceWorker' in navigator && location.protocol !== 'file:') navigator.serviceWorker.register('sw.js');
