// What one tap or keystroke costs the page in its event handlers, with
// Chromium's CPU throttled as on a low-end phone: the worked example typed
// box by box, "确定", point steps, level shifts, a box typed over once the
// panel follows, undo and redo, played as real input in headless Chromium
// (desktop: mouse and keys in a 1000 x 700 window; phone: taps and keys,
// 390 x 844, the keypad's Enter walking the boxes). Several builds side by
// side, each from its own server, in turns, so that the machine's load
// falls on all alike:
//
//   node bench/web/tap_bench.mjs [OPTIONS] [[--label=NAME] DIST...]
//     DIST         a built web/dist folder (default: this tree's web/dist)
//     --label=NAME the name of the next DIST in the table (default: its path)
//     --rates=1,4  CPU throttling rates (Emulation.setCPUThrottlingRate)
//     --views=desktop,phone
//     --rounds=2   plays of the whole script per build, view and rate
//     --pets=1     pets in "我的宠物" before the play (made with its "新建"
//                  before the clock starts; each save writes all of them)
//     --split      where the handlers' time goes instead (see below)
//     --cpuprofile=DIR  also V8's sampled profile of each play (100 us),
//                  written to DIR, and the functions of the samples taken in
//                  a listener by self time
//     --trace=DIR  also a Chromium trace of each play, written to DIR, and
//                  per action what its events' dispatch spent in style,
//                  layout, hit tests, compiling code and garbage collection
//     --rows=FILE  appends the first build's figures for bench/run.sh
//
// Two figures per event. The handlers' sum: an init script wraps every
// listener the page's scripts add with addEventListener and adds up the
// time of all listeners of one event object (the module's calls they make
// included); the page's files are served as built. And the Event Timing API's
// processingEnd - processingStart (a PerformanceObserver of type "event"
// at its least durationThreshold, 16 ms: events that reach the next paint
// sooner are not reported). The page is served cross-origin isolated
// (COOP/COEP headers added in flight), so its clock ticks in 5 us, not
// 100 us. Every step waits on its condition (the box's new text, the
// panel changed, a timer stopped) and then two frames; no step sleeps.
//
// --split times, per action, the module's exports and the page's imports,
// localStorage, IndexedDB, JSON.stringify, DOM writes, layout reads and
// each listener's own script (by where it was added), each exclusive of
// the others: a profile, not a figure to compare (the timers cost a little).
import { existsSync } from 'node:fs';
import { appendFile, mkdir, writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { cpus, loadavg } from 'node:os';
import { serve } from '../../web/serve.mjs';
import { copyOfDist, launchChromium, ready } from '../../tests/web/browser.mjs';

const options = { rates: [1, 4], views: ['desktop', 'phone'], rounds: 2, pets: 1, split: false, rows: null, cpuprofile: null, trace: null };
const builds = [];
for (let label = null, args = process.argv.slice(2); args.length;) {
  const a = args.shift();
  const [key, value] = a.startsWith('--') ? [a.slice(2).split('=')[0], a.slice(a.indexOf('=') + 1)] : [null, a];
  if (key === 'label') label = value;
  else if (key === 'rates') options.rates = value.split(',').map(Number);
  else if (key === 'views') options.views = value.split(',');
  else if (key === 'rounds') options.rounds = Number(value);
  else if (key === 'pets') options.pets = Number(value);
  else if (key === 'split') options.split = true;
  else if (key === 'rows') options.rows = value;
  else if (key === 'cpuprofile') options.cpuprofile = value;
  else if (key === 'trace') options.trace = value;
  else if (key === null) builds.push({ label: label ?? a, dir: a }), label = null;
  else throw new Error(`tap_bench: unknown option ${a}`);
}
if (!builds.length) builds.push({ label: 'web/dist', dir: null });  // this tree's, copied under its lock
for (const b of builds)
  if (b.dir && !existsSync(join(b.dir, 'index.html'))) throw new Error(`tap_bench: ${b.dir} holds no built page (index.html)`);

// In every document of a context, before the page's scripts: the listeners
// timed per event, the Event Timing entries kept, the action each belongs
// to marked from outside; with split, the finer timers.
function probe({ split, trace }) {
  const now = performance.now.bind(performance);
  const events = [], marks = [{ kind: null, action: -1, t: 0 }];
  let kind = null, action = -1;
  const record = new WeakMap(), dispatching = [];
  // Exclusive time: each timed frame hands its whole time to its parent,
  // which counts only the rest as its own.
  const frames = [];
  const owner = () => { for (let i = frames.length; i--;) if (frames[i].owner) return frames[i].owner; return ''; };
  function timed(cat, leaf, run) {
    const f = { t: now(), child: 0, owner: leaf ? null : cat };
    frames.push(f);
    try {
      return run();
    } finally {
      frames.pop();
      const dt = now() - f.t;
      if (frames.length) frames[frames.length - 1].child += dt;
      const r = dispatching[dispatching.length - 1];
      if (r && split) {
        const name = leaf ? `${cat} (${owner() || 'outside'})` : cat;
        r.split[name] = (r.split[name] || 0) + dt - f.child;
        r.calls[name] = (r.calls[name] || 0) + 1;
      }
    }
  }
  // Where a listener is added: the first of the page's own scripts on the
  // stack, or null (the driver's scripts, which have no address).
  const site = () => {
    for (const line of new Error().stack.split('\n').slice(2)) {
      const m = /https?:\/\/[^)]*\/([\w.-]+\.m?js):(\d+):\d+\)?$/.exec(line);
      if (m) return `${m[1]}:${m[2]}`;
    }
    return null;
  };
  const wrappers = new WeakMap();
  const key = (type, o) => `${type} ${typeof o === 'boolean' ? o : !!o?.capture}`;
  const add = EventTarget.prototype.addEventListener, remove = EventTarget.prototype.removeEventListener;
  EventTarget.prototype.addEventListener = function (type, listener, o) {
    if (!listener || (typeof listener !== 'function' && typeof listener !== 'object')) return add.call(this, type, listener, o);
    const from = site();
    if (!from) return add.call(this, type, listener, o);  // not the page's
    let mine = wrappers.get(listener);
    if (!mine) wrappers.set(listener, (mine = new Map()));
    let w = mine.get(key(type, o));
    if (!w) {
      const where = `listener ${type} ${from}`;
      w = function tapBenchListener(e) {
        let r = record.get(e);
        if (!r) {
          r = { type: e.type, ts: e.timeStamp, kind, action, sum: 0, nested: dispatching.length > 0, split: {}, calls: {} };
          record.set(e, r);
          events.push(r);
        }
        dispatching.push(r);
        const t = now();
        const call = () => (typeof listener === 'function' ? listener.call(this, e) : listener.handleEvent(e));
        try {
          return split ? timed(where, false, call) : call();
        } finally {
          r.sum += now() - t;
          dispatching.pop();
        }
      };
      mine.set(key(type, o), w);
    }
    return add.call(this, type, w, o);
  };
  EventTarget.prototype.removeEventListener = function (type, listener, o) {
    return remove.call(this, type, wrappers.get(listener)?.get(key(type, o)) ?? listener, o);
  };

  if (split) {
    const method = (proto, name, cat, leaf = true) => {
      const f = proto?.[name];
      if (typeof f !== 'function') return;
      proto[name] = function (...a) { return timed(cat, leaf, () => f.apply(this, a)); };
    };
    const accessor = (proto, name, cat, which = ['get', 'set']) => {
      const d = proto && Object.getOwnPropertyDescriptor(proto, name);
      if (!d) return;
      for (const w of which) {
        const f = d[w];
        if (f) d[w] = function (...a) { return timed(`${cat} ${name}`, true, () => f.apply(this, a)); };
      }
      Object.defineProperty(proto, name, d);
    };
    for (const m of ['getItem', 'setItem', 'removeItem', 'key']) method(Storage.prototype, m, 'localStorage');
    accessor(Storage.prototype, 'length', 'localStorage', ['get']);
    method(IDBDatabase.prototype, 'transaction', 'IndexedDB');
    for (const m of ['get', 'put']) method(IDBObjectStore.prototype, m, 'IndexedDB');
    method(JSON, 'stringify', 'JSON.stringify');
    accessor(Node.prototype, 'textContent', 'DOM write', ['set']);
    accessor(HTMLInputElement.prototype, 'value', 'DOM write', ['set']);
    accessor(HTMLInputElement.prototype, 'value', 'DOM read', ['get']);
    for (const p of [HTMLButtonElement.prototype, HTMLInputElement.prototype]) accessor(p, 'disabled', 'DOM write', ['set']);
    accessor(HTMLElement.prototype, 'hidden', 'DOM write', ['set']);
    accessor(HTMLInputElement.prototype, 'checked', 'DOM write', ['set']);
    for (const m of ['setAttribute', 'removeAttribute', 'replaceChildren']) method(Element.prototype, m, `DOM write ${m}`);
    method(DOMTokenList.prototype, 'toggle', 'DOM write classList');
    method(Element.prototype, 'getBoundingClientRect', 'layout read getBoundingClientRect');
    method(Document.prototype, 'elementFromPoint', 'layout read elementFromPoint');
    for (const p of ['offsetWidth', 'offsetHeight', 'offsetTop', 'offsetLeft']) accessor(HTMLElement.prototype, p, 'layout read', ['get']);
    for (const p of ['scrollTop', 'clientWidth', 'clientHeight']) accessor(Element.prototype, p, 'layout read');
    method(HTMLElement.prototype, 'focus', 'focus()');
    method(HTMLInputElement.prototype, 'select', 'select()');
    // The module: its imports and exports wrapped as it is instantiated.
    const wrapImports = (imports) => Object.fromEntries(Object.entries(imports).map(([m, fns]) => [m,
      Object.fromEntries(Object.entries(fns).map(([n, f]) => [n, (...a) => timed(`import ${n}`, false, () => f(...a))]))]));
    const wrapResult = (r) => {
      const instance = r.instance ?? r;
      const exports = Object.fromEntries(Object.entries(instance.exports).map(([n, v]) => [n,
        typeof v === 'function' ? (...a) => timed(`wasm ${n}`, false, () => v(...a)) : v]));
      const shown = { exports };
      return r.instance ? { module: r.module, instance: shown } : shown;
    };
    const { instantiate, instantiateStreaming } = WebAssembly;
    WebAssembly.instantiateStreaming = (s, imports) => instantiateStreaming(s, wrapImports(imports)).then(wrapResult);
    WebAssembly.instantiate = (b, imports) => instantiate(b, wrapImports(imports)).then(wrapResult);
  }

  const timing = [];
  const observer = new PerformanceObserver((list) => timing.push(...list.getEntries()));
  observer.observe({ type: 'event', durationThreshold: 16, buffered: true });
  Object.defineProperty(window, '__tapBench', {
    value: {
      mark: (k) => {
        kind = k;
        action++;
        marks.push({ kind, action, t: now() });
        if (trace) console.timeStamp(`tap ${action} ${k}`);  // the trace's own mark
      },
      state: () => [...document.querySelectorAll('input')].map((e) => (e.type === 'checkbox' ? e.checked : e.value))
        .concat([...document.querySelectorAll('#summary output, #bar button')].map((e) => e.textContent + e.disabled)).join('\n'),
      collect: () => {
        timing.push(...observer.takeRecords());
        const at = (t) => { let m = marks[0]; for (const x of marks) if (x.t <= t) m = x; return m; };
        return {
          events: events.filter((r) => r.kind !== null),
          timing: timing.map((e) => ({ type: e.name, processing: e.processingEnd - e.processingStart, duration: e.duration,
            kind: at(e.startTime).kind, action: at(e.startTime).action })).filter((e) => e.kind !== null),
          isolated: crossOriginIsolated,
        };
      },
    },
  });
}

// The script, one box, key or button at a time. The worked example's boxes
// in the order the phone's Enter walks them.
const example = [['Text18', '100'], ['Text19', '1.2'], ['Text1', '1500'], ['Text2', '1400'], ['Text3', '4500'],
  ['Text4', '2500'], ['Text5', '1300'], ['Text11', '120'], ['Text12', '120'], ['Text13', '620'], ['Text14', '120'],
  ['Text15', '120'], ['Text20', '100'], ['Text21', '50'], ['Text22', '20'], ['Text23', '30']];
const steps = [['Command7', 'Command5'], ['Command11', 'Command9'], ['Command15', 'Command13'],
  ['Command19', 'Command17'], ['Command22', 'Command21']];  // +1 and -1 of each attribute
const kinds = ['typing the example', '确定', 'point steps', 'level shifts', 'typing over a box', 'undo / redo'];

// In the page: the boxes, the ticks, the panel and the bar changed by an
// action (__tapBench.state() as it was before it), and no hold repeating.
const settled = (before) => window.petcalcProbe.running().length === 0 && window.__tapBench.state() !== before;
const twoFrames = () => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(() => done())));

async function play(page, view) {
  const phone = view === 'phone';
  const press = (sel) => (phone ? page.tap(sel) : page.click(sel));
  // One action: marked, done, its condition met, two frames drawn.
  async function act(kind, run, condition, arg) {
    await page.evaluate((k) => window.__tapBench.mark(k), kind);
    await run();
    await page.waitForFunction(condition, arg, { polling: 'raf' });
    await page.evaluate(twoFrames);
  }
  const changed = async (kind, run) => act(kind, run, settled, await page.evaluate(() => window.__tapBench.state()));
  const typed = (kind, key, id, text) => act(kind, () => page.keyboard.press(key),
    ([id, text]) => document.getElementById(id).value === text, [id, text]);
  const typeInto = async (kind, id, from, text) => {
    for (let i = 1; i <= text.length; i++) await typed(kind, text[i - 1], id, from + text.slice(0, i));
  };

  const typing = kinds[0];
  for (const c of ['Check1', 'Check3'])
    await act(typing, () => press(`label[for=${c}]`), (c) => document.getElementById(c).checked, c);
  for (const [i, [id, text]] of example.entries()) {
    if (!phone || i === 0) {
      await act(typing, () => press('#' + id), (id) => document.activeElement?.id === id, id);
    } else {  // the keypad's Enter took the focus here, its text selected
      await act(typing, () => page.keyboard.press('Enter'), (id) => document.activeElement?.id === id, id);
    }
    await typeInto(typing, id, '', text);
  }
  // On a phone the last box's Enter is "确定".
  await changed(kinds[1], () => (phone ? page.keyboard.press('Enter') : press('#Command1')));
  for (let round = 0; round < 2; round++)
    for (const pair of steps) for (const b of pair) await changed(kinds[2], () => press('#' + b));
  for (let i = 0; i < 10; i++) await changed(kinds[3], () => press(i % 2 ? '#Command26' : '#Command27'));
  // A point box typed over, the panel following each key: its text erased
  // from the end, a new count typed.
  for (const [id, text] of [['Text13', '625'], ['Text11', '125']]) {
    const was = await page.evaluate((id) => document.getElementById(id).value, id);
    await act(kinds[4], () => press('#' + id), (id) => document.activeElement?.id === id, id);
    await act(kinds[4], () => page.keyboard.press('End'), (id) => {
      const e = document.getElementById(id);
      return e.selectionStart === e.value.length && e.selectionEnd === e.value.length;
    }, id);
    for (let v = was; v;) await typed(kinds[4], 'Backspace', id, (v = v.slice(0, -1)));
    await typeInto(kinds[4], id, '', text);
  }
  for (let i = 0; i < 10; i++) await changed(kinds[5], () => press(i % 2 ? '#redo' : '#undo'));
}

const looks = {
  desktop: { viewport: { width: 1000, height: 700 } },
  phone: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
};
async function run(browser, url, view, rate) {
  const context = await browser.newContext({ serviceWorkers: 'block', ...looks[view] });
  context.setDefaultTimeout(0);
  await context.addInitScript(probe, { split: options.split, trace: !!options.trace });
  // Cross-origin isolated: the same answers with two headers more.
  await context.route(url + '**', async (route) => {
    const response = await route.fetch();
    await route.fulfill({ response, headers: { ...response.headers(), 'cross-origin-opener-policy': 'same-origin',
      'cross-origin-embedder-policy': 'require-corp' } });
  });
  const page = await context.newPage();
  await page.goto(url);
  await page.evaluate(ready);
  await page.evaluate(async (n) => {  // the last one made is the one shown
    const list = document.getElementById('pet-list');
    while (list.children.length < n) {
      const had = list.children.length;
      document.getElementById('pet-new').click();
      while (list.children.length === had) await new Promise((next) => requestAnimationFrame(next));
    }
  }, options.pets);
  const cdp = await context.newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate });
  if (options.cpuprofile) {
    await cdp.send('Profiler.enable');
    await cdp.send('Profiler.setSamplingInterval', { interval: 100 });
    await cdp.send('Profiler.start');
  }
  if (options.trace) await browser.startTracing(page, { categories: traced });
  await play(page, view);
  await page.evaluate(twoFrames);
  const profile = options.cpuprofile && (await cdp.send('Profiler.stop')).profile;
  const trace = options.trace && JSON.parse(await browser.stopTracing());
  const r = await page.evaluate(() => window.__tapBench.collect());
  await context.close();
  return { ...r, profile, trace };
}

// A trace's events dispatched in answer to each action (by the marks of
// the probe), with the style, layout, compilation and collection inside.
const traced = ['devtools.timeline', 'disabled-by-default-devtools.timeline', 'v8', 'disabled-by-default-v8.compile',
  'v8.wasm', 'disabled-by-default-v8.wasm.detailed', 'disabled-by-default-v8.gc'];
const parts = { UpdateLayoutTree: 'style', Layout: 'layout', HitTest: 'hit test', 'wasm.CompileLazy': 'compile',
  'V8.CompileCode': 'compile', MinorGC: 'GC', MajorGC: 'GC' };
function traceParts(trace, into) {
  const events = trace.traceEvents ?? trace;
  const marks = events.filter((e) => e.name === 'TimeStamp' && /^tap \d+ /.test(e.args?.data?.message ?? ''))
    .map((e) => ({ ts: e.ts, tid: e.tid, kind: e.args.data.message.replace(/^tap \d+ /, ''), action: e.args.data.message.split(' ')[1] }));
  if (!marks.length) return;
  const tid = marks[0].tid, main = events.filter((e) => e.tid === tid && e.ph === 'X').sort((a, b) => a.ts - b.ts);
  let open = null, counted = 0;  // the event dispatch under way, at the top; the end of the part counted last
  for (const e of main) {
    if (open && e.ts >= open.ts + open.dur) open = null;
    if (e.ts < counted) continue;  // inside a part counted already
    if (e.name === 'EventDispatch' && !open) {
      open = e;
      let m = null;
      for (const x of marks) if (x.ts <= e.ts) m = x;
      if (!m) continue;
      const k = (into[m.kind] ??= { actions: new Set(), dispatch: 0 });
      k.actions.add(m.action);
      k.dispatch += e.dur / 1000;
      e.owner = k;
    } else if (open?.owner && parts[e.name]) {
      open.owner[parts[e.name]] = (open.owner[parts[e.name]] ?? 0) + e.dur / 1000;
      counted = e.ts + e.dur;
    }
  }
}

// A profile's self time by function (file and line), in ms: the samples
// taken inside a listener (under the probe's wrapper) only.
function selfTimes(profile, into) {
  const nodes = new Map(profile.nodes.map((n) => [n.id, n])), parent = new Map();
  for (const n of profile.nodes) for (const c of n.children ?? []) parent.set(c, n.id);
  const inListener = new Map();
  const listening = (id) => {
    if (!inListener.has(id)) {
      const up = parent.get(id);
      inListener.set(id, nodes.get(id).callFrame.functionName === 'tapBenchListener' || (up !== undefined && listening(up)));
    }
    return inListener.get(id);
  };
  profile.samples.forEach((id, i) => {
    if (!listening(id)) return;
    const { functionName, url, lineNumber } = nodes.get(id).callFrame;
    const name = `${functionName || '(anonymous)'} ${url ? `${url.split('/').pop()}:${lineNumber + 1}` : ''}`.trim();
    into[name] = (into[name] || 0) + (profile.timeDeltas[i + 1] ?? 0) / 1000;
  });
}

const browser = await launchChromium();
for (const b of builds) {
  b.server = await serve(b.dir ?? await copyOfDist());
  b.runs = {};
}
const started = loadavg()[0];
let isolated = true;
for (let round = 0; round < options.rounds; round++)
  for (const view of options.views)
    for (const rate of options.rates)
      for (const b of builds) {  // in turns
        process.stderr.write(`tap_bench: ${b.label}, ${view}, CPU ${rate}x, round ${round + 1} of ${options.rounds}\n`);
        const r = await run(browser, b.server.url, view, rate);
        isolated &&= r.isolated;
        const runs = (b.runs[`${view} ${rate}`] ??= { events: [], timing: [] });
        // Actions numbered across rounds, so that each stays apart.
        for (const e of r.events) runs.events.push({ ...e, action: `${round} ${e.action}` });
        for (const e of r.timing) runs.timing.push({ ...e, action: `${round} ${e.action}` });
        if (r.trace) {
          await mkdir(options.trace, { recursive: true });
          await writeFile(`${options.trace}/${b.label.replace(/\W+/g, '_')}-${view}-${rate}x-${round}.json`, JSON.stringify(r.trace));
          traceParts(r.trace, (runs.trace ??= {}));
        }
        if (r.profile) {
          await mkdir(options.cpuprofile, { recursive: true });
          await writeFile(`${options.cpuprofile}/${b.label.replace(/\W+/g, '_')}-${view}-${rate}x-${round}.cpuprofile`, JSON.stringify(r.profile));
          selfTimes(r.profile, (runs.self ??= {}));
        }
      }
for (const b of builds) b.server.close();
const version = browser.version();
await browser.close();

const sorted = (xs) => [...xs].sort((a, b) => a - b);
const at = (xs, q) => xs[Math.min(xs.length - 1, Math.floor(q * xs.length))];
const ms = (v) => (v === undefined ? '-' : v < 10 ? v.toFixed(2) : v.toFixed(1));
const figures = (xs) => (xs.length ? `${ms(at(sorted(xs), 0.5))} / ${ms(at(sorted(xs), 0.9))} / ${ms(Math.max(...xs))} (${xs.length})` : '-');
const columns = builds.flatMap((b) => options.rates.map((rate) => ({ b, rate, name: `${b.label}, CPU ${rate}x` })));
console.log(`Chromium ${version}, ${cpus().length} cores, ${cpus()[0]?.model}, load ${started.toFixed(2)} at the start, ` +
  `${loadavg()[0].toFixed(2)} at the end; ${options.rounds} rounds, ${options.pets} pet${options.pets > 1 ? 's' : ''}; clock ${isolated ? '5 us (cross-origin isolated)' : '100 us (not isolated)'}`);

if (!options.split) {
  console.log('Per event, ms: median / p90 / max (events). "handlers": all listeners of one event object, the module\'s ' +
    'calls included; "Event Timing": processingEnd - processingStart of the entries reported (events taking 16 ms or more to the next paint).');
  console.log(`| view | action | event | ${columns.map((c) => c.name).join(' | ')} |`);
  console.log(`|---|---|---|${columns.map(() => '---').join('|')}|`);
  for (const view of options.views) {
    for (const [k, kind] of kinds.entries()) {
      const of = (c) => c.b.runs[`${view} ${c.rate}`];
      const evs = (c) => of(c).events.filter((e) => e.kind === kind && !e.nested);
      // A type of its own row where its p90 reached 1 ms, the others together.
      const types = [...new Set(columns.flatMap((c) => evs(c).map((e) => e.type)))];
      const big = types.filter((t) => columns.some((c) => at(sorted(evs(c).filter((e) => e.type === t).map((e) => e.sum)), 0.9) >= 1));
      const small = types.filter((t) => !big.includes(t));
      let first = true;
      const line = (what, cell) => {
        console.log(`| ${first && !k ? view : ''} | ${first ? kind : ''} | ${what} | ${columns.map(cell).join(' | ')} |`);
        first = false;
      };
      line('**handlers, every event**', (c) => figures(evs(c).map((e) => e.sum)));
      line('events over 8 ms', (c) => String(evs(c).filter((e) => e.sum > 8).length));
      for (const t of big) line(t, (c) => figures(evs(c).filter((e) => e.type === t).map((e) => e.sum)));
      if (small.length) line(`others: ${small.slice(0, 3).join(', ')}${small.length > 3 ? `, +${small.length - 3}` : ''}`, (c) => figures(evs(c).filter((e) => small.includes(e.type)).map((e) => e.sum)));
      line('Event Timing, these types', (c) => figures(of(c).timing.filter((e) => e.kind === kind && types.includes(e.type)).map((e) => e.processing)));
    }
  }
  console.log('(an event dispatched inside another\'s listener, as a focus moved by a key, counts in that one\'s time only)');
} else {
  // Per action: what each part cost, summed over its events, as a mean over
  // the actions of its kind.
  for (const c of columns) {
    for (const view of options.views) {
      const runs = c.b.runs[`${view} ${c.rate}`];
      console.log(`\n${c.name}, ${view}: ms per action, mean over the actions (share of the handlers' time)`);
      console.log('| action | actions | handlers | part | calls | ms | share |\n|---|---:|---:|---|---:|---:|---:|');
      for (const kind of kinds) {
        const evs = runs.events.filter((e) => e.kind === kind);
        const actions = new Set(evs.map((e) => e.action)).size;
        const total = evs.filter((e) => !e.nested).reduce((s, e) => s + e.sum, 0);
        const parts = {}, calls = {};
        for (const e of evs) for (const [k, v] of Object.entries(e.split)) parts[k] = (parts[k] || 0) + v, calls[k] = (calls[k] || 0) + e.calls[k];
        const top = Object.entries(parts).sort((a, b) => b[1] - a[1]);
        const shown = top.filter(([, v]) => v / total >= 0.01).slice(0, 14);
        let first = true;
        for (const [k, v] of shown) {
          console.log(`| ${first ? kind : ''} | ${first ? actions : ''} | ${first ? ms(total / actions) : ''} | ${k} | ${(calls[k] / actions).toFixed(1)} | ${ms(v / actions)} | ${(100 * v / total).toFixed(0)} % |`);
          first = false;
        }
        const rest = top.slice(shown.length).reduce((s, [, v]) => s + v, 0);
        if (rest) console.log(`| | | | the rest (${top.length - shown.length} parts) | | ${ms(rest / actions)} | ${(100 * rest / total).toFixed(0)} % |`);
      }
    }
  }
}

if (options.cpuprofile) {
  for (const c of columns)
    for (const view of options.views) {
      const self = c.b.runs[`${view} ${c.rate}`].self, all = Object.values(self).reduce((a, b) => a + b, 0);
      console.log(`\n${c.name}, ${view}: V8's samples inside listeners by self time, ms per play (${options.rounds} plays), in all ${ms(all / options.rounds)}`);
      console.log('| function | ms | share |\n|---|---:|---:|');
      for (const [f, t] of Object.entries(self).sort((a, b) => b[1] - a[1]).slice(0, 25))
        console.log(`| ${f} | ${ms(t / options.rounds)} | ${(100 * t / all).toFixed(1)} % |`);
    }
}

if (options.trace) {
  console.log('\nFrom the traces, ms per action, mean over the actions: the dispatch of its events and, inside it, ...');
  const names = [...new Set(Object.values(parts))];
  console.log(`| build, CPU | view | action | event dispatch | ${names.join(' | ')} |\n|---|---|---|---:|${names.map(() => '---:').join('|')}|`);
  for (const c of columns)
    for (const view of options.views)
      for (const kind of kinds) {
        const k = c.b.runs[`${view} ${c.rate}`].trace?.[kind];
        if (!k) continue;
        const n = k.actions.size;
        console.log(`| ${c.name} | ${view} | ${kind} | ${ms(k.dispatch / n)} | ${names.map((p) => ms((k[p] ?? 0) / n)).join(' | ')} |`);
      }
}

// For bench/run.sh's table, the first build's handlers per event in each
// view and rate: the highest p90 of an action's events, that action, and
// the slowest event of all.
if (options.rows) {
  const b = builds[0];
  for (const view of options.views)
    for (const rate of options.rates) {
      const evs = b.runs[`${view} ${rate}`].events.filter((e) => !e.nested);
      const [p90, kind] = kinds.map((k) => [at(sorted(evs.filter((e) => e.kind === k).map((e) => e.sum)), 0.9), k])
        .sort((x, y) => y[0] - x[0])[0];
      await appendFile(options.rows, ['tap', view, rate, p90, kind, Math.max(...evs.map((e) => e.sum))].join('\t') + '\n');
    }
}
