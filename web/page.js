// The page's own part: it lays the elements out, starts the module, and
// turns the page's events into the program's. As in the program, two
// timers of the program's period drive it (the main window's, made with
// the window, and the dialog's, made with the dialog), a handler that
// invalidates the main window is followed at once by one paint, before the
// next tick can come, and nothing else takes a step. Escape typed into
// the picture ends the run: both timers stop and the last picture stays.
// The picture's text alternative says what it shows (picture_reading.js):
// where the polyline lies beside the cycloid, what the descent is doing and
// the printed time, in a polite live region, at most every
// DESCRIBE_PERIOD_MS, and at once on Enter typed into the picture.
// The panel beside the window (panel.js) is told of every paint and of the
// end of the run. The page's state lives in objects made as it starts
// (its language, the run, the panel) and handed to whoever needs them: no
// module keeps any.
//
// The module hands the page its layout and the program's numbers in its
// contract (openContract, module.js): nothing here counts an offset.
//
// For tests and for pages that embed this one: window.rodadero.state()
// reads the model's record from the module's memory; window.rodadero.ready
// settles after the first paint, which is also marked as
// 'rodadero-first-paint' in the page's performance timeline;
// window.rodadero.swept settles when the panel's sweep is done, with its
// time in milliseconds and the number of its workers, or is rejected with
// the reason the sweep failed (the sweep starts once its card has been in
// the window, or the other methods' card, or once this is asked for);
// window.rodadero.mapped(name) likewise when the map of the other method
// `name` is done (it starts once the sweep is
// done and the methods card has been in the window);
// window.rodadero.refined() when the laboratory's refinement table asked
// for last is whole (null before one is asked for).
import { openLinks } from './fragment.js';
import { createPageLanguage } from './language.js';
import { fitWindow, layOut, windowScale } from './layout.js';
import { instantiateModule, openContract } from './module.js';
import { createPanel } from './panel.js';
import { createPicture } from './picture.js';
import { pictureWords, readPicture } from './picture_reading.js';
import { createScrollBar } from './scroll_bar.js';
import sweepWorkerScript from 'rodadero:sweep-worker';

// The text alternative of the picture is read and said again at most this
// often: a polite live region that changed with every tick would never be
// heard to the end. The key that says it at once, typed into the picture.
const DESCRIBE_PERIOD_MS = 3000;
const DESCRIBE_KEY = 'Enter';

// Readers of the model's record in the module's memory: state() gives it
// as window.rodadero.state() does.
function recordReaders(contract) {
  const record = contract.places.record.address;
  const array = (field) => contract.view('CurveStateRecord', field);
  const value = (field) => contract.value('CurveStateRecord', field);
  const [nodeX, shownX, fallTime, alpha, alphaPos, runContinuous] = [
    array('NodeX'), array('ShownX'), value('FallTime'), value('Alpha'), value('AlphaPos'),
    value('RunContinuous')];
  return {
    state: () => ({
      nodeX: Array.from(nodeX(record)),
      shownX: Array.from(shownX(record)),
      fallTime: fallTime(record),
      alpha: alpha(record),
      alphaPos: alphaPos(record),
      runContinuous: runContinuous(record),
    }),
    alphaPos: () => alphaPos(record),
    runContinuous: () => runContinuous(record),
  };
}

// The run: the module `e` and its contract, the page's language, the
// address (openLinks), the two timers, the picture and the panel, and the
// picture's text alternative (the address of the last picture painted,
// the text it last said and when).
function createRun(e, contract, language, links) {
  return {
    e, contract, language, links,
    canvas: document.getElementById('plot'),
    dialog: document.getElementById('dialog'),
    timeText: document.getElementById('plot-time'),
    timers: [],
    ended: false,
    picture: null,
    panel: null,
    painted: null,
    said: null,
    saidAt: -Infinity,
    linked: null, // the card the address carries: 'methods' or 'lab'
    tickers: [], // told of every tick of the main window's timer, after it
  };
}

// The picture's text alternative: the picture read now, in the page's
// words, and the printed time as the first caption says it in the
// program's. Read at most every DESCRIBE_PERIOD_MS, and said when it has
// changed; at once and said again whatever it is (`force`).
function describe(run, force) {
  const now = Date.now();
  if (!force && now - run.saidAt < DESCRIBE_PERIOD_MS)
    return;
  run.saidAt = now;
  const { e, contract, language } = run;
  const reading = readPicture(e, contract, run.painted);
  const us = contract.value('PaintedPicture', 'microseconds')(run.painted);
  const text = `${pictureWords(language.words(), reading)} ${us}`;
  if (!force && text === run.said)
    return;
  run.said = text;
  language.sayAgain('plot-reading', (words) => pictureWords(words, reading));
  language.sayAgain('plot-time', (words) => words.say('program.time', { us }));
}

function paint(run) {
  run.painted = run.e.rodadero_paint();
  run.picture.draw(run.painted);
  describe(run, false);
  if (run.panel)
    run.panel.painted();
  run.links.painted();
}

// After a handler: the paint its invalidation asks for, at once.
function serve(run, invalidated) {
  if (invalidated && !run.ended)
    paint(run);
}

// The main window is created: its timer, the model, the first paint. The
// laboratory's card takes a step of its own with each of the timer's
// ticks, after the window's.
function openMainWindow(run) {
  const { e, contract } = run;
  e.rodadero_start();
  run.timers.push(setInterval(() => {
    serve(run, e.rodadero_main_tick());
    for (const ticked of run.tickers)
      ticked();
  }, contract.timerPeriodMs));
  run.picture = createPicture(run.canvas, e, contract, windowScale());
  paint(run);
  performance.mark('rodadero-first-paint');
}

// Then the dialog, with its own timer; the run-mode button has the focus.
// Gives its scroll bar.
function openDialog(run) {
  const { e, contract, dialog } = run;
  const { min, max, start, ignored, codes } = contract.scroll;
  const scrollBar = createScrollBar(document.getElementById('alpha'), {
    min, max, position: start, ignored, codes,
    request(code, thumb) {
      const p = e.rodadero_scroll(code, thumb);
      serve(run, p !== ignored);
      return p;
    },
  });
  document.getElementById('run-mode').addEventListener('click', () => serve(run, e.rodadero_run_mode()));
  document.getElementById('reset').addEventListener('click', () => serve(run, e.rodadero_reset()));
  dialog.querySelector('.client').addEventListener('pointermove', (event) => {
    // The buttons and the scroll bar keep their mouse moves to themselves.
    if (!event.target.closest('button, [role="slider"]'))
      serve(run, e.rodadero_dialog_mouse_move());
  });
  // Closing hides the dialog; its timer goes on.
  document.getElementById('dialog-close').addEventListener('click', () => {
    if (dialog.contains(document.activeElement))
      run.canvas.focus({ preventScroll: true });
    dialog.hidden = true;
  });
  dialog.hidden = false;
  run.timers.push(setInterval(() => serve(run, e.rodadero_dialog_tick()), contract.timerPeriodMs));
  document.getElementById('run-mode').focus({ preventScroll: true });
  return scrollBar;
}

// Escape typed into the picture: both timers stop, the last picture stays,
// and a notice offers a new run. DESCRIBE_KEY: the picture said at once.
function listenToKeys(run) {
  run.canvas.addEventListener('keydown', (event) => {
    if (event.key === DESCRIBE_KEY && !run.ended) {
      event.preventDefault();
      describe(run, true);
    }
    if (event.key !== 'Escape' || run.ended)
      return;
    run.ended = true;
    for (const timer of run.timers)
      clearInterval(timer);
    describe(run, true);
    if (run.panel)
      run.panel.ended();
    document.getElementById('window').inert = true;
    run.language.sayAgain('ended-text', (words) => words.say('page.ended'));
    document.getElementById('ended').hidden = false;
    document.getElementById('new-run').focus();
  });
  document.getElementById('new-run').addEventListener('click', () => location.reload());
}

// The panel beside the window, its workers running `work`; without it the
// window runs on.
function startPanel(run, work, hooks) {
  try {
    const linking = (card) => () => {
      run.linked = card;
      run.links.painted();
    };
    run.panel = createPanel(run.e, run.contract, work, {
      language: run.language, onChoice: linking('methods'), onLab: linking('lab'),
    });
    hooks.swept = run.panel.sweep;
    hooks.methods = run.panel.methods;
    hooks.lab = run.panel.lab;
    run.tickers.push(run.panel.lab.tick);
  } catch (error) {
    run.language.sayAgain('panel-failed', (words) => words.say('page.panelFailed', { reason: error }));
    console.error(error);
  }
}

// What the address asks for, through the dialog's requests and the
// methods card's and the laboratory's (`methods` and `lab`, null without
// a panel), still before the first tick. The address then carries the
// cell or the laboratory, whichever changed last.
function applyAddress(run, scrollBar, record, { methods, lab }) {
  const { codes } = run.contract.scroll;
  run.links.apply(run.contract.scroll, {
    scrollTo(p) {
      scrollBar.send(codes.THUMB_POSITION, p);
      scrollBar.send(codes.END);
    },
    toggleMode: () => document.getElementById('run-mode').click(),
    cells: run.contract.map,
    lab: run.contract.lab,
    choose: methods && methods.choose,
    setLab: lab && lab.change,
    now: () => ({ position: record.alphaPos(), continuous: record.runContinuous(),
                  cell: run.linked !== 'lab' && methods ? methods.chosen() : null,
                  lab: run.linked === 'lab' && lab ? lab.linked() : null }),
  });
}

function followScreen(picture) {
  // A screen of another density: the same picture with as many pixels.
  const watchDensity = () => {
    matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
      picture.refit(picture.scale);
      watchDensity();
    }, { once: true });
  };
  watchDensity();
  // A screen of another size (a phone turned, a window resized): the
  // window shown as large as it then fits.
  window.addEventListener('resize', () => {
    const scale = windowScale();
    if (scale !== picture.scale)
      picture.refit(fitWindow(scale));
  });
}

// `module` is the loader's promise of the module's bytes and their
// compiled module (loader.js), unpacked and compiled as this script was.
async function startRodadero(hooks, language, module) {
  // The module is instantiated, and the other languages' catalogs are
  // unpacked, while the page is laid out; the window starts in the
  // address's language.
  const instantiated = module.then(({ compiled }) => instantiateModule(compiled));
  const catalogs = language.unpacked();
  const links = openLinks(language); // the address's language, the rest below
  layOut();

  const [{ bytes }, e] = await Promise.all([module, instantiated, catalogs]);
  const contract = openContract(e);
  const record = recordReaders(contract);
  hooks.state = record.state;
  const run = createRun(e, contract, language, links);
  openMainWindow(run);
  const scrollBar = openDialog(run);
  listenToKeys(run);
  startPanel(run, { script: sweepWorkerScript, bytes }, hooks);
  applyAddress(run, scrollBar, record, hooks);
  followScreen(run.picture);
}

// The loader's element (loader.js): the module and the catalogs it
// unpacks, and `offer`, which takes what the page offers to tests and to
// pages that embed it, given as window.rodadero.
(({ module, catalogs, offer }) => {
  const hooks = { state: null, swept: null, methods: null, lab: null };
  const language = createPageLanguage(catalogs);
  const ready = startRodadero(hooks, language, module).catch((error) => {
    language.sayAgain('ended-text', (words) => words.say('page.failed', { reason: error }));
    document.getElementById('ended').hidden = false;
    console.error(error);
    throw error;
  });
  offer(Object.freeze({
    ready,
    get swept() {
      return ready.then(() => (hooks.swept ? hooks.swept() : null));
    },
    mapped(name) {
      return ready.then(() => hooks.methods.mapped(name));
    },
    refined() {
      return ready.then(() => hooks.lab.refined());
    },
    // The model's record as it is now: null before the module has started.
    state() {
      return hooks.state ? hooks.state() : null;
    },
  }));
})(document.currentScript);
