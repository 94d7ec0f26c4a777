// What the web page's tests share: the page opened from disk on
// Playwright's clock, with every console message of error or warning
// level, every uncaught exception and every request other than the page
// itself (and the blob: addresses its workers start from, which are the
// page's own text) counted as a failure; the model's state as bit patterns; the host
// build's states (model_states) and the Windows program's references
// (page_reference.exe, under Wine).
import { test as base, expect } from '@playwright/test';
import fs from 'node:fs';
import { pathToFileURL } from 'node:url';
import { CLOCK_START_MS } from './fake_clock.mjs';

export { expect };
export { bits, curveBits, nativeStates } from './scenario_table.mjs';
export { readPpm, referenceJson, referencePath } from './picture_check.mjs';
import { CANVAS_PIXELS_SCRIPT, decodePixels } from './picture_check.mjs';
export const PAGE_URL = pathToFileURL(process.env.RODADERO_PAGE || 'build/web/rodadero.html').href;
export const TICK_MS = 50;
export const OUT_DIR = process.env.RODADERO_WEB_OUT || 'build/web';

export const test = base.extend({
  // A test on the browser's own clock (test.use({ realClock: true })) has
  // a page and context apart from those that install Playwright's: a
  // clock, once installed, is the whole context's.
  realClock: [false, { option: true }],
  // A suite's pages, one for each set of context options (test.use) and
  // clock, each in a context of its own, made once and kept until its
  // worker ends: a new page costs the browser about twice an opening in one
  // already there (a new context twice as much again). Whatever a test
  // leaves on its page is taken away after it (below); the page keeps
  // nothing else between tests (no storage, no cookies), and each opening
  // sets the clock anew.
  pageFor: [async ({ browser }, use) => {
    const kept = new Map();
    await use(async (options, realClock) => {
      const key = JSON.stringify([options, realClock]);
      if (!kept.has(key)) {
        const context = await browser.newContext(options);
        const page = await context.newPage();
        kept.set(key, { page, session: await context.newCDPSession(page) });
      }
      return kept.get(key);
    });
    for (const { page } of kept.values())
      await page.context().close();
  }, { scope: 'worker' }],
  page: async ({ pageFor, viewport, deviceScaleFactor, isMobile, hasTouch, locale,
                 realClock }, use) => {
    const { page, session } =
      await pageFor({ viewport, deviceScaleFactor, isMobile, hasTouch, locale }, realClock);
    // The scripts the test has run at each opening, to be taken away.
    const scripts = [];
    page.addInitScript = async (...args) => {
      const script = await Object.getPrototypeOf(page).addInitScript.apply(page, args);
      scripts.push(script);
      return script;
    };
    await use(page);
    delete page.addInitScript;
    for (const script of scripts)
      await script.dispose();
    for (const opened of page.context().pages())
      if (opened !== page)
        await opened.close();
    // The page left for a blank one (its timers and workers stopped), its
    // history forgotten (a test counts the entries an address adds), the
    // mouse back at the corner with no button held, and the window at its
    // size again.
    await page.goto('about:blank');
    await session.send('Page.resetNavigationHistory');
    await page.mouse.up();
    await page.mouse.move(0, 0);
    if (JSON.stringify(page.viewportSize()) !== JSON.stringify(viewport))
      await page.setViewportSize(viewport);
  },
  problems: [async ({ page }, use) => {
    const problems = [];
    const listeners = {
      console: (m) => {
        if (m.type() === 'error' || m.type() === 'warning')
          problems.push(`console ${m.type()}: ${m.text()}`);
      },
      pageerror: (e) => problems.push(`uncaught: ${e.message}`),
      request: (r) => {
        if (r.url() !== PAGE_URL && !r.url().startsWith('data:') && !r.url().startsWith('blob:null/'))
          problems.push(`request: ${r.url()}`);
      },
    };
    for (const [event, listener] of Object.entries(listeners))
      page.on(event, listener);
    await use(problems);
    for (const [event, listener] of Object.entries(listeners))
      page.off(event, listener);
    expect(problems, 'console errors, exceptions and requests').toEqual([]);
  }, { auto: true }],
});

// The page from disk at an address's fragment, its timers held at
// CLOCK_START_MS, as the other engines' are. The clock runs from its
// install to its pause: installed a minute before, so that a busy machine
// between the two calls does not carry it past the pause.
export async function openAt(page, hash) {
  await page.clock.install({ time: CLOCK_START_MS - 60_000 });
  await page.clock.pauseAt(CLOCK_START_MS);
  await page.goto(PAGE_URL + hash);
  await page.evaluate(() => window.rodadero.ready);
}

// The file a button of that name saves: its name and its text.
export async function saved(page, name) {
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.getByRole('button', { name, exact: true }).click(),
  ]);
  const file = await download.path();
  return { name: download.suggestedFilename(), text: fs.readFileSync(file, 'utf8'), download };
}

// The map of the other method `name`, done: it starts once the sweep is
// done and the methods card has been in the window or its method chosen,
// so its button is pressed, where it is, the page not scrolled. Its time.
export async function mapDone(page, name) {
  await page.locator(`#method-${name}`).dispatchEvent('click');
  return page.evaluate((n) => window.rodadero.mapped(n), name);
}

// The page from disk with its timers held: nothing ticks until ticks().
export function openPage(page) {
  return openAt(page, '');
}

// The page's controls and pictures as assistive technology finds them, by
// role and name. Hidden controls are found too, so that expectHidden can
// count them. The pictures are found only when shown: hidden, the picture
// inside each would match too; the race's place before any race is found
// hidden by its name alone.
export function byRole(page) {
  const role = (r, name, more = {}) => page.getByRole(r, { name, includeHidden: true, ...more });
  const picture = (name) => page.getByRole('img', { name });
  const button = (name) => role('button', name, { exact: true });
  return {
    plot: role('img', /Tiempo de caida/),
    dialog: role('dialog', 'parametros y reset', { exact: true }),
    dialogCaption: role('heading', 'parametros y reset', { level: 1 }),
    close: button('Cerrar'),
    runMode: button('CONTINUE<>FEW STEPS'),
    reset: button('reset init values'),
    alpha: role('slider', 'alfa de convergencia de gradiente descendente', { exact: true }),
    // The end of a run: the notice that holds the button to start again.
    ended: page.getByRole('status', { includeHidden: true })
      .filter({ has: role('button', 'Empezar de nuevo', { exact: true }) }),
    newRun: button('Empezar de nuevo'),
    panel: role('region', 'Lo que hace la bajada', { exact: true }),
    convergence: picture(/^Convergencia/),
    fates: picture(/^Destino de cada posición/),
    raceStart: button('Empezar la carrera'),
    race: picture(/^Carrera/),
    raceWaiting: role('img', 'Carrera', { exact: true }),
    // The language switch, by the name it has in any of the languages.
    language: role('combobox', /^(Idioma|Language|Língua|Llengua|Langue|Lingua|Sprache)$/),
  };
}

// The page in another language, chosen on its switch by the name the
// language has in its own words ("English"), as a reader does.
export async function chooseLanguage(page, name) {
  await byRole(page).language.selectOption({ label: name });
}

// One element there and hidden: toBeHidden alone passes when nothing
// matches at all.
export async function expectHidden(locator) {
  await expect(locator).toHaveCount(1);
  await expect(locator).toBeHidden();
}

// n periods of 50 ms: each timer fires n times.
export async function ticks(page, n) {
  await page.clock.runFor(TICK_MS * n);
}

export async function state(page) {
  return page.evaluate(() => window.rodadero.state());
}

// The canvas's pixels as RGB bytes (at a device-pixel ratio of 1 they are
// the client area's).
export async function canvasPixels(page) {
  return decodePixels(await page.evaluate(CANVAS_PIXELS_SCRIPT));
}

// A pseudo-random sequence from a seed (mulberry32): the same every run.
export function seededRandom(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
