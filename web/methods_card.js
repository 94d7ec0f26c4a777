// The card of the other methods: the map of the exact fates of heavy ball
// or Nesterov over positions 5..200 and momenta 0..0.95, its cells found by
// the workers once the sweep of the program's own fates is done, the
// window ticking on; and, for a cell clicked or chosen with the keys, that
// method and setting run live from the chord beside the program's own
// descent, a step of it with each of the window's. The pictures are the
// module's, in the page's language; their numbers download as CSV with
// rodadero-trace's rows.
'use strict';

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

function methodsText() {
  return METHODS_TEXTS[currentLanguage()];
}

function createMethodsCard(e, contract, bytes, { language, runSteps, onChoice }) {
  const map = contract.map;
  const columns = (map.last - map.first) / map.every + 1;
  const cellsInMap = columns * map.betas.length;
  // A beta of the map as written in its rows: the k-th of the map's, shortest.
  const mapBeta = (k) => String(map.betas[k]);
  const mapHost = document.getElementById('map-chart');
  const compareHost = document.getElementById('compare-chart');
  const status = document.getElementById('methods-status');
  const cellText = document.getElementById('map-cell');
  const buttons = {
    'heavy-ball': document.getElementById('method-heavy-ball'),
    nesterov: document.getElementById('method-nesterov'),
  };
  const maps = { 'heavy-ball': new Map(), nesterov: new Map() }; // "p,k" -> cell
  const progress = { 'heavy-ball': null, nesterov: null }; // the workers' promise
  const took = {};
  let failure = null;
  let started = false;
  let method = 'heavy-ball';
  let chosen = { position: 100, k: 18 }; // the cell the keys move
  let compared = null; // {method, position, k}
  let dirtyMap = true;
  let dirtyCompare = false;
  let drawnAt = -Infinity;

  const code = (name) => contract.methods[name];

  function applyTexts() {
    const i = currentLanguage() === 'en' ? 1 : 0;
    for (const [id, texts] of Object.entries(METHODS_ELEMENT_TEXTS))
      document.getElementById(id).textContent = texts[i];
  }

  function statusText() {
    const known = maps[method].size;
    if (failure !== null)
      return methodsText().failed(failure);
    if (!started)
      return methodsText().waiting;
    return took[method] !== undefined ? methodsText().mapped(took[method])
      : methodsText().mapping(known, cellsInMap);
  }

  // The chosen cell in words, and outlined in the map's own picture once
  // there is one.
  function markChosen() {
    cellText.textContent = methodsText().cell(chosen.position, mapBeta(chosen.k),
                                              maps[method].get(`${chosen.position},${chosen.k}`));
    const root = mapHost.shadowRoot;
    if (!root)
      return;
    for (const old of root.querySelectorAll('.chosen'))
      old.classList.remove('chosen');
    const rect = root.getElementById(`cell-${chosen.position}-${5 * chosen.k}`);
    if (rect)
      rect.classList.add('chosen');
  }

  function drawMap() {
    status.textContent = statusText();
    const cells = [...maps[method].values()];
    if (cells.length === 0)
      return;
    const svg = contract.text(e.rodadero_map_chart(code(method), language())).replace(
      '</style>', '  .chosen { stroke: #000000; stroke-width: 3 }\n</style>');
    const settles = cells.filter((c) => c.lowUs === c.highUs).length;
    showPicture(mapHost, svg, () => methodsText().map(methodsText().names[method], cells.length,
      settles, cells.length - settles, cells.filter((c) => c.period === 0).length));
    markChosen();
    document.getElementById('map-svg').disabled = false;
    document.getElementById('map-csv').disabled = took[method] === undefined;
  }

  function drawCompare() {
    if (!compared)
      return;
    const svg = contract.text(e.rodadero_compare_chart(language(), runSteps()));
    showPicture(compareHost, svg, () => methodsText().compare(
      methodsText().names[compared.method], e.rodadero_compare_steps()));
    compareHost.hidden = false;
  }

  function refresh(force = false) {
    const now = Date.now();
    if (!force && now - drawnAt < METHODS_REDRAW_MS)
      return;
    drawnAt = now;
    if (dirtyMap)
      drawMap();
    if (dirtyCompare)
      drawCompare();
    dirtyMap = dirtyCompare = false;
  }

  function startMap(name) {
    if (!started || progress[name])
      return;
    const messages = [];
    for (let p = map.first; p <= map.last; p += map.every)
      for (let k = 0; k < map.betas.length; ++k)
        messages.push({ method: code(name), position: p, beta: k, limit: map.stepLimit });
    progress[name] = startWorkers(bytes, messages, 'cell', (cell) => {
      if (e.rodadero_cell_keep(code(name), cell.position, cell.beta, cell.cycleFrom,
                               cell.period, cell.lowUs, cell.highUs) < 0)
        throw new Error(`a cell ${cell.position}, ${cell.beta} out of the map`);
      maps[name].set(`${cell.position},${cell.beta}`, cell);
      dirtyMap = true;
      refresh();
    }, `rodadero-map-${name}`).then((result) => {
      took[name] = result.ms;
      dirtyMap = true;
      refresh(true);
      return result;
    });
    progress[name].catch((error) => {
      failure = error.message;
      status.textContent = statusText();
      console.error(error);
    });
  }

  function showMethod(name) {
    method = name;
    for (const [n, b] of Object.entries(buttons))
      b.setAttribute('aria-pressed', String(n === name));
    startMap(name);
    dirtyMap = true;
    refresh(true);
  }

  // Runs the chosen cell beside the program.
  function compare() {
    if (e.rodadero_compare_start(code(method), chosen.position, chosen.k) < 0)
      return;
    compared = { method, ...chosen };
    document.getElementById('compare-csv').disabled = false;
    document.getElementById('compare-svg').disabled = false;
    dirtyCompare = true;
    refresh(true);
    onChoice();
  }

  function choose(position, k, run) {
    chosen = { position: Math.min(map.last, Math.max(map.first, position)),
               k: Math.min(map.betas.length - 1, Math.max(0, k)) };
    markChosen();
    if (run)
      compare();
  }

  mapHost.addEventListener('click', (event) => {
    const rect = event.composedPath().find((n) => n.id && /^cell-\d+-\d+$/.test(n.id));
    if (!rect)
      return;
    const [, p, k] = rect.id.match(/^cell-(\d+)-(\d+)$/);
    choose(Number(p), Number(k) / 5, true);
  });
  mapHost.addEventListener('keydown', (event) => {
    const moves = { ArrowLeft: [-map.every, 0], ArrowRight: [map.every, 0], ArrowUp: [0, 1],
                    ArrowDown: [0, -1] };
    if (moves[event.key]) {
      event.preventDefault();
      choose(chosen.position + moves[event.key][0], chosen.k + moves[event.key][1], false);
    } else if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      compare();
    }
  });
  for (const [name, button] of Object.entries(buttons))
    button.addEventListener('click', () => showMethod(name));

  const fileName = (kind, extra) => [kind, ...extra, currentLanguage()];
  document.getElementById('map-csv').addEventListener('click', () =>
    saveText([methodsText().mapFile, method], 'csv', contract.text(e.rodadero_map_csv(code(method)))));
  document.getElementById('map-svg').addEventListener('click', () => {
    dirtyMap = true;
    refresh(true);
    saveText(fileName(methodsText().mapFile, [method]), 'svg', shownPictures.get(mapHost));
  });
  const comparedName = () => [compared.method, `${compared.position}`, mapBeta(compared.k)];
  document.getElementById('compare-csv').addEventListener('click', () =>
    saveText([methodsText().compareFile, ...comparedName()], 'csv',
             contract.text(e.rodadero_compare_csv(runSteps()))));
  document.getElementById('compare-svg').addEventListener('click', () => {
    dirtyCompare = true;
    refresh(true);
    saveText(fileName(methodsText().compareFile, comparedName()), 'svg',
             shownPictures.get(compareHost));
  });

  onPageLanguage(() => {
    applyTexts();
    markChosen();
    dirtyMap = dirtyCompare = true;
    refresh(true);
  });
  if (currentLanguage() !== 'es')
    applyTexts();
  markChosen();
  status.textContent = statusText();
  for (const [n, b] of Object.entries(buttons))
    b.setAttribute('aria-pressed', String(n === method));

  return {
    // Once the program's own sweep is done: the map of the shown method.
    start() {
      started = true;
      startMap(method);
      status.textContent = statusText();
    },
    painted() {
      if (compared)
        dirtyCompare = true;
      refresh();
    },
    // A cell asked for by the address: chosen and run at once.
    choose(name, position, k) {
      showMethod(name);
      choose(position, k, true);
    },
    chosen: () => (compared ? { method: compared.method, position: compared.position,
                                beta: mapBeta(compared.k) } : null),
    mapped: (name) => progress[name],
  };
}
