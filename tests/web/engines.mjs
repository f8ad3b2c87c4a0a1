// The browser engines the replay tool drives, each behind the same few
// operations: point at an element or at a place, a mouse button down or up,
// a named key or typed text to the focused element, an input method's
// commit, a script in the page, a reload, a visit of the page's address with
// a fragment, one tick of the page's clock (or the real time back);
// for the checks and a phone's cases also the window's size (and the
// desktop's, to go back to), a screenshot and, where the driver
// sends touch input, a finger. Each engine starts in the light or the dark
// colour scheme ({ dark: true }); in Chromium and Firefox on a profile
// folder kept across starts ({ profile: DIR, url: the page's address from
// the first start }; no clock of the test's then), which kill() ends
// without warning (SIGKILL); and with the page's storage blocked
// ({ blocked: true }).
//   Chromium: Debian's chromium under playwright-core, with Playwright's clock;
//             a phone through the DevTools protocol's emulation.
//   Firefox:  Debian's firefox-esr over WebDriver BiDi, with puppeteer-core.
//   WebKit:   WebKitGTK's MiniBrowser through WebKitWebDriver (W3C WebDriver,
//             selenium-webdriver), on the X display the caller provides.
// No operation has a deadline of its own: each waits on its condition.
import { spawn } from 'node:child_process';
import { cp, mkdir, mkdtemp, readFile, readdir, readlink, rm, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { tmpdir } from 'node:os';
import { serve } from '../../web/serve.mjs';
import { copyOfDist, openPage, ready, start, startKept } from './browser.mjs';

export { ready };

const npm = createRequire(new URL('../../web/package.json', import.meta.url));
// What a Playwright page and a puppeteer page do alike (puppeteer's hover
// takes no options).
const onPage = (page) => ({
  move: (to) => (typeof to === 'string' ? page.hover(to, { force: true }) : page.mouse.move(...to)),
  down: (button) => page.mouse.down({ button }),
  up: (button) => page.mouse.up({ button }),
  type: (text) => page.keyboard.type(text),
  evaluate: (fn, arg) => page.evaluate(fn, arg),
  shot: () => page.screenshot(),
});

// The page as the other engines get it: a copy of web/dist with the
// stopped clock (clock.js) loaded before the page's own scripts, and without
// the offline worker, which Chromium's tests block too.
async function servedWithClock({ url, blocked } = {}) {
  if (url) return { url, close: () => {} };  // the server of a first start, still serving
  const folder = await copyOfDist();
  await rm(join(folder, 'sw.js'));
  await cp(new URL('clock.js', import.meta.url), join(folder, 'petcalc-clock.js'));
  // WebKitGTK's MiniBrowser has no setting that blocks a site's storage:
  // there the page meets what Safari's "block all cookies" gives it.
  if (blocked) await writeFile(join(folder, 'petcalc-clock.js'), '["localStorage", "indexedDB"].forEach((k) => Object.defineProperty(window, k, '
    + '{ get() { throw new DOMException("blocked", "SecurityError"); } }));\n', { flag: 'a' });
  const index = join(folder, 'index.html');
  await writeFile(index, (await readFile(index, 'utf8')).replace('<head>', '<head>\n<script src="petcalc-clock.js"></script>'));
  return serve(folder);
}

// Every process with a parent, as [pid, parent, state].
async function processes() {
  const pids = (await readdir('/proc')).filter((p) => /^\d+$/.test(p));
  const rows = await Promise.all(pids.map((p) => readFile(`/proc/${p}/stat`, 'utf8').then((st) => {
    const [state, parent] = st.slice(st.lastIndexOf(')') + 2).split(' ');
    return [Number(p), Number(parent), state];
  }, () => null)));
  return rows.filter(Boolean);
}

// A browser killed as the system kills it (SIGKILL), with every process it
// started: a helper left running holds the driver's pipe open and writes
// on in the profile. Done once none of them runs any more.
async function killTree(root) {
  const rows = await processes();
  const tree = new Set([root]);
  for (let grown = true; grown;) {
    grown = false;
    for (const [pid, parent] of rows) if (tree.has(parent) && !tree.has(pid)) tree.add(pid), grown = true;
  }
  for (const pid of tree) try { process.kill(pid, 'SIGKILL'); } catch { /* gone already */ }
  for (;;) {
    const running = (await processes()).filter(([pid, , state]) => tree.has(pid) && state !== 'Z');
    if (!running.length) return;
    await new Promise((next) => setTimeout(next, 20));
  }
}

// The port a process listens on, once it listens: WebKitWebDriver takes a
// free one itself (--port=0) and says nothing, so its sockets tell.
async function listening(pid) {
  for (;;) {
    const fds = await readdir(`/proc/${pid}/fd`);  // throws once the process is gone
    const sockets = new Set(await Promise.all(fds.map((fd) => readlink(`/proc/${pid}/fd/${fd}`).catch(() => ''))));
    for (const row of (await readFile('/proc/net/tcp', 'utf8')).split('\n').slice(1).map((r) => r.trim().split(/\s+/)))
      if (row[3] === '0A' && sockets.has(`socket:[${row[9]}]`)) return parseInt(row[1].split(':')[1], 16);
    await new Promise((next) => setTimeout(next, 20));
  }
}

export const engines = {
  async chromium({ dark, profile, url, blocked } = {}) {
    const look = { viewport: { width: 1000, height: 700 }, colorScheme: dark ? 'dark' : 'light' };
    let web, page, killed = false;
    if (profile) {
      // Site data blocked as a user blocks it: the profile's content setting.
      if (blocked) await mkdir(join(profile, 'Default'), { recursive: true }).then(() => writeFile(join(profile, 'Default', 'Preferences'),
        JSON.stringify({ profile: { default_content_setting_values: { cookies: 2 } } })));
      const server = url ? { url, close: () => {} } : await serve(await copyOfDist());
      page = await startKept(profile, server.url, look);
      web = { url: server.url, server, close: () => page.context().close().catch(() => {}).then(server.close) };
    } else {
      web = await start();
      page = await openPage(web, look);
    }
    const cdp = await page.context().newCDPSession(page);
    const touch = (type, x, y) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: type === 'touchEnd' ? [] : [{ x, y }] });
    return {
      ...onPage(page),
      key: (key) => page.keyboard.press(key === 'SelectAll' ? 'ControlOrMeta+A' : key),
      commit: (text) => page.keyboard.insertText(text),
      reload: () => page.reload(),
      go: (fragment) => page.goto(web.url + fragment),
      tick: () => page.clock.runFor(100),
      resume: () => page.clock.resume(),
      // Below 600 px a phone: its screen's pixel ratio, and touch input.
      size: async (width, height) => {
        const phone = width < 600;
        await page.setViewportSize({ width, height });
        await cdp.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: phone ? 3 : 1, mobile: phone });
        await cdp.send('Emulation.setTouchEmulationEnabled', { enabled: phone, maxTouchPoints: phone ? 5 : 1 });
      },
      touch: (x, y) => touch('touchStart', x, y).then(() => ({ move: (x, y) => touch('touchMove', x, y), end: () => touch('touchEnd') })),
      url: web.url,
      desktop: [1000, 700],
      // The browser is the one child of this process on that profile.
      kill: async () => {
        for (const [pid, parent] of await processes())
          if (parent === process.pid && (await readFile(`/proc/${pid}/cmdline`, 'utf8').catch(() => '')).includes(`--user-data-dir=${profile}`))
            await killTree(pid);
        killed = true;
      },
      close: () => (killed ? web.server.close() : web.close()),
    };
  },

  async firefox({ dark, profile, url, blocked } = {}) {
    const server = await servedWithClock({ url });
    const downloads = await mkdtemp(join(tmpdir(), 'petcalc-downloads-'));
    const browser = await npm('puppeteer-core').launch({
      browser: 'firefox', executablePath: process.env.PETCALC_FIREFOX || '/usr/bin/firefox-esr',
      headless: !process.env.PETCALC_HEADED, timeout: 0, protocolTimeout: 0,
      defaultViewport: { width: 1000, height: 700 },
      ...(profile && { userDataDir: profile }),
      // Over BiDi puppeteer emulates no media feature: the scheme is a pref.
      // A site's storage off as a user turns it off: localStorage is null.
      // An export's download goes to a folder of its own without its
      // panel, which would take the focus from the page.
      extraPrefsFirefox: { 'layout.css.prefers-color-scheme.content-override': dark ? 0 : 1,
                           'browser.download.alwaysOpenPanel': false, 'browser.download.folderList': 2,
                           'browser.download.dir': downloads,
                           ...(blocked && { 'dom.storage.enabled': false }) },
    });
    // A tab of our own: the one Firefox starts with never has the focus, and
    // there Space and Enter do not activate a button.
    const page = await browser.newPage();
    page.setDefaultTimeout(0);
    await page.goto(server.url);
    const { keyboard } = page;
    let killed = false;
    return {
      ...onPage(page),
      key: (key) => (key === 'SelectAll'
        ? keyboard.down('Control').then(() => keyboard.press('KeyA')).then(() => keyboard.up('Control'))
        : keyboard.press(key === 'Space' ? ' ' : key)),
      // What puppeteer's sendCharacter does over BiDi, for a whole run.
      commit: (text) => page.evaluate((t) => { document.execCommand('insertText', false, t); }, text),
      // Loaded anew, not reloaded: a reload keeps the check boxes' ticks.
      reload: () => page.goto(server.url),
      go: (fragment) => page.goto(server.url + fragment),
      tick: () => page.evaluate(() => window.petcalcClock.tick(100)),
      resume: () => page.evaluate(() => { window.petcalcClock.resume(); }),
      size: (width, height) => page.setViewport({ width, height }),
      desktop: [1000, 700],
      touch: (x, y) => page.touchscreen.touchStart(x, y),  // BiDi pointer actions of type "touch": .move, .end
      url: server.url,
      kill: async () => { await killTree(browser.process().pid); killed = true; },
      close: () => (killed ? Promise.resolve() : browser.close().catch(() => {})).then(server.close)
        .then(() => rm(downloads, { recursive: true, force: true })),
    };
  },

  // No profile: MiniBrowser runs a WebDriver session (--automation) on an
  // ephemeral website data manager, so no site data of it reaches a disk.
  async webkit({ dark, blocked } = {}) {
    const { Builder, Button, By, Key, Origin } = npm('selenium-webdriver');
    const server = await servedWithClock({ blocked });
    // An export's download goes to a folder of its own (GLib's download
    // folder, named in the user-dirs file of its config folder).
    const downloads = await mkdtemp(join(tmpdir(), 'petcalc-downloads-'));
    await writeFile(join(downloads, 'user-dirs.dirs'), `XDG_DOWNLOAD_DIR="${downloads}"\n`);
    const driver = spawn(process.env.PETCALC_WEBKITDRIVER || 'WebKitWebDriver', ['--port=0'],
      { stdio: 'ignore', env: { ...process.env, XDG_CONFIG_HOME: downloads } });
    process.on('exit', () => driver.kill());
    const d = await new Builder().usingServer(`http://127.0.0.1:${await listening(driver.pid)}/`).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': {
        binary: process.env.PETCALC_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
        args: ['--automation', ...(dark ? ['--dark-mode'] : [])],
      },
      timeouts: { script: null, pageLoad: Number.MAX_SAFE_INTEGER, implicit: 0 },
    }).build();
    await d.manage().window().setRect({ x: 0, y: 0, width: 1000, height: 760 });
    await d.get(server.url);
    const act = () => d.actions({ async: true });
    const keys = { Space: Key.SPACE, Enter: Key.ENTER, Backspace: Key.BACK_SPACE };
    const shown = (el) => d.executeScript((e) => e.scrollIntoView({ block: 'nearest' }), el).then(() => el);
    return {
      // An element scrolled into view first, as Playwright and puppeteer do.
      move: async (to) => act().move(typeof to === 'string' ? { origin: await d.findElement(By.css(to)).then(shown) }
                                                            : { origin: Origin.VIEWPORT, x: to[0], y: to[1] }).perform(),
      down: (button) => act().press(Button[button.toUpperCase()]).perform(),
      up: (button) => act().release(Button[button.toUpperCase()]).perform(),
      key: (key) => (key === 'SelectAll' ? act().keyDown(Key.CONTROL).sendKeys('a').keyUp(Key.CONTROL)
                                         : act().sendKeys(keys[key])).perform(),
      // While a mouse button is down, WebKitGTK types a character without
      // the Shift it needs ("&" comes out "7"): the characters WebDriver
      // calls shifted get the key held.
      type: (text) => [...text].reduce((a, c) => (/[A-Z~!@#$%^&*()_+{}|:"<>?]/.test(c)
        ? a.keyDown(Key.SHIFT).sendKeys(c).keyUp(Key.SHIFT) : a.sendKeys(c)), act()).perform(),
      commit: (text) => d.executeScript((t) => { document.execCommand('insertText', false, t); }, text),
      evaluate: (fn, arg) => d.executeScript(fn, arg),
      reload: () => d.get(server.url),
      go: (fragment) => d.get(server.url + fragment),
      tick: () => d.executeScript(() => window.petcalcClock.tick(100)),
      resume: () => d.executeScript(() => { window.petcalcClock.resume(); }),
      // The window, toolbar included: WebKitGTK keeps it at least 447 px wide.
      size: (width, height) => d.manage().window().setRect({ width, height }),
      desktop: [1000, 760],
      shot: () => d.takeScreenshot().then((png) => Buffer.from(png, 'base64')),
      close: () => d.quit().catch(() => {}).then(server.close).then(() => driver.kill())
        .then(() => rm(downloads, { recursive: true, force: true })),
    };
  },
};
