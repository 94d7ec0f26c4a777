// The page on screens of every size and density, and under a finger. From
// a 320-pixel phone to a 3840-pixel screen, at 1, 2 and 3 device pixels
// per CSS pixel: no sideways scrolling, the whole window (picture and
// dialog) in view at the top on opening, the program's own size wherever
// it fits, else the window smaller as a whole with the dialog where the
// real one is (the Wine measurements, scaled), and the canvas at the
// device's pixels. On a phone: the picture drawn sharp at its smaller size
// against the desktop's picture brought down to it, the controls under
// taps and a finger reaching the model as the mouse does, pinch zoom, and
// the notice at the end of a run. And a phone and a laptop against their
// reference screenshots.
import {
  test, expect, expectHidden, openPage, openAt, saved, ticks, state, curveBits, nativeStates, byRole,
  referenceJson, canvasPixels, PAGE_URL, mapDone,
} from './page_fixture.mjs';

const CLIENT = [602, 413];
const DIALOG_WIDTH = 221; // the real dialog's outer width under Wine
const MARGIN = 10; // the page's margin around the window
const ALPHA_AT_100 = 0.00020000000000000004; // position 100's step factor

// Screens, by CSS pixels; `fits` where the window is shown at the
// program's own size (771 x 413 with the margins fits in 791 x 433).
// Phones and tablets are touch screens.
const SCREENS = [
  { name: 'a small phone', width: 320, height: 568, touch: true, portrait: true },
  { name: 'a phone', width: 360, height: 740, touch: true, portrait: true },
  { name: 'a tall phone', width: 390, height: 844, touch: true, portrait: true },
  { name: 'a phone turned', width: 740, height: 360, touch: true },
  { name: 'a tablet', width: 820, height: 1180, touch: true, portrait: true, fits: true },
  { name: 'a laptop', width: 1280, height: 800, fits: true },
  { name: 'a desktop', width: 1920, height: 1080, fits: true },
  { name: 'a large screen', width: 3840, height: 2160, fits: true },
];

function contextOf({ width, height, touch }, dpr) {
  return { viewport: { width, height }, deviceScaleFactor: dpr, hasTouch: !!touch, isMobile: !!touch,
           locale: 'es-ES' };
}

// Boxes as [left, top, width, height] in CSS pixels of the viewport.
async function geometry(page) {
  return page.evaluate(() => {
    const box = (el) => {
      const r = el.getBoundingClientRect();
      return [r.left, r.top, r.width, r.height];
    };
    const plot = document.getElementById('plot');
    const controls = {};
    for (const el of document.querySelectorAll('#dialog .client > *'))
      controls[el.id] = box(el);
    return {
      innerWidth, innerHeight, scrollX, scrollY, dpr: devicePixelRatio,
      scrollWidth: Math.max(document.documentElement.scrollWidth, document.body.scrollWidth),
      plot: box(plot), backing: [plot.width, plot.height],
      dialog: box(document.getElementById('dialog')),
      client: box(document.querySelector('#dialog .client')),
      closeBox: box(document.getElementById('dialog-close')),
      controls,
      stage: box(document.getElementById('stage')),
      panel: box(document.getElementById('panel')),
    };
  });
}

// A box relative to the picture's top-left corner.
function fromPlot(g, [left, top, width, height]) {
  return [left - g.plot[0], top - g.plot[1], width, height];
}

function expectClose(actual, expected, tolerance, what) {
  const off = actual.map((v, i) => Math.abs(v - expected[i]));
  expect(Math.max(...off), `${what}: ${JSON.stringify(actual)} against ${JSON.stringify(expected)}`)
    .toBeLessThanOrEqual(tolerance);
}

// The window on a screen of `width` x `height` at `dpr`, as measured.
function checkWindow(g, { width, height, fits, portrait }, dpr, wine) {
  expect(g.dpr).toBe(dpr);
  expect([g.innerWidth, g.innerHeight]).toEqual([width, height]);
  expect(g.scrollWidth, 'the page\'s width').toBeLessThanOrEqual(g.innerWidth);
  expect([g.scrollX, g.scrollY], 'at the top').toEqual([0, 0]);
  // The window: the picture with the dialog over it, at the top.
  const right = Math.max(g.plot[0] + g.plot[2], g.dialog[0] + g.dialog[2]);
  const bottom = Math.max(g.plot[1] + g.plot[3], g.dialog[1] + g.dialog[3]);
  expect(g.plot.slice(0, 2)).toEqual([MARGIN, MARGIN]);
  expect(right).toBeLessThanOrEqual(g.innerWidth - MARGIN + 0.01);
  expect(bottom).toBeLessThanOrEqual(g.innerHeight - MARGIN + 0.01);

  const scale = g.dialog[2] / DIALOG_WIDTH;
  if (fits) {
    expect(scale).toBe(1);
    expect(g.plot.slice(2)).toEqual(CLIENT);
  } else {
    // As large as the screen lets it be: it meets the margin on one side.
    expect(scale).toBeLessThan(1);
    expect(Math.min(g.innerWidth - MARGIN - right, g.innerHeight - MARGIN - bottom)).toBeLessThan(0.5);
  }
  // The picture at the scale, its canvas at the device's pixels of that
  // size exactly (to the page's layout unit, 1/64 of a CSS pixel).
  expectClose(g.plot.slice(2), CLIENT.map((v) => v * scale), 0.5 / dpr + 1e-9, 'the picture\'s size');
  expect(g.backing).toEqual(g.plot.slice(2).map((v) => Math.round(v * dpr)));
  expectClose(g.backing, g.plot.slice(2).map((v) => v * dpr), dpr / 64, 'device pixels');

  // The dialog, its client area, its close box and its controls where the
  // real ones are under Wine, scaled.
  const scaled = (r) => r.map((v) => v * scale);
  expectClose(fromPlot(g, g.dialog), scaled(wine.dialog.window), 0.05, 'the dialog');
  expectClose(fromPlot(g, g.client), scaled(wine.dialog.client), 0.05, 'the dialog\'s client area');
  expectClose(fromPlot(g, g.closeBox), scaled(wine.dialog.closeBox), 0.05, 'the close box');
  const ids = Object.keys(g.controls);
  expect(ids).toHaveLength(wine.controls.length);
  ids.forEach((id, i) => expectClose(fromPlot(g, g.controls[id]), scaled(wine.controls[i].rect), 0.05, id));

  // Portrait: the panel under the window, in one column as wide as it.
  if (portrait) {
    expect(g.panel[1]).toBeGreaterThanOrEqual(g.stage[1] + g.stage[3]);
    expect(g.panel[0]).toBe(g.stage[0]);
    expect(g.panel[0] + g.panel[2]).toBeLessThanOrEqual(g.innerWidth);
  }
  return scale;
}

for (const screen of SCREENS) {
  for (const dpr of [1, 2, 3]) {
    test.describe(`${screen.name}, ${screen.width} x ${screen.height} at ${dpr}`, () => {
      test.use(contextOf(screen, dpr));
      test('the whole window in view at the top, no sideways scrolling, the canvas at device pixels',
           async ({ page }) => {
        await openPage(page);
        checkWindow(await geometry(page), screen, dpr, referenceJson('layout.json'));
      });
    });
  }
}

test.describe('a phone turned, then a window made wide', () => {
  test.use(contextOf(SCREENS[1], 3));
  test('the window fits the screen again at each size, and the picture follows', async ({ page }) => {
    const wine = referenceJson('layout.json');
    await openPage(page);
    const upright = checkWindow(await geometry(page), SCREENS[1], 3, wine);
    await ticks(page, 3);
    const s = await state(page);
    const turned = { width: SCREENS[1].height, height: SCREENS[1].width };
    // The resize event comes with the next frame.
    const dialogWidth = () => page.evaluate(() => document.getElementById('dialog').getBoundingClientRect().width);
    await page.setViewportSize(turned);
    await expect.poll(dialogWidth).toBeGreaterThan(upright * DIALOG_WIDTH);
    const across = checkWindow(await geometry(page), turned, 3, wine);
    expect(across).toBeGreaterThan(upright);
    // Drawn again at once, the same state: nothing stepped for it.
    expect(await state(page)).toEqual(s);
    const picture = await canvasPixels(page);
    expect(new Set(picture.rgb.subarray(0, 3 * picture.width * 10)).size, 'drawn').toBeGreaterThan(2);
    await page.setViewportSize({ width: 1280, height: 800 });
    await expect.poll(dialogWidth).toBe(DIALOG_WIDTH);
    checkWindow(await geometry(page), { width: 1280, height: 800, fits: true }, 3, wine);
  });
});

// Pixel boxes of a picture brought down to fewer pixels: each new pixel
// the mean of the old ones under it, weighted by how much of each it
// covers. `ratio` is old pixels to a new one.
function areaAverage(image, width, height, ratio) {
  const spans = (n, limit) => Array.from({ length: n }, (_, i) => {
    const from = i * ratio;
    const to = Math.min((i + 1) * ratio, limit);
    const parts = [];
    for (let k = Math.floor(from); k < to; ++k)
      parts.push([k, Math.min(k + 1, to) - Math.max(k, from)]);
    return parts;
  });
  const columns = spans(width, image.width);
  const rows = spans(height, image.height);
  const out = new Float64Array(width * height * 3);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      let r = 0, g = 0, b = 0, area = 0;
      for (const [sy, wy] of rows[y]) {
        for (const [sx, wx] of columns[x]) {
          const w = wx * wy;
          const i = 3 * (sy * image.width + sx);
          r += w * image.rgb[i];
          g += w * image.rgb[i + 1];
          b += w * image.rgb[i + 2];
          area += w;
        }
      }
      const o = 3 * (y * width + x);
      out[o] = r / area;
      out[o + 1] = g / area;
      out[o + 2] = b / area;
    }
  }
  return out;
}

// How far apart two pictures are: of each pixel the largest difference of
// its three channels, as a mean and as the share of pixels that differ by
// more than a quarter of the range.
function difference(phone, width, height, reference, shiftX = 0) {
  let sum = 0;
  let far = 0;
  let count = 0;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const rx = x + shiftX;
      if (rx < 0 || rx >= width)
        continue;
      const p = 3 * (y * phone.width + x);
      const q = 3 * (y * width + rx);
      let d = 0;
      for (let c = 0; c < 3; ++c)
        d = Math.max(d, Math.abs(phone.rgb[p + c] - reference[q + c]));
      sum += d;
      far += d > 64 ? 1 : 0;
      ++count;
    }
  }
  return { mean: sum / count, far: far / count };
}

test.describe('a phone, 360 x 740 at 3, touch', () => {
  test.use(contextOf({ width: 360, height: 740, touch: true }, 3));

  test('the picture at its smaller size is the desktop\'s picture brought down to it, sharp',
       async ({ page, browser }) => {
    // The same first paint on a desktop screen of the same density, at the
    // program's size: 3 device pixels to a client pixel.
    const desk = await browser.newContext(contextOf({ width: 1280, height: 800 }, 3));
    const deskPage = await desk.newPage();
    const deskErrors = [];
    deskPage.on('pageerror', (e) => deskErrors.push(e.message));
    await openPage(deskPage);
    const big = await canvasPixels(deskPage);
    await desk.close();
    expect(deskErrors).toEqual([]);
    expect([big.width, big.height]).toEqual([1806, 1239]);

    await openPage(page);
    const phone = await canvasPixels(page);
    const g = await geometry(page);
    const devicePixels = (3 * g.dialog[2]) / DIALOG_WIDTH; // to a client pixel
    expect(devicePixels).toBeLessThan(3);
    expect(phone.width).toBe(Math.round(CLIENT[0] * devicePixels));
    // The rows and columns the picture covers in full.
    const [width, height] = CLIENT.map((v) => Math.floor(v * devicePixels));
    const reference = areaAverage(big, width, height, 3 / devicePixels);
    const same = difference(phone, width, height, reference);
    // The same picture one client pixel to the side, for a measure of what
    // the figures above would be for a picture a little off.
    const off = difference(phone, width, height, reference, Math.round(devicePixels));
    console.log(`phone picture ${phone.width} x ${phone.height} (${devicePixels.toFixed(4)} device ` +
      `pixels to a client pixel) against the desktop's at 3 brought down: mean difference ` +
      `${same.mean.toFixed(2)} of 255, ${(100 * same.far).toFixed(3)} % of pixels more than 64 off; ` +
      `one client pixel to the side: ${off.mean.toFixed(2)}, ${(100 * off.far).toFixed(3)} %`);
    // Lines and glyphs drawn at the smaller size are antialiased otherwise
    // than those brought down: measured here, under a level on average and
    // by more than a quarter of the range at about one pixel in a thousand;
    // the picture a client pixel off is some 4 levels and 3 % away.
    expect(same.mean).toBeLessThan(1.5);
    expect(same.far).toBeLessThan(0.005);
    expect(off.far, 'the measure tells a picture a pixel off').toBeGreaterThan(0.005);
  });

  // Centre of an element, in CSS pixels of the viewport.
  async function centre(locator) {
    const b = await locator.boundingBox();
    return { x: b.x + b.width / 2, y: b.y + b.height / 2 };
  }

  // A finger put down, moved and lifted (Playwright's touch screen only
  // taps), through one session of the page's for the whole gesture.
  const sessions = new WeakMap();
  async function touch(page, type, points) {
    if (!sessions.has(page))
      sessions.set(page, await page.context().newCDPSession(page));
    await sessions.get(page).send('Input.dispatchTouchEvent', { type, touchPoints: points });
  }

  test('a tap on an arrow is one line request', async ({ page }) => {
    await openPage(page);
    const bar = byRole(page).alpha;
    await page.touchscreen.tap(...Object.values(await centre(bar.locator('.arrow-right'))));
    expect((await state(page)).alphaPos).toBe(51);
    await page.touchscreen.tap(...Object.values(await centre(bar.locator('.arrow-left'))));
    await page.touchscreen.tap(...Object.values(await centre(bar.locator('.arrow-left'))));
    expect((await state(page)).alphaPos).toBe(49);
    await expect(bar).toHaveAttribute('aria-valuenow', '49');
  });

  test('an arrow held by a finger repeats as under the mouse button', async ({ page }) => {
    await openPage(page);
    const bar = byRole(page).alpha;
    const hold = 500;
    // The mouse on the right arrow for that long.
    const right = await centre(bar.locator('.arrow-right'));
    await page.mouse.move(right.x, right.y);
    await page.mouse.down();
    await page.clock.runFor(hold);
    await page.mouse.up();
    const byMouse = (await state(page)).alphaPos - 50;
    // A finger on the left arrow.
    const left = await centre(bar.locator('.arrow-left'));
    await touch(page, 'touchStart', [left]);
    await page.clock.runFor(hold);
    await touch(page, 'touchEnd', []);
    const byFinger = 50 + byMouse - (await state(page)).alphaPos;
    console.log(`held ${hold} ms: ${byMouse} requests under the mouse, ${byFinger} under a finger`);
    expect(byMouse).toBeGreaterThan(3);
    expect(byFinger).toBe(byMouse);
    // Released: no more.
    await page.clock.runFor(hold);
    expect((await state(page)).alphaPos).toBe(50 + byMouse - byFinger);
  });

  test('the thumb dragged by a finger: to the right end, then back to the middle', async ({ page }) => {
    await openPage(page);
    const bar = byRole(page).alpha;
    const box = await bar.boundingBox();
    const drag = async (to) => {
      let at = await centre(bar.locator('.thumb'));
      await touch(page, 'touchStart', [at]);
      const seen = [];
      const step = to > at.x ? 4 : -4;
      while (Math.abs(to - at.x) > 4) {
        at = { x: at.x + step, y: at.y };
        await touch(page, 'touchMove', [at]);
        seen.push((await state(page)).alphaPos);
      }
      await touch(page, 'touchMove', [{ x: to, y: at.y }]);
      await touch(page, 'touchEnd', []);
      return seen;
    };
    // Past the right end: each move a request, then position 100.
    const seen = await drag(box.x + box.width + 20);
    expect(new Set(seen).size).toBeGreaterThan(5);
    let s = await state(page);
    expect(s.alphaPos).toBe(100);
    expect(s.alpha).toBe(ALPHA_AT_100);
    // The thumb's centre brought to the bar's: the middle of 1 to 100.
    await drag(box.x + box.width / 2);
    s = await state(page);
    expect([50, 51]).toContain(s.alphaPos);
    await expect(bar).toHaveAttribute('aria-valuenow', String(s.alphaPos));
  });

  test('taps on the buttons: the run mode and reset, as the mouse\'s clicks', async ({ page }) => {
    await openPage(page);
    const the = byRole(page);
    // The run mode: continuous, whose paint takes a step.
    await page.touchscreen.tap(...Object.values(await centre(the.runMode)));
    let s = await state(page);
    expect(s.runContinuous).toBe(1);
    expect(curveBits(s)).toEqual(nativeStates(['1'])[0]);
    await page.touchscreen.tap(...Object.values(await centre(the.runMode)));
    s = await state(page);
    expect(s.runContinuous).toBe(0);
    expect(curveBits(s)).toEqual(nativeStates(['1'])[0]);
    // 5 ticks of each timer, then reset: the chord, the time of then.
    await ticks(page, 5);
    await page.touchscreen.tap(...Object.values(await centre(the.reset)));
    s = await state(page);
    expect(curveBits(s)).toEqual(nativeStates(['11,reset'])[0]);
  });

  test('a tap on the close box hides the dialog; its timer steps on', async ({ page }) => {
    await openPage(page);
    const the = byRole(page);
    await page.touchscreen.tap(...Object.values(await centre(the.close)));
    await expectHidden(the.dialog);
    await ticks(page, 10);
    expect(curveBits(await state(page))).toEqual(nativeStates(['20'])[0]);
  });

  // Headless Chromium zooms no page on a synthetic pinch, not even a blank
  // one: what decides it is checked instead, the viewport's declaration
  // and the touch actions where the fingers would be.
  test('pinch zoom stays possible: the viewport allows it and only the scroll bar takes every move',
       async ({ page }) => {
    await openPage(page);
    const viewport = await page.evaluate(() =>
      document.querySelector('meta[name="viewport"]').getAttribute('content'));
    const settings = Object.fromEntries(viewport.split(',').map((p) => p.trim().split('=')));
    expect(settings.width).toBe('device-width');
    expect(['yes', '1', undefined]).toContain(settings['user-scalable']);
    expect(Number(settings['maximum-scale'] ?? 10)).toBeGreaterThanOrEqual(5);
    const actions = await page.evaluate(() => Object.fromEntries(
      ['html', 'body', '#plot', '#dialog', '#about', '#panel', '#alpha', '#run-mode', '#reset', '#dialog-close']
        .map((s) => [s, getComputedStyle(document.querySelector(s)).touchAction])));
    const pinchable = ['auto', 'manipulation'];
    for (const [where, action] of Object.entries(actions)) {
      if (where === '#alpha')
        expect(action, where).toBe('none');
      else
        expect(pinchable, where).toContain(action);
    }
  });

  // The window brought down to the phone's width with the panel under it,
  // as a person sees them: the screen on opening and the whole page. The
  // workers' sweep and map are awaited, on the held clock, so that their
  // charts are whole and their times read 0.0 s.
  test('a phone in mid-descent, against its reference screenshots', async ({ page }) => {
    await openPage(page);
    await page.evaluate(() => window.rodadero.swept);
    await mapDone(page, 'heavy-ball');
    await ticks(page, 60);
    await expect(page).toHaveScreenshot('phone-360.png');
    await expect(page).toHaveScreenshot('phone-360-page.png', { fullPage: true });
  });
});

test.describe('a small phone, 320 x 568 at 2, touch', () => {
  test.use(contextOf({ width: 320, height: 568, touch: true }, 2));

  // The notice's box and the button's, and whether the page scrolls sideways.
  async function notice(page) {
    await expect(page.locator('#ended')).toBeVisible();
    return page.evaluate(() => {
      const box = (id) => {
        const r = document.getElementById(id).getBoundingClientRect();
        return [r.left, r.top, r.right, r.bottom];
      };
      return { ended: box('ended'), button: box('new-run'), plot: box('plot'), innerWidth,
               scrollWidth: document.documentElement.scrollWidth };
    });
  }

  function expectOnScreen(n) {
    expect(n.scrollWidth).toBeLessThanOrEqual(n.innerWidth);
    expect(n.ended[0]).toBeGreaterThanOrEqual(0);
    expect(n.ended[1]).toBeGreaterThanOrEqual(0);
    expect(n.ended[2]).toBeLessThanOrEqual(n.innerWidth);
    // Over the picture, no wider than it.
    expect(n.ended[0]).toBeGreaterThanOrEqual(n.plot[0]);
    expect(n.ended[2]).toBeLessThanOrEqual(n.plot[2]);
    expect(n.button[0]).toBeGreaterThanOrEqual(n.ended[0]);
    expect(n.button[2]).toBeLessThanOrEqual(n.ended[2]);
  }

  test('the notice at the end of a run fits the phone', async ({ page }) => {
    await openPage(page);
    await byRole(page).plot.focus();
    await page.keyboard.press('Escape');
    const n = await notice(page);
    expectOnScreen(n);
    await expect(byRole(page).newRun).toBeFocused();
    await expect(page.locator('#ended-text')).toHaveText('La ejecución ha terminado.');
  });

  test('the notice of a start that failed, with its long reason, fits the phone', async ({ browser }) => {
    const context = await browser.newContext(contextOf({ width: 320, height: 568, touch: true }, 2));
    const page = await context.newPage();
    await page.addInitScript(() => {
      WebAssembly.compile = WebAssembly.compileStreaming = () => Promise.reject(
        new WebAssembly.CompileError(
          'WebAssembly.compile(): expected magic word 00 61 73 6d, found 3c 21 44 4f @+0'));
    });
    await page.goto(PAGE_URL);
    await expect(page.locator('#ended-text')).toHaveText(/^No se pudo iniciar el programa.*magic word/);
    expectOnScreen(await notice(page));
    await context.close();
  });
});

// Laptops as a person sees them on opening, the sweep awaited as on the
// phone: at 1280 the window at the program's size with the first card
// beside it; at 1440 the first card's chart beside it and the next card
// under it.
for (const [width, height] of [[1280, 800], [1440, 900]]) {
  test.describe(`a laptop, ${width} x ${height} at 1`, () => {
    test.use(contextOf({ width, height }, 1));
    test('a laptop in mid-descent, against its reference screenshot', async ({ page }) => {
      await openPage(page);
      await page.evaluate(() => window.rodadero.swept);
      await ticks(page, 60);
      await expect(page).toHaveScreenshot(`laptop-${width}.png`);
    });
  });
}

// Every picture of the panel, each once it has something to show, by its
// host's id: the charts, the race, the laboratory's picture, its charts
// and the race of a curve drawn on its pad.
const SHOWN_PICTURES = [
  'convergence-chart', 'fates-chart', 'race-picture', 'map-chart', 'compare-chart',
  'lab-picture', 'lab-convergence', 'lab-refinement', 'lab-race',
];

// Each host's texts, as shown: their count, the height of the smallest
// (getBoundingClientRect, CSS pixels) and which it is; the host's width
// and the width its picture is drawn for.
function shownTexts(page) {
  return page.evaluate((ids) => Object.fromEntries(ids.map((id) => {
    const host = document.getElementById(id);
    const texts = [...host.shadowRoot.querySelectorAll('text')].filter((t) => t.textContent.trim());
    const heights = texts.map((t) => [t.getBoundingClientRect().height, t.textContent]);
    heights.sort((a, b) => a[0] - b[0]);
    return [id, { count: texts.length, smallest: heights[0], hostWidth: host.clientWidth,
                  drawnFor: Number(host.shadowRoot.querySelector('svg').getAttribute('width')) }];
  })), SHOWN_PICTURES);
}

// Every control of the panel and its cards that a finger may touch, and
// its box.
function controlBoxes(page) {
  return page.evaluate(() => [...document.querySelectorAll(
    '#panel button, #panel select, #panel input, #panel a[href], #new-run')]
    .filter((el) => el.getClientRects().length > 0)
    .map((el) => {
      const r = el.getBoundingClientRect();
      return { id: el.id || el.textContent.trim(), width: r.width, height: r.height };
    }));
}

test.describe('a phone, 360 x 740 at 2, touch: the panel to be read and touched', () => {
  test.use(contextOf(SCREENS[1], 2));

  test('every picture laid out for its card, its texts 11 pixels or more; every control 44 x 44 or more',
       async ({ page }) => {
    await openAt(page, '#lab&tramos=4');
    await page.evaluate(() => window.rodadero.swept);
    await mapDone(page, 'heavy-ball');
    await ticks(page, 10);
    await page.locator('#race-start').click();
    await page.locator('#map-chart').evaluate((host) =>
      host.shadowRoot.getElementById('cell-80-35').dispatchEvent(
        new MouseEvent('click', { bubbles: true, composed: true })));
    await page.locator('#lab-refine').click();
    await page.evaluate(() => window.rodadero.refined());
    // A curve drawn on the laboratory's pad with a finger's strokes (the
    // mouse's, as the pad takes either).
    await page.locator('#lab-draw').click();
    await page.locator('#lab-draw-pad').evaluate((pad) => pad.scrollIntoView({ block: 'center' }));
    const on = (x, y) => page.evaluate(([px, py]) => {
      const p = new DOMPoint(px, py).matrixTransform(
        document.querySelector('#lab-draw-pad svg').getScreenCTM());
      return [p.x, p.y];
    }, [x, y]);
    const points = [await on(0, 0), await on(0.3, 0.6), await on(1, 0.7)];
    await page.mouse.move(...points[0]);
    await page.mouse.down();
    for (const p of points.slice(1))
      await page.mouse.move(...p, { steps: 4 });
    await page.mouse.up();
    await ticks(page, 10);

    const shown = await shownTexts(page);
    for (const id of SHOWN_PICTURES) {
      const { count, smallest, hostWidth, drawnFor } = shown[id];
      expect(count, `${id}: its texts`).toBeGreaterThan(0);
      expect(smallest[0], `${id}: its smallest text, "${smallest[1]}"`).toBeGreaterThanOrEqual(11);
      // Drawn for the card's width, not the desktop's brought down to it.
      expect(drawnFor, `${id}: the width it is drawn for`).toBe(Math.floor(hostWidth));
    }
    // The file stays the desktop's picture.
    const file = await saved(page, 'Curva en SVG');
    expect(file.text).toMatch(/<svg [^>]*width="800" height="500"/);

    const small = (await controlBoxes(page)).filter((c) => c.width < 44 || c.height < 44);
    expect(small, 'controls smaller than 44 x 44').toEqual([]);
  });

  test('a picture is laid out again for its card when the phone is turned', async ({ page }) => {
    await openPage(page);
    await ticks(page, 10);
    const drawnFor = () => page.locator('#convergence-chart').evaluate((host) =>
      [host.clientWidth, Number(host.shadowRoot.querySelector('svg').getAttribute('width'))]);
    const [narrow, drawn] = await drawnFor();
    expect(drawn).toBe(Math.floor(narrow));
    // Turned, the card is wider (and still narrower than the desktop's
    // chart): the picture follows it.
    await page.setViewportSize({ width: 740, height: 360 });
    await expect.poll(async () => {
      await ticks(page, 1); // the page looks at its cards' widths again at the next frame
      const [width, drawnNow] = await drawnFor();
      return width > narrow && drawnNow === Math.floor(width);
    }).toBe(true);
  });
});

// Laptops and desktops: the window at the top left, the first card beside
// it, and a card right under it in its column; each chart 560 pixels wide
// or more where the screen has the room (from 1,440 on).
const WIDE_SCREENS = [
  { width: 1280, height: 800, chartsAtLeast: 0 },
  { width: 1440, height: 900, chartsAtLeast: 560 },
  { width: 1920, height: 1080, chartsAtLeast: 560 },
];

for (const screen of WIDE_SCREENS) {
  test.describe(`a wide screen, ${screen.width} x ${screen.height} at 1`, () => {
    test.use(contextOf(screen, 1));
    test('no column empty under the window; the window and the first chart in view on opening',
         async ({ page }) => {
      await openPage(page);
      await page.evaluate(() => window.rodadero.swept);
      const g = await page.evaluate(() => {
        const box = (el) => {
          const r = el.getBoundingClientRect();
          return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width };
        };
        return {
          innerWidth, innerHeight, scrollWidth: document.documentElement.scrollWidth,
          stage: box(document.getElementById('stage')),
          cards: [...document.querySelectorAll('.card')].map(box),
          charts: [...document.querySelectorAll('.chart')].filter((c) => !c.hidden).map(box),
        };
      });
      expect(g.scrollWidth).toBeLessThanOrEqual(g.innerWidth);
      // The first card beside the window, its chart in view with it.
      const [first] = g.cards;
      expect(first.left).toBeGreaterThanOrEqual(g.stage.right);
      const chart = g.charts[0];
      for (const b of [g.stage, chart]) {
        expect(b.top).toBeGreaterThanOrEqual(0);
        expect(b.bottom).toBeLessThanOrEqual(g.innerHeight);
        expect(b.right).toBeLessThanOrEqual(g.innerWidth);
      }
      // A card in the window's column, starting under the window within a
      // gap of the grid's.
      const under = g.cards.filter((c) => c.left < g.stage.right && c.top >= g.stage.bottom);
      expect(under.length).toBeGreaterThan(0);
      expect(Math.min(...under.map((c) => c.top)) - g.stage.bottom).toBeLessThanOrEqual(20);
      expect(under[0].left).toBe(g.stage.left);
      for (const c of g.charts)
        expect(c.width, 'a chart\'s width').toBeGreaterThanOrEqual(screen.chartsAtLeast);
    });
  });
}
