// The page's language: the address's lang= (fragment.js) decides, else the
// browser's preferred languages, Spanish where they put Spanish before
// English, English otherwise. Setting it changes the page at once: <html
// lang>, the panel's texts, the text alternatives, and whoever listens
// (the panel draws its pictures again, the address follows). The texts
// themselves are texts.js's.
import {
  DIALOG_DESCRIPTIONS_ENGLISH, PAGE_ELEMENT_TEXTS, PAGE_LANGUAGES, PAGE_TEXTS,
} from './texts.js';

// The language the browser prefers of the two: the first of its languages
// that is one of them, English where none is.
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

// The page's language, made once as the page starts, Spanish until it is
// set: current() gives it, text() the texts that depend on numbers in it
// (for the scroll bar's number of positions, once knowPositions has been
// told it), set(language) changes it and listen(listener) hears of every
// change.
export function createPageLanguage() {
  let language = 'es';
  let positions = 0; // the scroll bar's, once the module's contract is read
  const listeners = [];
  const text = () => PAGE_TEXTS[language](positions);
  return Object.freeze({
    current: () => language,
    text,
    knowPositions(count) {
      positions = count;
    },
    // The page in `next` ('es' or 'en'), at once; listeners hear of a change.
    set(next) {
      if (!PAGE_LANGUAGES.includes(next))
        throw new Error(`no such language: ${next}`);
      const changed = next !== language;
      language = next;
      if (changed || next !== 'es')
        showLanguage(language, text());
      if (changed)
        for (const listener of listeners)
          listener(next);
    },
    listen(listener) {
      listeners.push(listener);
    },
  });
}

// The text alternative of the picture's number, from the captions a paint
// drew (the first holds the time, as the program prints it).
export function spokenTime(language, captions) {
  if (language.current() === 'es')
    return captions[0];
  const number = captions[0].match(/-?\d+/);
  return language.text().time(number ? number[0] : '');
}

// The dialog's English descriptions, made the first time they are needed.
function describeDialog(english) {
  let holder = document.getElementById('dialog-descriptions');
  if (!holder && !english)
    return;
  if (!holder) {
    holder = document.createElement('div');
    holder.id = 'dialog-descriptions';
    holder.hidden = true;
    holder.lang = 'en';
    for (const [id, text] of Object.entries(DIALOG_DESCRIPTIONS_ENGLISH)) {
      const span = document.createElement('span');
      span.id = `describe-${id}`;
      span.textContent = text;
      holder.append(span);
    }
    document.body.append(holder);
  }
  const dialog = document.getElementById('dialog');
  if (english)
    dialog.lang = 'es';
  else
    dialog.removeAttribute('lang');
  for (const id of Object.keys(DIALOG_DESCRIPTIONS_ENGLISH)) {
    const control = document.getElementById(id);
    if (english)
      control.setAttribute('aria-describedby', `describe-${id}`);
    else
      control.removeAttribute('aria-describedby');
  }
}

// The page's texts in `language`, whose texts that depend on numbers are
// `texts`.
function showLanguage(language, texts) {
  const english = language === 'en';
  document.documentElement.lang = language;
  const column = english ? 2 : 1;
  for (const [id, row] of Object.entries(PAGE_ELEMENT_TEXTS)) {
    const element = document.getElementById(id);
    if (!element)
      continue;
    if (row[0] === 'textContent')
      element.textContent = row[column];
    else
      element.setAttribute(row[0], row[column]);
  }
  const close = document.getElementById('dialog-close');
  close.title = close.getAttribute('aria-label');
  const ended = document.getElementById('ended-text');
  if (PAGE_LANGUAGES.some((l) => ended.textContent === PAGE_TEXTS[l](0).ended))
    ended.textContent = texts.ended;
  // The time the picture's text alternative says, in the other words.
  const time = document.getElementById('plot-time');
  const number = time.textContent.match(/-?\d+/);
  if (number)
    time.textContent = texts.time(number[0]);
  describeDialog(english);
  for (const button of document.querySelectorAll('#language button'))
    button.setAttribute('aria-pressed', String(button.lang === language));
}

// The switch in the panel: one button a language, named in its own.
export function createLanguageSwitch(language) {
  for (const button of document.querySelectorAll('#language button')) {
    button.setAttribute('aria-pressed', String(button.lang === language.current()));
    button.addEventListener('click', () => language.set(button.lang));
  }
}
