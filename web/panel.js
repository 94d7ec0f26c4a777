// The panel beside the window: the convergence curve of the running
// descent, the fates chart with the scroll bar's position marked, and the
// race of the current polyline on a button press. Every picture is the
// module's own SVG text (the pictures room, in the page's language), shown
// in a shadow root of its own (shown_pictures.js). A change of language draws them again at once. Each can be
// taken away as an SVG file, and the numbers of the curve and of the sweep
// as CSV files, the module's text with rodadero-trace's rows.
//
// The curve and the chart are drawn again at most every PANEL_REDRAW_MS,
// at the page's paints (which every step comes with) and as the sweep's
// results arrive: never at every step. The sweep runs in workers, each
// with its own instance of the module, so that the window keeps ticking;
// until it is done the chart shows the positions that have arrived. A
// sweep that fails says so in its status line; the window runs on.
import { saveText } from './downloads.js';
import { createLanguageSwitch } from './language.js';
import { createMethodsCard } from './methods_card.js';
import { createShownPictures } from './shown_pictures.js';
import { startWorkers } from './workers.js';

const PANEL_REDRAW_MS = 200;

// The sweep: the scroll positions, first to last, the slowest positions
// (the smallest step factors) first.
function startSweep(work, { first, last, limit }, onFate) {
  const messages = [];
  for (let position = first; position <= last; ++position)
    messages.push({ position, limit });
  return startWorkers(work, messages, 'fate', onFate, 'rodadero-sweep');
}

// The panel's elements and what it knows: the fates as the workers found
// them, the sweep's time or failure, the position the chart last marked,
// the last race, and what is to be drawn again and when each was drawn
// last (`figures`).
function panelState(e, contract, language) {
  const record = contract.places.record.address;
  const readAlphaPos = contract.value('CurveStateRecord', 'AlphaPos');
  const p = {
    e, contract, language,
    moduleLanguage: () => contract.languages[language.current()],
    shown: createShownPictures(),
    convergenceHost: document.getElementById('convergence-chart'),
    fatesHost: document.getElementById('fates-chart'),
    fatesStatus: document.getElementById('fates-status'),
    raceHost: document.getElementById('race-picture'),
    fatesCsv: document.getElementById('fates-csv'),
    fatesSvg: document.getElementById('fates-svg'),
    raceSvg: document.getElementById('race-svg'),
    alphaPos: () => readAlphaPos(record),
    fates: new Map(), // position -> fate, as the workers found them
    sweptMs: null,
    sweepFailure: null,
    markedDrawn: 0,
    raced: null, // the position and the steps of the last race
  };
  p.convergence = { draw: () => drawConvergence(p), dirty: true, drawnAt: -Infinity };
  p.fatesFigure = { draw: () => drawFates(p), dirty: true, drawnAt: -Infinity };
  p.figures = [p.convergence, p.fatesFigure];
  return p;
}

function drawConvergence(p) {
  const { e, contract } = p;
  const svg = contract.text(e.rodadero_convergence_picture(p.moduleLanguage()));
  const { exactS, step, printedUs } = contract.fields('PageSample', e.rodadero_convergence_last());
  p.shown.show(p.convergenceHost, svg, () => step === 0 ? p.language.text().noSteps
    : p.language.text().convergence(step, printedUs, exactS.toFixed(6)));
}

function sweepStatus(p) {
  const text = p.language.text();
  return p.sweepFailure !== null ? text.sweepFailed(p.sweepFailure)
    : p.sweptMs === null ? text.sweeping(p.fates.size) : text.swept(p.sweptMs);
}

function drawFates(p) {
  const { e, contract, fates } = p;
  p.fatesStatus.textContent = sweepStatus(p);
  if (fates.size === 0)
    return;
  const limit = e.rodadero_stability_position(); // found once, by the module
  const position = p.alphaPos();
  const all = [...fates.values()];
  const text = p.language.text();
  const label = text.fates(fates.size, all.filter((f) => f.period === 1).length,
                           all.filter((f) => f.period >= 2).length, limit.toFixed(2)) +
                text.marked(position, fates.get(position));
  p.shown.show(p.fatesHost, contract.text(e.rodadero_fates_chart(position, p.moduleLanguage())),
               () => label);
  p.markedDrawn = position;
  p.fatesSvg.disabled = false;
}

// The figures that are to be drawn again and have not been for
// PANEL_REDRAW_MS, or all of them at once (`force`).
function refresh(p, force = false) {
  if (p.alphaPos() !== p.markedDrawn)
    p.fatesFigure.dirty = true;
  const now = Date.now();
  for (const f of p.figures) {
    if (f.dirty && (force || now - f.drawnAt >= PANEL_REDRAW_MS)) {
      f.dirty = false;
      f.drawnAt = now;
      f.draw();
    }
  }
}

// The race of the polyline now (`anew`), or the last one again.
function drawRace(p, anew) {
  const { e, contract } = p;
  if (anew)
    p.raced = [e.rodadero_run_position(), e.rodadero_run_steps()];
  // Its text alternative: each track's name and time, from the picture.
  const svg = contract.text(e.rodadero_race_picture(p.moduleLanguage(), anew ? 1 : 0));
  p.shown.show(p.raceHost, svg, (root) =>
    p.language.text().race(contract.raceTracks.map((track) =>
      `${root.getElementById(`name-${track}`).textContent.trim()}, ` +
      `${root.getElementById(`arrival-${track}`).textContent.trim()}`)));
  p.raceHost.hidden = false;
  p.raceSvg.hidden = false;
}

// The files, named by what they hold.
function listenToDownloads(p) {
  const { e, contract } = p;
  const text = () => p.language.text();
  const runName = () => text().run(e.rodadero_run_position(), e.rodadero_run_steps());
  const saveShown = (host, parts) => saveText([...parts, p.language.current()], 'svg',
                                              p.shown.of(host));
  document.getElementById('convergence-csv').addEventListener('click', () =>
    saveText([text().convergenceFile, runName()], 'csv',
             contract.text(e.rodadero_convergence_csv())));
  document.getElementById('convergence-svg').addEventListener('click', () => {
    p.convergence.dirty = true;
    refresh(p, true);
    saveShown(p.convergenceHost, [text().convergenceFile, runName()]);
  });
  p.fatesCsv.addEventListener('click', () =>
    saveText([text().fatesFile, text().allPositions], 'csv',
             contract.text(e.rodadero_sweep_csv())));
  p.fatesSvg.addEventListener('click', () => {
    refresh(p, true);
    saveShown(p.fatesHost, [text().fatesFile, text().position(p.markedDrawn)]);
  });
  p.raceSvg.addEventListener('click', () => saveShown(p.raceHost, [text().raceFile,
    text().run(...p.raced)]));
}

// The sweep in the workers, each fate kept by the module and drawn as it
// comes. A failed sweep: said in the status line at once; the chart keeps
// what arrived. Whoever waits for the sweep hears of it too.
function sweepFates(p, work) {
  const { e, contract } = p;
  const sweep = { first: contract.scroll.min, last: contract.scroll.max,
                  limit: contract.fateStepLimit };
  const swept = startSweep(work, sweep, (fate) => {
    if (e.rodadero_fate_keep(fate.position, fate.cycleFrom, fate.period, fate.lowUs, fate.highUs) < 0)
      throw new Error(`a fate for position ${fate.position} out of range`);
    p.fates.set(fate.position, fate);
    p.fatesFigure.dirty = true;
    refresh(p);
  }).then((result) => {
    p.sweptMs = result.ms;
    p.fatesCsv.disabled = false;
    p.fatesFigure.dirty = true;
    refresh(p, true);
    return result;
  });
  swept.catch((error) => {
    p.sweepFailure = error.message;
    p.fatesStatus.textContent = sweepStatus(p);
    console.error(error);
  });
  return swept;
}

// The panel, for the module `e` and its contract, its workers' `work`
// ({script, bytes}), in the page's `language` (createPageLanguage);
// onChoice is called when a cell of the other methods runs.
export function createPanel(e, contract, work, { language, onChoice }) {
  const { min: first, max: last } = contract.scroll;
  language.knowPositions(last - first + 1);
  const p = panelState(e, contract, language);
  document.getElementById('race-start').addEventListener('click', () => drawRace(p, true));
  listenToDownloads(p);

  // Another language: every picture and text again, at once.
  language.listen(() => {
    for (const f of p.figures)
      f.dirty = true;
    refresh(p, true);
    if (!p.raceHost.hidden)
      drawRace(p, false);
  });
  createLanguageSwitch(language);

  const swept = sweepFates(p, work);
  // The other methods, once the program's own fates are in.
  const methods = createMethodsCard(e, contract, {
    work, language, shown: p.shown, moduleLanguage: p.moduleLanguage,
    runSteps: () => e.rodadero_run_steps(), onChoice,
  });
  swept.then(() => methods.start(), () => {});

  refresh(p, true);
  return {
    swept,
    methods,
    // After every paint: the descent may have moved, and so may the bar.
    painted() {
      p.convergence.dirty = true;
      refresh(p);
      methods.painted();
    },
    // The run is over: the last state, drawn at once.
    ended() {
      p.convergence.dirty = true;
      refresh(p, true);
    },
  };
}
