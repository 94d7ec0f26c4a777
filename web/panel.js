// The panel beside the window: the convergence curve of the running
// descent, the fates chart with the scroll bar's position marked, and the
// race of the current polyline on a button press. Every picture is the
// module's own SVG text (the pictures room, in Spanish), shown in a shadow
// root of its own so that the ids of one picture cannot meet another's.
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

// The panel's texts, for the scroll bar's number of positions.
const panelText = (positions) => Object.freeze({
  noSteps: 'Convergencia: todavia sin pasos desde la cuerda.',
  convergence: (step, printed, exact) =>
    `Convergencia de la bajada: tras ${step} ${step === 1 ? 'paso' : 'pasos'} la ventana imprime ` +
    `${printed} millonesimos de segundo; el tiempo exacto de la aproximante es ${exact} s.`,
  sweeping: (n) => n === 0 ? 'Calculando en segundo plano el destino de cada posicion...'
                           : `Calculando en segundo plano: ${n} de ${positions} posiciones.`,
  swept: (ms) => `Las ${positions} posiciones, calculadas en ${(ms / 1000).toFixed(1)} s ` +
                 'sin parar la ventana.',
  sweepFailed: (reason) => `No se pudo calcular el destino de cada posicion: ${reason}`,
  fates: (n, settle, swing, limit) =>
    `Destino de cada posicion: ${n} de ${positions} calculadas; ${settle} se detienen y ` +
    `${swing} oscilan. Limite de la teoria lineal en la posicion ${limit}.`,
  marked: (p, fate) => !fate ? ` Posicion actual ${p}, aun sin calcular.`
    : fate.period === 0 ? ` Posicion actual ${p}: no se repite dentro del limite de pasos.`
    : fate.period === 1 ? ` Posicion actual ${p}: se detiene en ${fate.lowUs}.`
    : ` Posicion actual ${p}: oscila entre ${fate.lowUs} y ${fate.highUs}.`,
  race: (lines) => `Carrera: ${lines.join('; ')}.`,
});

// Shows SVG text in a host element's shadow root, scaled to its width,
// with the host's text alternative, made from the shown picture, as the
// picture's title (its tooltip) too.
function showPicture(host, svgText, labelOf) {
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

// The sweep: the scroll positions, first to last, handed out one at a
// time to up to two workers, the slowest positions (the smallest step
// factors) first. A worker that fails, whatever the way, ends the sweep:
// every worker is stopped and the promise is rejected with the reason.
function startSweep(bytes, { first, last, limit }, onFate) {
  const url = URL.createObjectURL(new Blob([RODADERO_SWEEP_WORKER], { type: 'text/javascript' }));
  const started = performance.now();
  performance.mark('rodadero-sweep-start');
  const count = Math.max(1, Math.min(SWEEP_WORKERS_MAX, navigator.hardwareConcurrency || 1));
  let next = first;
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
    const handOut = (worker) => {
      if (next <= last)
        worker.postMessage({ position: next++, limit });
      else
        worker.terminate();
    };
    const heard = (worker, data) => {
      if (data.error !== undefined)
        return fail(data.error);
      if (data.fate) {
        onFate(data.fate);
        if (++arrived === last - first + 1) {
          settle();
          performance.measure('rodadero-sweep', 'rodadero-sweep-start');
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
        worker.postMessage({ bytes });
      }
    } catch (error) {
      fail(error);
    }
  });
}

function createPanel(e, contract, bytes) {
  const { min: first, max: last } = contract.scroll;
  const PANEL_TEXT = panelText(last - first + 1);
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
    const svg = contract.text(e.rodadero_convergence_picture());
    const { exactS, step, printedUs } = contract.fields('PageSample', e.rodadero_convergence_last());
    showPicture(convergenceHost, svg, () => step === 0 ? PANEL_TEXT.noSteps
      : PANEL_TEXT.convergence(step, printedUs, exactS.toFixed(6)));
  }

  function status() {
    return sweepFailure !== null ? PANEL_TEXT.sweepFailed(sweepFailure)
      : sweptMs === null ? PANEL_TEXT.sweeping(fates.size) : PANEL_TEXT.swept(sweptMs);
  }

  let markedDrawn = 0;
  function drawFates() {
    fatesStatus.textContent = status();
    if (fates.size === 0)
      return;
    const limit = e.rodadero_stability_position(); // found once, by the module
    const p = alphaPos();
    const all = [...fates.values()];
    const label = PANEL_TEXT.fates(fates.size, all.filter((f) => f.period === 1).length,
                                   all.filter((f) => f.period >= 2).length, limit.toFixed(2)) +
                  PANEL_TEXT.marked(p, fates.get(p));
    showPicture(fatesHost, contract.text(e.rodadero_fates_chart(p)), () => label);
    markedDrawn = p;
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

  document.getElementById('race-start').addEventListener('click', () => {
    // Its text alternative: each track's name and time, from the picture.
    showPicture(raceHost, contract.text(e.rodadero_race_picture()), (root) =>
      PANEL_TEXT.race(contract.raceTracks.map((track) =>
        `${root.getElementById(`name-${track}`).textContent.trim()}, ` +
        `${root.getElementById(`arrival-${track}`).textContent.trim()}`)));
    raceHost.hidden = false;
  });

  const sweep = { first, last, limit: contract.fateStepLimit };
  const swept = startSweep(bytes, sweep, (fate) => {
    if (e.rodadero_fate_keep(fate.position, fate.cycleFrom, fate.period, fate.lowUs, fate.highUs) < 0)
      throw new Error(`a fate for position ${fate.position} out of range`);
    fates.set(fate.position, fate);
    fatesFigure.dirty = true;
    refresh();
  }).then((result) => {
    sweptMs = result.ms;
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

  refresh(true);
  return {
    swept,
    // After every paint: the descent may have moved, and so may the bar.
    painted() {
      convergence.dirty = true;
      refresh();
    },
    // The run is over: the last state, drawn at once.
    ended() {
      convergence.dirty = true;
      refresh(true);
    },
  };
}
