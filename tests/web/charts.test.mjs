// The charts that rodadero-trace draws, measured in a page: every mark's
// centre, mapped back to values through the chart's own axes (read from the
// tick labels and the ticks' places, nothing else), against the values the
// marks stand for. The fates chart (--sweep --svg) against the sweep's
// stored rows (tests/trace/golden/sweep.csv, from a separate plain
// program); the convergence curve (--plot) against the rows of the same
// run printed step by step. And each chart as a person sees it, against its
// reference screenshot.
import fs from 'node:fs';
import { test, expect } from './page_fixture.mjs';
import { showPicture, tracePicture, traceRows } from './trace_fixture.mjs';

const GOLDEN_SWEEP = new URL('../trace/golden/sweep.csv', import.meta.url);
const BRACHISTOCHRONE_TIME = 0.571394;
const FATE_AXES = ['position-axis', 'time-axis', 'cycle-axis'];
const FATE_MARKS = "circle[id^='fate-'], circle[id^='cycle-']";

// The axes' ticks (where each tick's line starts, and its label), and the
// centre, class and fill of the marks, the ends of the lines, the texts
// and the points of the curves asked for, in the picture's own coordinates.
async function measure(page, { axes = [], marks = null, lines = [], texts = [], curves = [] }) {
  return page.evaluate(([axisIds, markSelector, lineIds, textIds, curveIds]) => {
    const picture = document.querySelector('svg');
    const toPicture = (el) => picture.getCTM().inverse().multiply(el.getCTM());
    const at = (el, x, y) => {
      const p = new DOMPoint(x, y).matrixTransform(toPicture(el));
      return [p.x, p.y];
    };
    const result = { axes: {}, marks: {}, lines: {}, texts: {}, curves: {} };
    for (const id of axisIds) {
      result.axes[id] = [...document.getElementById(id).querySelectorAll('g.tick')].map((g) => {
        const line = g.querySelector('line');
        const [x, y] = at(line, line.x1.baseVal.value, line.y1.baseVal.value);
        return { x, y, label: g.querySelector('text').textContent };
      });
    }
    if (markSelector) {
      for (const el of document.querySelectorAll(markSelector)) {
        const b = el.getBBox();
        result.marks[el.id] = { centre: at(el, b.x + b.width / 2, b.y + b.height / 2),
                                cls: el.getAttribute('class'), fill: getComputedStyle(el).fill };
      }
    }
    for (const id of lineIds) {
      const el = document.getElementById(id);
      if (el)
        result.lines[id] = [...at(el, el.x1.baseVal.value, el.y1.baseVal.value),
                            ...at(el, el.x2.baseVal.value, el.y2.baseVal.value)];
    }
    for (const id of textIds)
      result.texts[id] = document.getElementById(id)?.textContent ?? null;
    for (const id of curveIds) {
      const el = document.getElementById(id);
      result.curves[id] = [...el.points].map((q) => at(el, q.x, q.y));
    }
    return result;
  }, [axes, marks, lines, texts, curves]);
}

// The value at a pixel, fitted through the ticks by least squares (of the
// value's logarithm on a log axis); the fit must pass through every tick.
function axisMap(ticks, along, logarithmic, name) {
  expect(ticks.length, `${name}: ticks`).toBeGreaterThanOrEqual(2);
  const at = ticks.map((t) => t[along]);
  const values = ticks.map((t) => {
    const v = Number(t.label.replace(/\s/g, ''));
    return logarithmic ? Math.log10(v) : v;
  });
  const n = at.length;
  const meanAt = at.reduce((a, b) => a + b) / n;
  const meanV = values.reduce((a, b) => a + b) / n;
  let num = 0;
  let den = 0;
  for (let i = 0; i < n; ++i) {
    num += (at[i] - meanAt) * (values[i] - meanV);
    den += (at[i] - meanAt) ** 2;
  }
  const slope = num / den;
  const offset = meanV - slope * meanAt;
  const worst = Math.max(...at.map((a, i) => Math.abs(offset + slope * a - values[i])));
  const span = Math.max(...values) - Math.min(...values);
  expect(worst, `${name}: the ticks evenly spaced`).toBeLessThanOrEqual(1e-5 * span);
  return logarithmic ? (pixel) => 10 ** (offset + slope * pixel) : (pixel) => offset + slope * pixel;
}

function goldenFates() {
  const [header, ...lines] = fs.readFileSync(GOLDEN_SWEEP, 'utf8').trim().split('\n');
  const names = header.split(',');
  return new Map(lines.map((line) => {
    const r = Object.fromEntries(line.split(',').map((v, i) => [names[i], v]));
    return [Number(r.position), r];
  }));
}

function fateClass(row) {
  const period = row.period ? Number(row.period) : 0;
  return period === 1 ? 'settles' : period >= 2 ? 'swings' : 'no-cycle';
}

// Each row's marks where its values are, with the class its period gives,
// and no mark for anything else; returns the position axis.
function checkFates(measured, rows) {
  const across = axisMap(measured.axes['position-axis'], 'x', false, 'position axis');
  const times = axisMap(measured.axes['time-axis'], 'y', false, 'time axis');
  const steps = axisMap(measured.axes['cycle-axis'], 'y', true, 'cycle axis');
  const { marks } = measured;
  const faults = [];
  const expectedIds = new Set();
  let worstUs = 0;
  for (const [position, row] of rows) {
    const cls = fateClass(row);
    // The time axis is in millionths of a second, as the window prints them.
    const wanted = [[`fate-${position}-low`, times, Number(row.low_us), 1],
                    [`fate-${position}-high`, times, Number(row.high_us), 1],
                    [`cycle-${position}`, steps, Number(row.cycle_from), 5e-4 * Number(row.cycle_from)]];
    for (const [id, axis, value, tolerance] of wanted) {
      expectedIds.add(id);
      const mark = marks[id];
      if (!mark) {
        faults.push(`no mark ${id}`);
        continue;
      }
      const [x, y] = mark.centre;
      if (!(Math.abs(across(x) - position) <= 0.02))
        faults.push(`${id}: at position ${across(x).toFixed(3)}`);
      const got = axis(y);
      if (axis === times)
        worstUs = Math.max(worstUs, Math.abs(got - value));
      if (!(Math.abs(got - value) <= tolerance))
        faults.push(`${id}: at ${got}, not ${value}`);
      if (mark.cls !== cls)
        faults.push(`${id}: class ${mark.cls}, not ${cls}`);
    }
  }
  const extra = Object.keys(marks).filter((id) => !expectedIds.has(id));
  if (extra.length)
    faults.push(`marks for no row: ${extra.slice(0, 5).join(', ')}`);
  console.log(`${rows.size} positions: the time marks at most ${worstUs.toFixed(3)} us off`);
  expect(faults.slice(0, 20)).toEqual([]);
  return across;
}

const ROWS = goldenFates();
const FATES_SVG = tracePicture(['--sweep'], '--svg');

test('the fates chart: each position\'s marks where the stored sweep has them, classed by its period', async ({ page }) => {
  await showPicture(page, FATES_SVG);
  const measured = await measure(page, { axes: FATE_AXES, marks: FATE_MARKS });
  checkFates(measured, ROWS);
  // The fates are told apart by colour as well.
  const fills = Object.fromEntries(Object.values(measured.marks).map((m) => [m.cls, m.fill]));
  expect(fills.settles).toBeDefined();
  expect(fills.swings).toBeDefined();
  expect(fills.settles).not.toBe(fills.swings);
  // The rows that swing with one printed time are among them.
  const swinging = [...ROWS].filter(([, r]) => fateClass(r) === 'swings' && r.low_us === r.high_us)
    .map(([p]) => p);
  expect(swinging).toEqual([39, 41, 44, 49, 55, 56, 57]);
});

test('the fates chart: the stability limit\'s line between positions 57 and 58, and its label', async ({ page }) => {
  await showPicture(page, FATES_SVG);
  const measured = await measure(page, { axes: ['position-axis'], lines: ['stability-limit'],
                                         texts: ['stability-limit-label'] });
  const across = axisMap(measured.axes['position-axis'], 'x', false, 'position axis');
  const line = measured.lines['stability-limit'];
  expect(line, 'the stability-limit line').toBeDefined();
  expect(Math.abs(line[0] - line[2]), 'the limit line vertical').toBeLessThan(1e-6);
  const at = across(line[0]);
  expect(at).toBeGreaterThan(57);
  expect(at).toBeLessThan(58);
  const label = measured.texts['stability-limit-label'] ?? '';
  const numbers = label.replace(/:/g, ' ').split(/\s+/).filter((w) => /^\d+(\.\d*)?$/.test(w)).map(Number);
  expect(numbers.some((n) => n > 57 && n < 58), `the label gives the limit: ${label}`).toBe(true);
});

test('a fates chart of one position: its marks alone', async ({ page }) => {
  await showPicture(page, tracePicture(['--sweep', '--position', '58'], '--svg'));
  const measured = await measure(page, { axes: FATE_AXES, marks: FATE_MARKS });
  checkFates(measured, new Map([[58, ROWS.get(58)]]));
});

// Its texts, legend, axes and marks laid out and drawn.
test('the fates chart, against its reference screenshot', async ({ page }) => {
  await page.setViewportSize({ width: 800, height: 660 });
  await showPicture(page, FATES_SVG);
  await expect(page).toHaveScreenshot('fates-chart.png');
});

const CURVE_STEPS = 3000;

test('the convergence curve: each point at its step and time, the brachistochrone\'s line at its time', async ({ page }) => {
  const rows = new Map(traceRows(['--steps', String(CURVE_STEPS), '--every', '1'])
    .map((r) => [Number(r.step), r]));
  await showPicture(page, tracePicture(['--steps', String(CURVE_STEPS), '--every', String(CURVE_STEPS)],
                                       '--plot'));
  const measured = await measure(page, { axes: ['step-axis', 'time-axis'], lines: ['brachistochrone'],
                                         texts: ['brachistochrone-label'],
                                         curves: ['printed-time', 'exact-time'] });
  const across = axisMap(measured.axes['step-axis'], 'x', true, 'step axis');
  const times = axisMap(measured.axes['time-axis'], 'y', false, 'time axis');
  for (const [curve, value] of [['printed-time', (r) => Number(r.time_us) * 1e-6],
                                ['exact-time', (r) => Number(r.exact_s)]]) {
    const faults = [];
    const shown = [];
    let worst = 0;
    for (const [x, y] of measured.curves[curve]) {
      const at = across(x);
      const step = Math.round(at);
      shown.push(step);
      if (!(Math.abs(at - step) <= 0.05 && rows.has(step))) {
        faults.push(`a point at step ${at.toFixed(3)}`);
        continue;
      }
      const miss = Math.abs(times(y) - value(rows.get(step)));
      worst = Math.max(worst, miss);
      if (!(miss <= 5e-7))
        faults.push(`at step ${step}: ${times(y).toFixed(7)} s, not ${value(rows.get(step)).toFixed(7)} s`);
    }
    console.log(`${curve}: ${shown.length} points, at most ${(worst * 1e6).toFixed(3)} us off`);
    expect(faults.slice(0, 20), curve).toEqual([]);
    expect(shown, `${curve}: steps in order, each once`).toEqual([...new Set(shown)].sort((a, b) => a - b));
    expect(shown.slice(0, 100), `${curve}: every step of the first 100`)
      .toEqual(Array.from({ length: 100 }, (_, i) => i + 1));
    expect(shown[shown.length - 1], `${curve}: the last step`).toBe(CURVE_STEPS);
    expect(shown.length, `${curve}: points`).toBeLessThan(300);
  }
  const line = measured.lines.brachistochrone;
  expect(line, 'the brachistochrone line').toBeDefined();
  expect(Math.abs(line[1] - line[3]), 'the brachistochrone line level').toBeLessThan(1e-6);
  expect(Math.abs(times(line[1]) - BRACHISTOCHRONE_TIME)).toBeLessThanOrEqual(1e-6);
  expect(measured.texts['brachistochrone-label']).toContain('0.571394');
});

// Scroll position 58, just past the limit, over a million steps: the
// descent, then the swing it ends in, as a person sees them.
test('the convergence curve, against its reference screenshot', async ({ page }) => {
  await page.setViewportSize({ width: 800, height: 500 });
  await showPicture(page, tracePicture(['--position', '58', '--steps', '1000000', '--every', '1000000'],
                                       '--plot'));
  await expect(page).toHaveScreenshot('convergence-chart.png');
});
