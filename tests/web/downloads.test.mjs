// The panel's files to take away, against the host build's rodadero-trace:
// the fates as CSV byte for byte what --sweep prints, the run's samples as
// the rows --every 1 prints at the same steps, the convergence curve and
// the race in English byte for byte the pictures --plot and --race write,
// and every picture an SVG file that opens on its own; each file named by
// what it holds.
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { test, expect, ticks, openAt, saved, OUT_DIR } from './page_fixture.mjs';
import { trace, tracePicture } from './trace_fixture.mjs';


// rodadero-trace's rows of a run, by step, and its header.
function traceRun(position, steps) {
  const [header, ...rows] = trace(['--position', String(position), '--steps', String(steps),
                                   '--every', '1']).trimEnd().split('\n');
  return { header, byStep: new Map(rows.map((r) => [Number(r.split(',')[0]), r])) };
}

test('the fates as CSV are what rodadero-trace --sweep prints', async ({ page }) => {
  await openAt(page, '');
  const button = page.getByRole('button', { name: 'Destinos en CSV', exact: true });
  await expect(button).toBeDisabled();
  await page.evaluate(() => window.rodadero.swept);
  await expect(button).toBeEnabled();
  const file = await saved(page, 'Destinos en CSV');
  expect(file.name).toBe('rodadero-destinos-posiciones-1-100.csv');
  expect(file.text).toBe(trace(['--sweep']));
});

// Runs from the chord at one position: ticks of each timer, and the steps
// they take (2 a tick in timed mode; in continuous mode 3 a tick, and one
// for the toggle's repaint).
const RUNS = [
  { hash: '#posicion=58', ticks: 150, steps: 300, name: 'rodadero-convergencia-posicion-58-300-pasos.csv' },
  { hash: '#posicion=58&modo=continuo', ticks: 20, steps: 61,
    name: 'rodadero-convergencia-posicion-58-61-pasos.csv' },
  { hash: '#posicion=93&lang=en', ticks: 600, steps: 1200,
    name: 'rodadero-convergence-position-93-1200-steps.csv' },
];

for (const run of RUNS) {
  test(`the run's samples as CSV: ${run.hash}, ${run.steps} steps`, async ({ page }) => {
    await openAt(page, run.hash);
    await ticks(page, run.ticks);
    const position = Number(run.hash.match(/posicion=(\d+)/)[1]);
    const file = await saved(page, run.hash.includes('lang=en') ? 'Steps as CSV' : 'Pasos en CSV');
    expect(file.name).toBe(run.name);
    const expected = traceRun(position, run.steps);
    const [header, ...rows] = file.text.split('\n');
    expect(header).toBe(expected.header);
    expect(rows.pop()).toBe(''); // the last row ends its line too
    // Every step up to 100, and the last one, among them.
    const steps = rows.map((r) => Number(r.split(',')[0]));
    for (let s = 1; s <= Math.min(100, run.steps); ++s)
      expect(steps).toContain(s);
    expect(steps[steps.length - 1]).toBe(run.steps);
    expect(steps).toEqual([...steps].sort((a, b) => a - b));
    for (const row of rows)
      expect(row).toBe(expected.byStep.get(Number(row.split(',')[0])));
  });
}

test('after a reset the samples start again from the chord', async ({ page }) => {
  await openAt(page, '#posicion=58');
  await ticks(page, 10);
  await page.getByRole('button', { name: 'reset init values', exact: true }).click();
  await ticks(page, 5);
  const file = await saved(page, 'Pasos en CSV');
  expect(file.name).toBe('rodadero-convergencia-posicion-58-10-pasos.csv');
  const expected = traceRun(58, 10);
  expect(file.text).toBe([expected.header, ...[...expected.byStep.values()], ''].join('\n'));
});

// The English pictures, as the command draws them for the same run.
const PICTURES = [
  { button: 'Curve as SVG', option: '--plot', name: 'rodadero-convergence-position-58-300-steps-en.svg' },
  { button: 'Race as SVG', option: '--race', name: 'rodadero-race-position-58-300-steps-en.svg',
    before: (page) => page.getByRole('button', { name: 'Start the race', exact: true }).click() },
];

for (const picture of PICTURES) {
  test(`${picture.button} is rodadero-trace ${picture.option}'s picture of the same run`, async ({ page }) => {
    await openAt(page, '#posicion=58&lang=en');
    await ticks(page, 150);
    if (picture.before)
      await picture.before(page);
    const file = await saved(page, picture.button);
    expect(file.name).toBe(picture.name);
    expect(file.text).toBe(tracePicture(['--position', '58', '--steps', '300'], picture.option));
  });
}

// Each picture saved, opened by the browser as a file of its own.
const STANDALONE = [
  { button: 'Curva en SVG', name: 'rodadero-convergencia-alfa-inicial-20-pasos-es.svg',
    holds: 'paso (escala logarítmica)' },
  { button: 'Gráfico en SVG', name: 'rodadero-destinos-posicion-50-es.svg', swept: true,
    holds: 'En qué termina la bajada' },
  { button: 'Carrera en SVG', name: 'rodadero-carrera-alfa-inicial-20-pasos-es.svg', holds: 'cuerda',
    before: (page) => page.getByRole('button', { name: 'Empezar la carrera', exact: true }).click() },
];

for (const picture of STANDALONE) {
  test(`${picture.button} opens on its own`, async ({ page, browser }) => {
    await openAt(page, '');
    await ticks(page, 10);
    if (picture.swept)
      await page.evaluate(() => window.rodadero.swept);
    if (picture.before)
      await picture.before(page);
    const file = await saved(page, picture.button);
    expect(file.name).toBe(picture.name);
    const where = path.join(OUT_DIR, 'downloads', file.name);
    await file.download.saveAs(where);
    const own = await browser.newPage();
    await own.goto(pathToFileURL(where).href);
    const opened = await own.evaluate(() => ({
      root: document.documentElement.localName,
      namespace: document.documentElement.namespaceURI,
      errors: document.getElementsByTagName('parsererror').length,
      text: document.documentElement.textContent,
    }));
    expect(opened).toMatchObject({ root: 'svg', namespace: 'http://www.w3.org/2000/svg', errors: 0 });
    expect(opened.text).toContain(picture.holds);
    await own.close();
  });
}
