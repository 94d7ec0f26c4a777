// The page in each of its languages: the address's lang= decides, else the
// browser's preferred languages; the panel's switch, one list of the
// languages each named in its own, changes everything the page says at
// once (panel, notices, pictures, text alternatives, <html lang>) and back
// to the page exactly as written; the dialog keeps the program's texts in
// every language, with descriptions in the page's; each language writes its
// numbers its own way; axe-core finds nothing serious in English; and the
// English page against its reference screenshot.
import { createRequire } from 'node:module';
import fs from 'node:fs';
import path from 'node:path';
import {
  test, expect, openAt, openPage, ticks, byRole, chooseLanguage, mapDone, OUT_DIR,
} from './page_fixture.mjs';

const AXE = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// What each language shows, as literals: a heading, the race's button, the
// picture's spoken time, a text the convergence curve draws, the panel's
// name and the switch's, and the language's own name on the switch.
const SHOWN = {
  es: { heading: 'Convergencia', race: 'Empezar la carrera', time: /^Tiempo de caida {2}\d+ {2}millonesimos de segundo$/,
        drawn: 'tiempo de caída (segundos)', region: 'Lo que hace la bajada', label: 'Idioma', name: 'Español' },
  en: { heading: 'Convergence', race: 'Start the race', time: /^Fall time \d+ millionths of a second$/,
        drawn: 'fall time (seconds)', region: 'What the descent does', label: 'Language', name: 'English' },
  pt: { heading: 'Convergência', race: 'Começar a corrida', time: /^Tempo de queda \d+ milionésimos de segundo$/,
        drawn: 'tempo de queda (segundos)', region: 'O que faz a descida', label: 'Língua', name: 'Português' },
  ca: { heading: 'Convergència', race: 'Comença la cursa', time: /^Temps de caiguda \d+ milionèsimes de segon$/,
        drawn: 'temps de caiguda (segons)', region: 'Què fa la baixada', label: 'Llengua', name: 'Català' },
  fr: { heading: 'Convergence', race: 'Lancer la course', time: /^Temps de chute \d+ millionièmes de seconde$/,
        drawn: 'temps de chute (secondes)', region: 'Ce que fait la descente', label: 'Langue', name: 'Français' },
  it: { heading: 'Convergenza', race: 'Avvia la gara', time: /^Tempo di caduta \d+ milionesimi di secondo$/,
        drawn: 'tempo di caduta (secondi)', region: 'Che cosa fa la discesa', label: 'Lingua', name: 'Italiano' },
  de: { heading: 'Konvergenz', race: 'Wettlauf starten', time: /^Fallzeit \d+ Millionstel Sekunden$/,
        drawn: 'Fallzeit (Sekunden)', region: 'Was der Abstieg tut', label: 'Sprache', name: 'Deutsch' },
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
  const choice = page.getByRole('combobox', { name: want.label, exact: true });
  await expect(choice).toHaveValue(language);
  await expect(choice.locator('option:checked')).toHaveText(want.name);
}

// The browser's languages, and what the page must speak.
const PREFERENCES = [
  { languages: ['es-ES'], speaks: 'es' },
  { languages: ['es-419', 'en'], speaks: 'es' },
  { languages: ['en-US', 'es'], speaks: 'en' },
  { languages: ['nl-NL'], speaks: 'en' },
  { languages: ['nl-NL', 'es', 'en'], speaks: 'es' },
  { languages: ['fr-FR', 'es', 'en'], speaks: 'fr' },
  { languages: ['de', 'en-GB', 'es'], speaks: 'de' },
  { languages: ['ja', 'pt-BR', 'en'], speaks: 'pt' },
  { languages: ['ca', 'es-ES'], speaks: 'ca' },
  { languages: ['it-CH'], speaks: 'it' },
  { languages: ['ES-es'], speaks: 'es' },
  { languages: ['es-ES'], hash: '#lang=en', speaks: 'en' },
  { languages: ['en-US'], hash: '#lang=es', speaks: 'es' },
  { languages: ['en-US'], hash: '#lang=xx', speaks: 'en' },
  { languages: ['de-DE'], hash: '#lang=it', speaks: 'it' },
];

for (const row of PREFERENCES) {
  test.describe(`a browser of locale ${row.languages[0]}`, () => {
    test.use({ locale: row.languages[0] });
    test(`a browser preferring ${row.languages.join(', ')}${row.hash || ''} gets ${row.speaks}`,
         async ({ page }) => {
      await page.addInitScript((languages) => {
        Object.defineProperty(Navigator.prototype, 'languages', { get: () => languages });
        Object.defineProperty(Navigator.prototype, 'language', { get: () => languages[0] });
      }, row.languages);
      await openAt(page, row.hash || '');
      await shows(page, row.speaks);
    });
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

  await chooseLanguage(page, 'English');
  await shows(page, 'en');
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

  await chooseLanguage(page, 'Español');
  await shows(page, 'es');
  await expect(the.runMode).toHaveAccessibleDescription('');
  await expect(page.getByRole('img', { name: /^Convergencia de la bajada: tras 12 pasos/ })).toHaveCount(1);
  await expect(page.getByRole('img', { name: /^Carrera: .*aproximante tras 8 pasos/ })).toHaveCount(1);
  expect(await desk()).toBe(written);
});

// Each language but the two above once, opened by the address: what it
// shows, a number written the locale's way (the polyline's exact time with
// a decimal comma in all five), the dialog in the program's words and
// described in the page's, the switch as large as a finger needs, and the
// page as a reader sees it saved for a look (languages-XX.png).
const DESCRIBED = {
  pt: /^Alterna entre um passo a cada tique de 50 ms/,
  ca: /^Alterna entre un pas a cada tic de 50 ms/,
  fr: /^Alterne entre un pas à chaque top de 50 ms/,
  it: /^Alterna tra un passo a ogni scatto di 50 ms/,
  de: /^Wechselt zwischen einem Schritt bei jedem Takt von 50 ms/,
};

for (const language of Object.keys(DESCRIBED)) {
  test(`the page in ${SHOWN[language].name}`, async ({ page }) => {
    await page.setViewportSize({ width: 1280, height: 900 });
    await openAt(page, `#lang=${language}`);
    await ticks(page, 4);
    await shows(page, language);
    await expect(page.locator('#convergence-chart')).toHaveAttribute('aria-label', /\b0,\d{6} s\.$/);
    const the = byRole(page);
    await expect(the.dialogCaption).toHaveText('parametros y reset');
    await expect(the.dialog).toHaveAttribute('lang', 'es');
    await expect(the.runMode).toHaveText('CONTINUE<>FEW STEPS');
    await expect(the.runMode).toHaveAccessibleDescription(DESCRIBED[language]);
    await expect(page.locator('#alpha-label')).toHaveText('  alfa de convergencia de gradiente descendente');
    const touched = await the.language.boundingBox(); // as large as a finger needs
    expect(Math.min(touched.width, touched.height)).toBeGreaterThanOrEqual(44);
    await page.screenshot({ path: path.join(OUT_DIR, `languages-${language}.png`) });
  });
}

// The page writes a whole number of no sign as String() does, without a
// NumberFormat: this browser's formats of every catalog's locale must agree.
test('each language writes a whole number in the digits 0 to 9 alone', async ({ page }) => {
  const texts = new URL('../../texts/', import.meta.url);
  const locales = fs.readdirSync(texts).filter((f) => f.endsWith('.json'))
    .map((f) => JSON.parse(fs.readFileSync(new URL(f, texts), 'utf8')).language.locale);
  expect(locales).toHaveLength(7);
  const differ = await page.evaluate((all) => all.flatMap((locale) => {
    const format = new Intl.NumberFormat(locale, { useGrouping: false, maximumFractionDigits: 0 });
    return [0, 7, 57, 1000, 542355, 9601193779, Number.MAX_SAFE_INTEGER]
      .filter((n) => format.format(n) !== String(n)).map((n) => `${locale} ${n}`);
  }), locales);
  expect(differ).toEqual([]);
});

test('the end of a run in English', async ({ page }) => {
  await openAt(page, '#lang=en');
  await page.getByRole('img', { name: /^In red the approximating polyline/ }).focus();
  await page.keyboard.press('Escape');
  await expect(page.getByRole('status').filter({ hasText: 'The run has ended.' })).toBeVisible();
  await expect(page.getByRole('button', { name: 'Start again', exact: true })).toBeFocused();
  await chooseLanguage(page, 'Español');
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
