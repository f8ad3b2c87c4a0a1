// Typing a pet on a phone in one pass: the keypad's Enter down the boxes,
// the box typed in kept in sight above the keypad, and the minus key that
// some keypads lack. Where each box's Enter goes is the core's table,
// written into the page (data-enter); the numbers are the controls' own.

const $ = (id) => document.getElementById(id);
const minusKey = $('minus');
// After Enter moved the focus, until the player touches, types or leaves
// the box: Firefox may then scroll it by its own reckoning, which knows no
// keypad, and it is scrolled back.
let settling = false;

// A pet typed in one pass on a phone: Enter goes to the next box the
// player fills (the core's table, written into the page), its text selected
// so that typing replaces it; after the last it is "确定", in "气血"
// "计算成长": the keyboard's click of that button, and the keypad closes.
// The focus moving changes nothing else: a hold runs on, a fault stays.
function enter(e, core, phone) {
  if (e.key !== 'Enter' || e.isComposing || !phone.matches) return;
  e.preventDefault();
  const from = e.target, to = $(from.dataset.enter);
  if (to.matches('input')) {
    // Its focusin puts it in sight, before a browser that scrolls the focus
    // into view itself would.
    to.focus({ preventScroll: true });
    to.select();
    settling = true;
  } else {
    from.blur();
    core.pc_key(Number(to.dataset.n));
  }
}
// The box typed in stays in sight: above the keypad (the visual viewport's
// bottom; the minus key over it) and under the summary atop the rows. The
// rows get room below their end while the keypad covers it. Every read
// comes before any write, so that the page is laid out once (on a slow
// phone each layout costs a millisecond or more).
let minusHeight = 0;  // as last shown: a hidden key has none
function keepInView(phone, el = document.activeElement) {
  const rows = document.querySelector('#Form1 .rows');
  const typing = phone.matches && rows.contains(el) && el.matches('input'), minus = typing && el.matches('[data-minus]');
  if (!typing) {
    minusKey.hidden = true;
    rows.style.paddingBottom = '';
    return;
  }
  const view = window.visualViewport ?? { offsetTop: 0, height: innerHeight }, margin = 4;
  const band = rows.getBoundingClientRect(), r = el.getBoundingClientRect();
  if (minus && !minusKey.hidden) minusHeight = minusKey.offsetHeight;
  // (the key's style gives it 44 px; measured once it was shown)
  let low = view.offsetTop + view.height - (minus ? (minusHeight || 44) + margin : 0);
  minusKey.hidden = !minus;
  if (minus) minusKey.style.top = low + 'px';
  rows.style.paddingBottom = Math.max(0, band.bottom - low) + margin + 'px';
  const top = Math.max(band.top, view.offsetTop) + margin;
  low = Math.min(band.bottom, low) - margin;
  if (r.bottom > low) rows.scrollTop += r.bottom - low;
  else if (r.top < top) rows.scrollTop -= top - r.top;
}
// The minus key types "-" over the selection, as a keyboard's would; it
// never takes the focus, so the keypad stays.
export function wirePhoneEntry(core, phone) {
  for (const type of ['pointerdown', 'mousedown']) minusKey.addEventListener(type, (e) => e.preventDefault());
  minusKey.addEventListener('click', () => {
    const el = document.activeElement;
    if (!el?.matches('#Form1 input[data-minus]')) return;
    el.setRangeText('-', el.selectionStart, el.selectionEnd, 'end');
    core.pc_text_changed(Number(el.dataset.n));
  });
  const inView = () => keepInView(phone);
  for (const type of ['pointerdown', 'keydown', 'focusout']) document.addEventListener(type, () => { settling = false; }, true);
  $('Form1').querySelector('.rows').addEventListener('scroll', () => settling && inView(), { passive: true });
  document.addEventListener('focusin', inView);
  // The focus gone (no keypad, no minus key); a box next has its focusin.
  document.addEventListener('focusout', (e) => { if (!e.relatedTarget?.closest?.('#Form1 .rows')) inView(); });
  window.visualViewport?.addEventListener('resize', inView);
  window.visualViewport?.addEventListener('scroll', inView);
  phone.addEventListener('change', inView);
  for (const el of document.querySelectorAll('#Form1 input[data-enter]')) el.addEventListener('keydown', (e) => enter(e, core, phone));
  // The planner's minimums: Enter closes the keypad.
  for (const el of document.querySelectorAll('#planner input[type="text"]'))
    el.addEventListener('keydown', (e) => { if (e.key === 'Enter' && !e.isComposing && phone.matches) el.blur(); });
}
