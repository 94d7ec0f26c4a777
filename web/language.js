// The page's language and its words. Every text of the page is in one
// catalog a language (texts/*.json): the words of its elements, of the
// panel and the cards, of the file names and of the pictures, which the
// module draws in the same language. A text may hold {name}, filled in
// from the values it is said with, and may come in plural forms
// ({one, other}, chosen by the language's rules for a count); numbers are
// written as the language's locale writes them (Intl.NumberFormat),
// without grouping, so that a printed time reads as the window prints it.
//
// The address's lang= (fragment.js) decides the language, else the
// browser's preferred languages. Setting it changes the page: <html lang>,
// the elements' texts, the text alternatives, and whoever listens (the
// panel draws its pictures again, the address follows).
//
// The program speaks Spanish, and its own words (the window's captions,
// the dialog) stay its own in every language. In another language the
// dialog is marked as Spanish and its controls are described in the
// page's language. The page as built (build_page.mjs) holds the Spanish
// catalog's words, so that nothing is written until another language is
// asked for; the script holds that catalog whole and of the others only
// their names ("language"). Their words are packed in the page
// (#rodadero-catalogs, packing.js), unpacked by the loader as the page
// opens (loader.js) and read once: a change to another language waits for
// that, and is at once after it.
import * as ca from '../texts/ca.json';
import * as de from '../texts/de.json';
import * as en from '../texts/en.json';
import * as es from '../texts/es.json';
import * as fr from '../texts/fr.json';
import * as it from '../texts/it.json';
import * as pt from '../texts/pt.json';

// The catalogs, the program's language first, as the switch lists them.
const CATALOGS = Object.freeze({ es, en, pt, ca, fr, it, de });
export const PAGE_LANGUAGES = Object.freeze(Object.keys(CATALOGS));
const PROGRAM_LANGUAGE = 'es';

// The language the browser prefers of those there are: the first of its
// languages that is one of them, English where none is.
export function preferredLanguage() {
  const tags = navigator.languages && navigator.languages.length ? navigator.languages
                                                                 : [navigator.language || ''];
  for (const tag of tags) {
    const primary = String(tag).toLowerCase().split('-')[0];
    if (PAGE_LANGUAGES.includes(primary))
      return primary;
  }
  return 'en';
}

// A text of a catalog by its path ("panel.swept").
function textAt(catalog, path) {
  const text = path.split('.').reduce((part, name) => (part ? part[name] : undefined), catalog);
  if (text === undefined)
    throw new Error(`the ${catalog.language.code} catalog has no text ${path}`);
  return text;
}

// Words in the language of a whole `catalog`: say(path, values, count)
// gives the text at `path` with its {names} filled in (a whole number
// written as the language writes it, anything else as given), in the
// plural form for `count` where it has forms; number(value, decimals)
// writes a number with that many decimals (at most, with `upTo`).
function wordsIn(catalog) {
  const { code, locale } = catalog.language;
  const plural = new Intl.PluralRules(locale);
  const formats = new Map();
  const number = (value, decimals = 0, upTo = false) => {
    // A whole number of no sign, ungrouped: each of the page's languages
    // writes it in the digits 0 to 9 alone, as String() does (the languages
    // suite holds their formats to it). The page's first NumberFormat costs
    // a slow processor some 60 ms, which the first paint, whose printed
    // time is such a number, need not wait for.
    if (decimals === 0 && Number.isSafeInteger(value) && value >= 0)
      return String(value);
    const key = `${decimals},${upTo}`;
    if (!formats.has(key))
      formats.set(key, new Intl.NumberFormat(locale, {
        useGrouping: false, maximumFractionDigits: decimals,
        minimumFractionDigits: upTo ? 0 : decimals,
      }));
    return formats.get(key).format(value);
  };
  const say = (path, values = {}, count = undefined) => {
    let text = textAt(catalog, path);
    if (typeof text === 'object')
      text = text[plural.select(count)] ?? text.other;
    return text.replace(/\{(\w+)\}/g, (whole, name) => {
      const value = values[name];
      if (value === undefined)
        throw new Error(`${path} needs a value for {${name}}`);
      return typeof value === 'number' ? number(value) : String(value);
    });
  };
  return Object.freeze({ code, catalog, say, number });
}

// The catalogs whole, by code: those the script holds whole at once, the
// others from `packed`, a promise of the bytes of the page's packed
// catalogs (loader.js), once unpack() has read them (it does so once,
// whenever it is called).
function wholeCatalogs(packed) {
  const whole = new Map(Object.entries(CATALOGS).filter(([, catalog]) => catalog.elements));
  let unpacking = null;
  const unpack = () => {
    unpacking = unpacking || packed
      .then((bytes) => {
        const packed = JSON.parse(new TextDecoder('utf-8').decode(bytes));
        for (const [code, catalog] of Object.entries(packed))
          whole.set(code, catalog);
      });
    return unpacking;
  };
  return { whole, unpack };
}

// The page's language, made once as the page starts, Spanish until it is
// set: current() gives its code, words() its words (wordsIn), set(code)
// changes it (at once where its catalog is whole already, else once the
// catalogs are unpacked: the last language asked for wins) and
// listen(listener) hears of every change; unpacked() unpacks the other
// catalogs, once, and says when they are. The elements whose words depend
// on the state say them again through sayAgain(id, say), which the page
// calls whenever they change too.
export function createPageLanguage(packedCatalogs) {
  const catalogs = wholeCatalogs(packedCatalogs);
  let words = wordsIn(catalogs.whole.get(PROGRAM_LANGUAGE));
  let asked = 0; // how many times a language was asked for
  const listeners = [];
  const again = new Map(); // element id -> what it says now, as a function of the words
  const sayAgain = (id, say) => {
    again.set(id, say);
    document.getElementById(id).textContent = say(words);
  };
  const show = (code) => {
    const changed = code !== words.code;
    words = wordsIn(catalogs.whole.get(code));
    if (changed || code !== PROGRAM_LANGUAGE)
      showLanguage(words, again);
    if (changed)
      for (const listener of listeners)
        listener(code);
  };
  return Object.freeze({
    current: () => words.code,
    words: () => words,
    sayAgain,
    unpacked: catalogs.unpack,
    // The page in `code`; listeners hear of a change. A promise of it.
    set(code) {
      if (!PAGE_LANGUAGES.includes(code))
        throw new Error(`no such language: ${code}`);
      const ask = ++asked;
      if (catalogs.whole.has(code)) {
        show(code);
        return Promise.resolve();
      }
      return catalogs.unpack().then(() => {
        if (ask === asked)
          show(code);
      });
    },
    listen(listener) {
      listeners.push(listener);
    },
  });
}

// The dialog described in the page's words, where they are not the
// program's: the descriptions made the first time they are needed.
function describeDialog(words) {
  const descriptions = words.catalog.dialog;
  let holder = document.getElementById('dialog-descriptions');
  if (!holder && !descriptions)
    return;
  if (!holder) {
    holder = document.createElement('div');
    holder.id = 'dialog-descriptions';
    holder.hidden = true;
    document.body.append(holder);
  }
  holder.lang = words.code;
  holder.replaceChildren(...Object.entries(descriptions || {}).map(([id, text]) => {
    const span = document.createElement('span');
    span.id = `describe-${id}`;
    span.textContent = text;
    return span;
  }));
  const dialog = document.getElementById('dialog');
  if (descriptions)
    dialog.lang = PROGRAM_LANGUAGE;
  else
    dialog.removeAttribute('lang');
  for (const control of [dialog, ...dialog.querySelectorAll('[aria-describedby^="describe-"]')])
    control.removeAttribute('aria-describedby');
  for (const id of Object.keys(descriptions || {}))
    document.getElementById(id).setAttribute('aria-describedby', `describe-${id}`);
}

// The page in `words`: every element's text and named attribute (a
// catalog's "id" or "id@attribute"), the texts said again, the dialog's
// descriptions and the language switch's choice.
function showLanguage(words, again) {
  document.documentElement.lang = words.code;
  for (const [key, text] of Object.entries(words.catalog.elements)) {
    const [id, attribute] = key.split('@');
    const element = document.getElementById(id);
    if (attribute)
      element.setAttribute(attribute, text);
    else
      element.textContent = text;
  }
  document.getElementById('plot-captions').textContent = words.say('program.captions');
  const close = document.getElementById('dialog-close');
  close.title = close.getAttribute('aria-label');
  for (const [id, say] of again)
    document.getElementById(id).textContent = say(words);
  describeDialog(words);
  document.getElementById('language').value = words.code;
}

// The switch in the panel: one list of the languages, each named in its
// own, that sets the page's.
export function createLanguageSwitch(language) {
  const choice = document.getElementById('language');
  choice.value = language.current();
  choice.addEventListener('change', () => language.set(choice.value));
}
