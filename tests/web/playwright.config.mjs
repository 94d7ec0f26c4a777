// Playwright for the web page's tests: Debian's Chromium, headless, no
// retries, and the harnesses of Firefox ESR and WebKitGTK (engine_suite.mjs),
// which Playwright's runner runs without a browser of its own. One worker a
// suite: ctest runs the suites side by side (web_tests.cmake).
import { defineConfig } from '@playwright/test';
import { CHROMIUM_ARGS, CHROMIUM_PATH } from './chromium.mjs';

const out = process.env.RODADERO_WEB_OUT || new URL('../../build/web', import.meta.url).pathname;

// How far a screenshot may stray from its reference: at most 8 pixels whose
// colours differ by more than a tenth of the way from black to white (in
// YIQ, as Playwright measures; antialiasing pixels are not counted). The
// page in mid-descent one tick of each timer earlier or later (two steps)
// differs from its reference in about 150 such pixels, five ticks later in
// some 1,000.
const SCREENSHOT_TOLERANCE = { threshold: 0.1, maxDiffPixels: 8 };

export default defineConfig({
  testDir: '.',
  // ctest gives each suite a folder of its own (web_tests.cmake).
  outputDir: `${out}/playwright/by-hand`,
  // The reference screenshots, committed, one folder for each engine.
  // RODADERO_UPDATE_SCREENSHOTS=1 writes the ones that differ (or are
  // missing) anew instead of failing; the README has the command.
  snapshotPathTemplate: '{testDir}/screenshots/{projectName}/{arg}{ext}',
  updateSnapshots: process.env.RODADERO_UPDATE_SCREENSHOTS ? 'changed' : 'none',
  expect: {
    // A screenshot is taken until two in a row agree; a full page takes a
    // while on a busy machine.
    toHaveScreenshot: { ...SCREENSHOT_TOLERANCE, timeout: 30_000 },
    toMatchSnapshot: SCREENSHOT_TOLERANCE,
  },
  workers: 1,
  retries: 0,
  timeout: 180_000,
  reporter: [['list']],
  projects: [
    {
      name: 'chromium',
      testMatch: '*.test.mjs',
      use: {
        browserName: 'chromium',
        headless: true,
        viewport: { width: 820, height: 460 },
        deviceScaleFactor: 1,
        // A browser that prefers Spanish: the page as the program speaks.
        locale: 'es-ES',
        launchOptions: { executablePath: CHROMIUM_PATH, args: [...CHROMIUM_ARGS] },
      },
    },
    { name: 'firefox', testMatch: 'engine_suite.mjs', use: { engine: 'firefox' } },
    { name: 'webkit', testMatch: 'engine_suite.mjs', use: { engine: 'webkit' } },
  ],
});
