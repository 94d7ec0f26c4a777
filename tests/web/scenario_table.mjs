// What a person does to the page, and the host build's run whose state the
// page must then hold bit for bit: one table for every engine. Each row
// starts from a freshly opened page whose timers only move when told; `run`
// is the host build's run that gives the expected curves (steps, step
// factors, resets; see model_states.cpp).
//
// The rows act through a driver `d` that each engine's harness provides,
// naming the page's parts (plot, dialog, close, runMode, reset, alpha,
// alphaLeft, alphaRight, thumb, about, alphaLabel, icon, ended, newRun):
//   d.ticks(n), d.runFor(ms)          the held clock moved on
//   d.press(key), d.focus(part), d.click(part)
//   d.box(part)                       {x, y, width, height}, CSS pixels
//   d.mouseMove(x, y), d.mouseDown(), d.mouseUp(), d.mouseClick(x, y)
//   d.state()                         window.rodadero.state()
//   d.attribute(part, name)
//   d.expectVisible(part), d.expectHidden(part), d.expectFocused(part)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';

export const START_ALPHA = 0.0001;
// Position p's step factor, p x 2.0000000000000003e-6, as evaluated once
// outside the program.
const ALPHA_AT = { 1: 2.0000000000000003e-06, 47: 9.400000000000002e-05,
                   100: 0.00020000000000000004 };

export function bits(x) {
  const b = Buffer.alloc(8);
  b.writeDoubleBE(x);
  return b.toString('hex');
}

// The curves of a state as the bit patterns that model_states prints.
export function curveBits(s) {
  return { nodeX: s.nodeX.map(bits), shownX: s.shownX.map(bits), fallTime: bits(s.fallTime) };
}

// The host build's state after each run (see model_states.cpp).
export function nativeStates(runs) {
  const program = process.env.RODADERO_MODEL_STATES || 'build/native/tests/web/model_states';
  const out = execFileSync(program, runs, { encoding: 'utf8' });
  return out.trim().split('\n').map((line) => JSON.parse(line));
}

async function press(d, key, times = 1) {
  for (let i = 0; i < times; ++i)
    await d.press(key);
}

async function centre(d, part) {
  const box = await d.box(part);
  return [box.x + box.width / 2, box.y + box.height / 2];
}

// Drags the thumb to x, 8 pixels at a time, and returns the position
// after each move; releases it there.
async function dragThumb(d, toX) {
  const [x, y] = await centre(d, 'thumb');
  await d.mouseMove(x, y);
  await d.mouseDown();
  const positions = [];
  const step = toX < x ? -8 : 8;
  for (let at = x + step; step < 0 ? at > toX : at < toX; at += step) {
    await d.mouseMove(at, y);
    positions.push((await d.state()).alphaPos);
  }
  await d.mouseMove(toX, y);
  await d.mouseUp();
  return positions;
}

export const SCENARIOS = [
  { name: 'before any tick: the first paint only', run: '0', act: async () => {} },
  { name: 'timed mode, 1 tick of each timer: 2 steps', run: '2', act: (d) => d.ticks(1) },
  { name: 'timed mode, 37 ticks of each timer: 74 steps', run: '74', act: (d) => d.ticks(37) },
  { name: 'timed mode, 150 ticks of each timer: 300 steps', run: '300', act: (d) => d.ticks(150) },
  {
    name: 'Left key at position 1 stays at 1', run: `alpha=${ALPHA_AT[1]},10`, alphaPos: 1,
    alpha: ALPHA_AT[1], alphaBits: '3ec0c6f7a0b5ed8e',
    act: async (d) => {
      await d.focus('alpha');
      await press(d, 'ArrowLeft', 49);
      assert.equal((await d.state()).alphaPos, 1);
      await press(d, 'ArrowLeft');
      await d.ticks(5);
    },
  },
  {
    name: 'Right key at position 100 stays at 100', run: `alpha=${ALPHA_AT[100]},10`,
    alphaPos: 100, alpha: ALPHA_AT[100],
    act: async (d) => {
      await d.focus('alpha');
      await press(d, 'ArrowRight', 51);
      await d.ticks(5);
    },
  },
  {
    name: 'the arrows are line requests', run: `4,alpha=${ALPHA_AT[47]},6`, alphaPos: 47,
    alpha: ALPHA_AT[47],
    act: async (d) => {
      await d.ticks(2);
      for (let i = 0; i < 4; ++i)
        await d.click('alphaLeft');
      await d.click('alphaRight');
      await d.ticks(3);
    },
  },
  {
    name: 'dragging the thumb to the left end: a request at each move and at the release',
    run: `alpha=${ALPHA_AT[1]},2`, alphaPos: 1, alpha: ALPHA_AT[1],
    act: async (d) => {
      const bar = await d.box('alpha');
      const seen = await dragThumb(d, bar.x + 2);
      // Each 8-pixel move is 5 or 6 positions, until the thumb meets the arrow.
      const moving = seen.filter((p) => p > 1);
      assert.ok(moving.length > 5, `${moving.length} moves before the arrow`);
      for (let i = 1; i < moving.length; ++i)
        assert.ok([5, 6].includes(moving[i - 1] - moving[i]), `positions ${moving}`);
      await d.ticks(1);
    },
  },
  {
    name: 'dragging the thumb to the right end', run: `alpha=${ALPHA_AT[100]},2`, alphaPos: 100,
    alpha: ALPHA_AT[100],
    act: async (d) => {
      const bar = await d.box('alpha');
      const seen = await dragThumb(d, bar.x + bar.width - 2);
      assert.ok(new Set(seen).size > 5, `positions ${seen}`);
      await d.ticks(1);
    },
  },
  {
    name: 'page requests, Home and End change nothing, the step factor included',
    run: '6', alphaPos: 50, alpha: START_ALPHA, alphaBits: '3f1a36e2eb1c432d',
    act: async (d) => {
      const bar = await d.box('alpha');
      const thumb = await d.box('thumb');
      await d.mouseClick(bar.x + 25, bar.y + bar.height / 2);
      await d.mouseClick(thumb.x + thumb.width + 20, bar.y + bar.height / 2);
      await d.focus('alpha');
      for (const key of ['PageUp', 'PageDown', 'Home', 'End', 'ArrowUp', 'ArrowDown'])
        await press(d, key);
      await d.ticks(3);
    },
  },
  {
    name: 'the space bar at start-up toggles the run mode: its paint takes a step',
    run: '1', runContinuous: 1, act: (d) => press(d, 'Space'),
  },
  {
    name: 'two clicks on the run-mode button: back to timed, one step on the way',
    run: '1', runContinuous: 0,
    act: async (d) => {
      await d.click('runMode');
      await d.click('runMode');
    },
  },
  {
    name: 'reset: the chord is back and the printed time stays', run: '20,reset',
    act: async (d) => {
      await d.ticks(10);
      await d.click('reset');
    },
  },
  {
    name: 'continuous mode: 60 steps a second, and one for the toggle', run: '61', runContinuous: 1,
    act: async (d) => {
      await press(d, 'Space');
      await d.runFor(1000);
    },
  },
  {
    name: 'continuous mode: a mouse move over the static texts and the dialog is a paint and a step,'
          + ' over the buttons and the scroll bar it is not',
    run: '4', runContinuous: 1,
    act: async (d) => {
      await press(d, 'Space');
      for (const part of ['about', 'alphaLabel', 'icon', 'reset', 'runMode', 'alpha'])
        await d.mouseMove(...await centre(d, part));
    },
  },
  {
    name: 'timed mode: mouse moves over the dialog take no step', run: '0',
    act: async (d) => {
      for (const part of ['about', 'alphaLabel', 'icon'])
        await d.mouseMove(...await centre(d, part));
    },
  },
  {
    name: 'the closed dialog\'s timer steps on', run: '20',
    act: async (d) => {
      await d.click('close');
      await d.expectHidden('dialog');
      await d.ticks(10);
    },
  },
  {
    name: 'Escape in the picture ends the run: no step after it', run: '10', ends: true,
    act: async (d) => {
      await d.ticks(5);
      await d.focus('plot');
      await press(d, 'Escape');
      await d.ticks(20);
      await d.expectVisible('ended');
      await d.expectFocused('newRun');
    },
  },
  {
    name: 'Escape in the dialog does nothing', run: '4',
    act: async (d) => {
      await press(d, 'Escape');
      await d.ticks(2);
      await d.expectHidden('ended');
    },
  },
];

// The states every row must end in, from the host build.
export function expectedStates() {
  return nativeStates(SCENARIOS.map((s) => s.run));
}

// Row `scenario` done through `d`: its state against the host build's.
export async function checkScenario(d, scenario, expected) {
  const s = await d.state();
  assert.deepEqual(curveBits(s), expected);
  assert.equal(s.alphaPos, scenario.alphaPos ?? 50);
  assert.equal(s.alpha, scenario.alpha ?? START_ALPHA);
  if (scenario.alphaBits)
    assert.equal(bits(s.alpha), scenario.alphaBits);
  assert.equal(s.runContinuous, scenario.runContinuous ?? 0);
  assert.equal(s.nodeX.length, 21);
  assert.equal(s.shownX.length, 21);
  // The slider tells the position (the window is inert once the run ends).
  if (!scenario.ends)
    assert.equal(await d.attribute('alpha', 'aria-valuenow'), String(s.alphaPos));
}
