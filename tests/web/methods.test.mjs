// The card of the other methods, against the host build's rodadero-trace:
// the map that the workers fill in once the program's fates are in, byte
// for byte the rows of --sweep --method, its cells' classes as the rows say;
// a cell chosen by a click or by the keys run live beside the program's
// descent, the comparison's rows those of --compare at the same settings
// and steps; the card in both languages. The card with its map, and with a
// cell's comparison, against their reference screenshots.
import { test, expect, ticks, openAt, saved, mapDone } from './page_fixture.mjs';
import { trace, compareRows } from './trace_fixture.mjs';


// The map's cells in the page's picture: id -> class.
function mapClasses(page) {
  return page.locator('#map-chart').evaluate((host) => Object.fromEntries(
    [...host.shadowRoot.querySelectorAll('rect[id^="cell-"]')].map((r) => [r.id, r.getAttribute('class')])));
}


test.describe.configure({ timeout: 600_000 });

test('the map of heavy ball is what rodadero-trace prints, its cells classed by their rows',
  async ({ page }) => {
    // Every text of the card's status line, from the page's start: on a
    // busy machine the sweep may be done before a look could find the
    // first.
    await page.addInitScript(() => {
      window.statusTexts = [];
      document.addEventListener('DOMContentLoaded', () => {
        const status = document.getElementById('methods-status');
        new MutationObserver(() => window.statusTexts.push(status.textContent))
          .observe(status, { childList: true, characterData: true, subtree: true });
      });
    });
    await openAt(page, '#posicion=80');
    await page.evaluate(() => window.rodadero.swept);
    // Out of the window the card waits: the sweep is done, and yet no cell
    // is worked out.
    await ticks(page, 5);
    expect(await page.evaluate(() => [...new Set(window.statusTexts)]))
      .toEqual(['El mapa empieza cuando termina el destino de cada posición.']);
    // The map starts once the sweep is done and the card is in view.
    const took = await mapDone(page, 'heavy-ball');
    expect(took).not.toBeNull();
    const texts = await page.evaluate(() => window.statusTexts);
    expect(texts[0]).toBe('El mapa empieza cuando termina el destino de cada posición.');
    expect(texts.at(-1)).toBe('Mapa completo en 0,0 s.');
    console.log(`the page's map of heavy ball: ${took.ms.toFixed(0)} ms in ${took.workers} workers`);
    const file = await saved(page, 'Mapa en CSV');
    expect(file.name).toBe('rodadero-mapa-heavy-ball.csv');
    const expected = trace(['--sweep', '--method', 'heavy-ball']);
    expect(file.text).toBe(expected);
    const classes = await mapClasses(page);
    const rows = expected.trimEnd().split('\n').slice(1);
    expect(Object.keys(classes)).toHaveLength(rows.length);
    for (const row of rows) {
      const [p, beta, , period, low, high] = row.split(',');
      const cls = classes[`cell-${p}-${Math.round(Number(beta) * 100)}`].split(' ');
      expect(cls.includes('settles'), row).toBe(low === high);
      expect(cls.includes('swings'), row).toBe(low !== high);
      expect(cls.includes('no-cycle'), row).toBe(period === '');
    }
    // The card as a person sees it; the clock held still while the map
    // was made, so its time reads 0.0 s.
    await expect(page.locator('#methods-card')).toHaveScreenshot('methods-map.png');
  });

test('a cell clicked runs beside the program; the comparison\'s rows are --compare\'s',
  async ({ page }) => {
    await openAt(page, '#posicion=80');
    // The map made before the clock moves, so that its time reads 0.0 s.
    await page.evaluate(() => window.rodadero.swept);
    await mapDone(page, 'heavy-ball');
    await ticks(page, 10); // 20 steps of the program before the cell
    await page.locator('#map-chart').evaluate((host) =>
      host.shadowRoot.getElementById('cell-80-35').dispatchEvent(
        new MouseEvent('click', { bubbles: true, composed: true })));
    await ticks(page, 60);
    const file = await saved(page, 'Comparación en CSV');
    expect(file.name).toBe('rodadero-comparacion-heavy-ball-80-0.35.csv');
    const lines = file.text.trimEnd().split('\n');
    expect(lines[0]).toBe('method,position,beta,step,time_us,model_s,distance_s');
    const mine = (m) => lines.filter((r) => r.startsWith(`${m},`));
    const methodSteps = Number(mine('heavy-ball').at(-1).split(',')[3]);
    const programSteps = Number(mine('program').at(-1).split(',')[3]);
    expect(methodSteps).toBe(120); // 60 ticks of two steps each since the click
    expect(programSteps).toBe(140);
    expect(mine('heavy-ball')).toEqual(compareRows('heavy-ball', ['--position', '80', '--beta',
      '0.35', '--steps', String(methodSteps)]));
    expect(mine('program')).toEqual(compareRows('program', ['--position', '80', '--steps',
      String(programSteps)]));
    const ids = await page.locator('#compare-chart').evaluate((host) =>
      [...host.shadowRoot.querySelectorAll('path[id^="curve-"]')].map((p) => p.id));
    expect(ids).toEqual(['curve-program', 'curve-heavy-ball']);
    // The card with the map, the chosen cell and the comparison's curves.
    await expect(page.locator('#methods-card')).toHaveScreenshot('methods-compare.png');
  });

test('the keys move the chosen cell and Enter runs it; in English the card speaks English',
  async ({ page }) => {
    await openAt(page, '#posicion=80&lang=en');
    await expect(page.getByRole('heading', { name: 'Other methods' })).toHaveCount(1);
    // The chosen cell in words from the start, map or not.
    await expect(page.locator('#map-cell')).toHaveText(/^Position 100, beta 0.9: /);
    await page.getByRole('button', { name: 'Nesterov', exact: true }).click();
    await expect(page.getByRole('button', { name: 'Nesterov', exact: true }))
      .toHaveAttribute('aria-pressed', 'true');
    const map = page.locator('#map-chart');
    await map.focus();
    // From position 100, beta 0.9: two to the left, one down.
    for (const key of ['ArrowLeft', 'ArrowLeft', 'ArrowDown'])
      await map.press(key);
    await expect(page.locator('#map-cell')).toContainText('Position 90, beta 0.85');
    await map.press('Enter');
    await ticks(page, 5);
    const file = await saved(page, 'Comparison as CSV');
    expect(file.name).toBe('rodadero-comparison-nesterov-90-0.85.csv');
    const rows = file.text.trimEnd().split('\n').filter((r) => r.startsWith('nesterov,'));
    expect(rows).toEqual(compareRows('nesterov', ['--position', '90', '--beta', '0.85',
      '--steps', '10']));
  });
