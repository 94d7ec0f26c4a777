// The page against the Windows program under Wine: its layout (the picture's
// size, the dialog, its controls and texts, the scroll bar's thumb at every
// position) against the real windows' measurements, and its picture
// against the same state painted by the program's own PaintPlot
// (picture_check.mjs); and the page in mid-descent against its reference
// screenshot.
import path from 'node:path';
import {
  test, expect, openPage, ticks, state, referenceJson, canvasPixels, byRole, OUT_DIR,
} from './page_fixture.mjs';
import { BACKGROUND, checkPicture, colour, hex } from './picture_check.mjs';
import { WINE_LAYOUT } from '../../web/layout.js';

const PICTURES = [
  { ticks: 0, steps: 0, what: 'the first paint' },
  { ticks: 60, steps: 120, what: 'after 60 ticks of each timer' },
];

for (const picture of PICTURES) {
  test(`the picture, ${picture.what}, against the Windows program's`, async ({ page }) => {
    await openPage(page);
    await ticks(page, picture.ticks);
    checkPicture(picture.steps, await canvasPixels(page), picture.what,
                 path.join(OUT_DIR, `picture-comparison-${picture.steps}.txt`));
  });
}

// The window in mid-descent, the dialog over the picture, and the
// language switch beside it, as a person sees them.
test('the page in mid-descent, against its reference screenshot', async ({ page }) => {
  await openPage(page);
  await ticks(page, 60);
  expect((await state(page)).fallTime).toBeLessThan(0.56);
  await expect(page).toHaveScreenshot('mid-descent.png');
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
  // The table the page's script is built from (web/layout.js).
  expect(WINE_LAYOUT.colours).toEqual(wine.colours);
  expect(WINE_LAYOUT.plotFont).toEqual({ height: wine.plotFont.height,
                                         ascent: wine.plotFont.ascent,
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
