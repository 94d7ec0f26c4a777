// The page against the Windows program under Wine: its layout (the picture's
// size, the dialog, its controls and texts, the scroll bar's thumb at every
// position) against the real windows' measurements, and its picture
// against the same state painted by the program's own PaintPlot, pixel for
// pixel where the two must agree. Line rasterisation (the page's diagonal
// lines are antialiased) and the glyphs of the font may differ; what does
// is counted and printed. Leaves a screenshot of the page in mid-descent.
import fs from 'node:fs';
import path from 'node:path';
import {
  test, expect, openPage, ticks, state, readPpm, referenceJson, canvasPixels, byRole, OUT_DIR,
} from './page_fixture.mjs';

const BACKGROUND = 0xc8c8a0;
const WHITE = 0xffffff;
const CURVE_COLOURS = { polyline: 0xff0000, cycloid: 0x0096fa };
const LINE_COLOURS = [0x000000, 0xfafa00]; // the frame and the target lines
// The captions' top-left corners.
const CAPTIONS = [[10, 375], [140, 70], [140, 30]];

function colour(image, x, y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height)
    return -1;
  const i = 3 * (y * image.width + x);
  return (image.rgb[i] << 16) | (image.rgb[i + 1] << 8) | image.rgb[i + 2];
}

function near(image, x, y, radius, test) {
  for (let dy = -radius; dy <= radius; ++dy)
    for (let dx = -radius; dx <= radius; ++dx)
      if (test(colour(image, x + dx, y + dy)))
        return true;
  return false;
}

// A caption's white cells: the box around its white pixels.
function whiteBox(image, [x, y]) {
  let box = null;
  for (let yy = y - 3; yy < y + 20; ++yy)
    for (let xx = x - 3; xx < x + 520; ++xx)
      if (colour(image, xx, yy) === WHITE)
        box = box ? [Math.min(box[0], xx), Math.min(box[1], yy), Math.max(box[2], xx + 1),
                     Math.max(box[3], yy + 1)]
                  : [xx, yy, xx + 1, yy + 1];
  return box;
}

function inside(box, x, y) {
  return box && x >= box[0] && x < box[2] && y >= box[1] && y < box[3];
}

function hex(c) {
  return `#${c.toString(16).padStart(6, '0')}`;
}

function compare(wine, page, vertices) {
  const boxes = CAPTIONS.map((c) => whiteBox(wine, c));
  const inCaption = (x, y) => boxes.some((b) => inside(b, x, y));
  const faults = [];
  const fault = (what, x, y) => faults.length < 20 &&
    faults.push(`${what} at (${x}, ${y}): Windows ${hex(colour(wine, x, y))}, page ${hex(colour(page, x, y))}`);
  let differing = 0;
  let differingInCaptions = 0;
  for (let y = 0; y < wine.height; ++y) {
    for (let x = 0; x < wine.width; ++x) {
      const w = colour(wine, x, y);
      const p = colour(page, x, y);
      if (w !== p) {
        ++differing;
        if (inCaption(x, y))
          ++differingInCaptions;
      }
      // Background wherever either picture has nothing else within 2 pixels.
      if (!near(wine, x, y, 2, (c) => c !== BACKGROUND) && p !== BACKGROUND)
        fault('page draws on the background', x, y);
      if (!near(page, x, y, 2, (c) => c !== BACKGROUND) && w !== BACKGROUND)
        fault('page misses a drawing', x, y);
      // The frame and the target lines, outside the captions, both ways.
      if (!inCaption(x, y) && (LINE_COLOURS.includes(w) || LINE_COLOURS.includes(p)) && w !== p)
        fault('frame or target line', x, y);
    }
  }
  // Vertices where the Windows picture shows the curve's own colour with no
  // other drawing within 2 pixels.
  let vertexCount = 0;
  for (const [curve, points] of Object.entries(vertices)) {
    const own = CURVE_COLOURS[curve];
    for (const [x, y] of points) {
      if (colour(wine, x, y) !== own || near(wine, x, y, 2, (c) => c !== own && c !== BACKGROUND))
        continue;
      ++vertexCount;
      if (colour(page, x, y) !== own)
        fault(`${curve} vertex`, x, y);
    }
  }
  const pageBoxes = CAPTIONS.map((c) => whiteBox(page, c));
  return { faults, differing, differingInCaptions, vertexCount, boxes, pageBoxes };
}

const PICTURES = [
  { ticks: 0, steps: 0, what: 'the first paint' },
  { ticks: 60, steps: 120, what: 'after 60 ticks of each timer' },
];

for (const picture of PICTURES) {
  test(`the picture, ${picture.what}, against the Windows program's`, async ({ page }) => {
    await openPage(page);
    await ticks(page, picture.ticks);
    const wine = readPpm(`picture-${picture.steps}.ppm`);
    const mine = await canvasPixels(page);
    expect([mine.width, mine.height]).toEqual([wine.width, wine.height]);
    const r = compare(wine, mine, referenceJson(`picture-${picture.steps}.json`));
    const report = `${picture.what}: ${r.differing} of ${wine.width * wine.height} pixels differ, ` +
      `${r.differingInCaptions} of them in the captions' cells (glyphs), the rest along the ` +
      `curves (antialiased lines); ${r.vertexCount} vertices compared; caption cells ` +
      `${JSON.stringify(r.boxes)}`;
    console.log(report);
    fs.writeFileSync(path.join(OUT_DIR, `picture-comparison-${picture.steps}.txt`), `${report}\n`);
    expect(r.faults).toEqual([]);
    expect(r.vertexCount).toBeGreaterThan(20);
    // The captions' cells start at their corners and cover the same pixels.
    expect(r.boxes.map((b) => b.slice(0, 2))).toEqual(CAPTIONS);
    expect(r.pageBoxes).toEqual(r.boxes);
  });
}

test('a screenshot of the page in mid-descent', async ({ page }) => {
  await openPage(page);
  await ticks(page, 60);
  const file = path.join(OUT_DIR, 'rodadero-mid-descent.png');
  await page.screenshot({ path: file });
  console.log(`screenshot of the page in mid-descent: ${file}`);
  expect((await state(page)).fallTime).toBeLessThan(0.56);
});

// Where an element is, in pixels from the canvas's top-left corner.
async function rectOf(page, element) {
  const origin = await byRole(page).plot.evaluate((plot) => {
    const r = plot.getBoundingClientRect();
    return [r.left, r.top];
  });
  return element.evaluate((el, [left, top]) => {
    const r = el.getBoundingClientRect();
    return [r.left - left, r.top - top, r.width, r.height];
  }, origin);
}

test('the layout is the real windows\' under Wine', async ({ page }) => {
  const wine = referenceJson('layout.json');
  await openPage(page);
  const the = byRole(page);
  expect((await rectOf(page, the.plot)).slice(2)).toEqual(wine.client);
  expect(await page.evaluate(() => document.querySelector('title').textContent)).toBe(wine.caption);
  expect(await rectOf(page, the.dialog)).toEqual(wine.dialog.window);
  expect(await rectOf(page, the.dialog.locator('.client'))).toEqual(wine.dialog.client);
  expect(await rectOf(page, the.close)).toEqual(wine.dialog.closeBox);
  expect(await the.dialogCaption.textContent()).toBe(wine.dialog.caption);

  // The six controls in the template's order, with their texts.
  const controls = await page.evaluate(() => [...document.querySelectorAll('#dialog .client > *')]
    .map((e) => ({ id: e.id, kind: e.tagName === 'BUTTON' ? 'Button' : e.getAttribute('role') === 'slider' ? 'ScrollBar' : 'Static',
                   text: e.tagName === 'IMG' ? null : e.textContent })));
  expect(controls.map((c) => c.kind)).toEqual(wine.controls.map((c) => c.class));
  for (let i = 0; i < controls.length; ++i) {
    const real = wine.controls[i];
    expect(await rectOf(page, page.locator(`#${controls[i].id}`)), controls[i].id).toEqual(real.rect);
    if (real.class !== 'ScrollBar' && controls[i].text !== null)
      expect(controls[i].text).toBe(real.text);
  }

  // The scroll bar's arrows and thumb, the thumb at every position.
  const bar = the.alpha;
  expect((await rectOf(page, bar.locator('.arrow-left')))[2]).toBe(wine.scroll.arrow);
  expect((await rectOf(page, bar.locator('.arrow-right')))[2]).toBe(wine.scroll.arrow);
  expect((await rectOf(page, bar.locator('.thumb')))[2]).toBe(wine.scroll.thumb);
  const barLeft = (await rectOf(page, bar))[0];
  const thumbAt = async () => (await rectOf(page, bar.locator('.thumb')))[0] - barLeft;
  const lefts = new Array(100);
  await bar.focus();
  lefts[49] = await thumbAt();
  for (let p = 49; p >= 1; --p) {
    await page.keyboard.press('ArrowLeft');
    lefts[p - 1] = await thumbAt();
  }
  for (let p = 2; p <= 100; ++p) {
    await page.keyboard.press('ArrowRight');
    lefts[p - 1] = await thumbAt();
  }
  expect(lefts).toEqual(wine.scroll.thumbLeft);

  // The dialog's colours, and the font the captions' cells are laid out in.
  const face = await the.dialog.evaluate((dialog) => getComputedStyle(dialog).backgroundColor);
  const [r, g, b] = face.match(/\d+/g).map(Number);
  expect(hex((r << 16) | (g << 8) | b)).toBe(wine.colours.face);
  const table = await page.evaluate(() => WINE_LAYOUT);
  expect(table.colours).toEqual(wine.colours);
  expect(table.plotFont).toEqual({ height: wine.plotFont.height, ascent: wine.plotFont.ascent,
                                   advances: wine.plotAdvances });
});

test('on a screen of twice the density the picture has twice the pixels, lines crisp', async ({ browser }) => {
  const context = await browser.newContext({ viewport: { width: 820, height: 460 }, deviceScaleFactor: 2 });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await openPage(page);
  const dense = await canvasPixels(page);
  expect([dense.width, dense.height]).toEqual([1204, 826]);
  expect((await rectOf(page, byRole(page).plot)).slice(2)).toEqual([602, 413]);
  // The horizontal target line (0, 366)-(400, 366) covers client rows 365
  // and 366: device rows 730 to 733, and nothing above or below.
  const column = [729, 730, 731, 732, 733, 734].map((y) => colour(dense, 400, y));
  expect(column.map(hex)).toEqual([BACKGROUND, 0xfafa00, 0xfafa00, 0xfafa00, 0xfafa00, BACKGROUND].map(hex));
  expect(errors).toEqual([]);
  await context.close();
});
