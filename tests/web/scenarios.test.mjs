// The scenario table (scenario_table.mjs) in Chromium, through Playwright:
// the page's parts found by role and name where they have one.
import {
  test, expect, expectHidden, openPage, ticks, state, curveBits, nativeStates, byRole, TICK_MS,
} from './page_fixture.mjs';
import { moduleScript } from './page_parts.mjs';
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

// An engine without Uint8Array.fromBase64 decodes the module with atob: the
// same bytes as node's own base64 decoder gives for the page's text, and
// the same run as the host build's. The decoder is the page's own
// (web/module.js), added to the open page beside its script.
test('the module from an engine without its own base64 decoder', async ({ page }) => {
  await page.addInitScript(() => { delete Uint8Array.fromBase64; });
  await openPage(page);
  expect(await page.evaluate(() => typeof Uint8Array.fromBase64)).toBe('undefined');
  await page.addScriptTag({ content: moduleScript('pageModule') });
  const [packed, decoded] = await page.evaluate(() => {
    const text = document.getElementById('rodadero-module').textContent;
    return [text, Array.from(pageModule.decodeBase64(text),
                             (b) => b.toString(16).padStart(2, '0')).join('')];
  });
  expect(decoded).toBe(Buffer.from(packed, 'base64').toString('hex'));
  await ticks(page, 20);
  expect(curveBits(await state(page))).toEqual(nativeStates(['40'])[0]);
});
