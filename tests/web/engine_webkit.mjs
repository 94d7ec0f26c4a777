// Debian's WebKitGTK: WebKitWebDriver (classic W3C WebDriver over HTTP)
// driving MiniBrowser in automation mode, on an X display of its own
// (Xvfb), through selenium-webdriver. Classic WebDriver cannot run a script
// before the page's, so the suite opens a test copy of the page with the
// held clock put in first, and a watch on console errors, warnings and
// uncaught exceptions that the suite reads back.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { Builder, Key, Origin } from 'selenium-webdriver';
import { FAKE_CLOCK_SCRIPT, pageWithClock } from './fake_clock.mjs';
import { makeDriver, whenReady } from './engine_driver.mjs';

export const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
export const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

const KEYS = {
  ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT, ArrowUp: Key.ARROW_UP,
  ArrowDown: Key.ARROW_DOWN, PageUp: Key.PAGE_UP, PageDown: Key.PAGE_DOWN, Home: Key.HOME,
  End: Key.END, Space: Key.SPACE, Escape: Key.ESCAPE, Enter: Key.ENTER, Tab: Key.TAB,
};

const PROBLEM_WATCH = `(() => {
  const problems = window.rodaderoProblems = [];
  for (const level of ['error', 'warn']) {
    const own = console[level].bind(console);
    console[level] = (...args) => { problems.push('console ' + level + ': ' + args.join(' ')); own(...args); };
  }
  window.addEventListener('error', (e) => problems.push('uncaught: ' + e.message));
  window.addEventListener('unhandledrejection', (e) => problems.push('uncaught: ' + e.reason));
})();`;

// Xvfb on a display it picks itself, which it writes to descriptor 3 once
// it serves it.
function startXvfb() {
  return new Promise((resolve, reject) => {
    const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                       { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    let text = '';
    xvfb.stdio[3].on('data', (chunk) => {
      text += chunk;
      if (text.includes('\n'))
        resolve({ xvfb, display: `:${text.trim()}` });
    });
    xvfb.on('exit', (code) => reject(new Error(`Xvfb exited with ${code}`)));
  });
}

function freePort() {
  return new Promise((resolve) => {
    const server = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function waitForDriver(url, child) {
  for (let i = 0; i < 200; ++i) {
    if (child.exitCode !== null)
      throw new Error(`WebKitWebDriver exited with ${child.exitCode}`);
    try {
      const r = await fetch(`${url}/status`);
      if (r.ok && (await r.json()).value.ready)
        return;
    } catch {
      // not listening yet
    }
    await new Promise((r) => setTimeout(r, 50));
  }
  throw new Error('WebKitWebDriver did not answer');
}

export async function startWebKit(pagePath, outDir) {
  const copy = path.join(outDir, 'rodadero-webkit-test.html');
  const html = fs.readFileSync(pagePath, 'utf8');
  const clocked = pageWithClock(html);
  const at = clocked.indexOf('<script>') + '<script>'.length;
  fs.writeFileSync(copy, `${clocked.slice(0, at)}${PROBLEM_WATCH}\n${clocked.slice(at)}`);
  if (!clocked.includes(FAKE_CLOCK_SCRIPT))
    throw new Error('the test copy has no clock');
  const url = pathToFileURL(copy).href;

  const { xvfb, display } = await startXvfb();
  const port = await freePort();
  const server = `http://127.0.0.1:${port}`;
  const driverProcess = spawn(WEBKIT_DRIVER, [`--port=${port}`],
                              { env: { ...process.env, DISPLAY: display }, stdio: 'ignore' });
  const stopAll = () => {
    driverProcess.kill();
    xvfb.kill();
  };
  let driver;
  try {
    await waitForDriver(server, driverProcess);
    driver = await new Builder().usingServer(server).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] },
    }).build();
  } catch (e) {
    stopAll();
    throw e;
  }
  const caps = await driver.getCapabilities();
  const call = (fn, ...args) => driver.executeScript(`return (${fn}).apply(null, arguments);`, ...args);
  const pointer = () => driver.actions({ async: true });
  return {
    name: 'WebKitGTK',
    version: `${caps.get('browserName')} ${caps.get('browserVersion')}`,
    async open({ width = 820, height = 460 } = {}) {
      // The page's size is the window's less its frame. GTK resizes the
      // window when it gets round to it: the window is resized only when
      // the page's size is not the one asked for, and the page opened only
      // once that size has come, or it would be laid out for the one before.
      const inner = () => call(() => [window.innerWidth, window.innerHeight]);
      let [innerWidth, innerHeight] = await inner();
      if (innerWidth !== width || innerHeight !== height) {
        const outer = await driver.manage().window().getRect();
        await driver.manage().window().setRect({ width: outer.width + width - innerWidth,
                                                 height: outer.height + height - innerHeight });
        for (let tries = 0; tries < 100; ++tries) {
          [innerWidth, innerHeight] = await inner();
          if (innerWidth === width && innerHeight === height)
            break;
          await new Promise((resolve) => setTimeout(resolve, 50));
        }
        if (innerWidth !== width || innerHeight !== height)
          throw new Error(`the window's page is ${innerWidth}x${innerHeight}, not ${width}x${height}`);
      }
      await driver.get(url);
      const d = makeDriver({
        call,
        click: async (sel) => {
          const el = await driver.findElement({ css: sel });
          await el.click();
        },
        press: (key) => {
          if (!(key in KEYS))
            throw new Error(`no key ${key}`);
          return pointer().sendKeys(KEYS[key]).perform();
        },
        mouseMove: (x, y) => pointer().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT })
          .perform(),
        mouseDown: () => pointer().press().perform(),
        mouseUp: () => pointer().release().perform(),
      });
      // The page's part of the window as PNG bytes. WebKitGTK draws the
      // page's scroll bar as an overlay that shows at the edge for a while
      // after the page opens, and then fades: it is taken off first.
      d.screenshot = async () => {
        await call(() => new Promise((resolve) => {
          document.documentElement.style.overflow = 'hidden';
          window.rodaderoRealTimeout(resolve, 200); // drawn without it
        }));
        return Buffer.from(await driver.takeScreenshot(), 'base64');
      };
      await whenReady(d);
      return d;
    },
    async problems() {
      return call(() => window.rodaderoProblems || ['no problem watch in the page']);
    },
    async stop() {
      try {
        await driver.quit();
      } finally {
        stopAll();
      }
    },
  };
}
