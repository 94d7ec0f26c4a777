// The address's fragment, a link to what the page shows: posicion=P (the
// scroll bar's position), modo=continuo or modo=pasos (the run mode) and
// lang=es, en, pt, ca, fr, it or de, and the cell of the other methods' map that runs
// beside the program, metodo=heavy-ball or metodo=nesterov with its
// position posicion_metodo=P (5, 10, .. 200) and its momentum beta=B
// (0, 0.05, .. 0.95), the three together or none of them; each key at
// most once, in any order, joined by '&'.
//
// Or, instead of the cell, the laboratory's card: the word lab, and any
// of its end fin=X,Y (decimals, 0 <= X, 0 < Y, each within the card's
// range), its number of intervals tramos=N, its layout
// nodos=profundidad|anchura (anchura needs X > 0), its time rule
// tiempo=medio|exacto, its method metodo=gradient|heavy-ball|nesterov|
// newton, its step ratio paso=R (a decimal within the card's range) and
// its momentum beta=B (a decimal below 1 with at most two places); what is
// not given stays as the card has it. Without lab those keys are unread.
//
// On opening, the page takes the language from it before the window's
// first paint (language.js), and once the dialog is there the position and the mode, through the
// dialog's own requests, and the cell, through the methods card's, or the
// laboratory's state, through its card's, before the first step. A
// fragment that cannot be
// read (an unknown key, a key twice, a value that is none of these) changes
// nothing, the language included, and gets one short notice in the panel.
// From then on the address follows the scroll bar, the run mode, the
// language and the cell run beside the program or the laboratory's state,
// whichever of the two was changed last, each change replacing the
// history's current entry.
import { PAGE_LANGUAGES, preferredLanguage } from './language.js';

const FRAGMENT_MODES = Object.freeze({ continuo: 1, pasos: 0 });
const FRAGMENT_METHODS = Object.freeze(['heavy-ball', 'nesterov']);
const LAB_METHODS = Object.freeze(['gradient', 'heavy-ball', 'nesterov', 'newton']);
const LAB_LAYOUTS = Object.freeze({ profundidad: 'depth', anchura: 'width' });
const LAB_RULES = Object.freeze({ medio: 'midpoint', exacto: 'exact' });
// The laboratory's keys but metodo and beta, which the cell has too.
const LAB_KEYS = Object.freeze(['labEnd', 'labIntervals', 'labLayout', 'labRule', 'labRatio']);

// A momentum written as a decimal below 1 with at most two places ("0",
// "0.5", "0.35"): its value, or undefined. Whether the map has it is known
// once the module has said what the map's momenta are.
const readBeta = (value) => (/^0(?:\.[0-9]{1,2})?$/.test(value) ? Number(value) : undefined);

const DECIMAL = '[0-9]+(?:\\.[0-9]+)?';
const readDecimal = (value) => (new RegExp(`^${DECIMAL}$`).test(value) ? Number(value) : undefined);
const readEnd = (value) => (new RegExp(`^${DECIMAL},${DECIMAL}$`).test(value)
  ? value.split(',').map(Number) : undefined);
const readWhole = (value) => (/^[1-9][0-9]{0,6}$/.test(value) ? Number(value) : undefined);
const readPosition = (value) => (/^[1-9][0-9]{0,5}$/.test(value) ? Number(value) : undefined);
const readOneOf = (values) => (value) => (values.includes(value) ? value : undefined);
const readKeyOf = (table) => (value) => (Object.hasOwn(table, value) ? table[value] : undefined);

// Each key of the fragment: the setting it gives, and what it reads its
// value as (undefined where it cannot).
const FRAGMENT_KEYS = Object.freeze({
  posicion: ['position', readPosition],
  modo: ['continuous', readKeyOf(FRAGMENT_MODES)],
  lang: ['language', readOneOf(PAGE_LANGUAGES)],
  metodo: ['method', readOneOf(LAB_METHODS)],
  posicion_metodo: ['cellPosition', readPosition],
  beta: ['cellBeta', readBeta],
  fin: ['labEnd', readEnd],
  tramos: ['labIntervals', readWhole],
  nodos: ['labLayout', readKeyOf(LAB_LAYOUTS)],
  tiempo: ['labRule', readKeyOf(LAB_RULES)],
  paso: ['labRatio', readDecimal],
});

// After a replacement of the address is refused, the next try waits this long.
const ADDRESS_RETRY_MS = 1000;

// The settings a fragment asks for, {position, continuous, language,
// method, cellPosition, cellBeta}, each undefined where it is not given, or
// {error: the part that cannot be read}. Positions are checked against the
// scroll bar's range and the map's later, by apply, when the module has
// said what they are.
function readFragment(hash) {
  const text = hash.replace(/^#/, '');
  const settings = {};
  const parts = {}; // the part that gave each setting, as quoted
  if (text === '')
    return { settings };
  for (const part of text.split('&')) {
    const match = part.match(/^([a-z_]+)=(.*)$/);
    const quoted = part.length > 24 ? `${part.slice(0, 24)}...` : part;
    if (part === 'lab' && !settings.lab) {
      settings.lab = true;
      continue;
    }
    if (!match || !Object.hasOwn(FRAGMENT_KEYS, match[1]))
      return { error: quoted };
    const [name, readValue] = FRAGMENT_KEYS[match[1]];
    const value = readValue(match[2]);
    if (settings[name] !== undefined || value === undefined)
      return { error: quoted };
    settings[name] = value;
    parts[name] = quoted;
  }
  const wrong = settings.lab ? labPartWrong(settings, parts) : cellPartWrong(settings, parts);
  return wrong === undefined ? { settings } : { error: wrong };
}

// Without lab: the laboratory's keys are unread, and a cell needs all
// three of its keys and one of the map's methods. The part in the wrong,
// or undefined.
function cellPartWrong(settings, parts) {
  const labKey = LAB_KEYS.find((n) => settings[n] !== undefined);
  if (labKey !== undefined)
    return parts[labKey];
  if (settings.method !== undefined && !FRAGMENT_METHODS.includes(settings.method))
    return parts.method;
  const cellKeys = ['method', 'cellPosition', 'cellBeta'].filter((n) => settings[n] !== undefined);
  return cellKeys.length > 0 && cellKeys.length < 3 ? parts[cellKeys[0]] : undefined;
}

// With lab: no cell's position.
function labPartWrong(settings, parts) {
  return settings.cellPosition !== undefined ? parts.cellPosition : undefined;
}

// The fragment of a state, every key given; the cell's only where one runs
// ({method, position, beta} as the methods card says it).
function writeFragment({ position, continuous, language, cell, lab }) {
  const mode = Object.keys(FRAGMENT_MODES).find((m) => FRAGMENT_MODES[m] === continuous);
  const shown = `posicion=${position}&modo=${mode}&lang=${language}`;
  if (lab)
    return `${shown}&${writeLab(lab)}`;
  return cell ? `${shown}&metodo=${cell.method}&posicion_metodo=${cell.position}&beta=${cell.beta}`
    : shown;
}

// The laboratory's state ({x, y, intervals, layout, rule, method, ratio,
// beta}) as its keys, the momentum only for the methods that have one.
function writeLab(lab) {
  const word = (table, value) => Object.keys(table).find((k) => table[k] === value);
  const keys = `lab&fin=${lab.x},${lab.y}&tramos=${lab.intervals}` +
    `&nodos=${word(LAB_LAYOUTS, lab.layout)}&tiempo=${word(LAB_RULES, lab.rule)}` +
    `&metodo=${lab.method}&paso=${lab.ratio}`;
  return lab.method === 'heavy-ball' || lab.method === 'nesterov' ? `${keys}&beta=${lab.beta}` : keys;
}

// The index of a momentum in the map's list (`cells.betas`), or -1.
const betaIndex = (cells, beta) => cells.betas.findIndex((b) => b.value === beta);

// The address's part that asks for a position off the scroll bar's range
// (`scroll`, {min, max}) or a cell off the map (`cells`, {first, last,
// every, betas}), as quoted in the notice, or undefined.
function offRangePart(s, { min, max }, cells, lab) {
  const outside = (p, first, last, every = 1) => p < first || p > last || (p - first) % every;
  return !s ? undefined
    : s.position !== undefined && outside(s.position, min, max) ? `posicion=${s.position}`
    : s.lab ? labOffRangePart(s, lab)
    : s.method !== undefined && outside(s.cellPosition, cells.first, cells.last, cells.every)
      ? `posicion_metodo=${s.cellPosition}`
    : s.method !== undefined && betaIndex(cells, s.cellBeta) < 0 ? `beta=${s.cellBeta}`
    : undefined;
}

// The laboratory's part off its card's ranges (`lab`, the contract's), or
// undefined.
function labOffRangePart(s, lab) {
  const [x, y] = s.labEnd || [];
  const outside = (v, low, high) => v !== undefined && (v < low || v > high);
  return outside(x, 0, lab.endMax) || outside(y, 0, lab.endMax) || y === 0 ? `fin=${s.labEnd}`
    : outside(s.labIntervals, lab.intervalsMin, lab.intervalsMax) ? `tramos=${s.labIntervals}`
    : outside(s.labRatio, lab.ratioMin, lab.ratioMax) ? `paso=${s.labRatio}`
    : outside(s.cellBeta, 0, lab.betaMax) ? `beta=${s.cellBeta}`
    : s.labLayout === 'width' && x === 0 ? 'nodos=anchura'
    : undefined;
}

// The settings `s` through the dialog's requests and the methods card's
// or the laboratory's (`setLab(changes)`, the state's changes, false
// where its card refuses them).
function applySettings(s, { scrollTo, toggleMode, now, choose, cells, setLab }) {
  if (s.position !== undefined)
    scrollTo(s.position);
  if (s.continuous !== undefined && s.continuous !== now().continuous)
    toggleMode();
  if (s.lab && setLab)
    setLab(labChanges(s));
  else if (s.method !== undefined && choose)
    choose(s.method, s.cellPosition, betaIndex(cells, s.cellBeta));
}

// The laboratory's state the settings change ({x, y, intervals, layout,
// rule, method, ratio, beta}, only those given).
function labChanges(s) {
  const given = { intervals: s.labIntervals, layout: s.labLayout, rule: s.labRule,
                  method: s.method, ratio: s.labRatio, beta: s.cellBeta };
  if (s.labEnd)
    [given.x, given.y] = s.labEnd;
  return Object.fromEntries(Object.entries(given).filter(([, v]) => v !== undefined));
}

// The address made to follow the state `now()` gives in `language`, from
// the state it says now, `shown`: a function that replaces it when the
// state has moved.
function addressFollower(now, language, shown) {
  let refusedAt = -Infinity; // when the browser last refused to replace it
  return () => {
    const state = writeFragment({ ...now(), language: language.current() });
    if (state === shown)
      return;
    // Engines refuse too many replacements in a short time (WebKit's
    // limit is 100 in 10 s): then the address catches up later.
    if (performance.now() - refusedAt < ADDRESS_RETRY_MS)
      return;
    try {
      history.replaceState(history.state, '', `#${state}`);
      shown = state;
    } catch (error) {
      refusedAt = performance.now();
    }
  };
}

// Reads the address and sets the page's `language` (createPageLanguage);
// the rest waits for apply. A fragment typed into the address of the open
// page opens the page again at it (the page's own replacements of the
// address fire no hashchange).
export function openLinks(language) {
  window.addEventListener('hashchange', () => location.reload());
  const links = { read: readFragment(location.hash), follow: () => {} };
  const notice = document.getElementById('address-notice');

  const showNotice = () => {
    const part = links.read.error;
    language.sayAgain('address-notice', (words) => words.say('page.address', { part }));
    notice.hidden = false;
  };
  const asked = () => (links.read.settings && links.read.settings.language) || preferredLanguage();
  language.set(asked());

  language.listen(() => links.follow());

  return {
    // The position and the mode of the fragment, through `scrollTo(p)` and
    // `toggleMode()`, the dialog's requests, given the scroll bar's range
    // and the mode now, and its cell through `choose(method, position, k)`
    // given the map's positions and momenta `cells` ({first, last, every,
    // betas}), k the momentum's index among them; then the
    // address follows what `now()` gives. Without a methods card (`choose`
    // null) a cell asked for is left out.
    apply(scroll, controls) {
      const s = links.read.settings;
      const offRange = offRangePart(s, scroll, controls.cells, controls.lab);
      if (offRange !== undefined) {
        links.read = { error: offRange };
        language.set(asked());
      }
      if (links.read.error !== undefined)
        showNotice();
      else
        applySettings(s, controls);
      const shown = writeFragment({ ...controls.now(), language: language.current() });
      links.follow = addressFollower(controls.now, language, shown);
    },
    // After every paint, and when a cell is chosen: the bar, the mode or
    // the cell may have moved.
    painted() {
      links.follow();
    },
  };
}
