// A link to a state: the address's fragment sets the scroll bar's
// position, the run mode and the language before the first step; a
// fragment that cannot be read changes nothing and says so once; and the
// address follows the bar, the mode and the language without adding to the
// history. The model's state is read from the page's record and its fall
// time compared with the host build's rodadero-trace after as many steps.
import { test, expect, ticks, state, byRole, PAGE_URL } from './page_fixture.mjs';
import { traceRows } from './trace_fixture.mjs';

const START_ALPHA = 0.0001;

// The page opened at `hash`, its timers held.
async function openAt(page, hash) {
  await page.clock.install({ time: 0 });
  await page.clock.pauseAt(1000);
  await page.goto(PAGE_URL + hash);
  await page.evaluate(() => window.rodadero.ready);
}

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
  '#posicion=58&posicion=59', '#modo=rapido', '#lang=fr', '#posicion=58&lang=en&x=1',
  '#posicion=58&', '#POSICION=58', '#lang=en&posicion=101',
];

for (const hash of UNREADABLE) {
  test(`the address ${hash} changes nothing and gets one notice`, async ({ page }) => {
    await openAt(page, hash);
    const s = await state(page);
    expect([s.alphaPos, s.alpha, s.runContinuous, s.fallTime]).toEqual([50, START_ALPHA, 0, 0]);
    expect(await page.evaluate(() => document.documentElement.lang)).toBe('es');
    await expect(page.getByRole('status').filter({ hasText: 'No se pudo leer la direccion' }))
      .toHaveCount(1);
    await expect(addressNotice(page)).toBeVisible();
    // The notice is short, and names what it could not read.
    const text = await addressNotice(page).textContent();
    expect(text.length).toBeLessThan(120);
    await ticks(page, 5);
    expect((await state(page)).fallTime).toBe(traceFallTime(null, 10));
    expect(await page.evaluate(() => location.hash)).toBe(hash);
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
  await page.getByRole('button', { name: 'English', exact: true }).click();
  expect(await address()).toBe('#posicion=58&modo=continuo&lang=en');
  await the.alpha.focus();
  await page.keyboard.press('Home'); // the program ignores it: nothing moves
  expect(await address()).toBe('#posicion=58&modo=continuo&lang=en');
  await page.keyboard.press('ArrowLeft');
  expect(await address()).toBe('#posicion=57&modo=continuo&lang=en');
  expect(await historyLength()).toBe(opened);

  // The address copied opens what was on the screen.
  const copied = PAGE_URL + await address();
  const other = await page.context().newPage();
  await other.clock.install({ time: 0 });
  await other.clock.pauseAt(1000);
  await other.goto(copied);
  await other.evaluate(() => window.rodadero.ready);
  const s = await state(other);
  expect([s.alphaPos, s.runContinuous]).toEqual([57, 1]);
  expect(await other.evaluate(() => document.documentElement.lang)).toBe('en');
  await other.close();
});

test('an unreadable address is left alone until something changes', async ({ page }) => {
  await openAt(page, '#posicion=abc');
  const opened = await page.evaluate(() => history.length);
  await byRole(page).runMode.click();
  expect(await page.evaluate(() => location.hash)).toBe('#posicion=50&modo=continuo&lang=es');
  expect(await page.evaluate(() => history.length)).toBe(opened);
  // The notice stays one, in the language the page speaks.
  await page.getByRole('button', { name: 'English', exact: true }).click();
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
