// What the browser benchmarks share: Debian's Chromium started through
// Playwright as the page's tests start it (headless, a new empty profile,
// nothing fetched from the network), the page's path, the options, and the
// CPU time of the browser's processes as /proc counts it.
import { chromium } from '@playwright/test';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { CHROMIUM_ARGS, CHROMIUM_PATH } from '../tests/web/chromium.mjs';

export const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
export const PAGE = path.join(ROOT, 'build', 'web', 'rodadero.html');
const CLOCK_TICKS = Number(execFileSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }));

// The tests' Chromium, with their flags (tests/web/chromium.mjs).
export function launch() {
  return chromium.launch({ executablePath: CHROMIUM_PATH, headless: true, args: [...CHROMIUM_ARGS] });
}

// A page of the size the page's tests use, at a device-pixel ratio of 1.
export async function newPage(browser) {
  const context = await browser.newContext({ viewport: { width: 820, height: 460 },
                                              deviceScaleFactor: 1 });
  return context.newPage();
}

// Options of the form --name VALUE (numbers) and at most one plain argument,
// the page's path; prints the usage and exits on anything else.
export function options(usage, defaults) {
  const result = { ...defaults, page: PAGE };
  const args = process.argv.slice(2);
  let pathGiven = false;
  while (args.length) {
    const a = args.shift();
    const name = a.startsWith('--') ? a.slice(2) : null;
    if (name !== null && name in defaults && args.length && Number.isFinite(Number(args[0]))) {
      result[name] = Number(args.shift());
    } else if (name === null && !pathGiven) {
      result.page = path.resolve(a);
      pathGiven = true;
    } else {
      console.error(usage);
      process.exit(2);
    }
  }
  if (!fs.existsSync(result.page)) {
    console.error(`no ${result.page}: build the web preset first (cmake --preset web && ` +
                  'cmake --build --preset web)');
    process.exit(1);
  }
  return result;
}

// User + system CPU seconds of a process so far, from /proc/PID/stat.
export function cpuSeconds(pid) {
  const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
  const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
  return (Number(fields[11]) + Number(fields[12])) / CLOCK_TICKS;
}

// The browser's processes as Chromium lists them: {type, id (the PID)}.
export async function processes(browser) {
  const session = await browser.newBrowserCDPSession();
  const { processInfo } = await session.send('SystemInfo.getProcessInfo');
  await session.detach();
  return processInfo.map(({ type, id }) => ({ type, id }));
}

// The PID of the renderer that runs the page: of the browser's renderer
// processes, the one whose CPU time in /proc is the renderer CPU time that
// the page's own DevTools session reports (Performance.getMetrics,
// ProcessTime), read back to back. Asked a few times until exactly one
// renderer matches.
export async function rendererOf(browser, page, cdp) {
  await cdp.send('Performance.enable');
  const renderers = (await processes(browser)).filter((p) => p.type === 'renderer');
  for (let attempt = 0; attempt < 20; ++attempt) {
    const own = await processTime(cdp);
    const matching = renderers.filter((p) => Math.abs(cpuSeconds(p.id) - own) < 0.015);
    if (matching.length === 1)
      return matching[0].id;
    // Burn a little CPU in the page so that its renderer stands out.
    await page.evaluate(() => { const end = performance.now() + 50; while (performance.now() < end); });
  }
  throw new Error('cannot tell which renderer process runs the page');
}

// The page's renderer CPU time in seconds, as its DevTools session reports it.
export async function processTime(cdp) {
  const { metrics } = await cdp.send('Performance.getMetrics');
  return metrics.find((m) => m.name === 'ProcessTime').value;
}

export function uptimeLoad() {
  return fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');
}

export function median(values) {
  const s = [...values].sort((a, b) => a - b);
  const m = s.length >> 1;
  return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
}
