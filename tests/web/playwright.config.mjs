// Playwright for the web page's tests: Debian's Chromium, headless, one
// worker (the machine builds other things meanwhile), no retries.
import { defineConfig } from '@playwright/test';
import { CHROMIUM_ARGS, CHROMIUM_PATH } from './chromium.mjs';

const out = process.env.RODADERO_WEB_OUT || new URL('../../build/web', import.meta.url).pathname;

export default defineConfig({
  testDir: '.',
  testMatch: '*.test.mjs',
  outputDir: `${out}/playwright`,
  workers: 1,
  retries: 0,
  timeout: 180_000,
  reporter: [['list']],
  use: {
    browserName: 'chromium',
    headless: true,
    viewport: { width: 820, height: 460 },
    deviceScaleFactor: 1,
    // A browser that prefers Spanish: the page as the program speaks.
    locale: 'es-ES',
    launchOptions: { executablePath: CHROMIUM_PATH, args: [...CHROMIUM_ARGS] },
  },
});
