// The scenario table's driver (scenario_table.mjs) for the engines that
// Playwright does not drive, on top of a few primitives each harness gives:
//   call(fn, ...args)       fn run in the page, its result (awaited)
//   click(selector), press(key), mouseMove(x, y), mouseDown(), mouseUp()
// The page's parts are found by their ids; everything else is read from the
// page itself.
import assert from 'node:assert/strict';

export const PARTS = Object.freeze({
  plot: '#plot', dialog: '#dialog', close: '#dialog-close', runMode: '#run-mode',
  reset: '#reset', alpha: '#alpha', alphaLeft: '#alpha .arrow-left',
  alphaRight: '#alpha .arrow-right', thumb: '#alpha .thumb', about: '#about',
  alphaLabel: '#alpha-label', icon: '#icon', ended: '#ended', newRun: '#new-run',
});

export const TICK_MS = 50;

function selector(part) {
  if (!(part in PARTS))
    throw new Error(`no part ${part}`);
  return PARTS[part];
}

// Shown: the one element, no hidden ancestor, and a box with room in it.
function shown(sel) {
  const all = document.querySelectorAll(sel);
  if (all.length !== 1)
    return `${all.length} elements`;
  const r = all[0].getBoundingClientRect();
  return !all[0].closest('[hidden]') && r.width > 0 && r.height > 0;
}

export function makeDriver(p) {
  const d = {
    call: p.call,
    ticks: (n) => d.runFor(TICK_MS * n),
    runFor: (ms) => p.call((t) => { window.rodaderoClock.tick(t); }, ms),
    press: (key) => p.press(key),
    click: (part) => p.click(selector(part)),
    focus: (part) => p.call((s) => document.querySelector(s).focus(), selector(part)),
    box: (part) => p.call((s) => {
      const r = document.querySelector(s).getBoundingClientRect();
      return { x: r.left, y: r.top, width: r.width, height: r.height };
    }, selector(part)),
    mouseMove: (x, y) => p.mouseMove(x, y),
    mouseDown: () => p.mouseDown(),
    mouseUp: () => p.mouseUp(),
    mouseClick: async (x, y) => {
      await p.mouseMove(x, y);
      await p.mouseDown();
      await p.mouseUp();
    },
    state: () => p.call(() => window.rodadero.state()),
    attribute: (part, name) => p.call((s, n) => document.querySelector(s).getAttribute(n),
                                      selector(part), name),
    expectVisible: async (part) => assert.equal(await p.call(shown, selector(part)), true,
                                                `${part} shown`),
    expectHidden: async (part) => assert.equal(await p.call(shown, selector(part)), false,
                                               `${part} hidden`),
    expectFocused: async (part) => assert.equal(
      await p.call((s) => document.activeElement === document.querySelector(s), selector(part)),
      true, `${part} has the focus`),
  };
  return d;
}

// The page opened and started, its clock held: waits for its first paint.
export async function whenReady(d) {
  const failed = await d.call(() => window.rodadero.ready.then(() => null, (e) => String(e)));
  assert.equal(failed, null, 'the page started');
  const now = await d.call(() => Date.now());
  assert.equal(now, 1000, 'the page\'s clock is held at 1000 ms');
}
