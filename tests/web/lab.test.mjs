// The laboratory's card against the host build's rodadero-trace --lab: its
// times after K ticks are the command's line after K steps, digit for
// digit, in either language; the end moved with the mouse, with a finger
// and with the keys starts the run again there; a link opens the card in
// its state, and a bad one changes nothing and gets one notice; every file
// it saves is what the command writes for the same state (the pictures in
// English); on a 360-px phone it fits without sideways scrolling. The
// card's screenshots, on a laptop and a phone in both languages, go to the
// output folder to be looked at: they are no references.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test, expect, ticks, openAt, saved, state, OUT_DIR } from './page_fixture.mjs';
import { trace, tracePicture } from './trace_fixture.mjs';

const TRACE = process.env.RODADERO_TRACE || 'build/native/trace/rodadero-trace';
const SCREENS = path.join(OUT_DIR, 'lab-screens');

// The card's state as the address gives it and the command takes it.
const START = Object.freeze({ x: '1', y: '0.92', intervals: 20, layout: 'depth', rule: 'midpoint',
                              method: 'gradient', ratio: '0.5', beta: '0.9' });

function problemArgs(s) {
  return ['--lab', '--end', `${s.x},${s.y}`, '--intervals', String(s.intervals), '--layout', s.layout,
          '--time', s.rule];
}

function runArgs(s, steps) {
  const args = [...problemArgs(s), '--method', s.method, '--steps', String(steps)];
  if (s.method !== 'newton')
    args.push('--step-ratio', s.ratio);
  if (s.method === 'heavy-ball' || s.method === 'nesterov')
    args.push('--beta', s.beta);
  return args;
}

// The times the command's line writes, in its order: now, exactly, the
// optimum, the cycloid, the distance, the optimiser's share, the polyline's.
function commandTimes(args) {
  const run = spawnSync(TRACE, args, { encoding: 'utf8', maxBuffer: 64 << 20 });
  expect(run.status, run.stderr).toBe(0);
  return run.stderr.match(/[+-]?\d+\.\d{7}(?= s)/g);
}

// The same seven times as the card writes them, read back with a point.
async function cardTimes(page) {
  const text = ['#lab-now', '#lab-references', '#lab-split'];
  const words = (await Promise.all(text.map((id) => page.locator(id).textContent()))).join(' ');
  return (words.match(/[+-]?\d+[.,]\d{7}(?= s)/g) || []).map((t) => t.replace(',', '.'));
}

// A link's state over the start's.
const stateOf = (changes) => ({ ...START, ...changes });

// Runs from the chord, each opened by its link and run for `ticks` ticks,
// one step each; the last halts at its fourth step (a width layout whose
// step is far too long lifts a node above the start).
const RUNS = [
  { hash: '#lab&fin=1,0.2&tramos=16&nodos=anchura&tiempo=exacto&lang=es', ticks: 40,
    state: { y: '0.2', intervals: 16, layout: 'width', rule: 'exact' }, words: 'Tras 40 pasos' },
  { hash: '#lab&fin=0.5,1.5&tramos=200&metodo=nesterov&paso=0.8&beta=0.85&lang=en', ticks: 60,
    state: { x: '0.5', y: '1.5', intervals: 200, method: 'nesterov', ratio: '0.8', beta: '0.85' },
    words: 'After 60 steps' },
  { hash: '#lab&tramos=30&tiempo=exacto&metodo=newton&lang=en', ticks: 4,
    state: { intervals: 30, rule: 'exact', method: 'newton' }, words: 'After 4 steps' },
  { hash: '#lab&nodos=anchura&paso=4&lang=en', ticks: 6, state: { layout: 'width', ratio: '4' },
    words: 'After 3 steps' },
];

for (const run of RUNS) {
  test(`the card's times are the command's line: ${run.hash}, ${run.ticks} ticks`, async ({ page }) => {
    await openAt(page, run.hash);
    await ticks(page, run.ticks);
    await expect(page.locator('#lab-now')).toContainText(run.words);
    const state = stateOf(run.state);
    expect(await cardTimes(page)).toEqual(commandTimes(runArgs(state, run.ticks)));
  });
}

test('a run that a step would end says so, and stays', async ({ page }) => {
  await openAt(page, RUNS[3].hash);
  await ticks(page, 6);
  await expect(page.locator('#lab-now')).toContainText(/^After 3 steps .* Step 4 would move node 1 out of reach/);
  // The picture, drawn once more where the run stopped, gives the split
  // of the command's line: the distance = the optimiser's share + the
  // polyline's.
  const [total, optimiser, polyline] = commandTimes(runArgs(stateOf(RUNS[3].state), 6)).slice(4);
  const number = (t) => t.replace('+', '\\+').replace('.', '\\.');
  await expect(page.locator('#lab-picture')).toHaveAttribute('aria-label', new RegExp(
    `^Laboratory: the end at \\(1, 0\\.92\\), 20 intervals\\..* ${number(total)} s = [^=]* ` +
    `${number(optimiser)} s \\+ [^+]* ${number(polyline)} s\\.$`));
});

// The address the page shows, without its '#'.
const addressOf = (page) => page.evaluate(() => location.hash.slice(1));

// The place on the screen of a mark of the card's picture.
function markAt(page, id) {
  return page.evaluate((mark) => {
    const r = document.getElementById('lab-picture').shadowRoot.getElementById(mark)
      .getBoundingClientRect();
    return { x: (r.left + r.right) / 2, y: (r.top + r.bottom) / 2 };
  }, id);
}

// The end, to hundredths, that a pointer at (px, py) means on the picture
// as it is drawn now: one scale across and down, from the start's mark and
// the end's.
async function endUnder(page, px, py, endY) {
  const start = await markAt(page, 'start');
  const end = await markAt(page, 'end');
  const scale = (end.y - start.y) / endY;
  const hundredths = (v) => String(Math.round(v * 100) / 100);
  return { x: hundredths((px - start.x) / scale), y: hundredths((py - start.y) / scale) };
}

test('the end dragged with the mouse: the run starts again there', async ({ page }) => {
  await openAt(page, '#lab&lang=en');
  await ticks(page, 10);
  // The picture in view, its end mark with it (the card is taller than
  // the window).
  await page.locator('#lab-picture').scrollIntoViewIfNeeded();
  const end = await markAt(page, 'end');
  const to = { x: end.x - 60, y: end.y - 40 };
  const moved = await endUnder(page, to.x, to.y, 0.92);
  await page.mouse.move(end.x, end.y);
  await page.mouse.down();
  await page.mouse.move((end.x + to.x) / 2, (end.y + to.y) / 2);
  await page.mouse.move(to.x, to.y);
  await page.mouse.up();
  await expect(page.locator('#lab-now')).toContainText(/^The chord/);
  expect(await addressOf(page)).toContain(`lab&fin=${moved.x},${moved.y}&tramos=20`);
  await ticks(page, 7);
  expect(await cardTimes(page)).toEqual(commandTimes(runArgs(stateOf(moved), 7)));
});

test('the end moved with the arrow keys: a hundredth a press, a tenth with Shift', async ({ page }) => {
  await openAt(page, '#lab&lang=es');
  await ticks(page, 5);
  const picture = page.getByRole('img', { name: /^Laboratorio: el final en \(1; 0,92\), 20 intervalos/ });
  await picture.focus();
  await expect(picture).toBeFocused();
  for (const key of ['ArrowRight', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'Shift+ArrowUp'])
    await page.keyboard.press(key);
  await expect(page.getByRole('img', { name: /^Laboratorio: el final en \(1,03; 0,83\)/ }))
    .toBeFocused();
  await expect(page.locator('#lab-now')).toContainText(/^La cuerda/);
  expect(await addressOf(page)).toContain('lab&fin=1.03,0.83&');
  await ticks(page, 12);
  expect(await cardTimes(page)).toEqual(commandTimes(runArgs(stateOf({ x: '1.03', y: '0.83' }), 12)));
});

test('a link opens the card in its state, and the address follows the card', async ({ page }) => {
  await openAt(page, '#lab&fin=1,0.2&tramos=16&nodos=anchura&tiempo=exacto');
  await expect(page.locator('#lab-intervals')).toHaveValue('16');
  await expect(page.locator('#lab-layout')).toHaveValue('width');
  await expect(page.locator('#lab-rule')).toHaveValue('exact');
  await page.locator('#lab-ratio').fill('0.25');
  await page.locator('#lab-ratio').press('Enter');
  await expect.poll(() => addressOf(page))
    .toMatch(/&lab&fin=1,0\.2&tramos=16&nodos=anchura&tiempo=exacto&metodo=gradient&paso=0\.25$/);
  await page.locator('#lab-method').selectOption('heavy-ball');
  await page.locator('#lab-intervals').fill('12');
  await page.locator('#lab-intervals').press('Enter');
  await expect.poll(() => addressOf(page)).toMatch(/&tramos=12&.*&metodo=heavy-ball&paso=0\.25&beta=0\.9$/);
  expect(await page.evaluate(() => window.scrollY)).toBeGreaterThan(0); // the card is in view
});

// Links with one bad value each: the part quoted by the notice.
const BAD_LINKS = [
  ['lab&fin=1,0', 'fin=1,0'],
  ['lab&fin=0,1&nodos=anchura', 'nodos=anchura'],
  ['lab&fin=1001,1', 'fin=1001,1'],
  ['lab&fin=1e2,1', 'fin=1e2,1'],
  ['lab&tramos=1000001', 'tramos=1000001'],
  ['lab&tramos=0', 'tramos=0'],
  ['lab&nodos=diagonal', 'nodos=diagonal'],
  ['lab&tiempo=lento', 'tiempo=lento'],
  ['lab&metodo=program', 'metodo=program'],
  ['lab&paso=5', 'paso=5'],
  ['lab&beta=1', 'beta=1'],
  ['lab&posicion_metodo=5', 'posicion_metodo=5'],
  ['fin=1,1', 'fin=1,1'],
  ['lab&lab', 'lab'],
];

test('a bad link changes nothing and gets one notice', async ({ page }) => {
  for (const [hash, part] of BAD_LINKS) {
    await page.goto('about:blank');
    await openAt(page, `#posicion=30&${hash}&lang=en`);
    const notice = page.locator('#address-notice');
    await expect(notice, hash).toBeVisible();
    await expect(notice, hash).toContainText(`(${part})`);
    await expect(page.locator('.note[role="status"]:visible').filter({ hasText: part }), hash)
      .toHaveCount(1);
    await expect(page.locator('#lab-intervals'), hash).toHaveValue('20');
    await expect(page.locator('#lab-layout'), hash).toHaveValue('depth');
    await expect(page.locator('#lab-now'), hash).toHaveText(/^(The chord|La cuerda): 0[.,]5907239 s/);
    expect((await state(page)).alphaPos, hash).not.toBe(30);
  }
});

// The files of one state, each against the command.
test('the run, its pictures, the optimum and the refinement table are the command\'s files', async ({ page }) => {
  const hash = '#lab&fin=1,0.2&tramos=16&nodos=anchura&tiempo=exacto&metodo=heavy-ball&paso=0.4&beta=0.7&lang=en';
  const state = stateOf({ x: '1', y: '0.2', intervals: 16, layout: 'width', rule: 'exact',
                          method: 'heavy-ball', ratio: '0.4', beta: '0.7' });
  await openAt(page, hash);
  await ticks(page, 30);
  const problem = 'end-1-0.2-16-intervals-width-exact';
  const files = [
    ['Laboratory run as CSV', `rodadero-lab-${problem}-heavy-ball-30-steps.csv`, trace(runArgs(state, 30))],
    ['Laboratory picture as SVG', `rodadero-lab-${problem}-heavy-ball-30-steps-en.svg`,
     tracePicture(runArgs(state, 30), '--svg')],
    ['Laboratory convergence as SVG', `rodadero-lab-convergence-rodadero-lab-${problem}-heavy-ball-30-steps-en.svg`,
     tracePicture(runArgs(state, 30), '--plot')],
    ['Optimum as CSV', `rodadero-lab-optimum-${problem}.csv`, trace([...problemArgs(state), '--optimum'])],
  ];
  for (const [button, name, text] of files) {
    const file = await saved(page, button);
    expect(file.name).toBe(name);
    expect(file.text, button).toBe(text);
  }
  await page.getByRole('button', { name: 'Work out the refinement table', exact: true }).click();
  await page.evaluate(() => window.rodadero.refined());
  await expect(page.locator('#lab-refine-status')).toContainText('Refinement table of 3 rows done');
  const refine = [...problemArgs(state), '--refine'];
  for (const [button, name, text] of [
    ['Refinement table as CSV', `rodadero-lab-refinement-${problem}.csv`, trace(refine)],
    ['Refinement chart as SVG', `rodadero-lab-refinement-${problem}-en.svg`, tracePicture(refine, '--svg')],
  ]) {
    const file = await saved(page, button);
    expect(file.name).toBe(name);
    expect(file.text, button).toBe(text);
  }
});

// The optimum of the width layout, the same in every build for an end
// where the library's sine and cosine once made the page's start differ
// from the command's in the last bits, and its depths some 1e-8 apart.
test('the width optimum is the same in the page as in the command at (0.8, 1.1), 24 intervals', async ({ page }) => {
  await openAt(page, '#lab&fin=0.8,1.1&tramos=24&nodos=anchura&tiempo=exacto&lang=en');
  const file = await saved(page, 'Optimum as CSV');
  expect(file.text).toBe(trace(['--lab', '--end', '0.8,1.1', '--intervals', '24', '--layout', 'width',
                                '--time', 'exact', '--optimum']));
});

// The steps gradient descent needs (the table's last column) pass 2^31
// from 5,120 intervals on: the module counts them in 64 bits too.
test('the refinement table to 5,120 intervals is the command\'s, its steps past 2^31 included', async ({ page }) => {
  await openAt(page, '#lab&tramos=5120&lang=en');
  await page.getByRole('button', { name: 'Work out the refinement table', exact: true }).click();
  await page.evaluate(() => window.rodadero.refined());
  const file = await saved(page, 'Refinement table as CSV');
  expect(file.text).toBe(trace(['--lab', '--intervals', '5120', '--refine']));
});

// The pad's point on the screen of a model point (x, y).
function padPoint(page, x, y) {
  return page.evaluate(([px, py]) => {
    const svg = document.querySelector('#lab-draw-pad svg');
    const p = new DOMPoint(px, py).matrixTransform(svg.getScreenCTM());
    return { x: p.x, y: p.y };
  }, [x, y]);
}

// A stroke with the mouse through model points.
async function stroke(page, points) {
  await page.locator('#lab-draw-pad').evaluate((pad) => pad.scrollIntoView({ block: 'center' }));
  const screen = [];
  for (const [x, y] of points)
    screen.push(await padPoint(page, x, y));
  await page.mouse.move(screen[0].x, screen[0].y);
  await page.mouse.down();
  for (const p of screen.slice(1))
    await page.mouse.move(p.x, p.y, { steps: 4 });
  await page.mouse.up();
}

test('a curve drawn with the mouse races as the command races its CSV', async ({ page }) => {
  await openAt(page, '#lab&lang=en');
  await page.getByRole('button', { name: 'Draw a curve', exact: true }).click();
  await expect(page.locator('#lab-draw-status')).toHaveText(/^Draw from the start/);
  // A curve that ends above the start is no curve to race.
  await stroke(page, [[0, 0], [0.5, 0.3], [1, -0.05]]);
  await expect(page.locator('#lab-draw-status')).toHaveText(/^A curve must end below the start/);
  await expect(page.getByRole('button', { name: 'Drawn curve as CSV', exact: true })).toBeDisabled();
  // One that dips and comes up to its end.
  await stroke(page, [[0, 0], [0.1, 0.5], [0.6, 0.8], [1.2, 0.6]]);
  await expect(page.locator('#lab-draw-status')).toHaveText(/^A curve of \d+ points to \(1\.2, 0\.6\)/);
  const curve = await saved(page, 'Drawn curve as CSV');
  expect(curve.name).toMatch(/^rodadero-lab-curve-\d+-points\.csv$/);
  expect(curve.text.split('\n')[0]).toBe('x,y');
  const file = path.join(OUT_DIR, 'lab-drawn-curve.csv');
  fs.writeFileSync(file, curve.text);
  const rows = await saved(page, 'Curve race as CSV');
  const picture = await saved(page, 'Curve race as SVG');
  expect(rows.name).toMatch(/^rodadero-lab-curve-race-\d+-points\.csv$/);
  expect(rows.text).toBe(trace(['--race', path.join(OUT_DIR, 'lab-drawn-race.svg'), '--curve', file]));
  expect(picture.name).toMatch(/^rodadero-lab-curve-race-\d+-points-en\.svg$/);
  expect(picture.text).toBe(tracePicture(['--curve', file], '--race'));
  // The race's name gives the beads in the order the command's rows have
  // them arrive.
  const names = { curve: 'curve', cycloid: 'cycloid through the end', line: 'straight line' };
  const arrivals = rows.text.trim().split('\n').slice(1).map((r) => r.split(','))
    .sort((a, b) => Number(a[1]) - Number(b[1]));
  const order = arrivals.map(([bead], i) => `${['1st', '2nd', '3rd'][i]}, ${names[bead]}, [^;]+`);
  await expect(page.locator('#lab-race')).toHaveAttribute('aria-label', new RegExp(
    `^Race of the drawn curve, \\d+ points, against the cycloid and the straight line: in order of arrival, ${order.join('; ')}\\.$`));
  await screenshotCard(page, 'laptop-draw-en.png');
});

// The card on screen, saved to be looked at.
async function screenshotCard(page, name) {
  await page.locator('#lab-card').screenshot({ path: path.join(SCREENS, name) });
}

test('on a laptop, in both languages', async ({ page }) => {
  await page.setViewportSize({ width: 1280, height: 800 });
  for (const lang of ['es', 'en']) {
    await page.goto('about:blank');
    await openAt(page, `#lab&fin=1,0.5&tramos=12&metodo=nesterov&beta=0.8&lang=${lang}`);
    await ticks(page, 25);
    await screenshotCard(page, `laptop-${lang}.png`);
  }
});

test.describe('a phone, 360 x 740 at 2, touch', () => {
  test.use({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 2, isMobile: true,
             hasTouch: true });

  test('the card fits without sideways scrolling, and a finger drags the end', async ({ page }) => {
    for (const lang of ['en', 'es']) {
      await page.goto('about:blank');
      await openAt(page, `#lab&lang=${lang}`);
      await ticks(page, 25);
      const widths = await page.evaluate(() => ({ scroll: document.documentElement.scrollWidth,
                                                  inner: window.innerWidth,
                                                  card: document.getElementById('lab-card')
                                                    .getBoundingClientRect().right }));
      expect(widths.scroll).toBeLessThanOrEqual(widths.inner);
      expect(widths.card).toBeLessThanOrEqual(widths.inner);
      await screenshotCard(page, `phone-${lang}.png`);
    }
    // A finger from the end, 30 pixels to the left and 20 up.
    await page.locator('#lab-picture').scrollIntoViewIfNeeded();
    const end = await markAt(page, 'end');
    const moved = await endUnder(page, end.x - 30, end.y - 20, 0.92);
    const cdp = await page.context().newCDPSession(page);
    const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
    await touch('touchStart', [{ x: end.x, y: end.y }]);
    await touch('touchMove', [{ x: end.x - 15, y: end.y - 10 }]);
    await touch('touchMove', [{ x: end.x - 30, y: end.y - 20 }]);
    await touch('touchEnd', []);
    expect(await addressOf(page)).toContain(`lab&fin=${moved.x},${moved.y}&`);
    await expect(page.locator('#lab-now')).toContainText(/^La cuerda/);
  });
});
