// The address's fragment, a link to what the page shows: posicion=P (the
// scroll bar's position), modo=continuo or modo=pasos (the run mode) and
// lang=es or lang=en, and the cell of the other methods' map that runs
// beside the program, metodo=heavy-ball or metodo=nesterov with its
// position posicion_metodo=P (5, 10, .. 200) and its momentum beta=B
// (0, 0.05, .. 0.95), the three together or none of them; each key at
// most once, in any order, joined by '&'.
//
// On opening, the page takes the language from it at once (language.js), and
// once the dialog is there the position and the mode, through the
// dialog's own requests, and the cell, through the methods card's, before
// the first step. A fragment that cannot be
// read (an unknown key, a key twice, a value that is none of these) changes
// nothing, the language included, and gets one short notice in the panel.
// From then on the address follows the scroll bar, the run mode, the
// language and the cell run beside the program, each change replacing the
// history's current entry.
import { preferredLanguage } from './language.js';
import { PAGE_LANGUAGES } from './texts.js';

const FRAGMENT_MODES = Object.freeze({ continuo: 1, pasos: 0 });
const FRAGMENT_METHODS = Object.freeze(['heavy-ball', 'nesterov']);

// A momentum of the map, k twentieths written as a decimal with at most two
// places ("0", "0.5", "0.35", "0.95"): k, or undefined.
function mapTwentieths(value) {
  const match = value.match(/^0(?:\.([0-9]{1,2}))?$/);
  if (!match)
    return undefined;
  const hundredths = Number((match[1] || '0').padEnd(2, '0'));
  return hundredths % 5 === 0 ? hundredths / 5 : undefined;
}

const readPosition = (value) => (/^[1-9][0-9]{0,5}$/.test(value) ? Number(value) : undefined);
const readOneOf = (values) => (value) => (values.includes(value) ? value : undefined);
const readKeyOf = (table) => (value) => (Object.hasOwn(table, value) ? table[value] : undefined);

// Each key of the fragment: the setting it gives, and what it reads its
// value as (undefined where it cannot).
const FRAGMENT_KEYS = Object.freeze({
  posicion: ['position', readPosition],
  modo: ['continuous', readKeyOf(FRAGMENT_MODES)],
  lang: ['language', readOneOf(PAGE_LANGUAGES)],
  metodo: ['method', readOneOf(FRAGMENT_METHODS)],
  posicion_metodo: ['cellPosition', readPosition],
  beta: ['cellK', mapTwentieths],
});

// After a replacement of the address is refused, the next try waits this long.
const ADDRESS_RETRY_MS = 1000;

// The settings a fragment asks for, {position, continuous, language,
// method, cellPosition, cellK}, each undefined where it is not given, or
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
    if (!match || !Object.hasOwn(FRAGMENT_KEYS, match[1]))
      return { error: quoted };
    const [name, readValue] = FRAGMENT_KEYS[match[1]];
    const value = readValue(match[2]);
    if (settings[name] !== undefined || value === undefined)
      return { error: quoted };
    settings[name] = value;
    parts[name] = quoted;
  }
  // A cell needs all three of its keys.
  const cellKeys = ['method', 'cellPosition', 'cellK'].filter((n) => settings[n] !== undefined);
  if (cellKeys.length > 0 && cellKeys.length < 3)
    return { error: parts[cellKeys[0]] };
  return { settings };
}

// The fragment of a state, every key given; the cell's only where one runs
// ({method, position, beta} as the methods card says it).
function writeFragment({ position, continuous, language, cell }) {
  const mode = Object.keys(FRAGMENT_MODES).find((m) => FRAGMENT_MODES[m] === continuous);
  const shown = `posicion=${position}&modo=${mode}&lang=${language}`;
  return cell ? `${shown}&metodo=${cell.method}&posicion_metodo=${cell.position}&beta=${cell.beta}`
    : shown;
}

// The address's part that asks for a position off the scroll bar's range
// (`scroll`, {min, max}) or a cell off the map's positions (`cells`,
// {first, last, every}), as quoted in the notice, or undefined.
function offRangePart(s, { min, max }, cells) {
  const outside = (p, first, last, every = 1) => p < first || p > last || (p - first) % every;
  return !s ? undefined
    : s.position !== undefined && outside(s.position, min, max) ? `posicion=${s.position}`
    : s.method !== undefined && outside(s.cellPosition, cells.first, cells.last, cells.every)
      ? `posicion_metodo=${s.cellPosition}` : undefined;
}

// The settings `s` through the dialog's requests and the methods card's.
function applySettings(s, { scrollTo, toggleMode, now, choose }) {
  if (s.position !== undefined)
    scrollTo(s.position);
  if (s.continuous !== undefined && s.continuous !== now().continuous)
    toggleMode();
  if (s.method !== undefined && choose)
    choose(s.method, s.cellPosition, s.cellK);
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
    notice.textContent = language.text().address(links.read.error);
    notice.hidden = false;
  };
  const asked = () => (links.read.settings && links.read.settings.language) || preferredLanguage();
  language.set(asked());

  language.listen(() => {
    if (links.read.error !== undefined)
      showNotice();
    links.follow();
  });

  return {
    // The position and the mode of the fragment, through `scrollTo(p)` and
    // `toggleMode()`, the dialog's requests, given the scroll bar's range
    // and the mode now, and its cell through `choose(method, position, k)`
    // given the map's positions `cells` ({first, last, every}); then the
    // address follows what `now()` gives. Without a methods card (`choose`
    // null) a cell asked for is left out.
    apply(scroll, controls) {
      const s = links.read.settings;
      const offRange = offRangePart(s, scroll, controls.cells);
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
