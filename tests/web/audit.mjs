// What the browser checks ask of the page, the same in every engine: plain
// functions of the DOM, run in the page by whatever drives it (checks.mjs in
// Chromium, engine-checks.mjs in Firefox and WebKit).
import { readFile } from 'node:fs/promises';
import { createRequire } from 'node:module';

export const phones = [[320, 568], [390, 844], [430, 932]];
export const desktop = [1000, 700];
// axe-core's script, to run in the page before audit.
export const axe = await readFile(createRequire(new URL('../../web/package.json', import.meta.url)).resolve('axe-core/axe.min.js'), 'utf8');
export const controls = JSON.parse(await readFile(process.env.PETCALC_CONTROLS, 'utf8'));

// In the page: what a user would find wrong, as text. Every visible control
// at least 44 px square to the finger and its text 16 px (on a phone), no
// sideways scroll, and no panel box cutting the widest worked values.
export function faults(phone) {
  const out = [];
  if (document.documentElement.scrollWidth > innerWidth) out.push('sideways scroll');
  for (const el of document.querySelectorAll('button, input, textarea')) {
    const r = (el.type === 'checkbox' || el.type === 'radio' ? el.parentElement : el).getBoundingClientRect();  // its label clicks
    if (phone && el.getClientRects().length && (r.width < 44 || r.height < 44)) out.push(`${el.id || el.className} ${r.width}x${r.height}`);
    if (phone && el.type === 'text' && parseFloat(getComputedStyle(el).fontSize) < 16) out.push(`${el.id} text`);
  }
  for (const el of document.querySelectorAll('#summary output, #summary span'))
    if (parseFloat(getComputedStyle(el).fontSize) < (phone ? 14 : 12)) out.push(`${el.id || el.textContent} text`);
  for (const text of [' 4593.039', ' 559.3334', ' 280.2601', ' 671.6004']) {
    for (const el of document.querySelectorAll('#Text6, #Text7, #Text8, #Text9, #Text10, #Text16')) {
      el.value = text;
      if (el.scrollWidth > el.clientWidth) out.push(`${el.id} cuts "${text}"`);
    }
  }
  return out;
}

// In the page: axe-core's WCAG 2.2 AA violations (after the script axe). The
// desktop window's fixed geometry keeps its 17-px buttons side by side,
// which 2.5.8 (target size) cannot pass; the phone layout serves that need.
export const audit = (desktop) => window.axe.run(document, {
  runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'], rules: { 'target-size': { enabled: !desktop } } })
  .then((r) => r.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`));

// In the page: where each control stands in Form1's client area, and
// whether its caption is cut.
export const placed = (names) => names.map((name) => {
  const el = document.getElementById(name);
  const at = el.type === 'checkbox' ? el.parentElement : el;  // a check box clicks as its whole label
  const [r, c] = [at.getBoundingClientRect(), document.querySelector('#Form1 .client').getBoundingClientRect()];
  return [r.x - c.x, r.y - c.y, r.width, r.height, at.scrollWidth > at.clientWidth + 1 || at.scrollHeight > at.clientHeight + 1];
});

// The controls more than 1 px from where the table puts them, or cut.
export const misplaced = (seen) => controls.flatMap((c, i) => {
  const [x, y, w, h, cut] = seen[i];
  if (c.name === 'Label21') return [];  // never seen
  return [x - c.left, y - c.top, w - c.width, h - c.height].some((d) => Math.abs(d) > 1) || cut ? [`${c.name}: ${seen[i]}`] : [];
});
