// The page's state after what a person does, against the host build's
// model after the steps that must have been taken: bit for bit. Each row
// starts from a freshly opened page whose timers only move when told; `run`
// is the host build's run that gives the expected curves (steps, step
// factors, resets; see model_states.cpp).
import {
  test, expect, expectHidden, openPage, ticks, state, curveBits, nativeStates, byRole, TICK_MS,
} from './page_fixture.mjs';

const START_ALPHA = 0.0001;
// Position p's step factor, p x 2.0000000000000003e-6, as evaluated once
// outside the program.
const ALPHA_AT = { 1: 2.0000000000000003e-06, 47: 9.400000000000002e-05,
                   100: 0.00020000000000000004 };

async function press(page, key, times = 1) {
  for (let i = 0; i < times; ++i)
    await page.keyboard.press(key);
}

async function centre(element) {
  const box = await element.boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2];
}

// Drags the thumb to x, 8 pixels at a time, and returns the position
// after each move; releases it there.
async function dragThumb(page, toX) {
  const [x, y] = await centre(byRole(page).alpha.locator('.thumb'));
  await page.mouse.move(x, y);
  await page.mouse.down();
  const positions = [];
  const step = toX < x ? -8 : 8;
  for (let at = x + step; step < 0 ? at > toX : at < toX; at += step) {
    await page.mouse.move(at, y);
    positions.push((await state(page)).alphaPos);
  }
  await page.mouse.move(toX, y);
  await page.mouse.up();
  return positions;
}

const SCENARIOS = [
  { name: 'before any tick: the first paint only', run: '0', act: async () => {} },
  { name: 'timed mode, 1 tick of each timer: 2 steps', run: '2', act: (page) => ticks(page, 1) },
  { name: 'timed mode, 37 ticks of each timer: 74 steps', run: '74', act: (page) => ticks(page, 37) },
  { name: 'timed mode, 150 ticks of each timer: 300 steps', run: '300', act: (page) => ticks(page, 150) },
  {
    name: 'Left key at position 1 stays at 1', run: `alpha=${ALPHA_AT[1]},10`, alphaPos: 1,
    alpha: ALPHA_AT[1], alphaBits: '3ec0c6f7a0b5ed8e',
    act: async (page) => {
      await byRole(page).alpha.focus();
      await press(page, 'ArrowLeft', 49);
      expect((await state(page)).alphaPos).toBe(1);
      await press(page, 'ArrowLeft');
      await ticks(page, 5);
    },
  },
  {
    name: 'Right key at position 100 stays at 100', run: `alpha=${ALPHA_AT[100]},10`,
    alphaPos: 100, alpha: ALPHA_AT[100],
    act: async (page) => {
      await byRole(page).alpha.focus();
      await press(page, 'ArrowRight', 51);
      await ticks(page, 5);
    },
  },
  {
    name: 'the arrows are line requests', run: `4,alpha=${ALPHA_AT[47]},6`, alphaPos: 47,
    alpha: ALPHA_AT[47],
    act: async (page) => {
      await ticks(page, 2);
      for (let i = 0; i < 4; ++i)
        await byRole(page).alpha.locator('.arrow-left').click();
      await byRole(page).alpha.locator('.arrow-right').click();
      await ticks(page, 3);
    },
  },
  {
    name: 'dragging the thumb to the left end: a request at each move and at the release',
    run: `alpha=${ALPHA_AT[1]},2`, alphaPos: 1, alpha: ALPHA_AT[1],
    act: async (page) => {
      const bar = await byRole(page).alpha.boundingBox();
      const seen = await dragThumb(page, bar.x + 2);
      // Each 8-pixel move is 5 or 6 positions, until the thumb meets the arrow.
      const moving = seen.filter((p) => p > 1);
      expect(moving.length).toBeGreaterThan(5);
      for (let i = 1; i < moving.length; ++i)
        expect([5, 6]).toContain(moving[i - 1] - moving[i]);
      await ticks(page, 1);
    },
  },
  {
    name: 'dragging the thumb to the right end', run: `alpha=${ALPHA_AT[100]},2`, alphaPos: 100,
    alpha: ALPHA_AT[100],
    act: async (page) => {
      const bar = await byRole(page).alpha.boundingBox();
      const seen = await dragThumb(page, bar.x + bar.width - 2);
      expect(new Set(seen).size).toBeGreaterThan(5);
      await ticks(page, 1);
    },
  },
  {
    name: 'page requests, Home and End change nothing, the step factor included',
    run: '6', alphaPos: 50, alpha: START_ALPHA, alphaBits: '3f1a36e2eb1c432d',
    act: async (page) => {
      const bar = await byRole(page).alpha.boundingBox();
      const thumb = await byRole(page).alpha.locator('.thumb').boundingBox();
      await page.mouse.click(bar.x + 25, bar.y + bar.height / 2);
      await page.mouse.click(thumb.x + thumb.width + 20, bar.y + bar.height / 2);
      await byRole(page).alpha.focus();
      for (const key of ['PageUp', 'PageDown', 'Home', 'End', 'ArrowUp', 'ArrowDown'])
        await press(page, key);
      await ticks(page, 3);
    },
  },
  {
    name: 'the space bar at start-up toggles the run mode: its paint takes a step',
    run: '1', runContinuous: 1, act: (page) => press(page, 'Space'),
  },
  {
    name: 'two clicks on the run-mode button: back to timed, one step on the way',
    run: '1', runContinuous: 0,
    act: async (page) => {
      await byRole(page).runMode.click();
      await byRole(page).runMode.click();
    },
  },
  {
    name: 'reset: the chord is back and the printed time stays', run: '20,reset',
    act: async (page) => {
      await ticks(page, 10);
      await byRole(page).reset.click();
    },
  },
  {
    name: 'continuous mode: 60 steps a second, and one for the toggle', run: '61', runContinuous: 1,
    act: async (page) => {
      await press(page, 'Space');
      await page.clock.runFor(1000);
    },
  },
  {
    name: 'continuous mode: a mouse move over the static texts and the dialog is a paint and a step,'
          + ' over the buttons and the scroll bar it is not',
    run: '4', runContinuous: 1,
    act: async (page) => {
      await press(page, 'Space');
      const the = byRole(page);
      for (const element of [page.locator('#about'), page.locator('#alpha-label'), page.locator('#icon'),
                             the.reset, the.runMode, the.alpha])
        await page.mouse.move(...await centre(element));
    },
  },
  {
    name: 'timed mode: mouse moves over the dialog take no step', run: '0',
    act: async (page) => {
      for (const id of ['#about', '#alpha-label', '#icon'])
        await page.mouse.move(...await centre(page.locator(id)));
    },
  },
  {
    name: 'the closed dialog\'s timer steps on', run: '20',
    act: async (page) => {
      await byRole(page).close.click();
      await expectHidden(byRole(page).dialog);
      await ticks(page, 10);
    },
  },
  {
    name: 'Escape in the picture ends the run: no step after it', run: '10',
    act: async (page) => {
      await ticks(page, 5);
      await byRole(page).plot.focus();
      await press(page, 'Escape');
      await ticks(page, 20);
      await expect(byRole(page).ended).toBeVisible();
      await expect(byRole(page).newRun).toBeFocused();
    },
  },
  {
    name: 'Escape in the dialog does nothing', run: '4',
    act: async (page) => {
      await press(page, 'Escape');
      await ticks(page, 2);
      await expectHidden(byRole(page).ended);
    },
  },
];

const expected = nativeStates(SCENARIOS.map((s) => s.run));

SCENARIOS.forEach((scenario, i) => {
  test(scenario.name, async ({ page }) => {
    await openPage(page);
    await scenario.act(page);
    const s = await state(page);
    expect(curveBits(s)).toEqual(expected[i]);
    expect(s.alphaPos).toBe(scenario.alphaPos ?? 50);
    expect(s.alpha).toBe(scenario.alpha ?? START_ALPHA);
    if (scenario.alphaBits)
      expect(Buffer.from(new Float64Array([s.alpha]).buffer).reverse().toString('hex'))
        .toBe(scenario.alphaBits);
    expect(s.runContinuous).toBe(scenario.runContinuous ?? 0);
    expect(s.nodeX).toHaveLength(21);
    expect(s.shownX).toHaveLength(21);
    if (!scenario.name.startsWith('Escape in the picture'))
      await expect(byRole(page).alpha).toHaveAttribute('aria-valuenow', String(s.alphaPos));
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
