// The shared link as a QR code on a canvas, for a phone's camera to read
// off the screen. The modules come from Debian's node-qrcode-generator,
// served as qrcode.js (web/CMakeLists.txt makes it an ES module); it is
// loaded on the first share only, so the page's first load never waits
// for it. Drawn as pixels, never as markup made from the link.

let encoder = null;
function load() {
  encoder ??= import('./qrcode.js').then(({ default: qrcode }) => {
    // Its default turns each UTF-16 unit into one byte; a phone reads UTF-8.
    qrcode.stringToBytes = qrcode.stringToBytesFuncs['UTF-8'];
    return qrcode;
  });
  return encoder;
}

// Level M mends a smudge or a glare over 15% of the code; four modules of
// white around it are the quiet zone a reader needs to find it. A module is
// at least 4 CSS px, so a camera at arm's length resolves it, and the whole
// keeps within 264 CSS px, so it fits a 320-px phone with its margins. Each
// module is a whole number of device pixels, so none is blurred; black on
// white in either colour scheme, as every reader expects.
const quiet = 4, widest = 264, least = 4;

// Calls resolve in order (one shared import): the last link asked for is
// the one drawn. canvas.dataset.drawn holds the text once it is drawn.
export async function drawQr(canvas, text) {
  delete canvas.dataset.drawn;
  const qrcode = await load();
  const qr = qrcode(0, 'M');  // 0: the smallest version that holds the text
  qr.addData(text, 'Byte');
  qr.make();
  const count = qr.getModuleCount(), side = count + 2 * quiet;
  const ratio = window.devicePixelRatio || 1;
  const css = Math.max(least, Math.floor(widest / side));
  // A fractional ratio (1.25, 2.625): the nearest whole device pixels, never
  // under 4 CSS px, and the CSS size follows them so the bitmap maps 1:1.
  const device = Math.max(Math.ceil(least * ratio - 1e-9), Math.round(css * ratio));
  canvas.width = canvas.height = side * device;
  canvas.style.width = canvas.style.height = `${side * device / ratio}px`;
  const g = canvas.getContext('2d');
  g.fillStyle = '#fff';
  g.fillRect(0, 0, canvas.width, canvas.height);
  g.fillStyle = '#000';
  for (let row = 0; row < count; row++) {
    // Each run of dark modules in a row as one rectangle.
    for (let col = 0; col < count;) {
      if (!qr.isDark(row, col)) { col++; continue; }
      const from = col;
      while (col < count && qr.isDark(row, col)) col++;
      g.fillRect((quiet + from) * device, (quiet + row) * device, (col - from) * device, device);
    }
  }
  canvas.dataset.drawn = text;
}
