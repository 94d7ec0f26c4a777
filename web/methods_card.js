// The card of the other methods: the map of the exact fates of heavy ball
// or Nesterov over positions 5..200 and momenta 0..0.95, its cells found by
// the workers once the sweep of the program's own fates is done, the
// window ticking on; and, for a cell clicked or chosen with the keys, that
// method and setting run live from the chord beside the program's own
// descent, a step of it with each of the window's. The pictures are the
// module's, in the page's language; their numbers download as CSV with
// rodadero-trace's rows.
import { saveText } from './downloads.js';
import { startWorkers } from './workers.js';

const METHODS_REDRAW_MS = 200;

// The card's texts: [Spanish, English].
const METHODS_ELEMENT_TEXTS = Object.freeze({
  'methods-heading': ['Otros metodos', 'Other methods'],
  'methods-note': ['El mismo tiempo de caida, otros metodos desde la misma cuerda: el mapa de ' +
    'lo que hace cada posicion y momento, con la recta de la teoria lineal. Elija una celda ' +
    '(clic, o las flechas y Enter) para verla correr junto a la bajada del programa.',
  'The same fall time, other methods from the same chord: the map of what each position and ' +
    'momentum does, with the line of the linear theory. Choose a cell (click, or the arrows ' +
    'and Enter) to watch it run beside the program\'s own descent.'],
  'method-heavy-ball': ['Bola pesada', 'Heavy ball'],
  'method-nesterov': ['Nesterov', 'Nesterov'],
  'map-csv': ['Mapa en CSV', 'Map as CSV'],
  'map-svg': ['Mapa en SVG', 'Map as SVG'],
  'compare-csv': ['Comparacion en CSV', 'Comparison as CSV'],
  'compare-svg': ['Comparacion en SVG', 'Comparison as SVG'],
});

const METHODS_TEXTS = Object.freeze({
  es: {
    waiting: 'El mapa empieza cuando termina el destino de cada posicion.',
    mapping: (n, all) => `Calculando el mapa: ${n} de ${all} celdas.`,
    mapped: (ms) => `Mapa completo en ${(ms / 1000).toFixed(1)} s.`,
    failed: (why) => `No se pudo calcular el mapa: ${why}`,
    map: (name, n, settles, swings, open) => `Mapa de ${name}: ${n} celdas, ${settles} se detienen, ` +
      `${swings} oscilan, ${open} sin ciclo dentro del limite.`,
    cell: (p, beta, c) => `Posicion ${p}, beta ${beta}: ` + (c === undefined ? 'aun sin calcular'
      : c.period === 0 ? `sin ciclo, tiempos entre ${c.lowUs} y ${c.highUs}`
        : c.lowUs === c.highUs ? `se detiene en ${c.lowUs} desde el paso ${c.cycleFrom}`
          : `oscila entre ${c.lowUs} y ${c.highUs}, periodo ${c.period}`) + '.',
    compare: (name, steps) => `Comparacion: ${name}, ${steps} pasos, junto a la bajada del programa.`,
    noCompare: 'Comparacion: elija una celda del mapa.',
    mapFile: 'rodadero-mapa', compareFile: 'rodadero-comparacion',
    names: { 'heavy-ball': 'bola pesada', nesterov: 'Nesterov' },
  },
  en: {
    waiting: 'The map starts when the fate of each position is done.',
    mapping: (n, all) => `Working out the map: ${n} of ${all} cells.`,
    mapped: (ms) => `Map done in ${(ms / 1000).toFixed(1)} s.`,
    failed: (why) => `The map could not be worked out: ${why}`,
    map: (name, n, settles, swings, open) => `Map of ${name}: ${n} cells, ${settles} settle, ` +
      `${swings} swing, ${open} with no cycle within the limit.`,
    cell: (p, beta, c) => `Position ${p}, beta ${beta}: ` + (c === undefined ? 'not worked out yet'
      : c.period === 0 ? `no cycle, times between ${c.lowUs} and ${c.highUs}`
        : c.lowUs === c.highUs ? `settles at ${c.lowUs} from step ${c.cycleFrom}`
          : `swings between ${c.lowUs} and ${c.highUs}, period ${c.period}`) + '.',
    compare: (name, steps) => `Comparison: ${name}, ${steps} steps, beside the program's descent.`,
    noCompare: 'Comparison: choose a cell of the map.',
    mapFile: 'rodadero-map', compareFile: 'rodadero-comparison',
    names: { 'heavy-ball': 'heavy ball', nesterov: 'Nesterov' },
  },
});

// A beta of the map as written in its rows: k twentieths, shortest.
function mapBeta(k) {
  return String(k / 20);
}

// The card's elements and what it knows: the cells of each method's map
// as the workers found them ("p,k" -> cell), the workers' promise and the
// time of each map, the method shown, the cell the keys move (`chosen`)
// and the one run beside the program (`compared`), and what is to be
// drawn again.
function cardState(e, contract, options) {
  const map = contract.map;
  const columns = (map.last - map.first) / map.every + 1;
  return {
    e, contract, ...options, map,
    cellsInMap: columns * map.betas,
    mapHost: document.getElementById('map-chart'),
    compareHost: document.getElementById('compare-chart'),
    status: document.getElementById('methods-status'),
    cellText: document.getElementById('map-cell'),
    buttons: {
      'heavy-ball': document.getElementById('method-heavy-ball'),
      nesterov: document.getElementById('method-nesterov'),
    },
    maps: { 'heavy-ball': new Map(), nesterov: new Map() },
    progress: { 'heavy-ball': null, nesterov: null },
    took: {},
    failure: null,
    started: false,
    method: 'heavy-ball',
    chosen: { position: 100, k: 18 },
    compared: null, // {method, position, k}
    dirtyMap: true,
    dirtyCompare: false,
    drawnAt: -Infinity,
  };
}

const methodCode = (c, name) => c.contract.methods[name];
const methodsText = (c) => METHODS_TEXTS[c.language.current()];

function applyTexts(c) {
  const i = c.language.current() === 'en' ? 1 : 0;
  for (const [id, texts] of Object.entries(METHODS_ELEMENT_TEXTS))
    document.getElementById(id).textContent = texts[i];
}

function statusText(c) {
  const known = c.maps[c.method].size;
  if (c.failure !== null)
    return methodsText(c).failed(c.failure);
  if (!c.started)
    return methodsText(c).waiting;
  return c.took[c.method] !== undefined ? methodsText(c).mapped(c.took[c.method])
    : methodsText(c).mapping(known, c.cellsInMap);
}

// The chosen cell in words, and outlined in the map's own picture once
// there is one.
function markChosen(c) {
  const { chosen } = c;
  c.cellText.textContent = methodsText(c).cell(chosen.position, mapBeta(chosen.k),
                                               c.maps[c.method].get(`${chosen.position},${chosen.k}`));
  const root = c.mapHost.shadowRoot;
  if (!root)
    return;
  for (const old of root.querySelectorAll('.chosen'))
    old.classList.remove('chosen');
  const rect = root.getElementById(`cell-${chosen.position}-${5 * chosen.k}`);
  if (rect)
    rect.classList.add('chosen');
}

function drawMap(c) {
  c.status.textContent = statusText(c);
  const cells = [...c.maps[c.method].values()];
  if (cells.length === 0)
    return;
  const svg = c.contract.text(c.e.rodadero_map_chart(methodCode(c, c.method), c.moduleLanguage()))
    .replace('</style>', '  .chosen { stroke: #000000; stroke-width: 3 }\n</style>');
  const settles = cells.filter((cell) => cell.lowUs === cell.highUs).length;
  const text = methodsText(c);
  c.shown.show(c.mapHost, svg, () => text.map(text.names[c.method], cells.length, settles,
    cells.length - settles, cells.filter((cell) => cell.period === 0).length));
  markChosen(c);
  document.getElementById('map-svg').disabled = false;
  document.getElementById('map-csv').disabled = c.took[c.method] === undefined;
}

function drawCompare(c) {
  if (!c.compared)
    return;
  const svg = c.contract.text(c.e.rodadero_compare_chart(c.moduleLanguage(), c.runSteps()));
  c.shown.show(c.compareHost, svg, () => methodsText(c).compare(
    methodsText(c).names[c.compared.method], c.e.rodadero_compare_steps()));
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
    for (let k = 0; k < map.betas; ++k)
      messages.push({ method: code, position: p, beta: k, limit: map.stepLimit });
  return messages;
}

// A cell of the method `name` found by a worker: kept by the module and
// drawn.
function keepCell(c, name, cell) {
  if (c.e.rodadero_cell_keep(methodCode(c, name), cell.position, cell.betaTwentieths,
                             cell.cycleFrom, cell.period, cell.lowUs, cell.highUs) < 0)
    throw new Error(`a cell ${cell.position}, ${cell.betaTwentieths} out of the map`);
  c.maps[name].set(`${cell.position},${cell.betaTwentieths}`, cell);
  c.dirtyMap = true;
  refresh(c);
}

// The map of the method `name` in the workers, once the card is started
// and unless it is under way already.
function startMap(c, name) {
  if (!c.started || c.progress[name])
    return;
  c.progress[name] = startWorkers(c.work, mapMessages(c.map, methodCode(c, name)), 'cell',
    (cell) => keepCell(c, name, cell), `rodadero-map-${name}`).then((result) => {
    c.took[name] = result.ms;
    c.dirtyMap = true;
    refresh(c, true);
    return result;
  });
  c.progress[name].catch((error) => {
    c.failure = error.message;
    c.status.textContent = statusText(c);
    console.error(error);
  });
}

function showMethod(c, name) {
  c.method = name;
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
               k: Math.min(map.betas - 1, Math.max(0, k)) };
  markChosen(c);
  if (run)
    compare(c);
}

// A cell clicked, or moved to with the arrows and run with Enter or the
// space bar; a method's button.
function listenToMap(c) {
  const { map } = c;
  c.mapHost.addEventListener('click', (event) => {
    const rect = event.composedPath().find((n) => n.id && /^cell-\d+-\d+$/.test(n.id));
    if (!rect)
      return;
    const [, p, k] = rect.id.match(/^cell-(\d+)-(\d+)$/);
    choose(c, Number(p), Number(k) / 5, true);
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
  const fileName = (kind, extra) => [kind, ...extra, c.language.current()];
  document.getElementById('map-csv').addEventListener('click', () =>
    saveText([methodsText(c).mapFile, c.method], 'csv',
             c.contract.text(e.rodadero_map_csv(methodCode(c, c.method)))));
  document.getElementById('map-svg').addEventListener('click', () => {
    c.dirtyMap = true;
    refresh(c, true);
    saveText(fileName(methodsText(c).mapFile, [c.method]), 'svg', c.shown.of(c.mapHost));
  });
  const comparedName = () => [c.compared.method, `${c.compared.position}`, mapBeta(c.compared.k)];
  document.getElementById('compare-csv').addEventListener('click', () =>
    saveText([methodsText(c).compareFile, ...comparedName()], 'csv',
             c.contract.text(e.rodadero_compare_csv(c.runSteps()))));
  document.getElementById('compare-svg').addEventListener('click', () => {
    c.dirtyCompare = true;
    refresh(c, true);
    saveText(fileName(methodsText(c).compareFile, comparedName()), 'svg',
             c.shown.of(c.compareHost));
  });
}

// The card, for the module `e` and its contract, in the page's `language`
// (createPageLanguage), which the module numbers as moduleLanguage() gives;
// its maps in workers that run `work` ({script, bytes}), its pictures
// `shown` (createShownPictures); runSteps() gives the steps the program
// has taken since the chord, and onChoice() is called when a cell runs.
export function createMethodsCard(e, contract, options) {
  const c = cardState(e, contract, options);
  listenToMap(c);
  listenToDownloads(c);
  c.language.listen(() => {
    applyTexts(c);
    markChosen(c);
    c.dirtyMap = c.dirtyCompare = true;
    refresh(c, true);
  });
  if (c.language.current() !== 'es')
    applyTexts(c);
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
                                  beta: mapBeta(c.compared.k) } : null),
    mapped: (name) => c.progress[name],
  };
}
