// The panel beside the window: the convergence curve follows the page's own
// steps (whatever takes them) and starts again at a reset; the fates
// chart's mark follows the scroll bar; the sweep's workers leave the
// window's ticks on time and end with every position's class as the
// stored sweep has it; the race appears on the button and races the
// current polyline. What the pictures themselves draw is the pictures'
// tests' business (race.test.mjs, charts.test.mjs, tests/pictures); here
// they are read only through their axes' labels, to see what they were
// given. And the whole page in mid-descent, with the sweep and the map done
// and a race running, against its reference screenshot.
import fs from 'node:fs';
import path from 'node:path';
import {
  test, expect, expectHidden, openPage, ticks, state, bits, nativeStates, byRole, PAGE_URL, OUT_DIR,
  mapDone,
} from './page_fixture.mjs';

const GOLDEN_SWEEP = new URL('../trace/golden/sweep.csv', import.meta.url);

// The curve's text alternative: after how many steps, what is printed.
function sampleOf(label) {
  const m = label.match(/tras (\d+) pasos? la ventana imprime (\d+) millonésimos/);
  return m ? { step: +m[1], printedUs: +m[2] } : { step: 0, label };
}

async function lastSample(page) {
  return sampleOf(await byRole(page).convergence.getAttribute('aria-label'));
}

function printed(fallTime) {
  return Math.trunc(fallTime * 1e6);
}

// Value at a pixel on an axis, from its first and last labelled ticks.
function onAxis(ticks, at, logarithmic) {
  const [a, b] = [ticks[0], ticks[ticks.length - 1]];
  const f = logarithmic ? Math.log10 : (v) => v;
  const v = f(a.value) + ((at - a.at) * (f(b.value) - f(a.value))) / (b.at - a.at);
  return logarithmic ? 10 ** v : v;
}

// A picture's ticks (their place and value) and some of its elements.
async function chartParts(host, axes, read) {
  return host.evaluate((hostElement, [axisIds, readWhat]) => {
    const root = hostElement.shadowRoot;
    const ticks = {};
    for (const [id, attribute] of Object.entries(axisIds))
      ticks[id] = [...root.querySelectorAll(`#${id} .tick`)].map((t) => ({
        at: +t.querySelector('line').getAttribute(attribute),
        value: +t.querySelector('text').textContent.replace(/\s/g, ''),
      }));
    const parts = {};
    for (const [name, [id, attribute]] of Object.entries(readWhat)) {
      const el = root.getElementById(id);
      parts[name] = el ? el.getAttribute(attribute) : null;
    }
    return { ticks, parts };
  }, [axes, read]);
}

// The step and the printed time of the curve's last point, read back
// through the axes.
async function curveEnd(page) {
  const { ticks: t, parts } = await chartParts(byRole(page).convergence,
    { 'step-axis': 'x1', 'time-axis': 'y1' }, { printed: ['printed-time', 'points'] });
  const points = parts.printed.trim().split(/\s+/).filter(Boolean).map((p) => p.split(',').map(Number));
  if (points.length === 0)
    return { points: 0 };
  const [x, y] = points[points.length - 1];
  return { points: points.length, step: onAxis(t['step-axis'], x, true),
           printedUs: onAxis(t['time-axis'], y, false) * 1e6 };
}

// A screen wide and tall enough for the window and the panel's charts side
// by side: the charts are drawn only while they are in view.
const SIDE_BY_SIDE = { width: 1700, height: 1000 };

// Records the curve's every redraw with the model's state at that moment.
async function watchCurve(page) {
  await page.setViewportSize(SIDE_BY_SIDE);
  await byRole(page).convergence.evaluate((chart) => {
    window.curveDrawn = [];
    new MutationObserver(() => window.curveDrawn.push({
      label: chart.getAttribute('aria-label'),
      fallTime: window.rodadero.state().fallTime,
    })).observe(chart, { attributes: true });
  });
}

async function endRun(page) {
  await byRole(page).plot.focus();
  await page.keyboard.press('Escape');
}

test('the panel: five cards in Spanish, the curve without steps, the race waiting', async ({ page }) => {
  await openPage(page);
  const the = byRole(page);
  await expect(the.panel.getByRole('heading', { level: 2 }))
    .toHaveText(['Convergencia', 'Destino de cada posición', 'Carrera', 'Otros métodos', 'Laboratorio']);
  await expect(the.convergence).toHaveAttribute('aria-label',
    'Convergencia: todavía sin pasos desde la cuerda.');
  await expect(the.convergence.locator('svg')).toHaveCount(1);
  await expect(the.raceStart).toBeVisible();
  await expectHidden(the.raceWaiting);
  // The panel is beside the window where there is room: its parts are
  // cells of the page's grid there, the language switch at the window's
  // top and the first card beside the window.
  await page.setViewportSize({ width: 1700, height: 900 });
  const stage = await page.locator('#stage').boundingBox();
  const language = await page.locator('#language').boundingBox();
  const first = await page.locator('#panel .card').first().boundingBox();
  for (const box of [language, first])
    expect(box.x).toBeGreaterThanOrEqual(stage.x + stage.width);
  expect(language.y).toBe(stage.y);
  expect(first.y).toBeLessThan(stage.y + stage.height);
});

// What takes the steps, and how many the curve must then show. Each row
// ends the run with Escape, which draws the curve at once.
const CURVE_RUNS = [
  { name: 'ticks in timed mode', steps: 200, act: (page) => ticks(page, 100) },
  {
    name: 'paints in continuous mode, its toggle\'s and the mouse\'s over the dialog',
    steps: 1 + 60 + 3,
    act: async (page) => {
      await page.keyboard.press('Space');
      await page.clock.runFor(1000);
      for (const [dx, dy] of [[0, 0], [3, 0], [0, 3]]) {
        const box = await page.locator('#about').boundingBox();
        await page.mouse.move(box.x + 20 + dx, box.y + 20 + dy);
      }
    },
  },
  {
    name: 'a reset starts the curve again',
    steps: 10,
    act: async (page) => {
      await ticks(page, 30);
      expect((await lastSample(page)).step).toBeGreaterThan(40);
      await byRole(page).reset.click();
      await ticks(page, 5);
    },
  },
];

for (const run of CURVE_RUNS) {
  test(`the convergence curve follows the page's steps: ${run.name}`, async ({ page }) => {
    await openPage(page);
    await watchCurve(page);
    await run.act(page);
    await endRun(page);
    const s = await state(page);
    expect(await lastSample(page)).toEqual({ step: run.steps, printedUs: printed(s.fallTime) });
    // The picture was given the same: its last point, and with every step
    // up to 100 kept, as many points as steps.
    const end = await curveEnd(page);
    expect(Math.round(end.step)).toBe(run.steps);
    expect(Math.abs(end.printedUs - printed(s.fallTime))).toBeLessThan(2);
    if (run.steps <= 100)
      expect(end.points).toBe(run.steps);

    // Every redraw on the way showed the model as it stood: a step count
    // from the chord (a reset puts the chord back) after which the host
    // build's model has the page's fall time, bit for bit.
    const samples = [];
    for (const d of await page.evaluate(() => window.curveDrawn)) {
      const sample = sampleOf(d.label);
      if (sample.step > 0)
        samples.push({ ...sample, fallTime: d.fallTime });
    }
    expect(samples.length).toBeGreaterThan(2);
    const native = nativeStates(samples.map((d) => String(d.step)));
    samples.forEach((d, i) => {
      expect(d.printedUs, `redraw after step ${d.step}`).toBe(printed(d.fallTime));
      expect(bits(d.fallTime), `redraw after step ${d.step}`).toBe(native[i].fallTime);
    });
  });
}

test('the convergence curve is drawn again at most a few times a second', async ({ page }) => {
  await openPage(page);
  await watchCurve(page);
  await ticks(page, 200); // ten seconds
  const redraws = (await page.evaluate(() => window.curveDrawn)).length;
  console.log(`convergence curve: ${redraws} redraws in 10 s of 400 steps`);
  expect(redraws).toBeGreaterThanOrEqual(20);
  expect(redraws).toBeLessThanOrEqual(51);
});

// The marked band's centre, as a scroll position through the axis.
async function markedPosition(page) {
  const chart = byRole(page).fates;
  const { ticks: t, parts } = await chartParts(chart, { 'position-axis': 'x1' },
    { x: ['marked-position', 'x'], width: ['marked-position', 'width'] });
  const label = await chart.evaluate((host) =>
    host.shadowRoot.getElementById('marked-position-label').textContent);
  return { position: onAxis(t['position-axis'], +parts.x + +parts.width / 2, false), label };
}

test('a chart out of the window waits, and is drawn as it comes into view', async ({ page }) => {
  await openPage(page); // the convergence curve below the window
  const the = byRole(page);
  await the.convergence.evaluate((chart) => {
    window.labels = [];
    new MutationObserver(() => window.labels.push(chart.getAttribute('aria-label')))
      .observe(chart, { attributes: true });
  });
  await ticks(page, 20);
  expect(await page.evaluate(() => window.labels)).toEqual([]);
  await the.convergence.scrollIntoViewIfNeeded();
  await expect(the.convergence).toHaveAttribute('aria-label', /tras 40 pasos/);
});

// The sweep waits for its card: a reader who never scrolls to it does not
// pay for it. It starts as the card comes into view.
test('the sweep waits until its card comes into view', async ({ page }) => {
  await page.addInitScript(() => {
    window.handedOut = 0; // positions handed to the sweep's workers
    const postOfWorker = Worker.prototype.postMessage;
    Worker.prototype.postMessage = function (message, ...rest) {
      if (message && message.position && message.method === undefined)
        ++window.handedOut;
      return postOfWorker.call(this, message, ...rest);
    };
  });
  await openPage(page); // the fates card below the window
  const handedOut = () => page.evaluate(() => window.handedOut);
  await ticks(page, 20);
  expect(await handedOut()).toBe(0);
  await page.locator('#fates-chart').scrollIntoViewIfNeeded();
  await expect(page.locator('#fates-status')).toHaveText(/^Las 100 posiciones, calculadas en /);
  expect(await handedOut()).toBe(100);
});

test('the fates chart\'s mark follows the scroll bar', async ({ page }) => {
  await page.setViewportSize(SIDE_BY_SIDE);
  await openPage(page);
  await page.evaluate(() => window.rodadero.swept);
  await ticks(page, 5);
  const at = async () => {
    const m = await markedPosition(page);
    expect(Math.abs(m.position - Math.round(m.position))).toBeLessThan(0.01);
    return [Math.round(m.position), m.label];
  };
  expect(await at()).toEqual([50, 'posición actual 50']);
  const the = byRole(page);
  const slider = the.alpha;
  await slider.focus();
  for (const [key, times, expected] of [['ArrowRight', 8, 58], ['ArrowLeft', 21, 37], ['ArrowRight', 1, 38]]) {
    for (let i = 0; i < times; ++i)
      await page.keyboard.press(key);
    await ticks(page, 5);
    expect(await at(), `after ${times} x ${key}`).toEqual([expected, `posición actual ${expected}`]);
    await expect(the.fates).toHaveAttribute('aria-label', new RegExp(`Posición actual ${expected}: `));
  }
  // The thumb dragged to the right end.
  const bar = await slider.boundingBox();
  const thumb = await slider.locator('.thumb').boundingBox();
  await page.mouse.move(thumb.x + thumb.width / 2, thumb.y + thumb.height / 2);
  await page.mouse.down();
  await page.mouse.move(bar.x + bar.width - 2, thumb.y + thumb.height / 2, { steps: 5 });
  await page.mouse.up();
  await ticks(page, 5);
  expect(await at()).toEqual([100, 'posición actual 100']);
  await expect(the.fates).toHaveAttribute('aria-label', /Posición actual 100: oscila entre 606421 y 619768\./);
});

function goldenClasses() {
  const rows = fs.readFileSync(GOLDEN_SWEEP, 'utf8').trim().split('\n').slice(1);
  return rows.map((row) => {
    const [position, , period] = row.split(',').map(Number);
    return { position, fate: period === 1 ? 'settles' : period >= 2 ? 'swings' : 'no-cycle' };
  });
}

test.describe('on the browser\'s own clock', { tag: '@real-time' }, () => {
  test.use({ realClock: true });

  test('the sweep\'s workers leave the ticks on time, and end with every position\'s fate',
       async ({ page }) => {
    // The real clock; each 50 ms timer's callbacks are logged as they run.
    await page.addInitScript(() => {
      // Every position the page hands to a worker of the sweep (not the
      // methods' cells, which come after it).
      window.handedOut = [];
      const postOfWorker = Worker.prototype.postMessage;
      Worker.prototype.postMessage = function (message, ...rest) {
        if (message && message.position && message.method === undefined)
          window.handedOut.push(message.position);
        return postOfWorker.call(this, message, ...rest);
      };
      window.tickLogs = [];
      const setIntervalOfPage = window.setInterval;
      window.setInterval = function (callback, ms, ...rest) {
        const log = [];
        window.tickLogs.push({ ms, log });
        return setIntervalOfPage.call(this, (...a) => {
          log.push(performance.now());
          return callback(...a);
        }, ms, ...rest);
      };
    });
    await page.goto(PAGE_URL);
    await page.evaluate(() => window.rodadero.ready);
    const swept = await page.evaluate(() => window.rodadero.swept);
    // The run ends at once, in the page: every tick so far is logged.
    const { logs, start, end, steps, handedOut } = await page.evaluate(() => {
      const canvas = document.getElementById('plot');
      canvas.dispatchEvent(new KeyboardEvent('keydown', { key: 'Escape', bubbles: true }));
      const label = document.getElementById('convergence-chart').getAttribute('aria-label');
      const sweep = performance.getEntriesByName('rodadero-sweep')[0];
      return { logs: window.tickLogs.filter((t) => t.ms === 50).map((t) => t.log),
               start: sweep.startTime, end: sweep.startTime + sweep.duration,
               steps: +label.match(/tras (\d+) pasos?/)[1], handedOut: window.handedOut };
    });
    const report = `sweep of 100 positions: ${swept.ms.toFixed(0)} ms in ${swept.workers} workers`;
    console.log(report);
    fs.writeFileSync(path.join(OUT_DIR, 'sweep-time.txt'), `${report}\n`);

    // The fates are found in the workers, each position handed out once, and
    // both timers went on ticking while they worked. How steadily depends on
    // the machine's load, which a test cannot judge: the figures are printed.
    expect([...handedOut].sort((a, b) => a - b)).toEqual(Array.from({ length: 100 }, (_, i) => i + 1));
    expect(logs).toHaveLength(2);
    const seconds = (end - start) / 1000;
    for (const log of logs) {
      const during = log.filter((t) => t >= start && t <= end);
      const gaps = during.slice(1).map((t, i) => t - during[i]);
      console.log(`timer: ${during.length} ticks in ${seconds.toFixed(2)} s, ` +
                  `longest gap ${Math.max(...gaps).toFixed(1)} ms`);
      expect(during.length).toBeGreaterThan(0);
    }
    // And each tick took its step: the curve counts one a tick.
    expect(steps).toBe(logs[0].length + logs[1].length);

    // The chart holds every position, classed as the stored sweep says.
    const classes = await byRole(page).fates.evaluate((host) => {
      const root = host.shadowRoot;
      const out = [];
      for (let p = 1; p <= 100; ++p)
        out.push({ position: p, low: root.getElementById(`fate-${p}-low`)?.getAttribute('class'),
                   high: root.getElementById(`fate-${p}-high`)?.getAttribute('class') });
      return out;
    });
    expect(classes)
      .toEqual(goldenClasses().map((g) => ({ position: g.position, low: g.fate, high: g.fate })));
    await expect(page.locator('#fates-status')).toHaveText(/^Las 100 posiciones, calculadas en \d+,\d s/);
  });
});

test('the race appears on the button and races the current polyline', async ({ page }) => {
  await openPage(page);
  const the = byRole(page);
  await ticks(page, 30);
  await expectHidden(the.raceWaiting);
  await the.raceStart.click();
  await expect(the.race).toBeVisible();
  const race = async () => the.race.evaluate((host) => {
    const root = host.shadowRoot;
    const bead = root.getElementById('bead-polyline');
    return {
      track: root.getElementById('track-polyline').getAttribute('points'),
      name: root.getElementById('name-polyline').textContent,
      animated: bead ? [...bead.querySelectorAll('animate')].map((a) => a.getAttribute('attributeName')) : [],
    };
  });
  // The polyline's track is ShownX at the model's depths, 400 pixels to
  // the unit; its bead runs along it.
  const check = async (steps) => {
    const r = await race();
    const s = await state(page);
    const points = r.track.split(' ').map((p) => p.split(',').map(Number));
    expect(points).toHaveLength(21);
    points.forEach(([x, y], k) => {
      expect(Math.abs(x - 400 * (k === 20 ? 1 : s.shownX[k]))).toBeLessThan(0.0006);
      expect(Math.abs(y - 400 * 0.046 * k)).toBeLessThan(0.0006);
    });
    expect(r.name).toBe(`aproximante tras ${steps} pasos`);
    expect(r.animated).toEqual(['cx', 'cy']);
    // Its name gives the order of arrival: the brachistochrone first, the
    // chord last.
    await expect(the.race).toHaveAttribute('aria-label',
      new RegExp(`^Carrera: por orden de llegada, primera, braquistócrona, 0\\.5714 s; segunda, aproximante tras ${steps} pasos, 0\\.\\d{4} s; tercera, cuerda, 0\\.6336 s\\.$`));
  };
  await check(60);
  // Again from the keyboard, later: the polyline of then.
  await ticks(page, 10);
  await the.raceStart.focus();
  await page.keyboard.press('Enter');
  await check(80);
});

// Every card as a person sees it. The held clock stands still while the
// workers sweep and map, so their times read 0.0 s; the race is held by its
// own clock a little under half way down its slowed fall.
test('the whole page in mid-descent, the sweep and the map done, a race running, against its reference screenshot', async ({ page }) => {
  await page.setViewportSize({ width: 1920, height: 1080 });
  await openPage(page);
  await page.evaluate(() => window.rodadero.swept);
  await mapDone(page, 'heavy-ball');
  await ticks(page, 60);
  await expect(page.locator('#fates-status')).toHaveText(/^Las 100 posiciones, calculadas en 0[.,]0 s/);
  await expect(byRole(page).convergence).toHaveAttribute('aria-label', /^Convergencia de la bajada: tras \d+ pasos/);
  const the = byRole(page);
  await the.raceStart.click();
  await expect(the.race).toHaveAttribute('aria-label', /^Carrera: /);
  await expect(the.race).toBeVisible();
  await the.race.evaluate((host) => {
    const svg = host.shadowRoot.querySelector('svg');
    svg.pauseAnimations();
    svg.setCurrentTime(2.5);
  });
  await page.evaluate(() => window.scrollTo(0, 0));
  await expect(page).toHaveScreenshot('panel.png', { fullPage: true });
});
