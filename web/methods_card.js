// The card of the other methods: the map of the exact fates of heavy ball
// or Nesterov over positions 5..200 and momenta 0..0.95, its cells found by
// the workers once the sweep of the program's own fates is done and the
// card has been in the window (a map nobody looks at costs a reader on a
// slow CPU some seconds of it), the window ticking on; and, for a cell clicked or chosen with the keys, that
// method and setting run live from the chord beside the program's own
// descent, a step of it with each of the window's. The pictures are the
// module's, in the page's language; their numbers download as CSV with
// rodadero-trace's rows.
import { saveText } from './downloads.js';
import { watchView } from './in_view.js';
import { startWorkers } from './workers.js';

const METHODS_REDRAW_MS = 200;

// A momentum of the map, its index k in the contract's list, as the
// map's rows write it (shortest) and as its cells' ids end.
const mapBeta = (map, k) => String(map.betas[k].value);
const cellId = (map, position, k) => `cell-${position}-${map.betas[k].id}`;

// The card's elements and what it knows: the workers' promise and the time
// of each map (the cells they found are the module's), the method shown,
// the cell the keys move (`chosen`) and the one run beside the program
// (`compared`), and what is to be drawn again.
function cardState(e, contract, options) {
  const map = contract.map;
  const columns = (map.last - map.first) / map.every + 1;
  return {
    e, contract, ...options, map,
    cellsInMap: columns * map.betas.length,
    mapHost: document.getElementById('map-chart'),
    compareHost: document.getElementById('compare-chart'),
    status: document.getElementById('methods-status'),
    cellText: document.getElementById('map-cell'),
    buttons: {
      'heavy-ball': document.getElementById('method-heavy-ball'),
      nesterov: document.getElementById('method-nesterov'),
    },
    progress: { 'heavy-ball': null, nesterov: null },
    awaited: {}, // the ends of maps asked for before they started
    took: {},
    failure: null,
    started: false,
    seen: false, // the card has been in the window, or a method chosen
    method: 'heavy-ball',
    chosen: { position: 100, k: 18 },
    compared: null, // {method, position, k}
    dirtyMap: true,
    dirtyCompare: false,
    drawnAt: -Infinity,
  };
}

const methodCode = (c, name) => c.contract.methods[name];

// How many cells of the shown method's map the module knows, and of what
// kind ({known, settles, swings, noCycle}).
const mapCounts = (c) => c.contract.fields('PageCounts', c.e.rodadero_map_counts(methodCode(c, c.method)));

// A cell's fate as the module keeps it, or undefined while it is not known.
function keptCell(c, position, k) {
  const address = c.e.rodadero_map_cell(methodCode(c, c.method), position, k);
  return address ? c.contract.fields('Fate', address) : undefined;
}

function statusText(c) {
  const { say, number } = c.language.words();
  if (c.failure !== null)
    return say('methods.failed', { reason: c.failure });
  if (!c.progress[c.method])
    return say('methods.waiting');
  return c.took[c.method] !== undefined
    ? say('methods.mapped', { seconds: number(c.took[c.method] / 1000, 1) })
    : say('methods.mapping', { known: mapCounts(c).known, cells: c.cellsInMap });
}

// A cell of the map in words: its setting and, where it is known, its fate.
function cellWords(c, position, k, cell) {
  const { say, number } = c.language.words();
  const words = { position, beta: number(c.map.betas[k].value, 2, true) };
  if (cell === undefined)
    return say('methods.cellUnknown', words);
  Object.assign(words, { low: cell.lowUs, high: cell.highUs, from: cell.cycleFrom,
                         period: cell.period });
  return cell.period === 0 ? say('methods.cellNoCycle', words)
    : cell.lowUs === cell.highUs ? say('methods.cellSettles', words)
      : say('methods.cellSwings', words);
}

// The chosen cell in words, and outlined in the map's own picture once
// there is one.
function markChosen(c) {
  const { chosen } = c;
  c.cellText.textContent = cellWords(c, chosen.position, chosen.k,
                                     keptCell(c, chosen.position, chosen.k));
  const root = c.mapHost.shadowRoot;
  if (!root)
    return;
  for (const old of root.querySelectorAll('.chosen'))
    old.classList.remove('chosen');
  const rect = root.getElementById(cellId(c.map, chosen.position, chosen.k));
  if (rect)
    rect.classList.add('chosen');
}

function drawMap(c) {
  c.status.textContent = statusText(c);
  const counts = mapCounts(c);
  if (counts.known === 0)
    return;
  const [code, language] = [methodCode(c, c.method), c.moduleLanguage()];
  const mapAt = (width) => c.contract.text(c.e.rodadero_map_chart(code, language, width))
    .replace('</style>', '  .chosen { stroke: #000000; stroke-width: 3 }\n</style>');
  const { say } = c.language.words();
  c.shown.show(c.mapHost, mapAt(0), () => say('methods.map', {
    method: say(`methods.names.${c.method}`), known: counts.known, settle: counts.settles,
    swing: counts.swings, open: counts.noCycle,
  }), mapAt);
  markChosen(c);
  document.getElementById('map-svg').disabled = false;
  document.getElementById('map-csv').disabled = c.took[c.method] === undefined;
}

function drawCompare(c) {
  if (!c.compared)
    return;
  const [language, steps] = [c.moduleLanguage(), c.runSteps()];
  const compareAt = (width) => c.contract.text(c.e.rodadero_compare_chart(language, steps, width));
  const { say } = c.language.words();
  c.shown.show(c.compareHost, compareAt(0), () => say('methods.compare', {
    method: say(`methods.names.${c.compared.method}`), steps: c.e.rodadero_compare_steps(),
  }), compareAt);
  c.compareHost.hidden = false;
}

// The map and the comparison drawn again where they have changed, at most
// every METHODS_REDRAW_MS, or at once (`force`).
function refresh(c, force = false) {
  const now = Date.now();
  if (!force && now - c.drawnAt < METHODS_REDRAW_MS)
    return;
  c.drawnAt = now;
  if (c.dirtyMap)
    drawMap(c);
  if (c.dirtyCompare)
    drawCompare(c);
  c.dirtyMap = c.dirtyCompare = false;
}

// Every cell of the map of the method `code`, in the order the workers
// are handed them.
function mapMessages(map, code) {
  const messages = [];
  for (let p = map.first; p <= map.last; p += map.every)
    for (let k = 0; k < map.betas.length; ++k)
      messages.push({ method: code, position: p, beta: k, limit: map.stepLimit });
  return messages;
}

// A cell of the method `name` found by a worker: kept by the module and
// drawn.
function keepCell(c, name, cell) {
  if (c.e.rodadero_cell_keep(methodCode(c, name), cell.position, cell.beta,
                             cell.cycleFrom, cell.period, cell.lowUs, cell.highUs) < 0)
    throw new Error(`a cell ${cell.position}, ${cell.beta} out of the map`);
  c.dirtyMap = true;
  refresh(c);
}

// The map of the method `name` in the workers, once the card is started
// and seen, unless it is under way already. A card seen before it is
// started asks for the program's own fates, which the map comes after
// (wantSweep).
function startMap(c, name) {
  if (c.seen && !c.started)
    c.wantSweep();
  if (!c.started || !c.seen || c.progress[name])
    return;
  c.progress[name] = startWorkers(c.work, mapMessages(c.map, methodCode(c, name)), 'cell',
    (cell) => keepCell(c, name, cell), `rodadero-map-${name}`).then((result) => {
    c.took[name] = result.ms;
    c.dirtyMap = true;
    refresh(c, true);
    return result;
  });
  const awaited = c.awaited[name];
  if (awaited)
    c.progress[name].then(awaited.resolve, awaited.reject);
  c.progress[name].catch((error) => {
    c.failure = error.message;
    c.status.textContent = statusText(c);
    console.error(error);
  });
}

// The end of the map of `name`, started or not yet: its workers' promise,
// or one that settles as theirs will.
function mapEnd(c, name) {
  if (c.progress[name])
    return c.progress[name];
  if (!c.awaited[name]) {
    const awaited = {};
    awaited.promise = new Promise((resolve, reject) => Object.assign(awaited, { resolve, reject }));
    c.awaited[name] = awaited;
  }
  return c.awaited[name].promise;
}

function showMethod(c, name) {
  c.method = name;
  c.seen = true;
  for (const [n, b] of Object.entries(c.buttons))
    b.setAttribute('aria-pressed', String(n === name));
  startMap(c, name);
  c.dirtyMap = true;
  refresh(c, true);
}

// Runs the chosen cell beside the program.
function compare(c) {
  if (c.e.rodadero_compare_start(methodCode(c, c.method), c.chosen.position, c.chosen.k) < 0)
    return;
  c.compared = { method: c.method, ...c.chosen };
  document.getElementById('compare-csv').disabled = false;
  document.getElementById('compare-svg').disabled = false;
  c.dirtyCompare = true;
  refresh(c, true);
  c.onChoice();
}

function choose(c, position, k, run) {
  const { map } = c;
  c.chosen = { position: Math.min(map.last, Math.max(map.first, position)),
               k: Math.min(map.betas.length - 1, Math.max(0, k)) };
  markChosen(c);
  if (run)
    compare(c);
}

// A cell clicked, or moved to with the arrows and run with Enter or the
// space bar; a method's button.
function listenToMap(c) {
  const { map } = c;
  // The map laid out again for its card's new width: the chosen cell's
  // mark put back.
  c.mapHost.addEventListener('rodadero-laid-out', () => markChosen(c));
  c.mapHost.addEventListener('click', (event) => {
    const rect = event.composedPath().find((n) => n.id && /^cell-\d+-\d+$/.test(n.id));
    if (!rect)
      return;
    const [, p, id] = rect.id.match(/^cell-(\d+)-(\d+)$/);
    choose(c, Number(p), map.betas.findIndex((b) => b.id === id), true);
  });
  c.mapHost.addEventListener('keydown', (event) => {
    const moves = { ArrowLeft: [-map.every, 0], ArrowRight: [map.every, 0], ArrowUp: [0, 1],
                    ArrowDown: [0, -1] };
    if (moves[event.key]) {
      event.preventDefault();
      choose(c, c.chosen.position + moves[event.key][0], c.chosen.k + moves[event.key][1], false);
    } else if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      compare(c);
    }
  });
  for (const [name, button] of Object.entries(c.buttons))
    button.addEventListener('click', () => showMethod(c, name));
}

// The files, named by what they hold.
function listenToDownloads(c) {
  const { e } = c;
  const say = (path, values) => c.language.words().say(path, values);
  const mapName = () => say('files.map', { method: c.method });
  const comparedName = () => say('files.compare', { method: c.compared.method,
    position: c.compared.position, beta: mapBeta(c.map, c.compared.k) });
  const svg = (name) => [name, c.language.current()];
  document.getElementById('map-csv').addEventListener('click', () =>
    saveText([mapName()], 'csv', c.contract.text(e.rodadero_map_csv(methodCode(c, c.method)))));
  document.getElementById('map-svg').addEventListener('click', () => {
    c.dirtyMap = true;
    refresh(c, true);
    saveText(svg(mapName()), 'svg', c.shown.of(c.mapHost));
  });
  document.getElementById('compare-csv').addEventListener('click', () =>
    saveText([comparedName()], 'csv', c.contract.text(e.rodadero_compare_csv(c.runSteps()))));
  document.getElementById('compare-svg').addEventListener('click', () => {
    c.dirtyCompare = true;
    refresh(c, true);
    saveText(svg(comparedName()), 'svg', c.shown.of(c.compareHost));
  });
}

// The card, for the module `e` and its contract, in the page's `language`
// (createPageLanguage), which the module numbers as moduleLanguage() gives;
// its maps in workers that run `work` ({script, bytes}), its pictures
// `shown` (createShownPictures); runSteps() gives the steps the program
// has taken since the chord, onChoice() is called when a cell runs, and
// wantSweep() when the card is seen or a method chosen before the program's
// own fates are in.
export function createMethodsCard(e, contract, options) {
  const c = cardState(e, contract, options);
  const seen = () => {
    c.seen = true;
    startMap(c, c.method);
    c.status.textContent = statusText(c);
  };
  if (watchView(document.getElementById('methods-card'), (now) => now && seen())()) {
    c.seen = true;
    startMap(c, c.method);
  }
  listenToMap(c);
  listenToDownloads(c);
  c.language.listen(() => {
    markChosen(c);
    c.dirtyMap = c.dirtyCompare = true;
    refresh(c, true);
  });
  markChosen(c);
  c.status.textContent = statusText(c);
  for (const [n, b] of Object.entries(c.buttons))
    b.setAttribute('aria-pressed', String(n === c.method));

  return {
    // Once the program's own sweep is done: the map of the shown method.
    start() {
      c.started = true;
      startMap(c, c.method);
      c.status.textContent = statusText(c);
    },
    painted() {
      if (c.compared)
        c.dirtyCompare = true;
      refresh(c);
    },
    // A cell asked for by the address: chosen and run at once.
    choose(name, position, k) {
      showMethod(c, name);
      choose(c, position, k, true);
    },
    chosen: () => (c.compared ? { method: c.compared.method, position: c.compared.position,
                                  beta: mapBeta(c.map, c.compared.k) } : null),
    mapped: (name) => mapEnd(c, name),
  };
}
