// The page for people who do not use a mouse or do not see it: axe-core
// finds no serious or critical violation (with the dialog, with the panel's
// charts and race shown, and after the end of a run), every control is
// reached with the keyboard, the panel's charts tell their meaning, the scroll bar
// tells its role and value. The picture's text alternative has a suite of
// its own (description.test.mjs).
import { createRequire } from 'node:module';
import fs from 'node:fs';
import { test, expect, expectHidden, openPage, ticks, byRole } from './page_fixture.mjs';

const AXE = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// axe waits on timers of its own: the page's clock runs on meanwhile.
async function axeViolations(page) {
  await page.clock.resume();
  await page.addScriptTag({ content: AXE });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
  console.log(`axe: ${violations.length} violations of any impact`);
  for (const v of violations)
    console.log(`axe ${v.impact}: ${v.id} (${v.nodes.length} elements): ${v.help}`);
  return violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
}

test('axe-core: no serious or critical violation, running and ended', async ({ page }) => {
  await openPage(page);
  await ticks(page, 3);
  expect(await axeViolations(page)).toEqual([]);
  // Held again a while ahead of the running clock: on a busy machine a
  // second could pass before the clock is told, and it cannot go back.
  await page.clock.pauseAt(await page.evaluate(() => Date.now() + 10_000));
  await byRole(page).plot.focus();
  await page.keyboard.press('Escape');
  expect(await axeViolations(page)).toEqual([]);
});

test('axe-core: no serious or critical violation with the panel\'s charts and race shown', async ({ page }) => {
  await openPage(page);
  await page.evaluate(() => window.rodadero.swept);
  await ticks(page, 10);
  await byRole(page).raceStart.click();
  await expect(byRole(page).race).toBeVisible();
  expect(await axeViolations(page)).toEqual([]);
});

test('the panel\'s charts are images whose names carry what they show', async ({ page }) => {
  // Wide and tall enough for the charts to be in view, where they are drawn.
  await page.setViewportSize({ width: 1700, height: 1000 });
  await openPage(page);
  await page.evaluate(() => window.rodadero.swept);
  await ticks(page, 5);
  await expect(page.getByRole('img', { name: /^Convergencia de la bajada: tras \d+ pasos la ventana imprime \d{6} millonésimos de segundo; el tiempo exacto de la aproximante es 0,\d{6} s\.$/ })).toHaveCount(1);
  await expect(page.getByRole('img', { name: /^Destino de cada posición: 100 de 100 calculadas; 50 se detienen y 50 oscilan\. Límite de la teoría lineal en la posición 57,31\. Posición actual 50: se detiene en 542355\.$/ })).toHaveCount(1);
  await page.getByRole('button', { name: 'Empezar la carrera' }).click();
  await expect(page.getByRole('img', { name: /^Carrera: por orden de llegada, primera, braquistócrona, / })).toHaveCount(1);
});

test('the page is Spanish and its title is the window\'s caption', async ({ page }) => {
  await openPage(page);
  await expect(page.locator('html')).toHaveAttribute('lang', 'es');
  expect(await page.title()).toBe('----- soft by Velmorant'); // blanks collapsed, as a title shows
});

test('every control is reached with the keyboard, from the run-mode button on', async ({ page }) => {
  await openPage(page);
  const the = byRole(page);
  await expect(the.runMode).toBeFocused();
  const reached = new Set();
  // Round the whole page: the window, the dialog, the language switch, the
  // panel's buttons, the map of the other methods and the laboratory's
  // picture and controls, and back.
  for (let i = 0; i < 40; ++i) {
    await page.keyboard.press('Tab');
    reached.add(await page.evaluate(() => document.activeElement.id));
  }
  for (const id of ['plot', 'dialog-close', 'run-mode', 'alpha', 'reset', 'language', 'race-start', 'lab-picture',
                    'lab-intervals', 'lab-method', 'lab-refine'])
    expect(reached.has(id), `${id} reached by Tab`).toBe(true);
  // The buttons work from the keyboard too.
  await the.reset.focus();
  await page.keyboard.press('Enter');
  await the.close.focus();
  await page.keyboard.press('Space');
  await expectHidden(the.dialog);
  await expect(the.plot).toBeFocused();
});

test('the scroll bar is a slider that tells its value', async ({ page }) => {
  await openPage(page);
  const slider = page.getByRole('slider', { name: 'alfa de convergencia de gradiente descendente' });
  await expect(slider).toHaveAttribute('aria-valuenow', '50');
  await expect(slider).toHaveAttribute('aria-valuemin', '1');
  await expect(slider).toHaveAttribute('aria-valuemax', '100');
  await slider.focus();
  await page.keyboard.press('ArrowRight');
  await expect(slider).toHaveAttribute('aria-valuenow', '51');
});
