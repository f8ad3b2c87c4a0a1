// The page's side of petcalc: the platform the core runs on. It turns the
// browser's pointer, keyboard and text events into Form1's events, runs the
// 22 timers, makes the growth table window and shows fault messages; it
// keeps the pet in the browser's storage, shares it as a link and opens
// links. Every rule, number and message comes from the module (binding.cpp
// lists the surface); nothing here computes or formats a value.

import { Notice, PetColumn, PlanMode, ShelfOp, Stat, View } from './names.js';
import { wirePhoneEntry } from './phone.js';
import { fresh, journaled, openStore, save } from './store.js';

const $ = (id) => document.getElementById(id);
const number = (el) => Number(el.dataset.n);  // the number in the control's name, as the page was written
const boxes = [];
const box = (n) => (boxes[n] ??= $('Text' + n));
const flagLabel = $('Label21');
const utf8 = new TextEncoder();
const fromUtf8 = new TextDecoder();

let core;  // the module's exports
let heap = null;  // the module's memory, viewed anew when it grows
const bytes = (pointer, length) => {
  if (heap?.buffer !== core.memory.buffer) heap = new Uint8Array(core.memory.buffer);
  return heap.subarray(pointer, pointer + length);
};
const string = (pointer, length) => fromUtf8.decode(bytes(pointer, length));
// Text handed in: copied when it fits, its length either way.
function put(text, buffer, capacity) {
  if (typeof text === 'string') {
    const { read, written } = utf8.encodeInto(text, bytes(buffer, capacity));
    return read === text.length ? written : utf8.encode(text).length;
  }
  if (text.length <= capacity) bytes(buffer, capacity).set(text);
  return text.length;
}

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
// follows it; the desktop's window keeps the table's tab order. The
// keypad's Enter is labelled and walks the boxes on a phone only: the
// desktop's window keeps its own Enter, which does nothing in a box.
const phone = matchMedia('(max-width: 599px)');
function tabOrder() {
  for (const el of document.querySelectorAll('[data-tab]')) {
    if (phone.matches) el.removeAttribute('tabindex');
    else el.tabIndex = Number(el.dataset.tab);
  }
  for (const el of document.querySelectorAll('[data-enterkeyhint]')) {
    if (phone.matches) el.setAttribute('enterkeyhint', el.dataset.enterkeyhint);
    else el.removeAttribute('enterkeyhint');
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

// Notices, in the core's words: a refused link, storage that keeps nothing,
// the link to share (in its read-only box). Text only, never markup.
let noticesShown = 0;
function showNotice(kind, text) {
  const panel = $('notice');
  panel.dataset.kind = kind;
  panel.dataset.edge = touchedAt < innerHeight / 2 ? 'bottom' : 'top';
  $('notice-text').textContent = text;
  $('notice-link').hidden = kind !== 'link';
  $('notice-qr').hidden = true;  // shown once drawn, for the link
  panel.hidden = false;
  noticesShown++;
}
$('notice-ok').addEventListener('click', () => { $('notice').hidden = true; });
const said = new Set();  // a storage fault is said once a visit
const sayOnce = (k) => said.has(k) || (said.add(k), core.pc_notice(k));

// The kept pets (store.js); what the module asks for next.
let code = '';     // the current pet's code, as the module last told
let handIn = '';   // the text (or bytes) the module asks for next

// A link is the page with the pet's code in its fragment. Opening one is a
// step of its own; the fragment then leaves the address bar, so a reload
// adds nothing.
function openLink() {
  const at = location.href.indexOf('#');  // "#" alone is a link too, with no pet in it
  if (at < 0) return;
  handIn = location.href.slice(at + 1);
  history.replaceState(null, '', location.href.slice(0, at));
  core.pc_open();
}
// A link shared to the installed page (the manifest's share target) comes
// as the address's query: opened as a pasted one, then the query leaves.
function sharedHere() {
  const q = new URLSearchParams(location.search);
  if (!q.has('url') && !q.has('text')) return;
  handIn = [q.get('url'), q.get('text')].filter(Boolean).join(' ');
  history.replaceState(null, '', location.pathname);
  core.pc_paste();
}
// The system's share sheet where the browser has one (phones), else the
// clipboard; either way the link shows in the notice's read-only box.
function share() {
  const link = location.href.split('#')[0] + '#' + code, field = $('notice-link');
  field.value = link;
  core.pc_notice(Notice.link);
  const copied = () => field.value === link && $('notice').dataset.kind === 'link' && core.pc_notice(Notice.linkCopied);
  // And as a QR code, for a phone's camera: drawn by the encoder (qr.js),
  // loaded at the first share.
  import('./qr.js').then(({ drawQr }) => drawQr($('notice-qr'), link)).then(() => {
    if (field.value === link && $('notice').dataset.kind === 'link') $('notice-qr').hidden = false;
  }, () => {});
  if (navigator.share) navigator.share({ url: link }).catch(() => {});
  else navigator.clipboard?.writeText(link).then(copied, () => {});
}

// "我的宠物": a row for each pet, in the order the module sorts them: a
// button with its name (the shown one marked aria-current, the compared
// one with the core's mark after its name), then the panel "确定" shows
// for it; the name box holds the shown pet's name.
let order = [], picking = false;
const list = $('pet-list');
function showRow(i, cells) {
  const row = list.children[order.indexOf(i)];
  cells.forEach((t, k) => { if (row.cells[k + 1].textContent !== t) row.cells[k + 1].textContent = t; });
}
function showList({ names, rows, order: sorted, shown, compared, sort }) {
  order = sorted;
  // The rows are kept, only their texts and marks change: a tap whose
  // press made the page follow another tab's save still lands on its row.
  while (list.rows.length > names.length) list.lastChild.remove();
  while (list.rows.length < names.length) {
    // The name heads its row; a cell for each other column.
    const row = list.insertRow(), b = row.appendChild(document.createElement('th')).appendChild(document.createElement('button'));
    row.firstChild.scope = 'row';
    for (const column of Object.keys(PetColumn)) if (column !== 'name') row.insertCell();
    b.type = 'button';
    b.addEventListener('click', () => {
      const i = order[row.sectionRowIndex];
      picking ? (pick(false), core.pc_shelf(ShelfOp.compare, i)) : core.pc_shelf(ShelfOp.switch, i);
    });
  }
  order.forEach((i, at) => {
    const b = list.rows[at].cells[0].firstChild;
    b.replaceChildren(names[i], ...(i === compared ? [list.dataset.mark] : []));
    b.classList.toggle('compared', i === compared);
    if (i === shown) b.setAttribute('aria-current', 'true');
    else b.removeAttribute('aria-current');
    showRow(i, rows[i]);
  });
  // The sorted column's heading: its order for a screen reader, its mark.
  const marks = list.parentElement.dataset;
  for (const b of document.querySelectorAll('#pets thead button')) {
    const way = sort?.[0] === b.dataset.column ? (sort[1] ? 'descending' : 'ascending') : null;
    if (way) b.parentElement.setAttribute('aria-sort', way);
    else b.parentElement.removeAttribute('aria-sort');
    b.dataset.mark = way ? marks[way] : '';
  }
  $('pet-name').value = names[shown];
  $('pet-uncompare').disabled = compared === null;
}
// Only the shown pet changed: its row, which a sort may have moved.
function showMoved({ index, row, order: sorted }) {
  if (sorted.some((i, at) => order[at] !== i)) {
    const byPet = [];
    order.forEach((i, at) => { byPet[i] = list.rows[at]; });
    order = sorted;
    list.append(...sorted.map((i) => byPet[i]));
  }
  showRow(index, row);
}
// What the module keeps: each pet's stored record, saved at every change.
let records = [], shownPet = 0;
function keep(index, pointer, length) {
  const text = string(pointer, length);
  if (index >= 0) {
    records[index] = text;
    return save(records, shownPet);
  }
  records = text.split('\n');
  const sort = records.pop();
  shownPet = Number(records.pop());
  save(records, shownPet, sort);
}
// "对比", then a name: that pet is the one the changes are measured against.
const pick = (on) => $('pet-compare').setAttribute('aria-pressed', String(picking = on));
// The exported file, downloaded by its link, which keeps it until the next.
let exported = null, importing = Promise.resolve();
function download(pointer, length) {
  const a = $('pet-download');
  if (a.href) URL.revokeObjectURL(a.href);
  exported = new Blob([bytes(pointer, length).slice()], { type: 'application/json' });
  a.href = URL.createObjectURL(exported);
  a.download = a.dataset.name;
  a.click();
}
function wirePets() {
  const shelf = (op) => () => core.pc_shelf(op);  // the shown pet's: no index
  const rename = () => { handIn = $('pet-name').value; core.pc_shelf(ShelfOp.rename); };
  for (const [id, run] of [['new', shelf(ShelfOp.new)], ['duplicate', shelf(ShelfOp.duplicate)], ['rename', rename],
    ['delete', shelf(ShelfOp.delete)], ['restore', shelf(ShelfOp.restore)], ['compare', () => pick(!picking)],
    ['uncompare', shelf(ShelfOp.uncompare)], ['export', () => core.pc_export()], ['import', () => $('pet-file').click()]])
    $('pet-' + id).addEventListener('click', run);
  // A heading sorts the table by its column, again the other way.
  for (const b of document.querySelectorAll('#pets thead button'))
    b.addEventListener('click', () => core.pc_shelf(ShelfOp.sort, PetColumn[b.dataset.column]));
  $('pet-name').addEventListener('keydown', (e) => { if (e.key === 'Enter') rename(); });
  // A link pasted, or its code: opened at the paste, or at Enter after typing.
  const paste = $('pet-paste'), pasted = () => { handIn = paste.value; paste.value = ''; core.pc_paste(); };
  paste.addEventListener('input', (e) => { if (e.inputType === 'insertFromPaste') pasted(); });
  paste.addEventListener('keydown', (e) => { if (e.key === 'Enter' && !e.isComposing) pasted(); });
  // A file too large is refused before it is read; the module reads the rest.
  $('pet-file').addEventListener('change', (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (!file || !core.pc_import_fits(file.size)) return;
    importing = file.arrayBuffer().then((b) => { handIn = new Uint8Array(b); core.pc_import(); });
  });
  pick(false);
  // On a phone the list is a sheet over the bottom of the screen.
  const sheet = (open) => { $('pets').classList.toggle('open', open); };
  $('pets-open').addEventListener('click', () => sheet(!$('pets').classList.contains('open')));
  $('pets').querySelector('.close').addEventListener('click', () => sheet(false));
}

// The mouse: the core's pointer model decides what each press and release
// means; the page delivers them to the button that has the pointer. A finger
// is a mouse with one button. What the browsers force:
// - a pointer has one pointerdown, for its first button; the others, and
//   all but the last release, arrive as pointermove with a button number;
// - a pointerdown while the page still holds a press means every button was
//   up for the browser: that hold's release was lost unseen;
// - Chromium lets the capture go at any button's release, and clicks a
//   captured button wherever the pointer is let go.
// Whether the pointer is over the held button is measured against where it
// stood at the press, until anything scrolls: a hit test after the module's
// writes would lay the page out again inside the handler.
const mouse = { target: null, pointer: null, chordUp: false, rect: null };
const moved = () => { mouse.rect = null; };
for (const on of [window, window.visualViewport].filter(Boolean))
  for (const type of ['scroll', 'resize']) on.addEventListener(type, moved, { capture: true, passive: true });
const bit = [1, 4, 2, 8, 16];  // button number -> bit in buttons
const over = (e, el) => {
  const r = el === mouse.target && mouse.rect;
  if (!r) return el.contains(document.elementFromPoint(e.clientX, e.clientY)) ? 1 : 0;
  return e.clientX >= r.left && e.clientX < r.right && e.clientY >= r.top && e.clientY < r.bottom ? 1 : 0;
};

function release(el, e) {
  const on = over(e, el);
  if (e.buttons === 0) mouse.target = null;  // the last button went up
  else mouse.chordUp = true;
  core.pc_button_up(number(el), e.button, on);
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
    mouse.rect = el.contains(document.elementFromPoint(e.clientX, e.clientY)) ? el.getBoundingClientRect() : null;
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

// The planner: made again at every change of its controls (the minimums
// handed in, a line each by Stat); the target's own minimum box is off. On
// a phone it is a sheet over the form's lower part, opened from the bar.
function setPlanner() {
  const chosen = (name) => document.querySelector(`#planner [name="${name}"]:checked`).value, target = chosen('target');
  for (const stat of Object.keys(Stat)) $('min-' + stat).disabled = stat === target;
  handIn = Object.keys(Stat).map((stat) => $('min-' + stat).value).join('\n');
  core.pc_plan(PlanMode[chosen('mode')], Stat[target]);
}
// The views the module tells: each cell's text, written only when it moved.
const write = (cells) => {
  for (const [id, text] of Object.entries(cells)) {
    const el = $(id);
    if (el.textContent !== text) el.textContent = text;
  }
};
const views = {
  [View.summary]: write,
  [View.plan]: ({ shown, cells }) => {
    write(cells);
    $('plan-tables').hidden = $('apply').disabled = !shown;
  },
  [View.list]: showList,
  [View.row]: showMoved,
  [View.history]: ({ undo, redo }) => {
    $('undo').disabled = !undo;
    $('redo').disabled = !redo;
  },
};
function showSheet(open) {
  $('planner').dataset.open = open;
  $('Form1').inert = open;
  (open ? $('mode0') : $('planner-open')).focus();
}

function closeForm1() {
  $('Form1').hidden = $('bar').hidden = $('pets').hidden = true;
  letGo();  // its buttons can no longer get their releases
}

const imports = {
  page: {
    text: (n, buffer, capacity) => put(box(n).value, buffer, capacity),
    set_text: (n, pointer, length) => { box(n).value = string(pointer, length); },
    checked: (n) => ($('Check' + n).checked ? 1 : 0),
    set_checked: (n, on) => { $('Check' + n).checked = on !== 0; },
    show_flag: (on) => flagLabel.setAttribute('aria-disabled', on ? 'false' : 'true'),
    start_timer: startTimer,
    stop_timer: stopTimer,
    open_growth_table: openGrowthTable,
    fault: (kind, kindLength, message, messageLength) =>
      showFault(string(kind, kindLength), string(message, messageLength)),
    code: (buffer, capacity) => put(handIn, buffer, capacity),
    notice: (kind, kindLength, text, textLength) => showNotice(string(kind, kindLength), string(text, textLength)),
    pet: (pointer, length) => { code = string(pointer, length); },
    view: (kind, kindLength, json, jsonLength) => views[string(kind, kindLength)](JSON.parse(string(json, jsonLength))),
    keep,
    file: download,
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
// Every operation run once where the page is idle, so that a first tap
// waits on no compiling.
(window.requestIdleCallback ?? setTimeout)(() => core.pc_warm());
// The kept pet first: a page opened again shows it as it was. Where the
// browser keeps nothing, the page works on and says so once.
const kept = await openStore({ begin: () => core.pc_load_begin(), record: (text) => ((handIn = text), core.pc_load_record()),
  end: (shown, sort) => ((handIn = sort), core.pc_load_end(shown)), setAside: () => sayOnce(Notice.recordSetAside), full: () => sayOnce(Notice.storageFull) });
if (!kept) sayOnce(Notice.storageBlocked);
wirePets();
for (const type of ['storage', 'pointerdown', 'keydown', 'beforeinput']) addEventListener(type, fresh, true);
openLink();
sharedHere();
// Firefox gives no hashchange for a bare "#": the Navigation API tells.
addEventListener('hashchange', openLink);
window.navigation?.addEventListener('navigatesuccess', openLink);

for (const el of document.querySelectorAll('#Form1 .client input[type="text"]')) {
  const n = number(el);
  el.addEventListener('input', (e) => { if (!e.isComposing) core.pc_text_changed(n); });
  el.addEventListener('compositionend', () => core.pc_text_changed(n));
  core.pc_text_changed(n);  // what was typed while the module loaded counts as typed
}
for (const el of document.querySelectorAll('#Form1 .client button')) wireButton(el);
wirePhoneEntry(core, phone);
for (const el of document.querySelectorAll('#Form1 input[type="checkbox"]')) el.addEventListener('change', () => core.pc_check_changed());
$('undo').addEventListener('click', () => core.pc_undo());
$('redo').addEventListener('click', () => core.pc_redo());
$('share').addEventListener('click', share);
// Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y (Cmd on a Mac) undo and redo whole
// actions, except in a text box, where the browser's own undo edits the text.
document.addEventListener('keydown', (e) => {
  const k = e.key.toLowerCase();
  if (!(e.ctrlKey || e.metaKey) || e.altKey || (k !== 'z' && k !== 'y') || e.target.matches('input[type="text"], textarea')) return;
  e.preventDefault();
  k === 'y' || e.shiftKey ? core.pc_redo() : core.pc_undo();
});
$('Form1').querySelector('.close').addEventListener('click', closeForm1);
for (const el of document.querySelectorAll('#planner input')) el.addEventListener(el.type === 'radio' ? 'change' : 'input', setPlanner);
setPlanner();  // as the page shows it, whatever a browser restored
$('apply').addEventListener('click', () => core.pc_apply());
$('planner-open').addEventListener('click', () => showSheet(true));
$('planner-close').addEventListener('click', () => showSheet(false));
// Every repeat stops when the page can no longer see the release.
window.addEventListener('blur', letGo);
// Back in view (another tab may have saved meanwhile), follow the kept pet.
document.addEventListener('visibilitychange', () => (document.hidden ? letGo() : fresh()));

// What a test reads besides the DOM; it changes nothing.
Object.defineProperty(window, 'petcalcProbe', {
  value: Object.freeze({ running: () => [...timers.keys()], faults: () => faultsShown, notices: () => noticesShown,
    exported: () => exported?.text(), imported: () => importing, journaled }),
});
document.documentElement.dataset.ready = '';

if ('serviceWorker' in navigator && location.protocol !== 'file:') navigator.serviceWorker.register('sw.js');
