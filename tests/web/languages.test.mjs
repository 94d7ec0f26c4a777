// The page in Spanish or English: the address's lang= decides, else the
// browser's preferred languages; the panel's switch changes everything the
// page says at once (panel, notices, pictures, text alternatives, <html
// lang>) and back to the page exactly as written; the dialog keeps the
// program's texts in both, with English descriptions in English; axe-core
// finds nothing serious in English; and the English page against its
// reference screenshot.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import { test, expect, openAt, openPage, ticks, byRole, mapDone } from './page_fixture.mjs';

const AXE = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// What each language shows, as literals: a heading, the race's button, the
// picture's spoken time, a text the convergence curve draws.
const SHOWN = {
  es: { heading: 'Convergencia', race: 'Empezar la carrera', time: /^Tiempo de caida {2}\d+ {2}millonesimos de segundo$/,
        drawn: 'tiempo de caída (segundos)', region: 'Lo que hace la bajada' },
  en: { heading: 'Convergence', race: 'Start the race', time: /^Fall time \d+ millionths of a second$/,
        drawn: 'fall time (seconds)', region: 'What the descent does' },
};

async function shows(page, language) {
  const want = SHOWN[language];
  expect(await page.evaluate(() => document.documentElement.lang)).toBe(language);
  await expect(page.getByRole('heading', { level: 2, name: want.heading, exact: true })).toBeVisible();
  await expect(page.getByRole('button', { name: want.race, exact: true })).toBeVisible();
  await expect(page.getByRole('region', { name: want.region, exact: true })).toBeVisible();
  await expect(page.locator('#plot-time')).toHaveText(want.time);
  const drawn = await page.locator('#convergence-chart').evaluate((host) => host.shadowRoot.textContent);
  expect(drawn).toContain(want.drawn);
}

// The browser's languages, and what the page must speak.
const PREFERENCES = [
  { languages: ['es-ES'], speaks: 'es' },
  { languages: ['es-419', 'en'], speaks: 'es' },
  { languages: ['en-US', 'es'], speaks: 'en' },
  { languages: ['fr-FR'], speaks: 'en' },
  { languages: ['fr-FR', 'es', 'en'], speaks: 'es' },
  { languages: ['de', 'en-GB', 'es'], speaks: 'en' },
  { languages: ['ES-es'], speaks: 'es' },
  { languages: ['es-ES'], hash: '#lang=en', speaks: 'en' },
  { languages: ['en-US'], hash: '#lang=es', speaks: 'es' },
  { languages: ['en-US'], hash: '#lang=xx', speaks: 'en' },
];

for (const row of PREFERENCES) {
  test(`a browser preferring ${row.languages.join(', ')}${row.hash || ''} gets ${row.speaks}`, async ({ browser }) => {
    const context = await browser.newContext({ locale: row.languages[0] });
    await context.addInitScript((languages) => {
      Object.defineProperty(Navigator.prototype, 'languages', { get: () => languages });
      Object.defineProperty(Navigator.prototype, 'language', { get: () => languages[0] });
    }, row.languages);
    const page = await context.newPage();
    await openAt(page, row.hash || '');
    await shows(page, row.speaks);
    await context.close();
  });
}

test('the switch changes the page at once, and back to the page as written', async ({ page }) => {
  await openPage(page);
  await page.evaluate(() => window.rodadero.swept);
  await ticks(page, 4);
  const the = byRole(page);
  await the.raceStart.click();
  await ticks(page, 2); // the race stays the one of 8 steps
  // The page's markup, but for the pictures' names, which a redraw brings
  // up to the step the model is at (they are checked by their words).
  const desk = () => page.locator('#desk').evaluate((d) =>
    d.outerHTML.replace(/(class="chart" role="img" aria-label=")[^"]*"/g, '$1"')
      // the map of the other methods goes on filling in meanwhile: its
      // status, the chosen cell's words and its buttons once it has cells
      .replace(/(id="(methods-status|map-cell)"[^>]*>)[^<]*/g, '$1')
      .replace(/(id="map-(csv|svg)" type="button") disabled=""/g, '$1'));
  const written = await desk();
  await shows(page, 'es');

  await page.getByRole('button', { name: 'English', exact: true }).click();
  await shows(page, 'en');
  await expect(page.getByRole('button', { name: 'English', exact: true })).toHaveAttribute('aria-pressed', 'true');
  await expect(page.getByRole('img', { name: /^Convergence of the descent: after 12 steps the window prints \d{6} millionths/ })).toHaveCount(1);
  await expect(page.getByRole('img', { name: /^Fate of each position: 100 of 100 worked out; 50 settle and 50 swing\. .* Current position 50: settles at 542355\.$/ })).toHaveCount(1);
  await expect(page.getByRole('img', { name: /^Race: .*polyline after 8 steps/ })).toHaveCount(1);
  await expect(page.locator('#fates-status')).toHaveText(/^All 100 positions, worked out in/);
  await expect(page.getByRole('button', { name: 'Close', exact: true })).toHaveCount(1);
  for (const host of ['#fates-chart', '#race-picture']) {
    const drawn = await page.locator(host).evaluate((h) => h.shadowRoot.textContent);
    expect(drawn).toMatch(host === '#race-picture' ? /brachistochrone/ : /scroll position/);
    expect(drawn).not.toMatch(/posici[oó]n|cuerda/);
  }

  // The dialog: the program's texts, and what each control does in English.
  await expect(the.dialogCaption).toHaveText('parametros y reset');
  await expect(the.dialog).toHaveAttribute('lang', 'es');
  await expect(the.dialog).toHaveAccessibleDescription(/^Parameters and reset\./);
  await expect(the.runMode).toHaveText('CONTINUE<>FEW STEPS');
  await expect(the.runMode).toHaveAccessibleDescription(/50 ms tick/);
  await expect(the.reset).toHaveText('reset init values ');
  await expect(the.reset).toHaveAccessibleDescription(/straight chord/);
  await expect(the.alpha).toHaveAccessibleDescription(/position times 2e-6/);
  await expect(page.locator('#alpha-label')).toHaveText('  alfa de convergencia de gradiente descendente');

  await page.getByRole('button', { name: 'Español', exact: true }).click();
  await shows(page, 'es');
  await expect(the.runMode).toHaveAccessibleDescription('');
  await expect(page.getByRole('img', { name: /^Convergencia de la bajada: tras 12 pasos/ })).toHaveCount(1);
  await expect(page.getByRole('img', { name: /^Carrera: .*aproximante tras 8 pasos/ })).toHaveCount(1);
  expect(await desk()).toBe(written);
});

test('the end of a run in English', async ({ page }) => {
  await openAt(page, '#lang=en');
  await page.getByRole('img', { name: /^In red the approximating polyline/ }).focus();
  await page.keyboard.press('Escape');
  await expect(page.getByRole('status').filter({ hasText: 'The run has ended.' })).toBeVisible();
  await expect(page.getByRole('button', { name: 'Start again', exact: true })).toBeFocused();
  await page.getByRole('button', { name: 'Español', exact: true }).click();
  await expect(page.getByRole('status').filter({ hasText: 'La ejecución ha terminado.' })).toBeVisible();
});

// Every card in English as a person sees it: the sweep and the map awaited
// on the held clock (their times read 0.0 s), the race held by its own
// clock a little under half way down.
test('axe-core in English, and the English page against its reference screenshot', async ({ page }) => {
  await page.setViewportSize({ width: 1920, height: 1080 });
  await openAt(page, '#posicion=58&lang=en');
  await page.evaluate(() => window.rodadero.swept);
  await mapDone(page, 'heavy-ball');
  await ticks(page, 200);
  await page.getByRole('button', { name: 'Start the race', exact: true }).click();
  await page.locator('#race-picture').evaluate((host) => {
    const svg = host.shadowRoot.querySelector('svg');
    svg.pauseAnimations();
    svg.setCurrentTime(2.5);
  });
  await page.evaluate(() => window.scrollTo(0, 0)); // the click scrolled to the race
  await expect(page).toHaveScreenshot('panel-en.png', { fullPage: true });
  await page.clock.resume(); // axe waits on timers of its own
  await page.addScriptTag({ content: AXE });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations);
  expect(violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)).toEqual([]);
});
