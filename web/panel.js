// The panel beside the window: the convergence curve of the running
// descent, the fates chart with the scroll bar's position marked, and the
// race of the current polyline on a button press. Every picture is the
// module's own SVG text (the pictures room, in the page's language), shown
// in a shadow root of its own (shown_pictures.js). A change of language
// draws them again at once. Each can be taken away as an SVG file, and the
// numbers of the curve and of the sweep as CSV files, the module's text
// with rodadero-trace's rows.
//
// The curve and the chart are drawn again at most every PANEL_REDRAW_MS,
// at the page's paints (which every step comes with) and as the sweep's
// results arrive: never at every step; and only while some of the picture
// is in the window (a picture that comes into view is drawn at once; the
// end of a run and a change of language draw them all, seen or not). The
// sweep starts once it is wanted (createPanel) and runs in workers, each
// with its own instance of the module, so that the window keeps ticking;
// until it is done the chart shows the positions that have arrived. A
// sweep that fails says so in its status line; the window runs on.
import { saveText } from './downloads.js';
import { createLanguageSwitch } from './language.js';
import { createLabCard } from './lab_card.js';
import { createMethodsCard } from './methods_card.js';
import { watchView } from './in_view.js';
import { arrivalsInOrder, createShownPictures } from './shown_pictures.js';
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

// The panel's elements and what it knows: the sweep's time or failure
// (the fates the workers found are the module's), the position the chart last marked,
// the last race, and what is to be drawn again and when each was drawn
// last (`figures`).
function panelState(e, contract, language) {
  const record = contract.places.record.address;
  const readAlphaPos = contract.value('CurveStateRecord', 'AlphaPos');
  const p = {
    e, contract, language,
    positions: contract.scroll.max - contract.scroll.min + 1,
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
    sweptMs: null,
    sweepFailure: null,
    markedDrawn: 0,
    raced: null, // the position and the steps of the last race
  };
  p.convergence = { draw: () => drawConvergence(p), host: p.convergenceHost };
  p.fatesFigure = { draw: () => drawFates(p), host: p.fatesHost };
  p.figures = [p.convergence, p.fatesFigure];
  for (const f of p.figures) {
    Object.assign(f, { dirty: true, drawnAt: -Infinity });
    f.inView = watchView(f.host, (now) => {
      if (now && f.dirty) {
        f.drawnAt = -Infinity;
        refresh(p);
      }
    });
  }
  return p;
}

function drawConvergence(p) {
  const { e, contract } = p;
  const language = p.moduleLanguage();
  const svg = contract.text(e.rodadero_convergence_picture(language, 0));
  const { exactS, step, printedUs } = contract.fields('PageSample', e.rodadero_convergence_last());
  const words = p.language.words();
  p.shown.show(p.convergenceHost, svg, () => (step === 0 ? words.say('panel.noSteps')
    : words.say('panel.convergence', { step, printed: printedUs, exact: words.number(exactS, 6) },
                step)), (width) => contract.text(e.rodadero_convergence_picture(language, width)));
}

// How many positions' fates the module knows, and of what kind ({known,
// settles, swings, noCycle}).
const fateCounts = (p) => p.contract.fields('PageCounts', p.e.rodadero_fate_counts());

// A position's fate as the module keeps it, or undefined while it is not
// known.
function keptFate(p, position) {
  const address = p.e.rodadero_fate_kept(position);
  return address ? p.contract.fields('Fate', address) : undefined;
}

function sweepStatus(p) {
  const { say, number } = p.language.words();
  const { positions } = p;
  if (p.sweepFailure !== null)
    return say('panel.sweepFailed', { reason: p.sweepFailure });
  if (p.sweptMs !== null)
    return say('panel.swept', { positions, seconds: number(p.sweptMs / 1000, 1) });
  const { known } = fateCounts(p);
  return known === 0 ? say('panel.sweepStarting') : say('panel.sweeping', { known, positions });
}

// The scroll bar's position in words, with its fate where it is known.
function markedWords(say, position, fate) {
  if (!fate)
    return say('panel.markedUnknown', { position });
  const words = { position, low: fate.lowUs, high: fate.highUs };
  return fate.period === 0 ? say('panel.markedNoRepeat', words)
    : fate.period === 1 ? say('panel.markedSettles', words) : say('panel.markedSwings', words);
}

function drawFates(p) {
  const { e, contract } = p;
  p.fatesStatus.textContent = sweepStatus(p);
  const counts = fateCounts(p);
  if (counts.known === 0)
    return;
  const limit = e.rodadero_stability_position(); // found once, by the module
  const position = p.alphaPos();
  const { say, number } = p.language.words();
  const label = say('panel.fates', {
    known: counts.known, positions: p.positions, settle: counts.settles, swing: counts.swings,
    limit: number(limit, 2),
  }) + markedWords(say, position, keptFate(p, position));
  const language = p.moduleLanguage();
  p.shown.show(p.fatesHost, contract.text(e.rodadero_fates_chart(position, language, 0)),
               () => label, (width) => contract.text(e.rodadero_fates_chart(position, language, width)));
  p.markedDrawn = position;
  p.fatesSvg.disabled = false;
}

// The figures that are to be drawn again, are in view and have not been
// drawn for PANEL_REDRAW_MS, or all of them at once (`force`).
function refresh(p, force = false) {
  if (p.alphaPos() !== p.markedDrawn)
    p.fatesFigure.dirty = true;
  const now = Date.now();
  for (const f of p.figures) {
    if (f.dirty && (force || (f.inView() && now - f.drawnAt >= PANEL_REDRAW_MS))) {
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
  // Its text alternative: the tracks in the order they arrive, each with
  // its place, name and time, from the picture.
  const language = p.moduleLanguage();
  const svg = contract.text(e.rodadero_race_picture(language, anew ? 1 : 0, 0));
  const { say } = p.language.words();
  p.shown.show(p.raceHost, svg, (root) => say('panel.race', {
    arrivals: arrivalsInOrder(root, contract.raceTracks, say),
  }), (width) => contract.text(e.rodadero_race_picture(language, 0, width)));
  p.raceHost.hidden = false;
  p.raceSvg.hidden = false;
}

// The files, named by what they hold.
function listenToDownloads(p) {
  const { e, contract } = p;
  const say = (path, values) => p.language.words().say(path, values);
  const run = ([position, steps]) => (position ? say('files.runAtPosition', { position, steps })
    : say('files.runAtStart', { steps }));
  const runNow = () => run([e.rodadero_run_position(), e.rodadero_run_steps()]);
  const saveShown = (host, name) => saveText([name, p.language.current()], 'svg',
                                             p.shown.of(host));
  document.getElementById('convergence-csv').addEventListener('click', () =>
    saveText([say('files.convergence', { run: runNow() })], 'csv',
             contract.text(e.rodadero_convergence_csv())));
  document.getElementById('convergence-svg').addEventListener('click', () => {
    p.convergence.dirty = true;
    refresh(p, true);
    saveShown(p.convergenceHost, say('files.convergence', { run: runNow() }));
  });
  p.fatesCsv.addEventListener('click', () =>
    saveText([say('files.fates', { positions: p.positions })], 'csv',
             contract.text(e.rodadero_sweep_csv())));
  p.fatesSvg.addEventListener('click', () => {
    refresh(p, true);
    saveShown(p.fatesHost, say('files.fatesChart', { position: p.markedDrawn }));
  });
  p.raceSvg.addEventListener('click', () => saveShown(p.raceHost,
    say('files.race', { run: run(p.raced) })));
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
// onChoice is called when a cell of the other methods runs, onLab when the
// laboratory's state changes.
export function createPanel(e, contract, work, { language, onChoice, onLab }) {
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

  // The sweep starts once it is wanted: its card has come into the window,
  // the other methods' card has (their map comes after it) or a method is
  // chosen, or someone asks for its end (sweep()). A reader who never
  // scrolls to it, on a phone, does not pay for it.
  let wantSweep;
  const swept = new Promise((resolve) => { wantSweep = resolve; }).then(() => sweepFates(p, work));
  if (watchView(p.fatesHost.closest('.card'), (now) => now && wantSweep())())
    wantSweep();
  // The other methods, once the program's own fates are in.
  const methods = createMethodsCard(e, contract, {
    work, language, shown: p.shown, moduleLanguage: p.moduleLanguage,
    runSteps: () => e.rodadero_run_steps(), onChoice, wantSweep,
  });
  swept.then(() => methods.start(), () => {});
  // The laboratory, which runs on its own problem from the start.
  const lab = createLabCard(e, contract, {
    work, language, shown: p.shown, moduleLanguage: p.moduleLanguage, onChange: onLab,
  });

  refresh(p, true);
  return {
    // The sweep's end, the sweep started if it had not.
    sweep() {
      wantSweep();
      return swept;
    },
    methods,
    lab,
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
