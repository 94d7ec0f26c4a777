// The page's own part: it lays the elements out, starts the module, and
// turns the page's events into the program's. As in the program, two
// timers of the program's period drive it (the main window's, made with
// the window, and the dialog's, made with the dialog), a handler that
// invalidates the main window is followed at once by one paint, before the
// next tick can come, and nothing else takes a step. Escape typed into
// the picture ends the run: both timers stop and the last picture stays.
// The panel beside the window (panel.js) is told of every paint and of the
// end of the run.
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
// the reason the sweep failed; window.rodadero.mapped(name) likewise when
// the map of the other method `name` is done (once it is started).
'use strict';

// The text alternative of the picture changes at most this often.
const TIME_TEXT_PERIOD_MS = 1000;

function place(element, [left, top, width, height], [originX, originY] = [0, 0]) {
  Object.assign(element.style, {
    left: `${left - originX}px`, top: `${top - originY}px`,
    width: `${width}px`, height: `${height}px`,
  });
}

// Every element at its place under Wine, relative to its parent.
function layOut() {
  const L = WINE_LAYOUT;
  const win = L.dialog.window;
  const client = L.dialog.client;
  const root = document.documentElement.style;
  for (const [name, value] of Object.entries(L.colours))
    root.setProperty(`--${name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`)}`, value);

  const dialog = document.getElementById('dialog');
  place(dialog, win);
  const border = client[0] - win[0];
  place(dialog.querySelector('.caption-bar'),
        [client[0], win[1] + border, client[2], client[1] - win[1] - border], win);
  place(document.getElementById('dialog-close'), L.dialog.closeBox,
        [client[0], win[1] + border]);
  place(dialog.querySelector('.client'), client, win);
  for (const [id, rect] of Object.entries(L.controls))
    place(document.getElementById(id), rect, client);
  const bar = document.getElementById('alpha');
  for (const part of bar.querySelectorAll('.arrow'))
    part.style.width = `${L.scrollBar.arrow}px`;
  bar.querySelector('.thumb').style.width = `${L.scrollBar.thumb}px`;
  fitWindow();
}

async function startRodadero(hooks) {
  const canvas = document.getElementById('plot');
  const dialog = document.getElementById('dialog');
  const timeText = document.getElementById('plot-time');
  // The module is unpacked and compiled while the page is laid out.
  const unpacked = unpackModule(RODADERO_WASM);
  const instantiated = unpacked.then(instantiateModule);
  const links = openLinks(); // the address's language at once, the rest below
  layOut();

  const [bytes, e] = await Promise.all([unpacked, instantiated]);
  const contract = openContract(e);
  const record = contract.places.record.address;
  const array = (field) => contract.view('CurveStateRecord', field);
  const value = (field) => contract.value('CurveStateRecord', field);
  const [nodeX, shownX, fallTime, alpha, alphaPos, runContinuous] = [
    array('NodeX'), array('ShownX'), value('FallTime'), value('Alpha'), value('AlphaPos'),
    value('RunContinuous')];
  hooks.state = () => ({
    nodeX: Array.from(nodeX(record)),
    shownX: Array.from(shownX(record)),
    fallTime: fallTime(record),
    alpha: alpha(record),
    alphaPos: alphaPos(record),
    runContinuous: runContinuous(record),
  });

  const timers = [];
  let ended = false;
  let picture = null;
  let latestTime = '';
  let timeShownAt = -Infinity;
  let panel = null;

  function showTime(force) {
    const now = Date.now();
    if (timeText.textContent !== latestTime && (force || now - timeShownAt >= TIME_TEXT_PERIOD_MS)) {
      timeText.textContent = latestTime;
      timeShownAt = now;
    }
  }

  function paint() {
    latestTime = spokenTime(picture.draw(e.rodadero_paint()));
    showTime(false);
    if (panel)
      panel.painted();
    links.painted();
  }

  // After a handler: the paint its invalidation asks for, at once.
  function serve(invalidated) {
    if (invalidated && !ended)
      paint();
  }

  // The main window is created: its timer, the model, the first paint.
  e.rodadero_start();
  timers.push(setInterval(() => serve(e.rodadero_main_tick()), contract.timerPeriodMs));
  picture = createPicture(canvas, e, contract, windowScale());
  paint();
  performance.mark('rodadero-first-paint');

  // Then the dialog, with its own timer; the run-mode button has the focus.
  const { min, max, start, ignored, codes } = contract.scroll;
  const scrollBar = createScrollBar(document.getElementById('alpha'), {
    min, max, position: start, ignored, codes,
    request(code, thumb) {
      const p = e.rodadero_scroll(code, thumb);
      serve(p !== ignored);
      return p;
    },
  });
  document.getElementById('run-mode').addEventListener('click', () => serve(e.rodadero_run_mode()));
  document.getElementById('reset').addEventListener('click', () => serve(e.rodadero_reset()));
  dialog.querySelector('.client').addEventListener('pointermove', (event) => {
    // The buttons and the scroll bar keep their mouse moves to themselves.
    if (!event.target.closest('button, [role="slider"]'))
      serve(e.rodadero_dialog_mouse_move());
  });
  // Closing hides the dialog; its timer goes on.
  document.getElementById('dialog-close').addEventListener('click', () => {
    if (dialog.contains(document.activeElement))
      canvas.focus({ preventScroll: true });
    dialog.hidden = true;
  });
  dialog.hidden = false;
  timers.push(setInterval(() => serve(e.rodadero_dialog_tick()), contract.timerPeriodMs));
  document.getElementById('run-mode').focus({ preventScroll: true });

  canvas.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape' || ended)
      return;
    ended = true;
    for (const timer of timers)
      clearInterval(timer);
    showTime(true);
    if (panel)
      panel.ended();
    document.getElementById('window').inert = true;
    document.getElementById('ended-text').textContent = pageText().ended;
    document.getElementById('ended').hidden = false;
    document.getElementById('new-run').focus();
  });
  document.getElementById('new-run').addEventListener('click', () => location.reload());

  // The panel beside the window; without it the window runs on.
  try {
    panel = createPanel(e, contract, bytes, { onChoice: () => links.painted() });
    hooks.swept = panel.swept;
    hooks.methods = panel.methods;
  } catch (error) {
    document.getElementById('panel-failed').textContent = pageText().panelFailed + error;
    console.error(error);
  }

  // What the address asks for, through the dialog's requests and the
  // methods card's, still before the first tick.
  const methods = hooks.methods;
  links.apply(contract.scroll, {
    scrollTo(p) {
      scrollBar.send(codes.THUMB_POSITION, p);
      scrollBar.send(codes.END);
    },
    toggleMode: () => document.getElementById('run-mode').click(),
    cells: contract.map,
    choose: methods && methods.choose,
    now: () => ({ position: alphaPos(record), continuous: runContinuous(record),
                  cell: methods && methods.chosen() }),
  });

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

window.rodadero = (() => {
  const hooks = { state: null, swept: null, methods: null };
  const ready = startRodadero(hooks).catch((error) => {
    document.getElementById('ended-text').textContent = pageText().failed + error;
    document.getElementById('ended').hidden = false;
    console.error(error);
    throw error;
  });
  return Object.freeze({
    ready,
    get swept() {
      return ready.then(() => hooks.swept);
    },
    mapped(name) {
      return ready.then(() => hooks.methods.mapped(name));
    },
    // The model's record as it is now: null before the module has started.
    state() {
      return hooks.state ? hooks.state() : null;
    },
  });
})();
