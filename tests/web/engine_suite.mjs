// The page's tests in an engine other than Chromium: the scenario table
// against the host build's states bit for bit, the picture against the
// Windows program's, axe-core, and the page in mid-descent against this
// engine's reference screenshot (screenshots/ENGINE/). Every test also
// fails on a console error or warning or an uncaught exception in the page.
// Run by Playwright's runner, which starts no browser of its own here: one
// harness for the engine, shared by the suite's tests, drives the engine,
//
//   node node_modules/@playwright/test/cli.js test --config tests/web/playwright.config.mjs \
//       --project=firefox|webkit
//
// with the environment that web_tests.cmake sets (RODADERO_PAGE,
// RODADERO_REFERENCE, RODADERO_MODEL_STATES, RODADERO_WEB_OUT).
import { test as base, expect } from '@playwright/test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { SCENARIOS, checkScenario, expectedStates } from './scenario_table.mjs';
import { CANVAS_PIXELS_SCRIPT, checkPicture, decodePixels } from './picture_check.mjs';
import { startFirefox } from './engine_firefox.mjs';
import { startWebKit } from './engine_webkit.mjs';

const PAGE = path.resolve(process.env.RODADERO_PAGE || 'build/web/rodadero.html');
const OUT_DIR = process.env.RODADERO_WEB_OUT || 'build/web';
const AXE = fs.readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const ENGINES = {
  firefox: () => startFirefox(pathToFileURL(PAGE).href),
  webkit: () => startWebKit(PAGE, OUT_DIR),
};

// The engine is the project's (playwright.config.mjs); its harness is
// started once for the suite and stopped after it.
const test = base.extend({
  engine: ['firefox', { option: true, scope: 'worker' }],
  harness: [async ({ engine }, use) => {
    if (!(engine in ENGINES))
      throw new Error(`no engine ${engine}: ${Object.keys(ENGINES).join(', ')}`);
    const harness = await ENGINES[engine]();
    console.log(`${harness.name}: ${harness.version}`);
    try {
      await use(harness);
    } finally {
      await harness.stop();
    }
  }, { scope: 'worker', timeout: 120_000 }],
});

// A test on a freshly opened page; the page's problems checked after it.
function pageTest(name, body) {
  test(name, async ({ harness, engine }) => {
    const d = await harness.open();
    await body(d, { harness, engine });
    assert.deepEqual(await harness.problems(), [], 'console errors, warnings and exceptions');
  });
}

const expected = expectedStates();
SCENARIOS.forEach((scenario, i) => {
  pageTest(`scenario: ${scenario.name}`, async (d) => {
    await scenario.act(d);
    await checkScenario(d, scenario, expected[i]);
  });
});

// The same checks as in Chromium, with no tolerance of their own: measured
// here, of the 248,626 pixels Firefox ESR 153 differs from Wine in 7,627
// (4,559 in the captions' glyphs) at the first paint and WebKitGTK 2.50 in
// 6,968 (3,901), against Chromium's 7,596 (4,525); the frame, the target
// lines, the vertices and the captions' cells agree in all three.
for (const [ticks, what] of [[0, 'the first paint'], [60, 'after 60 ticks of each timer']]) {
  pageTest(`the picture, ${what}, against the Windows program's`, async (d, { harness, engine }) => {
    await d.ticks(ticks);
    const pixels = decodePixels(await d.call(new Function(`return ${CANVAS_PIXELS_SCRIPT};`)));
    checkPicture(2 * ticks, pixels, `${harness.name}, ${what}`,
                 path.join(OUT_DIR, `${engine}-picture-comparison-${2 * ticks}.txt`));
  });
}

// axe waits on timers of its own: the held clock is moved on, a little at
// a time, until it is done (the page ticks on meanwhile).
async function axeViolations(d) {
  await d.call(new Function(AXE));
  const report = await d.call(async () => {
    let result = null;
    let failure = null;
    window.axe.run(document).then((r) => { result = r; }, (e) => { failure = e; });
    while (!result && !failure) {
      window.rodaderoClock.tick(10);
      await new Promise((r) => window.rodaderoRealTimeout(r, 0));
    }
    if (failure)
      throw failure;
    return { passes: result.passes.length,
             violations: result.violations.map((v) => ({ id: v.id, impact: v.impact, help: v.help,
                                                        targets: v.nodes.map((n) => n.target.join(' ')) })) };
  });
  // Rules that passed: axe looked at the page.
  assert.ok(report.passes > 10, `axe passed ${report.passes} rules`);
  const { violations } = report;
  console.log(`axe: ${report.passes} rules passed, ${violations.length} violations of any impact`);
  for (const v of violations)
    console.log(`axe ${v.impact}: ${v.id} (${v.targets.length} elements): ${v.help}`);
  return violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
    .map((v) => `${v.id}: ${v.targets.join(', ')}`);
}

pageTest('axe-core: no serious or critical violation, running and ended', async (d) => {
  await d.ticks(3);
  assert.deepEqual(await axeViolations(d), []);
  await d.focus('plot');
  await d.press('Escape');
  await d.expectVisible('ended');
  assert.deepEqual(await axeViolations(d), []);
});

pageTest('axe-core: no serious or critical violation with the panel\'s charts and race shown',
         async (d) => {
  const swept = await d.call(() => window.rodadero.swept.then((s) => s));
  assert.equal(typeof swept.ms, 'number', JSON.stringify(swept));
  await d.ticks(10);
  await d.call(() => document.getElementById('race-start').click());
  await d.ticks(1);
  assert.equal(await d.call(() => document.getElementById('race-picture').hidden), false);
  assert.deepEqual(await axeViolations(d), []);
});

// The page in mid-descent as this engine shows it, the window and the
// language switch, against the engine's reference (the tolerance is
// playwright.config.mjs's).
pageTest('the page in mid-descent, against this engine\'s reference screenshot', async (d) => {
  await d.ticks(60);
  assert.ok((await d.state()).fallTime < 0.56);
  expect(await d.screenshot()).toMatchSnapshot('mid-descent.png');
});
