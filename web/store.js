// The kept pets: each one's record under a key of its own in localStorage,
// in the list's order ("petcalc-pet", "petcalc-pet1", ... by number), and
// the number of the one shown under "petcalc-shown", how the table is
// sorted under "petcalc-sort". A record the module
// cannot read (damaged, or from a newer version) is set aside: never
// written, never removed, its key skipped. Another tab's save is followed
// (the storage event, and before any input acts), never overwritten unseen.
//
// A browser writes localStorage to disk when it will (Firefox and Chromium
// some seconds after a change), so a browser killed meanwhile loses the
// last saves. Each save is therefore journaled in IndexedDB too, whose
// transaction has handed it to the system when it completes: every key of
// ours as saved, under the save's number, which "petcalc-saved" counts in
// localStorage. A journal numbered higher than that count holds saves that
// localStorage lost: it is written back before the pets load. Otherwise
// it is left alone, so localStorage stays what every tab reads and follows.
const KEY = 'petcalc-pet', SHOWN = 'petcalc-shown', SORT = 'petcalc-sort', SAVED = 'petcalc-saved', STAMP = 'petcalc-stamp';
const ours = /^petcalc-pet\d*$/;
let store = null;  // null where the browser keeps nothing for the page
let db = null;     // the journal; null where IndexedDB is missing or refuses
let slots = [];    // the keys of the list's pets, in order
let kept = null;   // every key of ours as last read or written; null while loading
let page;          // the page's side: begin(), record(text) -> read, end(shown), setAside(), full()

const numberOf = (key) => Number(key.slice(KEY.length) || 0);
function petKeys() {
  const keys = [];
  for (let i = 0; i < store.length; i++) if (ours.test(store.key(i))) keys.push(store.key(i));
  return keys.sort((a, b) => numberOf(a) - numberOf(b));
}
// What a save leaves for every tab to tell it by: the count of saves and a
// stamp of this one (two tabs may reach the same count).
const look = () => `${store.getItem(SAVED)} ${store.getItem(STAMP)}`;
const count = () => { const n = store.getItem(SAVED) ?? ''; return /^\d{1,15}$/.test(n) ? Number(n) : 0; };
function follow() {
  kept = null;  // loading writes nothing back
  slots = [];
  page.begin();
  for (const key of petKeys()) {
    if (page.record(store.getItem(key))) slots.push(key);
    else page.setAside();
  }
  // What another tab is writing may have reached this tab's store in part:
  // following writes nothing back (the shown pet's number, say), or that tab
  // would follow a list it is in the middle of writing.
  page.end(Number(store.getItem(SHOWN)), store.getItem(SORT) ?? '');
  kept = look();
}
export const fresh = () => kept !== null && look() !== kept && follow();

// The sort left out (a pet's record alone changed) stays as it is.
export function save(records, current, sort) {
  // A save another tab made just now is that tab's: its event follows.
  if (!store || kept === null || look() !== kept) return;
  let wrote = false;
  const set = (key, text) => { if (store.getItem(key) !== text) store.setItem(key, text), wrote = true; };
  try {
    records.forEach((_, i) => {
      slots[i] ??= KEY + (Math.max(-1, ...petKeys().map(numberOf), ...slots.map(numberOf)) + 1 || '');
    });
    // From the last: a pet put in shifts the later ones a key on, and a full
    // store stopping that midway then leaves one pet twice, never one lost.
    for (let i = records.length - 1; i >= 0; i--) set(slots[i], records[i]);
    for (const key of slots.splice(records.length)) store.removeItem(key), wrote = true;
    set(SHOWN, String(current));
    if (sort !== undefined) set(SORT, sort);
    // The stamp keeps one length: a full store then refuses a save for the
    // save's own text, never for the stamp's.
    if (wrote) store.setItem(SAVED, String(count() + 1)), store.setItem(STAMP, String(Math.random()).slice(2, 12).padEnd(10, '0')), journal();
  } catch {
    page.full();  // what was saved before stays, and its journal
  }
  kept = look();
}

// The journal is one record (under its format's number, so a later format
// keeps one of its own): { saved, items: [[key, text]...], aside: [key...] }.
// Read from storage, so checked before it is believed.
const valid = (j) => j !== null && typeof j === 'object' && Number.isSafeInteger(j.saved) && Array.isArray(j.items)
  && Array.isArray(j.aside) && j.aside.every((k) => typeof k === 'string')
  && j.items.every((e) => Array.isArray(e) && e.length === 2 && (ours.test(e[0]) || e[0] === SHOWN || e[0] === SORT)
    && typeof e[1] === 'string');
const request = (make) => new Promise((done) => {
  try {
    const r = make();
    r.onsuccess = () => done(r.result);
    r.onerror = () => done(undefined);
  } catch {
    done(undefined);  // no IndexedDB, or it refuses the site
  }
});

// One write under way at a time, of the store as the write finds it: a
// burst of typing journals its last state, and every write waits for the
// one before. A write starts in a task of its own, after the event that
// saved: opening a transaction would cost that event a millisecond on a
// slow phone. (A message, not a timer: a stopped clock stops no save.)
let dirty = false, writing = null;
const nextTask = () => new Promise((run) => {
  const channel = new MessageChannel();
  channel.port1.onmessage = () => run();
  channel.port2.postMessage(null);
});
function journal() {
  if (!db) return;
  dirty = true;
  writing ??= nextTask().then(() => new Promise(write)).then(() => { writing = null; });
}
function write(done) {
  dirty = false;
  if (!db) return done();
  const record = { saved: count(), items: [...slots, SHOWN, SORT].map((k) => [k, store.getItem(k)]).filter(([, t]) => t !== null),
    aside: petKeys().filter((k) => !slots.includes(k)) };
  try {
    const tx = db.transaction('journal', 'readwrite'), journals = tx.objectStore('journal');
    // Tabs journal side by side: a higher number already there stays.
    const there = journals.get(1);
    there.onsuccess = () => { if (!valid(there.result) || there.result.saved < record.saved) journals.put(record, 1); };
    tx.oncomplete = tx.onabort = () => (dirty ? write(done) : done());  // a full quota keeps the last journal
  } catch {
    db = null;
    done();
  }
}
// Resolves once every save made so far is journaled (or could not be).
export const journaled = () => writing ?? Promise.resolve();

// Saves that localStorage lost, written back: the pets' keys as journaled,
// a key of ours the journal lacks removed (its pet was deleted), a key set
// aside left as it is.
function replay(j) {
  if (!valid(j) || j.saved <= count()) return;
  const want = new Map(j.items), aside = new Set(j.aside);
  try {
    for (const key of petKeys()) if (!want.has(key) && !aside.has(key)) store.removeItem(key);
    for (const [key, text] of want) if (!aside.has(key) && store.getItem(key) !== text) store.setItem(key, text);
    store.setItem(SAVED, String(j.saved));
  } catch {
    page.full();
  }
}

// Where the browser keeps nothing (site data blocked: the getter throws;
// Firefox with storage off: null) the page keeps nothing: false.
export async function openStore(side) {
  page = side;
  try {
    store = localStorage;
    store.getItem(KEY);
  } catch {
    store = null;
  }
  if (!store) return false;
  db = (await request(() => Object.assign(indexedDB.open('petcalc', 1),
    { onupgradeneeded: (e) => e.target.result.createObjectStore('journal') }))) ?? null;
  if (db) {
    db.onversionchange = () => { db.close(); db = null; };  // a later page's upgrade is not kept waiting
    replay(await request(() => db.transaction('journal').objectStore('journal').get(1)));
  }
  follow();
  return true;
}
