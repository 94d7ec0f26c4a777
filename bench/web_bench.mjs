#!/usr/bin/env node
// The web page's speed in Debian's Chromium, headless, from one run on this
// machine. Prints figures beside their targets; asserts nothing.
//
//   node bench/web_bench.mjs [PAGE] [--runs N] [--seconds S] [--steps K]
//
// PAGE is build/web/rodadero.html unless given. Needs the web build, the
// npm packages of package-lock.json (tools/setup) and, for the ratio of the
// first figure, the native build's bench/model_bench.
//
// 1. The descent step in WebAssembly against the native build: the page's
//    own module (the bytes inlined in the page, instantiated again in the
//    page beside the running one) takes K steps (default 1,000,000) through
//    its exported timer tick, which in timed mode is one descent step and
//    the panel's count of it, in batches of 4096 from the chord as
//    model_bench does; the median of 7 such runs, after a second to warm up,
//    by the page's real clock and by the CPU time of the renderer's main
//    thread (/proc/PID/schedstat), against model_bench's BM_DescentStep
//    (median of 5 repetitions, real and CPU time). Target: at most 1.5 times.
//    A second module, the step alone (bench/step_module.cpp, built by the
//    web preset beside the page's), shows what the tick adds to it.
//    `--only 1` runs this one alone.
// 2. The first paint after opening the file from disk: the page's
//    'rodadero-first-paint' mark, measured from navigation start, in N
//    fresh browsers (default 5) after one to warm the file cache, and the
//    browser's own first-contentful-paint beside it (target: median at
//    most 300 ms); then the same with Chromium's CPU slowed four times
//    (DevTools' Emulation.setCPUThrottlingRate, a phone-class CPU; target:
//    median at most 500 ms).
// 3. A tick in the page as it runs: the time of each of its timers'
//    callbacks (the step, the paint it asks for and the panel's part) over
//    S/4 seconds in timed mode after the sweep, by the page's clock, and the
//    main thread's CPU time per tick; the step's share
//    beside it.
// 4. The sweep: the page's, in its workers (window.rodadero.swept, which
//    starts it where its card is out of the window, from the sweep's start
//    to the last fate), against the native
//    `rodadero-trace --sweep` (one process, a thread on every core, as the
//    page has a worker on each of up to two), run in the same
//    benchmark (target: the page at most 2 times the native wall time).
//    The page is opened N times more in a browser already running, as a
//    reader's is, after its first opening in a fresh one (where the
//    browser is still starting processes of its own beside it, printed
//    too); native N times; medians. `--only 4` runs this one alone.
// 5. CPU: the renderer process of the page over S seconds (default 60) in
//    timed mode, against bench/bare_page.html, which paints the page's
//    picture (the canvas calls of one of its paints, recorded here) on the
//    same two 50 ms timers with a plain canvas, its second timer started as
//    long after the first as the page's is (the page makes its dialog's
//    timer after its first paint; timers that fire apart make a frame
//    each, timers that fire together share one). A second bare page with
//    its timers together is printed beside, for comparison. All three run
//    at once, each in a browser of its own, so that they meet the same
//    load over the same interval (together they use well under one of the
//    two cores). User +
//    system time from /proc/PID/stat of the renderer that runs the page
//    (the one whose /proc time is the ProcessTime of the page's DevTools
//    Performance metrics), with Chromium's GPU and browser processes beside
//    it (target: at most 1.2 times the bare page's renderer).
// 6. The page's size (target: at most 200 KB, taken as 200,000 bytes).
// 7. The map of the other methods: the page's map of heavy ball in its
//    workers, which start once the sweep is done and its method is chosen
//    (or the card is in the window; window.rodadero.mapped,
//    from the map's start to its last cell), against the native
//    `rodadero-trace --sweep --method heavy-ball` on every core, run in the
//    same benchmark (target: the page at most 2 times the native wall time),
//    opened and timed as the sweep is. `--only 7` runs this one alone.
// 8. The laboratory's live run at 200 intervals: the page opened at
//    #lab&tramos=200 (the card in view, its run stepping with the window's
//    timer), once the sweep is done; over S/4 seconds the main timer's
//    ticks a second, the run's steps a second (the count the card prints)
//    and the share of the time the renderer's main thread was busy
//    (/proc/PID/task/PID/schedstat). Targets: 20 ticks a second, each with
//    a step, and the main thread busy less than a quarter of the time.
//    `--only 8` runs this one alone.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';
import { CHROMIUM_PATH } from '../tests/web/chromium.mjs';
import {
  moduleBytes, moduleScript, packedCatalogs, packedModule, packedScript, unpacked,
} from '../tests/web/page_parts.mjs';
import {
  ROOT, cpuSeconds, launch, median, newPage, options, processTime, processes, rendererOf,
  uptimeLoad,
} from './browser.mjs';

const USAGE = 'usage: node bench/web_bench.mjs [PAGE] [--runs N] [--seconds S] [--steps K] ' +
              '[--only 1|4|6|7|8]';
const opts = options(USAGE, { runs: 5, seconds: 60, steps: 1_000_000, only: 0 });
const PAGE_URL = pathToFileURL(opts.page).href;
const BARE_URL = pathToFileURL(path.join(ROOT, 'bench', 'bare_page.html')).href;
const MODEL_BENCH = path.join(ROOT, 'build', 'native', 'bench', 'model_bench');
const BATCH = 4096;
const STEP_MODULE = path.join(path.dirname(opts.page), 'bench', 'step.wasm');
const NATIVE_TRACE = path.join(ROOT, 'build', 'native', 'trace', 'rodadero-trace');

// The page from disk, once it has painted; its errors are printed.
async function openPage(browser, beforeOpening = async () => {}, fragment = '') {
  const page = await newPage(browser);
  await beforeOpening(page);
  page.on('pageerror', (e) => console.log(`  script error in the page: ${e.message}`));
  page.on('console', (m) => {
    if (m.type() === 'error')
      console.log(`  console error in the page: ${m.text()}`);
  });
  await page.goto(PAGE_URL + fragment);
  await page.evaluate(() => window.rodadero.ready);
  return page;
}

// The CPU time of a process's main thread so far, in ns, from
// /proc/PID/task/PID/schedstat (its first field).
function mainThreadNs(pid) {
  return Number(fs.readFileSync(`/proc/${pid}/task/${pid}/schedstat`, 'utf8').split(' ')[0]);
}

// The smallest step of the page's performance.now(), in ms.
function clockStep(page) {
  return page.evaluate(() => {
    const a = performance.now();
    let b = a;
    while (b === a)
      b = performance.now();
    return b - a;
  });
}

// 1. ns per step of the page's module through its tick, and of the step
// module's bare step, by the page's real clock and by the CPU time of the
// renderer's main thread. Each run is one evaluation, read around from
// here; the resets are timed alone and taken off.
async function wasmStep(browser) {
  const page = await openPage(browser);
  const cdp = await page.context().newCDPSession(page);
  const renderer = await rendererOf(browser, page, cdp);
  const batches = Math.max(1, Math.round(opts.steps / BATCH));
  const stepModule = fs.existsSync(STEP_MODULE) ? fs.readFileSync(STEP_MODULE).toString('base64') : null;
  await page.addScriptTag({ content: moduleScript('pageModule') });
  const pageModuleBytes = moduleBytes(opts.page).toString('base64');
  await page.evaluate(async ({ batch, batches, stepModule, pageModuleBytes }) => {
    // The page's own instantiation (web/module.js), of the module the page
    // carries.
    const { instantiateModule, openContract } = pageModule;
    const e = await instantiateModule(Uint8Array.from(atob(pageModuleBytes),
                                                      (c) => c.charCodeAt(0)));
    e.rodadero_start();
    const contract = openContract(e);
    if (contract.value('CurveStateRecord', 'RunContinuous')(contract.places.record.address) !== 0)
      throw new Error('the module does not start in timed mode');
    const kinds = { tick: [e.rodadero_main_tick, e.rodadero_reset] };
    if (stepModule) {
      const bytes = Uint8Array.from(atob(stepModule), (c) => c.charCodeAt(0));
      const s = (await WebAssembly.instantiate(bytes, {})).instance.exports;
      s._initialize();
      kinds.step = [s.bench_step, s.bench_chord];
    }
    // Batches of steps from the chord, the resets included, or the resets
    // alone: ms by the page's clock.
    window.benchRun = (kind, alone) => {
      const [step, reset] = kinds[kind];
      const start = performance.now();
      for (let b = 0; b < batches; ++b) {
        reset();
        if (!alone)
          for (let i = 0; i < batch; ++i)
            step();
      }
      return performance.now() - start;
    };
    // Until the engine's optimising compiler has taken over: a second.
    const warm = performance.now() + 1000;
    while (performance.now() < warm)
      for (const kind of Object.keys(kinds))
        window.benchRun(kind, false);
  }, { batch: BATCH, batches, stepModule, pageModuleBytes });
  const clock = await clockStep(page);
  const timed = async (kind, alone) => {
    const before = mainThreadNs(renderer);
    const ms = await page.evaluate(([k, a]) => window.benchRun(k, a), [kind, alone]);
    return { ms, cpuNs: mainThreadNs(renderer) - before };
  };
  const steps = batches * BATCH;
  const result = { steps };
  for (const kind of stepModule ? ['tick', 'step'] : ['tick']) {
    const real = [];
    const cpu = [];
    for (let r = 0; r < 7; ++r) {
      const all = await timed(kind, false);
      const resets = await timed(kind, true);
      real.push((all.ms - resets.ms) * 1e6 / steps);
      cpu.push((all.cpuNs - resets.cpuNs) / steps);
    }
    result[kind] = { real, cpu };
  }
  await page.context().close();
  return { ...result, clockStep: clock };
}

function nativeStep() {
  if (!fs.existsSync(MODEL_BENCH))
    return null;
  const out = execFileSync(MODEL_BENCH, ['--benchmark_filter=^BM_DescentStep$',
                                         '--benchmark_repetitions=5',
                                         '--benchmark_report_aggregates_only=true',
                                         '--benchmark_format=json'], { encoding: 'utf8' });
  const m = JSON.parse(out).benchmarks.find((b) => b.aggregate_name === 'median');
  const scale = { ns: 1, us: 1e3, ms: 1e6 }[m.time_unit];
  return { real: m.real_time * scale, cpu: m.cpu_time * scale };
}

// 2. One opening of the file in a fresh browser, its CPU slowed down
// `slowdown` times.
async function firstPaint(slowdown = 1) {
  const browser = await launch();
  try {
    const page = await openPage(browser, async (p) => {
      if (slowdown !== 1)
        await (await p.context().newCDPSession(p)).send('Emulation.setCPUThrottlingRate',
                                                         { rate: slowdown });
    });
    return await page.evaluate(async () => {
      const mark = performance.getEntriesByName('rodadero-first-paint')[0].startTime;
      // The browser's paint entries come with the frame that shows the paint.
      const fcp = await new Promise((resolve) => {
        const found = () => performance.getEntriesByName('first-contentful-paint')[0];
        if (found())
          return resolve(found().startTime);
        new PerformanceObserver(() => found() && resolve(found().startTime))
          .observe({ type: 'paint', buffered: true });
        setTimeout(() => resolve(NaN), 3000);
      });
      return { mark, fcp };
    });
  } finally {
    await browser.close();
  }
}

// 3. The time each timer callback of the page takes, by the page's clock,
// over opts.seconds / 4 of its running in timed mode once its sweep is
// done, and the CPU time of the renderer's main thread meanwhile: setInterval is
// watched as the page calls it (its callbacks are its own, untouched).
// Before the page's script: every setInterval callback counted and timed
// by the page's clock, in window.benchTicks (one record a timer, in the
// order the page makes them).
function countTimerCallbacks(page) {
  return page.addInitScript(() => {
    const own = window.setInterval;
    window.benchTicks = [];
    window.setInterval = function (callback, ...rest) {
      const timer = { n: 0, ms: 0 };
      window.benchTicks.push(timer);
      return own.call(this, (...args) => {
        const start = performance.now();
        try {
          return callback(...args);
        } finally {
          timer.ms += performance.now() - start;
          ++timer.n;
        }
      }, ...rest);
    };
  });
}

async function tickCost(browser) {
  const page = await openPage(browser, countTimerCallbacks);
  // Once the sweep's workers are done, so that the page has the main
  // thread to itself.
  await page.evaluate(() => window.rodadero.swept);
  const cdp = await page.context().newCDPSession(page);
  const renderer = await rendererOf(browser, page, cdp);
  const seconds = Math.max(5, opts.seconds / 4);
  await page.evaluate(() => window.benchTicks.forEach((t) => { t.n = 0; t.ms = 0; }));
  const cpuBefore = mainThreadNs(renderer);
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const cpuNs = mainThreadNs(renderer) - cpuBefore;
  const [main, dialog] = await page.evaluate(() => window.benchTicks.map((t) => ({ ...t })));
  const clock = await clockStep(page);
  const s = await page.evaluate(() => window.rodadero.state());
  if (s.runContinuous !== 0)
    throw new Error('the page left timed mode');
  await page.context().close();
  return { main, dialog, seconds, clockStep: clock, cpuNs };
}

// 8. The laboratory's live run at N = 200, in a page of its own.
async function labRun(browser) {
  const page = await openPage(browser, countTimerCallbacks, '#lab&tramos=200');
  await page.evaluate(() => window.rodadero.swept);
  const cdp = await page.context().newCDPSession(page);
  const renderer = await rendererOf(browser, page, cdp);
  // The steps the card has taken, as it prints them ("After 59 steps ...").
  const steps = () => page.evaluate(() => Number(/\d+/.exec(
    document.getElementById('lab-now').textContent.replace(/\s/g, ''))[0]));
  const inView = await page.evaluate(() => {
    const box = document.getElementById('lab-picture').getBoundingClientRect();
    return box.bottom > 0 && box.top < window.innerHeight;
  });
  const seconds = Math.max(5, opts.seconds / 4);
  await page.evaluate(() => window.benchTicks.forEach((t) => { t.n = 0; t.ms = 0; }));
  const [stepsBefore, cpuBefore, wallBefore] = [await steps(), mainThreadNs(renderer), Date.now()];
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const [stepsAfter, cpuAfter, wallAfter] = [await steps(), mainThreadNs(renderer), Date.now()];
  const [main] = await page.evaluate(() => window.benchTicks.map((t) => ({ ...t })));
  await page.context().close();
  const wall = (wallAfter - wallBefore) / 1000;
  return { inView, seconds: wall, ticks: main.n / wall, steps: (stepsAfter - stepsBefore) / wall,
           tickMs: main.ms / main.n, busy: (cpuAfter - cpuBefore) / 1e9 / wall };
}

async function printLab() {
  const browser = await launch();
  const lab = await labRun(browser);
  await browser.close();
  console.log(`the laboratory's live run at 200 intervals over ${lab.seconds.toFixed(1)} s ` +
              `(its picture ${lab.inView ? 'in view' : 'NOT in view'}): ` +
              `${lab.ticks.toFixed(1)} ticks a second of the main timer, ` +
              `${lab.steps.toFixed(1)} steps of the run a second (target 20), a tick's callback ` +
              `${lab.tickMs.toFixed(2)} ms on average; the renderer's main thread busy ` +
              `${(lab.busy * 100).toFixed(1)} % of the time (target under 25 %); load average ` +
              `${uptimeLoad()}`);
}

// 4. The page's sweep as the panel runs it on opening, and the native one.
function sweepAgainstNative() {
  return againstNative(() => window.rodadero.swept, ['--sweep']);
}

// What the page gives for `inPage` (its {ms, workers}) in one browser:
// on its first opening, while the browser is still starting processes of
// its own (a spare renderer, for one), and then over `runs` openings more,
// as in a browser that is already running, which is how a reader opens
// it; then the native rodadero-trace with `args`, timed as a whole
// process, `runs` times. Medians of the later openings and of the native
// runs.
async function againstNative(inPage, args) {
  const browser = await launch();
  const page = await openPage(browser);
  const cold = await page.evaluate(inPage);
  const warm = [];
  for (let i = 0; i < opts.runs; ++i) {
    await page.goto(PAGE_URL);
    await page.evaluate(() => window.rodadero.ready);
    warm.push(await page.evaluate(inPage));
  }
  await browser.close();
  const inThePage = { cold, ms: median(warm.map((w) => w.ms)), runs: warm.map((w) => w.ms),
                      workers: cold.workers };
  if (!fs.existsSync(NATIVE_TRACE))
    return { page: inThePage, native: null };
  const runs = [];
  let lines = 0;
  for (let i = 0; i < opts.runs; ++i) {
    const start = performance.now();
    const csv = execFileSync(NATIVE_TRACE, args, { encoding: 'utf8', maxBuffer: 1 << 24 });
    runs.push(performance.now() - start);
    lines = csv.trim().split('\n').length;
  }
  return { page: inThePage, native: { ms: median(runs), runs, lines } };
}

// The figures of againstNative, and their ratios.
function describe({ page, native }, what) {
  const list = (runs) => runs.map((r) => r.toFixed(0)).join(' ');
  const inPage = `the page ${page.ms.toFixed(0)} ms in ${page.workers} workers (${what}; median of ` +
                 `${page.runs.length} openings in a running browser: ${list(page.runs)}; on the ` +
                 `browser's first opening ${page.cold.ms.toFixed(0)} ms)`;
  if (!native)
    return `${inPage}; no ${NATIVE_TRACE} to compare with`;
  return `${inPage}, native rodadero-trace ${native.ms.toFixed(0)} ms wall (median of ` +
         `${native.runs.length}: ${list(native.runs)}; one thread on each of the ` +
         `${os.cpus().length} cores; its CSV ${native.lines} lines); ratio page / native ` +
         `${(page.ms / native.ms).toFixed(2)} (first opening ${(page.cold.ms / native.ms).toFixed(2)}); ` +
         `target 2 or less; load average ${uptimeLoad()}`;
}

async function printSweep() {
  console.log(`sweep of the 100 positions: ` +
              describe(await sweepAgainstNative(), 'from the sweep\'s start'));
}

// 7. The page's map of heavy ball as the methods card runs it after the
// sweep, once its method is chosen (or the card is in the window), and the
// native one.
function mapAgainstNative() {
  return againstNative(async () => {
    await window.rodadero.swept;
    document.getElementById('method-heavy-ball').click();
    return window.rodadero.mapped('heavy-ball');
  }, ['--sweep', '--method', 'heavy-ball']);
}

async function printMap() {
  console.log(`map of heavy ball, 800 cells: ` +
              describe(await mapAgainstNative(), 'from the map\'s start, the window ticking on'));
}

// The canvas calls of one of the page's paints: every method call and
// property set on a 2D context while the page, on Playwright's clock, fires
// its two timers once (two paints); the first paint's share.
async function recordPicture(browser) {
  const page = await newPage(browser);
  await page.addInitScript(() => {
    const calls = [];
    let recording = false;
    window.benchRecord = (on) => { recording = on; return calls; };
    const proto = CanvasRenderingContext2D.prototype;
    for (const name of Object.getOwnPropertyNames(proto)) {
      const d = Object.getOwnPropertyDescriptor(proto, name);
      if (typeof d.value === 'function' && name !== 'constructor') {
        proto[name] = function (...args) {
          if (recording)
            calls.push([name, args]);
          return d.value.apply(this, args);
        };
      } else if (d.set) {
        Object.defineProperty(proto, name, { ...d, set(v) {
          if (recording)
            calls.push([`=${name}`, [v]]);
          d.set.call(this, v);
        } });
      }
    }
  });
  await page.clock.install({ time: 0 });
  await page.clock.pauseAt(1000);
  await page.goto(PAGE_URL);
  await page.evaluate(() => window.rodadero.ready);
  await page.evaluate(() => window.benchRecord(true));
  await page.clock.runFor(50);
  const calls = await page.evaluate(() => window.benchRecord(false));
  await page.context().close();
  // Two paints of the same calls, each starting with the background.
  const half = calls.length / 2;
  const names = (list) => list.map(([name]) => name).join(' ');
  if (calls.length === 0 || calls[1][0] !== 'fillRect' ||
      names(calls.slice(0, half)) !== names(calls.slice(half)))
    throw new Error(`expected two paints of the same calls, recorded ${calls.length} calls`);
  return calls.slice(0, half);
}

// 3. A page in a browser of its own, for its CPU use: the processes to
// watch are its renderer, the GPU process and the browser itself. The web
// page's timers are noted as they are made (their callbacks are its own,
// untouched), for the lag between the two; the bare page gets its picture
// and the lag of its second timer.
async function openForCpu(url, bare) {
  const browser = await launch();
  const page = await newPage(browser);
  if (bare) {
    await page.addInitScript(({ picture, lag }) => {
      window.BARE_PICTURE = picture;
      window.BARE_TIMER_LAG = lag;
    }, bare);
  } else {
    await page.addInitScript(() => {
      const setIntervalOwn = window.setInterval;
      window.benchTimersMade = [];
      window.setInterval = function (...args) {
        window.benchTimersMade.push(performance.now());
        return setIntervalOwn.apply(this, args);
      };
    });
  }
  await page.goto(url);
  let lag = null;
  if (!bare) {
    await page.evaluate(() => window.rodadero.ready);
    const made = await page.evaluate(() => window.benchTimersMade);
    if (made.length !== 2)
      throw new Error(`the page made ${made.length} timers, not 2`);
    lag = made[1] - made[0];
  }
  const cdp = await page.context().newCDPSession(page);
  const renderer = await rendererOf(browser, page, cdp);
  const others = (await processes(browser)).filter((p) => p.type === 'GPU' || p.type === 'browser');
  const watched = [{ type: 'renderer', id: renderer }, ...others];
  const reading = async () => ({
    state: bare ? null : await page.evaluate(() => window.rodadero.state()),
    own: await processTime(cdp), cpu: watched.map((p) => cpuSeconds(p.id)), t: performance.now(),
  });
  return { browser, watched, reading, lag };
}

// The CPU shares of the watched processes of each opened page over the
// same opts.seconds.
async function cpuShares(opened) {
  await new Promise((r) => setTimeout(r, 2000));
  const before = await Promise.all(opened.map((o) => o.reading()));
  await new Promise((r) => setTimeout(r, opts.seconds * 1000));
  const after = await Promise.all(opened.map((o) => o.reading()));
  return opened.map((o, k) => {
    const wall = (after[k].t - before[k].t) / 1000;
    const shares = {};
    o.watched.forEach((p, i) => {
      shares[p.type] = 100 * (after[k].cpu[i] - before[k].cpu[i]) / wall;
    });
    return { shares, devtools: 100 * (after[k].own - before[k].own) / wall,
             before: before[k].state, after: after[k].state };
  });
}

function printed(s) {
  return Math.trunc(s.fallTime * 1e6);
}

// 1. The step through the page's tick and alone, against the native step;
// returns the page's figures, which section 3 quotes.
async function printStep() {
  const native = nativeStep();
  const browser = await launch();
  const wasm = await wasmStep(browser);
  await browser.close();
  const figures = (runs) => `${median(runs).toFixed(1)} ns (runs ${runs.map((r) => r.toFixed(0)).join(' ')})`;
  console.log(`descent step through the page's tick, WebAssembly in Chromium: real ${figures(wasm.tick.real)}, ` +
              `CPU of the renderer's main thread ${figures(wasm.tick.cpu)}; medians of 7 runs of ` +
              `${wasm.steps} steps, clock step ${(wasm.clockStep * 1000).toFixed(0)} us`);
  if (wasm.step)
    console.log(`descent step alone (bench/step.wasm):                       real ${figures(wasm.step.real)}, ` +
                `CPU ${figures(wasm.step.cpu)}; the tick adds ` +
                `${(median(wasm.tick.cpu) - median(wasm.step.cpu)).toFixed(1)} ns of CPU to the step`);
  else
    console.log(`no ${STEP_MODULE}: build the web preset for the step alone`);
  if (native) {
    console.log(`descent step, native (model_bench BM_DescentStep): real ${native.real.toFixed(1)} ns, ` +
                `CPU ${native.cpu.toFixed(1)} ns (medians of 5 repetitions)`);
    console.log(`ratio WebAssembly tick / native step: ${(median(wasm.tick.real) / native.real).toFixed(2)} ` +
                `by real time, ${(median(wasm.tick.cpu) / native.cpu).toFixed(2)} by CPU time` +
                (wasm.step ? `; the step alone ${(median(wasm.step.cpu) / native.cpu).toFixed(2)} by CPU time` : '') +
                '; target 1.5 or less');
  } else {
    console.log(`no ${MODEL_BENCH}: build the native preset for the ratio`);
  }
  return wasm;
}

// 6. The page's size and its parts.
function printSize() {
  const html = fs.readFileSync(opts.page);
  const parts = [['the script', packedScript(opts.page)], ['the module', packedModule(opts.page)],
                 ['the other languages\' catalogs', packedCatalogs(opts.page)]];
  const packed = parts.map(([name, text]) => `${name} ${text.length} ` +
                                             `(${unpacked(text, opts.page).length} unpacked)`).join(', ');
  console.log(`page size ${html.length} bytes (${(html.length / 1024).toFixed(1)} KiB; packed in ` +
              `it: ${packed}; ${zlib.gzipSync(html, { level: 9 }).length} bytes gzipped); ` +
              'target 200,000 bytes or less');
}

async function main() {
  console.log(`machine: ${os.cpus().length} cores, ${os.arch()}; load average at start ` +
              `${uptimeLoad()}`);
  const chromium = execFileSync(CHROMIUM_PATH, ['--version'],
                                { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim();
  console.log(`browser: ${chromium}, headless; page ${opts.page}`);
  const alone = { 1: printStep, 4: printSweep, 6: printSize, 7: printMap, 8: printLab };
  if (opts.only !== 0) {
    if (!alone[opts.only])
      throw new Error(`--only ${opts.only}: only the step (1), the sweep (4), the size (6), the ` +
                      'map (7) and the laboratory (8) run alone');
    return alone[opts.only]();
  }

  // 1.
  const wasm = await printStep();

  // 2.
  const warm = await firstPaint();
  const paints = [];
  for (let i = 0; i < opts.runs; ++i)
    paints.push(await firstPaint());
  const marks = paints.map((p) => p.mark);
  console.log(`first paint from file:// (the page's mark, from navigation start): median ` +
              `${median(marks).toFixed(1)} ms over ${opts.runs} fresh browsers (` +
              `${marks.map((m) => m.toFixed(1)).join(' ')}; after a warm-up opening at ` +
              `${warm.mark.toFixed(1)}); target 300 ms or less`);
  console.log(`  the browser's first-contentful-paint: median ` +
              `${median(paints.map((p) => p.fcp)).toFixed(1)} ms`);
  const slowed = [];
  for (let i = 0; i < opts.runs; ++i)
    slowed.push(await firstPaint(4));
  const slowMarks = slowed.map((p) => p.mark);
  console.log(`first paint with the CPU slowed 4 times (Emulation.setCPUThrottlingRate): median ` +
              `${median(slowMarks).toFixed(1)} ms over ${opts.runs} fresh browsers (` +
              `${slowMarks.map((m) => m.toFixed(1)).join(' ')}); first-contentful-paint median ` +
              `${median(slowed.map((p) => p.fcp)).toFixed(1)} ms; target 500 ms or less`);

  // 3.
  const browserForTicks = await launch();
  const tick = await tickCost(browserForTicks);
  await browserForTicks.close();
  console.log(`a tick in the running page, timed mode, over ${tick.seconds} s: main timer's callback ` +
              `${(tick.main.ms * 1000 / tick.main.n).toFixed(1)} us on average (${tick.main.n} calls), ` +
              `dialog timer's ${(tick.dialog.ms * 1000 / tick.dialog.n).toFixed(1)} us (${tick.dialog.n}), ` +
              `each with one step and the paint it asks for (the page's clock, ` +
              `${(tick.clockStep * 1000).toFixed(0)} us resolution); the renderer's main thread used ` +
              `${(tick.cpuNs / 1000 / (tick.main.n + tick.dialog.n)).toFixed(0)} us of CPU per tick, ` +
              `rendering included; the step itself is about ${(median(wasm.tick.cpu) / 1000).toFixed(2)} us ` +
              `of CPU`);

  // 4.
  await printSweep();

  // 5.
  const recorder = await launch();
  const picture = await recordPicture(recorder);
  await recorder.close();
  console.log(`CPU over ${opts.seconds} s in timed mode, share of one core (user + system ` +
              `time of each process from /proc; one paint is ${picture.length} canvas calls); ` +
              `load average ${uptimeLoad()}`);
  const web = await openForCpu(PAGE_URL, null);
  // The bare page's second timer as far behind its first as the page's.
  const lag = Math.round(web.lag % 50);
  const opened = [web, await openForCpu(BARE_URL, { picture, lag }),
                  await openForCpu(BARE_URL, { picture, lag: 0 })];
  const [real, bare, together] = await cpuShares(opened);
  await Promise.all(opened.map((o) => o.browser.close()));
  const line = (name, r) => `  ${name.padEnd(10)} renderer ${r.shares.renderer.toFixed(2)} %, ` +
    `GPU process ${r.shares.GPU.toFixed(2)} %, browser ${r.shares.browser.toFixed(2)} % ` +
    `(renderer by DevTools ProcessTime ${r.devtools.toFixed(2)} %)`;
  const timed = real.before.runContinuous === 0 && real.after.runContinuous === 0;
  console.log(line('page', real) + (timed
    ? `; timed mode throughout, printed time ${printed(real.before)} to ${printed(real.after)}`
    : '; NOT in timed mode throughout'));
  console.log(line('bare page', bare) + `; its second timer ${lag} ms after the first, as the ` +
              `page's (made ${web.lag.toFixed(1)} ms apart)`);
  console.log(line('bare page', together) + '; its two timers together (for comparison only)');
  console.log(`  ratio page / bare page (renderer)     ${(real.shares.renderer /
              bare.shares.renderer).toFixed(2)}      target 1.2 or less (against the bare ` +
              `page with its timers together: ${(real.shares.renderer /
              together.shares.renderer).toFixed(2)}); load average ${uptimeLoad()}`);

  // 6.
  printSize();

  // 7.
  await printMap();

  // 8.
  await printLab();
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
