// Debian's Firefox ESR, headless, through its own WebDriver BiDi server
// (puppeteer-core starts it with --remote-debugging-port and a new
// profile; there is no geckodriver). The held clock goes in as a BiDi
// preload script, which runs before the page's own scripts.
import puppeteer from 'puppeteer-core';
import { FAKE_CLOCK_SCRIPT } from './fake_clock.mjs';
import { makeDriver, whenReady } from './engine_driver.mjs';

export const FIREFOX_PATH = '/usr/bin/firefox-esr';

export async function startFirefox(pageUrl) {
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: FIREFOX_PATH, headless: true,
    extraPrefsFirefox: { 'network.proxy.type': 0 },
  });
  let page = null;
  let problems = [];
  return {
    name: 'Firefox ESR',
    version: await browser.version(),
    // A fresh page, of the Chromium suites' size, started on the held clock.
    async open({ width = 820, height = 460 } = {}) {
      if (page)
        await page.close();
      page = await browser.newPage();
      problems = [];
      page.on('console', (m) => {
        if (m.type() === 'error' || m.type() === 'warn')
          problems.push(`console ${m.type()}: ${m.text()}`);
      });
      page.on('pageerror', (e) => problems.push(`uncaught: ${e.message}`));
      await page.setViewport({ width, height, deviceScaleFactor: 1 });
      await page.evaluateOnNewDocument(FAKE_CLOCK_SCRIPT);
      await page.goto(pageUrl);
      const d = makeDriver({
        call: (fn, ...args) => page.evaluate(fn, ...args),
        click: async (sel) => (await page.$(sel)).click(),
        // BiDi's keys are named by the characters they type, the space bar too.
        press: (key) => page.keyboard.press(key === 'Space' ? ' ' : key),
        mouseMove: (x, y) => page.mouse.move(x, y),
        mouseDown: () => page.mouse.down(),
        mouseUp: () => page.mouse.up(),
      });
      // The viewport as PNG bytes.
      d.screenshot = async () => Buffer.from(await page.screenshot());
      await whenReady(d);
      return d;
    },
    problems: () => problems,
    async stop() {
      await browser.close();
    },
  };
}
