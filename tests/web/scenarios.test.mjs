// The scenario table (scenario_table.mjs) in Chromium, through Playwright:
// the page's parts found by role and name where they have one.
import {
  test, expect, expectHidden, openPage, ticks, state, curveBits, nativeStates, byRole, TICK_MS,
  PAGE_URL,
} from './page_fixture.mjs';
import { SCENARIOS, expectedStates, checkScenario } from './scenario_table.mjs';

function driver(page) {
  const the = byRole(page);
  const parts = {
    plot: the.plot, dialog: the.dialog, close: the.close, runMode: the.runMode, reset: the.reset,
    alpha: the.alpha, alphaLeft: the.alpha.locator('.arrow-left'),
    alphaRight: the.alpha.locator('.arrow-right'), thumb: the.alpha.locator('.thumb'),
    about: page.locator('#about'), alphaLabel: page.locator('#alpha-label'),
    icon: page.locator('#icon'), ended: the.ended, newRun: the.newRun,
  };
  return {
    ticks: (n) => ticks(page, n),
    runFor: (ms) => page.clock.runFor(ms),
    press: (key) => page.keyboard.press(key),
    focus: (part) => parts[part].focus(),
    click: (part) => parts[part].click(),
    box: (part) => parts[part].boundingBox(),
    mouseMove: (x, y) => page.mouse.move(x, y),
    mouseDown: () => page.mouse.down(),
    mouseUp: () => page.mouse.up(),
    mouseClick: (x, y) => page.mouse.click(x, y),
    state: () => state(page),
    attribute: (part, name) => parts[part].getAttribute(name),
    expectVisible: (part) => expect(parts[part]).toBeVisible(),
    expectHidden: (part) => expectHidden(parts[part]),
    expectFocused: (part) => expect(parts[part]).toBeFocused(),
  };
}

const expected = expectedStates();

SCENARIOS.forEach((scenario, i) => {
  test(scenario.name, async ({ page }) => {
    await openPage(page);
    const d = driver(page);
    await scenario.act(d);
    await checkScenario(d, scenario, expected[i]);
  });
});

test('the ticks come from two 50 ms timers and nothing else', async ({ page }) => {
  await openPage(page);
  // Half a period is no tick; the rest of it is one of each.
  await page.clock.runFor(TICK_MS / 2);
  expect(curveBits(await state(page))).toEqual(nativeStates(['0'])[0]);
  await page.clock.runFor(TICK_MS / 2);
  expect(curveBits(await state(page))).toEqual(nativeStates(['2'])[0]);
});

// A browser that cannot unpack the page's script (one without
// DecompressionStream) is told, in every language, what a browser without
// script is told; whoever waits for the page hears why; nothing else
// happens.
test('a browser that cannot unpack the page', async ({ page, problems }) => {
  await page.addInitScript(() => { delete window.DecompressionStream; });
  await page.goto(PAGE_URL);
  const notice = page.locator('body > p.notice');
  await expect(notice).toContainText('Esta página necesita JavaScript y WebAssembly.');
  await expect(notice).toContainText('This page needs JavaScript and WebAssembly.');
  await expect(notice.locator('span[lang]')).toHaveCount(6);
  expect(await page.evaluate(() => window.rodadero.ready.then(() => 'ready', String)))
    .toMatch(/DecompressionStream/);
  expect(await page.evaluate(() => window.rodadero.state())).toBeNull();
  expect(problems.splice(0)).toEqual([expect.stringContaining('DecompressionStream')]);
});
