// A link to a state: the address's fragment sets the scroll bar's
// position, the run mode and the language before the first step; a
// fragment that cannot be read changes nothing and says so once; and the
// address follows the bar, the mode and the language without adding to the
// history. The model's state is read from the page's record and its fall
// time compared with the host build's rodadero-trace after as many steps.
import { test, expect, ticks, state, byRole, openAt, saved, chooseLanguage } from './page_fixture.mjs';
import { traceRows, compareRows } from './trace_fixture.mjs';

const START_ALPHA = 0.0001;

// rodadero-trace's FallTime after `steps` steps (at `position`, or at the
// starting factor), as the double its 17 digits read back to.
function traceFallTime(position, steps) {
  const args = position ? ['--position', String(position)] : [];
  const rows = traceRows([...args, '--steps', String(steps), '--every', String(Math.max(steps, 1))]);
  return Number(rows[rows.length - 1].model_s);
}

const addressNotice = (page) => page.locator('#address-notice');

// Fragments that are read: what the page must then show. Five ticks of
// each timer take 10 steps in timed mode, and 15 in continuous mode after
// the one of the toggle's repaint.
const READABLE = [
  { hash: '#posicion=58&modo=continuo', position: 58, continuous: 1, lang: 'es' },
  { hash: '#posicion=58', position: 58, continuous: 0, lang: 'es' },
  { hash: '#modo=continuo&posicion=1', position: 1, continuous: 1, lang: 'es' },
  { hash: '#posicion=100&modo=pasos&lang=en', position: 100, continuous: 0, lang: 'en' },
  { hash: '#posicion=50', position: 50, continuous: 0, lang: 'es' },
  { hash: '#lang=en', position: null, continuous: 0, lang: 'en' },
  { hash: '#posicion=58&lang=fr', position: 58, continuous: 0, lang: 'fr' },
  { hash: '#lang=de&modo=continuo', position: null, continuous: 1, lang: 'de' },
  { hash: '#modo=continuo', position: null, continuous: 1, lang: 'es' },
  { hash: '#', position: null, continuous: 0, lang: 'es' },
];

for (const row of READABLE) {
  test(`the address ${row.hash} opens at its state, before the first step`, async ({ page }) => {
    await openAt(page, row.hash);
    const before = await state(page);
    expect(before.alphaPos).toBe(row.position ?? 50);
    expect(before.alpha === START_ALPHA).toBe(row.position === null);
    expect(before.runContinuous).toBe(row.continuous);
    // Before any tick: no step in timed mode, the toggle's one in
    // continuous mode, already at the position.
    expect(before.fallTime).toBe(row.continuous ? traceFallTime(row.position, 1) : 0);
    expect(await page.evaluate(() => document.documentElement.lang)).toBe(row.lang);
    await expect(addressNotice(page)).toBeHidden();

    await ticks(page, 5);
    const after = await state(page);
    expect(after.fallTime).toBe(traceFallTime(row.position, row.continuous ? 16 : 10));
    // Opening is no change: the address stays as it was given.
    expect(await page.evaluate(() => location.hash)).toBe(row.hash === '#' ? '' : row.hash);
  });
}

// Fragments that cannot be read: the page as with none, one notice.
const UNREADABLE = [
  '#posicion=abc', '#posicion=0', '#posicion=101', '#posicion=', '#posicion=58.5', '#color=rojo',
  '#posicion=58&posicion=59', '#modo=rapido', '#lang=nl', '#posicion=58&lang=en&x=1',
  '#posicion=58&', '#POSICION=58', '#lang=en&posicion=101',
  // the cell of the other methods: a method the map has not, a key alone or
  // two of three, a position or a momentum off the map, a key twice
  '#metodo=newton&posicion_metodo=50&beta=0.5', '#metodo=heavy-ball',
  '#posicion_metodo=50&beta=0.5', '#metodo=nesterov&beta=0.5',
  '#metodo=heavy-ball&posicion_metodo=52&beta=0.5', '#metodo=heavy-ball&posicion_metodo=205&beta=0',
  '#metodo=heavy-ball&posicion_metodo=0&beta=0', '#metodo=heavy-ball&posicion_metodo=50&beta=0.97',
  '#metodo=heavy-ball&posicion_metodo=50&beta=1', '#metodo=heavy-ball&posicion_metodo=50&beta=.5',
  '#metodo=heavy-ball&posicion_metodo=50&beta=0.333',
  '#metodo=heavy-ball&posicion_metodo=50&beta=0.5&beta=0.5',
];

for (const hash of UNREADABLE) {
  test(`the address ${hash} changes nothing and gets one notice`, async ({ page }) => {
    await openAt(page, hash);
    const s = await state(page);
    expect([s.alphaPos, s.alpha, s.runContinuous, s.fallTime]).toEqual([50, START_ALPHA, 0, 0]);
    expect(await page.evaluate(() => document.documentElement.lang)).toBe('es');
    await expect(page.getByRole('status').filter({ hasText: 'No se pudo leer la dirección' }))
      .toHaveCount(1);
    await expect(addressNotice(page)).toBeVisible();
    // The notice is short, and names what it could not read.
    const text = await addressNotice(page).textContent();
    expect(text.length).toBeLessThan(120);
    await ticks(page, 5);
    expect((await state(page)).fallTime).toBe(traceFallTime(null, 10));
    expect(await page.evaluate(() => location.hash)).toBe(hash);
    await expect(page.locator('#compare-chart')).toBeHidden(); // no cell runs
  });
}

// Links to a cell of the other methods' map: it runs beside the program
// from the first step, its rows those of rodadero-trace --compare.
const CELLS = [
  { hash: '#metodo=nesterov&posicion_metodo=90&beta=0.85', method: 'nesterov', position: 90,
    beta: '0.85', cell: 'Posición 90, beta 0,85:', continuous: 0 },
  { hash: '#posicion=80&beta=0.5&metodo=heavy-ball&posicion_metodo=50', method: 'heavy-ball',
    position: 50, beta: '0.5', cell: 'Posición 50, beta 0,5:', continuous: 0 },
  { hash: '#metodo=heavy-ball&posicion_metodo=200&beta=0.50&modo=continuo', method: 'heavy-ball',
    position: 200, beta: '0.5', cell: 'Posición 200, beta 0,5:', continuous: 1 },
  { hash: '#metodo=heavy-ball&posicion_metodo=5&beta=0', method: 'heavy-ball', position: 5,
    beta: '0', cell: 'Posición 5, beta 0:', continuous: 0 },
  { hash: '#beta=0.05&posicion_metodo=100&metodo=nesterov&lang=en', method: 'nesterov',
    position: 100, beta: '0.05', cell: 'Position 100, beta 0.05:', continuous: 0 },
];

for (const row of CELLS) {
  test(`the address ${row.hash} runs its cell beside the program`, async ({ page }) => {
    await openAt(page, row.hash);
    await expect(addressNotice(page)).toBeHidden();
    await expect(page.locator('#map-cell'))
      .toContainText(new RegExp(`^${row.cell}`));
    await expect(page.locator(`#method-${row.method}`)).toHaveAttribute('aria-pressed', 'true');
    await ticks(page, 5);
    const steps = row.continuous ? 15 : 10; // the cell starts after the toggle's step
    const english = row.hash.includes('lang=en');
    const file = await saved(page, english ? 'Comparison as CSV' : 'Comparación en CSV');
    expect(file.name).toBe(`rodadero-${english ? 'comparison' : 'comparacion'}-${row.method}-` +
                           `${row.position}-${row.beta}.csv`);
    const rows = file.text.trimEnd().split('\n').filter((r) => r.startsWith(`${row.method},`));
    expect(rows).toEqual(compareRows(row.method, ['--position', String(row.position), '--beta',
      row.beta, '--steps', String(steps)]));
    expect(await page.evaluate(() => location.hash)).toBe(row.hash);
  });
}

test('the address follows the bar, the mode and the language, replacing its entry', async ({ page }) => {
  await openAt(page, '');
  const the = byRole(page);
  const address = () => page.evaluate(() => location.hash);
  const historyLength = () => page.evaluate(() => history.length);
  const opened = await historyLength();
  expect(await address()).toBe('');

  await the.alpha.focus();
  for (let i = 0; i < 8; ++i)
    await page.keyboard.press('ArrowRight');
  expect((await state(page)).alphaPos).toBe(58);
  expect(await address()).toBe('#posicion=58&modo=pasos&lang=es');
  await ticks(page, 3);
  await the.runMode.click();
  expect(await address()).toBe('#posicion=58&modo=continuo&lang=es');
  await chooseLanguage(page, 'English');
  expect(await address()).toBe('#posicion=58&modo=continuo&lang=en');
  await the.alpha.focus();
  await page.keyboard.press('Home'); // the program ignores it: nothing moves
  expect(await address()).toBe('#posicion=58&modo=continuo&lang=en');
  await page.keyboard.press('ArrowLeft');
  expect(await address()).toBe('#posicion=57&modo=continuo&lang=en');
  expect(await historyLength()).toBe(opened);

  // The address copied opens what was on the screen.
  const other = await page.context().newPage();
  await openAt(other, await address());
  const s = await state(other);
  expect([s.alphaPos, s.runContinuous]).toEqual([57, 1]);
  expect(await other.evaluate(() => document.documentElement.lang)).toBe('en');
  await other.close();
});

test('the address follows the cell run beside the program, and opens it again', async ({ page }) => {
  await openAt(page, '#posicion=80');
  const opened = await page.evaluate(() => history.length);
  const map = page.locator('#map-chart');
  await map.focus();
  // From position 100 and beta 0.9 to 80 and 0.35; the choice moves, and
  // nothing runs until Enter.
  for (const key of [...Array(4).fill('ArrowLeft'), ...Array(11).fill('ArrowDown')])
    await map.press(key);
  expect(await page.evaluate(() => location.hash)).toBe('#posicion=80');
  await map.press('Enter');
  // At once, before the next tick.
  const hash = '#posicion=80&modo=pasos&lang=es&metodo=heavy-ball&posicion_metodo=80&beta=0.35';
  expect(await page.evaluate(() => location.hash)).toBe(hash);
  await page.getByRole('button', { name: 'Nesterov', exact: true }).click();
  await map.focus();
  await map.press('ArrowRight');
  expect(await page.evaluate(() => location.hash)).toBe(hash);
  await map.press('Enter');
  const moved = '#posicion=80&modo=pasos&lang=es&metodo=nesterov&posicion_metodo=85&beta=0.35';
  expect(await page.evaluate(() => location.hash)).toBe(moved);
  expect(await page.evaluate(() => history.length)).toBe(opened);

  const other = await page.context().newPage();
  await openAt(other, moved);
  await expect(other.locator('#map-cell')).toContainText(/^Posición 85, beta 0,35:/);
  await ticks(other, 3);
  const file = await saved(other, 'Comparación en CSV');
  expect(file.name).toBe('rodadero-comparacion-nesterov-85-0.35.csv');
  await other.close();
});

test('a fragment typed into the open page\'s address opens the page at it', async ({ page }) => {
  await openAt(page, '#posicion=58');
  await ticks(page, 3);
  await Promise.all([page.waitForEvent('load'),
                     page.evaluate(() => { location.hash = '#posicion=70&modo=continuo'; })]);
  await page.evaluate(() => window.rodadero.ready);
  const s = await state(page);
  expect([s.alphaPos, s.runContinuous]).toEqual([70, 1]);
  await ticks(page, 5);
  expect((await state(page)).fallTime).toBe(traceFallTime(70, 16));
});

test('an unreadable address is left alone until something changes', async ({ page }) => {
  await openAt(page, '#posicion=abc');
  const opened = await page.evaluate(() => history.length);
  await byRole(page).runMode.click();
  expect(await page.evaluate(() => location.hash)).toBe('#posicion=50&modo=continuo&lang=es');
  expect(await page.evaluate(() => history.length)).toBe(opened);
  // The notice stays one, in the language the page speaks.
  await chooseLanguage(page, 'English');
  await expect(page.getByRole('status').filter({ hasText: 'The address could not be read' }))
    .toHaveCount(1);
  await expect(page.getByRole('status').filter({ hasText: 'No se pudo leer' })).toHaveCount(0);
});

test('a browser that refuses to replace the address: the page goes on, the address catches up', async ({ page }) => {
  // As WebKit does past 100 replacements in 10 s: the first one refused.
  await page.addInitScript(() => {
    const replace = History.prototype.replaceState;
    let refused = 0;
    History.prototype.replaceState = function (...args) {
      if (refused++ === 0)
        throw new DOMException('too many calls', 'SecurityError');
      return replace.apply(this, args);
    };
  });
  await openAt(page, '');
  await byRole(page).alpha.focus();
  await page.keyboard.press('ArrowRight');
  expect(await page.evaluate(() => location.hash)).toBe('');
  await ticks(page, 20);
  expect((await state(page)).fallTime).toBe(traceFallTime(51, 40));
  expect(await page.evaluate(() => location.hash)).toBe('#posicion=51&modo=pasos&lang=es');
});
