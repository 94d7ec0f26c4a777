// The main window's picture described in words: where the red polyline
// lies beside the blue cycloid as drawn and how far apart at half the
// drop, what the descent is doing, and the printed time.
//
// The module's reading first, in node: the sides against a slow plain
// reading of the drawn curves (the cycloid's vertices as the Windows
// program paints them, the polyline's from the host build's states), and
// what the descent is doing against rodadero-trace's sweep (the step each
// position's cycle begins, its period and times) at the steps either side
// of where the reading must change. Then the page, in Chromium, in every
// language of the catalogs: the picture's name in the accessibility tree
// (ariaSnapshot) as the run goes on, said again at most every few seconds
// and at once on Enter.
import { test, expect } from './page_fixture.mjs';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { moduleBytes, moduleInstance } from './page_parts.mjs';
import { byRole, nativeStates, openAt, openPage, referenceJson, ticks } from './page_fixture.mjs';
import { traceRows } from './trace_fixture.mjs';

const PAGE = process.env.RODADERO_PAGE || 'build/web/rodadero.html';
const TEXTS = fileURLToPath(new URL('../../texts', import.meta.url));
const CATALOGS = Object.fromEntries(fs.readdirSync(TEXTS).filter((f) => f.endsWith('.json'))
  .map((f) => [path.basename(f, '.json'), JSON.parse(fs.readFileSync(path.join(TEXTS, f), 'utf8'))]));

// The window's pen is 2 pixels wide: lines closer than that touch.
const PEN_PX = 2;

// --- A slow plain reading of the drawn picture -----------------------------

// The two curves as the window draws them, in pixels: the cycloid's
// vertices as the Windows program paints them (page_reference.exe), the
// polyline's at the depths it paints them, x = 400 x ShownX cut toward
// zero, the last at the end.
function drawnCurves(shownX) {
  const wine = referenceJson('picture-0.json');
  const polyline = wine.polyline.map(([x, y], j) => [j < 20 ? Math.trunc(400 * shownX[j]) : x, y]);
  return { polyline, cycloid: wine.cycloid };
}

// The x of a curve at depth y, on the first of its segments that goes down
// across y; null where none does.
function xAtDepth(curve, y) {
  for (let k = 0; k + 1 < curve.length; ++k) {
    const [[x0, y0], [x1, y1]] = [curve[k], curve[k + 1]];
    if (y1 > y0 && y >= y0 && y <= y1)
      return x0 + ((x1 - x0) * (y - y0)) / (y1 - y0);
  }
  return null;
}

// The distance from a point to the nearest point of a curve.
function distanceTo(curve, [px, py]) {
  let best = Infinity;
  for (let k = 0; k + 1 < curve.length; ++k) {
    const [[x0, y0], [x1, y1]] = [curve[k], curve[k + 1]];
    const [dx, dy] = [x1 - x0, y1 - y0];
    const t = Math.max(0, Math.min(1, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)));
    best = Math.min(best, Math.hypot(px - x0 - t * dx, py - y0 - t * dy));
  }
  return best;
}

// Where the polyline lies, looked at every sixteenth of a pixel of depth
// from where both curves are drawn to the polyline's end: a side counts
// where the polyline is further than the pen's width from every point of
// the cycloid; right of it at the same depth is above it. And the
// horizontal gap at half the end's depth, in whole pixels.
function plainReading({ polyline, cycloid }) {
  const top = Math.max(polyline[0][1], cycloid[0][1]);
  const end = polyline[polyline.length - 1][1];
  let [above, below] = [false, false];
  for (let y = top; y <= end; y += 1 / 16) {
    const xp = xAtDepth(polyline, y);
    const xc = xAtDepth(cycloid, y);
    if (xc === null || distanceTo(cycloid, [xp, y]) <= PEN_PX)
      continue;
    above = above || xp > xc;
    below = below || xp < xc;
  }
  const side = above && below ? 'crossing' : above ? 'above' : below ? 'below' : 'along';
  return { side, midPx: Math.round(xAtDepth(polyline, end / 2) - xAtDepth(cycloid, end / 2)) };
}

// --- The module in node ------------------------------------------------------

// An instance of the page's module with the window created: stepping it,
// writing its record and reading the picture.
function windowModule() {
  const { e, contract } = moduleInstance(new WebAssembly.Module(moduleBytes(PAGE)));
  const record = contract.places.record.address;
  const field = (name) => {
    const f = contract.structs.CurveStateRecord.fields[name];
    return new Float64Array(e.memory.buffer, record + f.offset, f.count);
  };
  const named = (codes, code) => Object.keys(codes).find((name) => codes[name] === code);
  e.rodadero_start();
  return {
    e, contract, field,
    // The dialog's bar moved to position p, as the page moves it.
    position(p) {
      e.rodadero_scroll(contract.scroll.codes.THUMB_POSITION, p);
      e.rodadero_scroll(contract.scroll.codes.END, 0);
    },
    // n ticks of the main window's timer in the timed mode: n steps.
    steps(n) {
      for (let i = 0; i < n; ++i)
        e.rodadero_main_tick();
    },
    // A paint, and the picture it drew read.
    read() {
      const address = e.rodadero_picture_reading(e.rodadero_paint());
      const reading = {};
      for (const [name, f] of Object.entries(contract.structs.PictureReading.fields))
        reading[name] = new (f.type === 'f64' ? Float64Array : Int32Array)(
          e.memory.buffer, address + f.offset, 1)[0];
      return { ...reading, side: named(contract.pictureSides, reading.side),
               descent: named(contract.descents, reading.descent) };
    },
  };
}

// The host build's state after `steps` steps at the window's step factor.
function nativeAfter(w, steps) {
  const [s] = nativeStates([`alpha=${w.field('Alpha')[0]},${steps}`]);
  const value = (hex) => Buffer.from(hex, 'hex').readDoubleBE(0);
  return { shownX: s.shownX.map(value), fallTime: value(s.fallTime) };
}

test('where the polyline lies and how far at half the drop, against a plain reading', () => {
  // [what, how the state is made, ShownX where it is written by hand]
  const vertical = [0, ...Array(19).fill(0), 1];
  const rows = [
    // The chord: node 10 at x = 200 px, the cycloid at depth 183 px at
    // 85 + 29 x 15 / 31 = 99.03 px: 101 px to its right, above it.
    { what: 'the chord', position: 50, steps: 0, side: 'above', midPx: 101 },
    // Straight down, then across to the end: left of the cycloid, 99 px.
    { what: 'straight down', shownX: vertical, side: 'below', midPx: -99 },
    // Position 100 swinging: node 1 left of the start, the rest right.
    { what: 'position 100 swinging', position: 100, steps: 2919, side: 'crossing' },
    // Position 54 settled on the cycloid within a pixel or two.
    { what: 'position 54 settled', position: 54, steps: 15382, side: 'along' },
  ];
  for (const row of rows) {
    const w = windowModule();
    let shownX = row.shownX;
    if (shownX) {
      w.steps(1);
      w.field('ShownX').set(shownX);
    } else {
      w.position(row.position);
      w.steps(row.steps);
      shownX = Array.from(w.field('ShownX'));
      if (row.steps)
        expect(shownX, `${row.what}: the host build's state`).toEqual(nativeAfter(w, row.steps).shownX);
    }
    const plain = plainReading(drawnCurves(shownX));
    expect(plain.side, `${row.what}: the plain reading`).toBe(row.side);
    if (row.midPx !== undefined)
      expect(plain.midPx, `${row.what}: the plain reading`).toBe(row.midPx);
    const read = w.read();
    expect({ side: read.side, midPx: Math.round(read.midOffsetPx) }, row.what).toEqual(plain);
  }
});

// What the reading must say of a run from the chord at a position after
// `steps` steps, from that position's row of rodadero-trace --sweep: on
// its cycle from cycle_from on; moving toward it where the cycle closes
// within the look-ahead (its start and one period), still moving where
// further.
function expectedDoing(row, steps, lookAhead) {
  const [from, period] = [Number(row.cycle_from), Number(row.period)];
  const times = { lowUs: Number(row.low_us), highUs: Number(row.high_us) };
  if (steps === 0)
    return { descent: 'waiting' };
  if (steps >= from)
    return { descent: period === 1 ? 'settled' : 'swinging', period, ...times, stepsToCycle: 0 };
  if (from - steps + period <= lookAhead)
    return { descent: period === 1 ? 'toSettle' : 'toSwing', period, ...times,
             stepsToCycle: from - steps };
  return { descent: 'moving', period: 0 };
}

test('what the descent is doing, against the sweep\'s cycles', () => {
  // Each position at the steps where its reading changes, either side.
  const rows = [
    { position: 100, steps: [0, 1, 6710, 6711, 6712] },
    { position: 54, steps: [1, 5382, 5383, 15381, 15382] },
    { position: 57, steps: [14590, 14591] }, // two polylines of the same time
    { position: 70, steps: [1389, 1390] },
    { position: 1, steps: [1, 3000] },
  ];
  for (const { position, steps } of rows) {
    const [row] = traceRows(['--sweep', '--position', `${position}`]);
    const w = windowModule();
    w.position(position);
    let done = 0;
    for (const n of steps) {
      w.steps(n - done);
      done = n;
      const want = expectedDoing(row, n, w.contract.descentLookAhead);
      const read = w.read();
      const got = Object.fromEntries(Object.keys(want).map((k) => [k, read[k]]));
      expect(got, `position ${position} after ${n} steps`).toEqual(want);
    }
  }
});

test('a descent past what the window prints grows without bound', () => {
  // No step factor of the dialog gets there: a step factor of a million
  // throws the polyline out to infinities within a few steps.
  const w = windowModule();
  w.steps(1);
  w.field('Alpha')[0] = 1e6;
  expect(w.read().descent).toBe('growing');
  // And one with every abscissa no number at all.
  const n = windowModule();
  n.steps(1);
  n.field('ShownX').fill(NaN, 1, 20);
  n.field('NodeX').fill(NaN, 1, 20);
  expect(n.read().descent).toBe('growing');
});

// --- The page --------------------------------------------------------------

// A catalog's text at `path` with its {names} filled in, numbers written
// as the language writes them, in the plural form for `count`.
function say(code, textPath, values = {}, count = undefined) {
  const { locale } = CATALOGS[code].language;
  let text = textPath.split('.').reduce((part, name) => part[name], CATALOGS[code]);
  if (typeof text === 'object')
    text = text[new Intl.PluralRules(locale).select(count)] ?? text.other;
  const number = new Intl.NumberFormat(locale, { useGrouping: false });
  return text.replace(/\{(\w+)\}/g, (whole, name) => number.format(values[name]));
}

// The picture's name as the accessibility tree gives it, for `expected`:
// {side, midPx, descent, low, high, us}.
function pictureName(code, { side, midPx, descent, low, high, us }) {
  const pixels = Math.abs(midPx);
  const mid = midPx === 0 ? say(code, 'reading.level')
    : say(code, midPx > 0 ? 'reading.right' : 'reading.left', { pixels }, pixels);
  const name = [say(code, 'program.captions'), say(code, `reading.sides.${side}`), mid,
                say(code, `reading.descents.${descent}`, { low, high }),
                say(code, 'program.time', { us })].join(' ');
  return `- img "${name.replace(/\s+/g, ' ')}"`;
}

// The page's run after `steps` steps at its step factor, read plainly:
// the host build's state drawn.
async function plainAfter(page, steps) {
  const { alpha } = await page.evaluate(() => window.rodadero.state());
  const [s] = nativeStates([`alpha=${alpha},${steps}`]);
  const value = (hex) => Buffer.from(hex, 'hex').readDoubleBE(0);
  const { side, midPx } = plainReading(drawnCurves(s.shownX.map(value)));
  return { side, midPx, us: Math.trunc(value(s.fallTime) * 1e6) };
}

// Position 77: its polyline crosses the cycloid from step 88 on, and its
// cycle of two steps begins at step 10083 (the sweep): it closes beyond
// the look-ahead until step 84, within it after.
const POSITION = 77;
const DESCRIBE_PERIOD_MS = 3000;

for (const code of Object.keys(CATALOGS)) {
  test(`the picture in words, in ${code}, as the run goes on`, async ({ page }) => {
    const [row] = traceRows(['--sweep', '--position', `${POSITION}`]);
    expect([row.cycle_from, row.period]).toEqual(['10083', '2']);
    const swing = { low: Number(row.low_us), high: Number(row.high_us) };
    await openAt(page, `#posicion=${POSITION}&lang=${code}`);
    const picture = page.locator('#plot');
    // Before the first step: the chord (hand-worked above), waiting.
    expect(await picture.ariaSnapshot()).toBe(
      pictureName(code, { side: 'above', midPx: 101, descent: 'waiting', us: 0 }));
    await picture.focus();
    // 20 ticks of each timer, 40 steps: above, still moving.
    await ticks(page, 20);
    await page.keyboard.press('Enter');
    expect(await picture.ariaSnapshot()).toBe(
      pictureName(code, { ...(await plainAfter(page, 40)), descent: 'moving' }));
    // 24 more, 88 steps: crossing, its cycle within the look-ahead.
    await ticks(page, 24);
    await page.keyboard.press('Enter');
    expect(await picture.ariaSnapshot()).toBe(
      pictureName(code, { ...(await plainAfter(page, 88)), descent: 'toSwing', ...swing }));
  });
}

test('the picture is said at most every few seconds, and at once on Enter', async ({ page }) => {
  await openAt(page, `#posicion=${POSITION}`);
  const picture = page.locator('#plot');
  await expect(picture).toHaveAttribute('aria-keyshortcuts', /Enter/);
  await expect(picture).toHaveAccessibleDescription(/Intro/);
  // Every change said, with the page's clock at the time, and the moments
  // Enter was pressed.
  await page.evaluate(() => {
    window.saidAt = [];
    new MutationObserver(() => window.saidAt.push(Date.now()))
      .observe(document.getElementById('plot-words'), { childList: true, subtree: true,
                                                        characterData: true });
  });
  const keysAt = [];
  const enter = async () => {
    await page.keyboard.press('Enter');
    keysAt.push(await page.evaluate(() => Date.now()));
  };
  await picture.focus();
  // Enter before the first period is out, and again less than a period
  // after the picture was last said of itself.
  await ticks(page, 51);
  await enter();
  await ticks(page, 90);
  await enter();
  // Said at once at each Enter; otherwise at least DESCRIBE_PERIOD_MS
  // after the time before, so at most once a period.
  const saidAt = [...new Set(await page.evaluate(() => window.saidAt))];
  for (const t of keysAt)
    expect(saidAt, 'said when Enter was pressed').toContain(t);
  const periodic = saidAt.filter((t) => !keysAt.includes(t));
  expect(periodic.length).toBeGreaterThanOrEqual(1);
  expect(periodic.length).toBeLessThanOrEqual(Math.ceil((141 * 50) / DESCRIBE_PERIOD_MS));
  for (const t of periodic) {
    const before = saidAt.filter((u) => u < t);
    if (before.length)
      expect(t - Math.max(...before), `said at ${t}`).toBeGreaterThanOrEqual(DESCRIBE_PERIOD_MS);
  }
  expect(keysAt[1] - Math.max(...periodic)).toBeLessThan(DESCRIBE_PERIOD_MS);
});

test('the picture\'s words are a polite live region; its time is the window\'s, the last one on Escape',
     async ({ page }) => {
  await openPage(page);
  await expect(page.getByRole('img', { name: /Tiempo de caida/ })).toHaveCount(1);
  const words = page.locator('#plot-words');
  await expect(words).toHaveAttribute('aria-live', 'polite');
  await expect(words).toHaveAttribute('aria-atomic', 'true');
  const time = page.locator('#plot-time');
  await expect(time).toHaveText('Tiempo de caida  0  millonesimos de segundo', { useInnerText: false });
  await page.evaluate(() => {
    window.timeTexts = [];
    new MutationObserver(() => window.timeTexts.push(document.getElementById('plot-time').textContent))
      .observe(document.getElementById('plot-time'), { childList: true, characterData: true, subtree: true });
  });
  // Over 6 s the time is said again once or twice, each time as the
  // window prints it.
  await ticks(page, 20);
  await ticks(page, 100);
  const texts = await page.evaluate(() => window.timeTexts);
  expect(texts.length).toBeGreaterThanOrEqual(1);
  expect(texts.length).toBeLessThanOrEqual(Math.ceil((120 * 50) / DESCRIBE_PERIOD_MS));
  for (const t of texts)
    expect(t).toMatch(/^Tiempo de caida {2}\d{6} {2}millonesimos de segundo$/);
  // After 2 steps (one tick of each timer) the program prints 582210,
  // said at once when Escape ends the run.
  await openPage(page);
  await ticks(page, 1);
  await byRole(page).plot.focus();
  await page.keyboard.press('Escape');
  await expect(time).toHaveText('Tiempo de caida  582210  millonesimos de segundo');
});
