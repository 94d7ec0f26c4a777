#!/usr/bin/env node
// Soak run of the web page: the page opened from disk in Debian's Chromium,
// headless, on its real timers, for a while in timed mode, then in
// continuous mode (a click on "CONTINUE<>FEW STEPS"), sampling its script
// heap and its DOM nodes. Prints the samples, a summary per mode and a
// verdict line; asserts nothing in the test suite (it is not part of
// tools/test).
//
//   node bench/web_soak.mjs [PAGE] [--minutes M] [--every S]
//
// Defaults: build/web/rodadero.html, 10 minutes per mode, a sample every
// 10 s. Each sample first has the page's DevTools session collect the
// garbage (HeapProfiler.collectGarbage), so that what is counted is what
// the page keeps: the script heap in use (Runtime.getHeapUsage), the DOM
// nodes and event listeners alive in the renderer (Memory.getDOMCounters),
// and the elements in the document. Beside them: the renderer's CPU share
// since the last sample (user + system time from /proc) and the printed
// time, which must stay a finite number.
//
// The panel's pictures are counted apart: each is rebuilt whole when drawn
// again, and the convergence curve's step axis gains a few nodes with each
// decade of steps. A picture just replaced stays among the counters' nodes
// until the collector has swept it, so the nodes the page keeps besides its
// pictures are judged by the fewest counted within a minute.
//
// Verdict, for each mode: after the first minute the heap grows by at most
// 64 KiB, and the nodes besides the pictures (the fewest in the second
// minute against the fewest in the last; a run of 2 minutes or more) and
// the listeners not at all; at the end a click on
// "reset init values " moves the fall time off the value it had (the page
// is still stepping); and no script error or console error all along.
import {
  cpuSeconds, launch, newPage, options, rendererOf, uptimeLoad,
} from './browser.mjs';
import { pathToFileURL } from 'node:url';

const USAGE = 'usage: node bench/web_soak.mjs [PAGE] [--minutes M] [--every S]';
const opts = options(USAGE, { minutes: 10, every: 10 });
const HEAP_SLACK_KIB = 64;

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

async function sample(page, cdp, renderer) {
  // Two collections a moment apart: the first may leave nodes of a picture
  // just replaced to be swept later, and the counters count them till then.
  await cdp.send('HeapProfiler.collectGarbage');
  await sleep(200);
  await cdp.send('HeapProfiler.collectGarbage');
  const heap = await cdp.send('Runtime.getHeapUsage');
  const dom = await cdp.send('Memory.getDOMCounters');
  const { state, elements, pictureNodes } = await page.evaluate(() => {
    // The panel's pictures live in shadow roots, each rebuilt whole when it
    // is drawn again: their nodes, the roots included.
    let nodes = 0;
    for (const host of document.querySelectorAll('*')) {
      if (!host.shadowRoot)
        continue;
      const walker = document.createTreeWalker(host.shadowRoot);
      for (nodes += 1; walker.nextNode(); nodes += 1)
        ;
    }
    return {
      state: window.rodadero.state(),
      elements: document.getElementsByTagName('*').length,
      pictureNodes: nodes,
    };
  });
  return {
    heapKib: heap.usedSize / 1024, nodes: dom.nodes, listeners: dom.jsEventListeners,
    elements, pictureNodes, kept: dom.nodes - pictureNodes, state, cpu: cpuSeconds(renderer),
  };
}

function finite(s) {
  return [...s.nodeX, ...s.shownX, s.fallTime].every(Number.isFinite);
}

// The nodes the page keeps besides its pictures, over samples from t0 to t1
// seconds: the fewest counted. A picture just replaced stays counted until the
// collector has swept it, so a single sample may count one picture twice.
function keptIn(samples, t0, t1) {
  const inside = samples.filter((s) => s.t >= t0 && s.t <= t1);
  return Math.min(...(inside.length ? inside : samples).map((s) => s.kept));
}

async function soak(page, cdp, renderer, mode, errors) {
  const seconds = opts.minutes * 60;
  console.log(`${mode} mode: seconds, heap KiB, DOM nodes, of them in the pictures, listeners, ` +
              'elements, renderer CPU % of one core since last sample, printed time');
  const start = performance.now();
  let last = await sample(page, cdp, renderer);
  let lastT = start;
  const samples = [];
  let allFinite = true;
  while ((performance.now() - start) / 1000 < seconds) {
    await sleep(opts.every * 1000);
    const now = performance.now();
    const s = await sample(page, cdp, renderer);
    const t = (now - start) / 1000;
    const share = 100 * (s.cpu - last.cpu) / ((now - lastT) / 1000);
    allFinite &&= finite(s.state);
    samples.push({ t, ...s, share });
    console.log(`  ${t.toFixed(1).padStart(7)} s  ${s.heapKib.toFixed(1).padStart(8)}  ` +
                `${String(s.nodes).padStart(5)}  ${String(s.pictureNodes).padStart(4)}  ` +
                `${String(s.listeners).padStart(4)}  ` +
                `${String(s.elements).padStart(4)}  ${share.toFixed(1).padStart(5)} %  ` +
                `${Math.trunc(s.state.fallTime * 1e6)}`);
    last = s;
    lastT = now;
  }

  // Still stepping? The descent may have settled by now: back to the chord,
  // and the fall time must leave its settled value.
  const settled = last.state.fallTime;
  await page.evaluate(() => document.getElementById('reset').click());
  await sleep(1000);
  const moved = (await page.evaluate(() => window.rodadero.state())).fallTime !== settled;

  const base = samples.find((s) => s.t >= 60) || samples[0];
  const end = samples[samples.length - 1];
  const r = {
    mode, base, end, moved, allFinite,
    heapGrowth: end.heapKib - base.heapKib,
    heapMax: Math.max(...samples.map((s) => s.heapKib)),
    nodeMax: Math.max(...samples.map((s) => s.nodes)),
    keptBase: keptIn(samples, 60, 120),
    keptEnd: keptIn(samples, seconds - 60, seconds),
    pictureMin: Math.min(...samples.map((s) => s.pictureNodes)),
    pictureMax: Math.max(...samples.map((s) => s.pictureNodes)),
    listenerGrowth: end.listeners - base.listeners,
    cpuMean: samples.reduce((a, s) => a + s.share, 0) / samples.length,
    errors: errors.length,
  };
  r.keptGrowth = r.keptEnd - r.keptBase;
  r.ok = r.heapGrowth <= HEAP_SLACK_KIB && r.keptGrowth <= 0 && r.listenerGrowth <= 0 &&
         moved && allFinite && errors.length === 0;
  return r;
}

async function main() {
  console.log(`web page soak: ${opts.page}, ${opts.minutes} min per mode, a sample every ` +
              `${opts.every} s; load average ${uptimeLoad()}`);
  const browser = await launch();
  const results = [];
  try {
    const page = await newPage(browser);
    const errors = [];
    page.on('pageerror', (e) => { errors.push(e.message); console.log(`  script error: ${e.message}`); });
    page.on('console', (m) => {
      if (m.type() === 'error') {
        errors.push(m.text());
        console.log(`  console error: ${m.text()}`);
      }
    });
    await page.goto(pathToFileURL(opts.page).href);
    await page.evaluate(() => window.rodadero.ready);
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('HeapProfiler.enable');
    const renderer = await rendererOf(browser, page, cdp);

    for (const mode of ['timed', 'continuous']) {
      if (mode === 'continuous')
        await page.evaluate(() => document.getElementById('run-mode').click());
      const running = (await page.evaluate(() => window.rodadero.state())).runContinuous;
      if (running !== (mode === 'continuous' ? 1 : 0)) {
        results.push({ mode, ok: false, why: `run mode not reached (runContinuous ${running})` });
        break;
      }
      results.push(await soak(page, cdp, renderer, mode, errors));
    }
  } finally {
    await browser.close();
  }

  console.log();
  for (const r of results) {
    if (r.why) {
      console.log(`${r.mode}: ${r.why}`);
      continue;
    }
    console.log(`${r.mode}: heap ${r.base.heapKib.toFixed(1)} KiB after a minute, ` +
                `${r.end.heapKib.toFixed(1)} at the end (max ${r.heapMax.toFixed(1)}, growth ` +
                `${r.heapGrowth.toFixed(1)} KiB, at most ${HEAP_SLACK_KIB}); DOM nodes ` +
                `${r.base.nodes} after a minute, ${r.end.nodes} at the end (max ${r.nodeMax}), ` +
                `the pictures' ${r.pictureMin} to ${r.pictureMax}, the rest (fewest in a ` +
                `minute) ${r.keptBase} in the second minute and ${r.keptEnd} in the last ` +
                `(growth ${r.keptGrowth}, at most 0); ` +
                `listeners ${r.base.listeners} to ${r.end.listeners}; elements ` +
                `${r.base.elements} to ${r.end.elements}; renderer CPU mean ` +
                `${r.cpuMean.toFixed(1)} % of one core; printed time at the end ` +
                `${Math.trunc(r.end.state.fallTime * 1e6)}; state finite throughout: ` +
                `${r.allFinite}; still stepping after a reset: ${r.moved}; errors: ${r.errors}`);
  }
  const verdict = results.length === 2 && results.every((r) => r.ok);
  console.log(`web soak verdict: ${verdict ? 'PASS' : 'FAIL'} (${opts.minutes} min per mode; ` +
              `load average ${uptimeLoad()})`);
  return verdict ? 0 : 1;
}

main().then((code) => process.exit(code), (e) => {
  console.error(e);
  process.exit(1);
});
