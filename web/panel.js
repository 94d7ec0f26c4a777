// The panel beside the window: the convergence curve of the running
// descent, the fates chart with the scroll bar's position marked, and the
// race of the current polyline on a button press. Every picture is the
// module's own SVG text (the pictures room, in the page's language), shown
// in a shadow root of its own so that the ids of one picture cannot meet
// another's. A change of language draws them again at once. Each can be
// taken away as an SVG file, and the numbers of the curve and of the sweep
// as CSV files, the module's text with rodadero-trace's rows.
//
// The curve and the chart are drawn again at most every PANEL_REDRAW_MS,
// at the page's paints (which every step comes with) and as the sweep's
// results arrive: never at every step. The sweep runs in workers, each
// with its own instance of the module, so that the window keeps ticking;
// until it is done the chart shows the positions that have arrived. A
// sweep that fails says so in its status line; the window runs on.
'use strict';

const PANEL_REDRAW_MS = 200;
const SWEEP_WORKERS_MAX = 2;

// The SVG text each picture's host shows, as the module gave it.
const shownPictures = new Map();

// Shows SVG text in a host element's shadow root, scaled to its width,
// with the host's text alternative, made from the shown picture, as the
// picture's title (its tooltip) too.
function showPicture(host, svgText, labelOf) {
  shownPictures.set(host, svgText);
  const root = host.shadowRoot || host.attachShadow({ mode: 'open' });
  root.innerHTML = '<style>:host { display: block; } svg { display: block; width: 100%; ' +
                   'height: auto; }</style>' + svgText.replace(/^<\?xml[^>]*\?>\s*/, '');
  const label = labelOf(root);
  host.setAttribute('aria-label', label);
  // The host is the image; the picture inside is its look only.
  root.querySelector('svg').setAttribute('aria-hidden', 'true');
  const title = root.querySelector('svg > title');
  if (title)
    title.textContent = label;
}

// Work for workers, each with an instance of the module of its own: the
// messages handed out in order to up to two workers, each answer's `key`
// handed to onAnswer. Each worker holds one message beyond the one it is
// working on, so that it never waits for this thread (busy with a paint,
// say) to hear its answer before it can go on. A worker that fails,
// whatever the way, ends the work: every worker is stopped and the promise
// is rejected with the reason.
function startWorkers(bytes, messages, key, onAnswer, name) {
  const url = URL.createObjectURL(new Blob([RODADERO_SWEEP_WORKER], { type: 'text/javascript' }));
  const started = performance.now();
  performance.mark(`${name}-start`);
  const count = Math.max(1, Math.min(SWEEP_WORKERS_MAX, navigator.hardwareConcurrency || 1));
  const HELD = 2; // messages a worker holds at a time
  let next = 0;
  let arrived = 0;
  let settled = false;
  return new Promise((resolve, reject) => {
    const workers = [];
    const settle = () => {
      settled = true;
      URL.revokeObjectURL(url);
    };
    const fail = (reason) => {
      if (settled)
        return;
      settle();
      for (const w of workers)
        w.terminate();
      reject(reason instanceof Error ? reason : new Error(reason));
    };
    const handOut = (worker, upTo = HELD) => {
      while (worker.held < upTo && next < messages.length) {
        worker.postMessage(messages[next++]);
        ++worker.held;
      }
      if (worker.held === 0)
        worker.terminate();
    };
    const heard = (worker, data) => {
      if (data.error !== undefined)
        return fail(data.error);
      if (data[key]) {
        --worker.held;
        onAnswer(data[key]);
        if (++arrived === messages.length) {
          settle();
          performance.measure(name, `${name}-start`);
          resolve({ ms: performance.now() - started, workers: count });
        }
      }
      handOut(worker);
    };
    try {
      for (let i = 0; i < count; ++i) {
        const worker = new Worker(url);
        workers.push(worker);
        worker.onmessage = ({ data }) => {
          if (settled)
            return;
          try {
            heard(worker, data);
          } catch (error) {
            fail(error);
          }
        };
        worker.onerror = (event) => {
          event.preventDefault();
          fail(`the sweep's worker failed: ${event.message || 'no reason given'}`);
        };
        worker.onmessageerror = () => fail('a message of the sweep\'s worker could not be read');
        worker.held = 0;
        worker.postMessage({ bytes });
      }
      // The first messages go round the workers one at a time, so that the
      // first ones, the slowest, are shared out.
      for (let held = 1; held <= HELD; ++held)
        for (const worker of workers)
          handOut(worker, held);
    } catch (error) {
      fail(error);
    }
  });
}

// The sweep: the scroll positions, first to last, the slowest positions
// (the smallest step factors) first.
function startSweep(bytes, { first, last, limit }, onFate) {
  const messages = [];
  for (let position = first; position <= last; ++position)
    messages.push({ position, limit });
  return startWorkers(bytes, messages, 'fate', onFate, 'rodadero-sweep');
}

function createPanel(e, contract, bytes, { onChoice }) {
  const { min: first, max: last } = contract.scroll;
  knowPositions(last - first + 1);
  const language = () => contract.languages[currentLanguage()];
  const convergenceHost = document.getElementById('convergence-chart');
  const fatesHost = document.getElementById('fates-chart');
  const fatesStatus = document.getElementById('fates-status');
  const raceHost = document.getElementById('race-picture');
  const fates = new Map(); // position -> fate, as the workers found them
  let sweptMs = null;
  let sweepFailure = null;
  const record = contract.places.record.address;
  const readAlphaPos = contract.value('CurveStateRecord', 'AlphaPos');

  function alphaPos() {
    return readAlphaPos(record);
  }

  function drawConvergence() {
    const svg = contract.text(e.rodadero_convergence_picture(language()));
    const { exactS, step, printedUs } = contract.fields('PageSample', e.rodadero_convergence_last());
    showPicture(convergenceHost, svg, () => step === 0 ? pageText().noSteps
      : pageText().convergence(step, printedUs, exactS.toFixed(6)));
  }

  function status() {
    return sweepFailure !== null ? pageText().sweepFailed(sweepFailure)
      : sweptMs === null ? pageText().sweeping(fates.size) : pageText().swept(sweptMs);
  }

  let markedDrawn = 0;
  function drawFates() {
    fatesStatus.textContent = status();
    if (fates.size === 0)
      return;
    const limit = e.rodadero_stability_position(); // found once, by the module
    const p = alphaPos();
    const all = [...fates.values()];
    const label = pageText().fates(fates.size, all.filter((f) => f.period === 1).length,
                                   all.filter((f) => f.period >= 2).length, limit.toFixed(2)) +
                  pageText().marked(p, fates.get(p));
    showPicture(fatesHost, contract.text(e.rodadero_fates_chart(p, language())), () => label);
    markedDrawn = p;
    fatesSvg.disabled = false;
  }

  // What is to be drawn again, and when each was drawn last.
  const figures = [
    { draw: drawConvergence, dirty: true, drawnAt: -Infinity },
    { draw: drawFates, dirty: true, drawnAt: -Infinity },
  ];
  const [convergence, fatesFigure] = figures;

  function refresh(force = false) {
    if (alphaPos() !== markedDrawn)
      fatesFigure.dirty = true;
    const now = Date.now();
    for (const f of figures) {
      if (f.dirty && (force || now - f.drawnAt >= PANEL_REDRAW_MS)) {
        f.dirty = false;
        f.drawnAt = now;
        f.draw();
      }
    }
  }

  // The race of the polyline now (`anew`), or the last one again.
  let raced = null; // the position and the steps of the last race
  function drawRace(anew) {
    if (anew)
      raced = [e.rodadero_run_position(), e.rodadero_run_steps()];
    // Its text alternative: each track's name and time, from the picture.
    showPicture(raceHost, contract.text(e.rodadero_race_picture(language(), anew ? 1 : 0)), (root) =>
      pageText().race(contract.raceTracks.map((track) =>
        `${root.getElementById(`name-${track}`).textContent.trim()}, ` +
        `${root.getElementById(`arrival-${track}`).textContent.trim()}`)));
    raceHost.hidden = false;
    raceSvg.hidden = false;
  }
  document.getElementById('race-start').addEventListener('click', () => drawRace(true));

  // The files, named by what they hold.
  const fatesCsv = document.getElementById('fates-csv');
  const fatesSvg = document.getElementById('fates-svg');
  const raceSvg = document.getElementById('race-svg');
  const runName = () => pageText().run(e.rodadero_run_position(), e.rodadero_run_steps());
  const saveShown = (host, parts) => saveText([...parts, currentLanguage()], 'svg',
                                              shownPictures.get(host));
  document.getElementById('convergence-csv').addEventListener('click', () =>
    saveText([pageText().convergenceFile, runName()], 'csv',
             contract.text(e.rodadero_convergence_csv())));
  document.getElementById('convergence-svg').addEventListener('click', () => {
    convergence.dirty = true;
    refresh(true);
    saveShown(convergenceHost, [pageText().convergenceFile, runName()]);
  });
  fatesCsv.addEventListener('click', () =>
    saveText([pageText().fatesFile, pageText().allPositions], 'csv',
             contract.text(e.rodadero_sweep_csv())));
  fatesSvg.addEventListener('click', () => {
    refresh(true);
    saveShown(fatesHost, [pageText().fatesFile, pageText().position(markedDrawn)]);
  });
  raceSvg.addEventListener('click', () => saveShown(raceHost, [pageText().raceFile,
    pageText().run(...raced)]));

  // Another language: every picture and text again, at once.
  onPageLanguage(() => {
    for (const f of figures)
      f.dirty = true;
    refresh(true);
    if (!raceHost.hidden)
      drawRace(false);
  });
  createLanguageSwitch();

  const sweep = { first, last, limit: contract.fateStepLimit };
  const swept = startSweep(bytes, sweep, (fate) => {
    if (e.rodadero_fate_keep(fate.position, fate.cycleFrom, fate.period, fate.lowUs, fate.highUs) < 0)
      throw new Error(`a fate for position ${fate.position} out of range`);
    fates.set(fate.position, fate);
    fatesFigure.dirty = true;
    refresh();
  }).then((result) => {
    sweptMs = result.ms;
    fatesCsv.disabled = false;
    fatesFigure.dirty = true;
    refresh(true);
    return result;
  });
  // A failed sweep: said in the status line at once; the chart keeps what
  // arrived. Whoever waits for the sweep hears of it too.
  swept.catch((error) => {
    sweepFailure = error.message;
    fatesStatus.textContent = status();
    console.error(error);
  });

  // The other methods, once the program's own fates are in.
  const methods = createMethodsCard(e, contract, bytes, {
    language, runSteps: () => e.rodadero_run_steps(), onChoice,
  });
  swept.then(() => methods.start(), () => {});

  refresh(true);
  return {
    swept,
    methods,
    // After every paint: the descent may have moved, and so may the bar.
    painted() {
      convergence.dirty = true;
      refresh();
      methods.painted();
    },
    // The run is over: the last state, drawn at once.
    ended() {
      convergence.dirty = true;
      refresh(true);
    },
  };
}
