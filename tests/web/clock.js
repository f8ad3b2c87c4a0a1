// A stopped clock for the engines that Playwright's clock does not reach
// (tests/web/engines.mjs): loaded before the page's own scripts, it keeps
// every timeout and interval of the document, and none falls due until the
// test calls petcalcClock.tick(ms), which runs those due within ms in
// order of time (then of setting), as the time would. petcalcClock.resume()
// gives the page the real timers back (axe-core waits on timers of its own);
// those set under the stopped clock stay stopped.
(() => {
  const real = { setTimeout, setInterval, clearTimeout, clearInterval };
  const timers = new Map();
  let now = 0, last = 0;
  const set = (repeat) => (fn, ms, ...args) => {
    const every = Math.max(0, Number(ms) || 0);
    timers.set(++last, { at: now + every, every: repeat ? Math.max(1, every) : 0, fn, args });
    return last;
  };
  const clear = (id) => { timers.delete(id); };
  Object.assign(window, { setTimeout: set(false), setInterval: set(true), clearTimeout: clear, clearInterval: clear });
  const tick = (ms) => {
    const end = now + ms;
    for (;;) {
      let id = 0;
      for (const [n, t] of timers) if (t.at <= end && (!id || t.at < timers.get(id).at)) id = n;
      if (!id) break;
      const t = timers.get(id);
      now = t.at;
      if (t.every) t.at += t.every; else timers.delete(id);
      if (typeof t.fn === 'function') t.fn(...t.args);
    }
    now = end;
  };
  Object.defineProperty(window, 'petcalcClock', { value: Object.freeze({ tick, resume: () => Object.assign(window, real) }) });
})();
