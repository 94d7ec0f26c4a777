// The address's fragment, a link to what the page shows: posicion=P (the
// scroll bar's position), modo=continuo or modo=pasos (the run mode) and
// lang=es or lang=en, each at most once, in any order, joined by '&'.
//
// On opening, the page takes the language from it at once (texts.js), and
// once the dialog is there the position and the mode, through the
// dialog's own requests, before the first step. A fragment that cannot be
// read (an unknown key, a key twice, a value that is none of these) changes
// nothing, the language included, and gets one short notice in the panel.
// From then on the address follows the scroll bar, the run mode and the
// language, each change replacing the history's current entry.
'use strict';

const FRAGMENT_MODES = Object.freeze({ continuo: 1, pasos: 0 });

// After a replacement of the address is refused, the next try waits this long.
const ADDRESS_RETRY_MS = 1000;

// The settings a fragment asks for, {position, continuous, language}, each
// undefined where it is not given, or {error: the part that cannot be
// read}. Positions are checked against the scroll bar's range later, by
// checkPosition, when the module has said what it is.
function readFragment(hash) {
  const text = hash.replace(/^#/, '');
  const settings = {};
  if (text === '')
    return { settings };
  for (const part of text.split('&')) {
    const match = part.match(/^(posicion|modo|lang)=(.*)$/);
    const quoted = part.length > 24 ? `${part.slice(0, 24)}...` : part;
    if (!match)
      return { error: quoted };
    const [, key, value] = match;
    const name = { posicion: 'position', modo: 'continuous', lang: 'language' }[key];
    if (settings[name] !== undefined)
      return { error: quoted };
    if (key === 'posicion' && /^[1-9][0-9]{0,5}$/.test(value))
      settings.position = Number(value);
    else if (key === 'modo' && Object.hasOwn(FRAGMENT_MODES, value))
      settings.continuous = FRAGMENT_MODES[value];
    else if (key === 'lang' && PAGE_LANGUAGES.includes(value))
      settings.language = value;
    else
      return { error: quoted };
  }
  return { settings };
}

// The fragment of a state, every key given.
function writeFragment({ position, continuous, language }) {
  const mode = Object.keys(FRAGMENT_MODES).find((m) => FRAGMENT_MODES[m] === continuous);
  return `posicion=${position}&modo=${mode}&lang=${language}`;
}

// Reads the address and sets the page's language; the rest waits for apply.
function openLinks() {
  let read = readFragment(location.hash);
  let shown = null; // the state the address says, once it follows
  let refusedAt = -Infinity; // when the browser last refused to replace it
  const notice = document.getElementById('address-notice');

  const showNotice = () => {
    notice.textContent = pageText().address(read.error);
    notice.hidden = false;
  };
  const language = () => (read.settings && read.settings.language) || preferredLanguage();
  setPageLanguage(language());

  let follow = () => {};
  onPageLanguage(() => {
    if (read.error !== undefined)
      showNotice();
    follow();
  });

  return {
    // The position and the mode of the fragment, through `scrollTo(p)` and
    // `toggleMode()`, the dialog's requests, given the scroll bar's range
    // and the mode now; then the address follows what `now()` gives.
    apply({ min, max }, { scrollTo, toggleMode, now }) {
      const s = read.settings;
      if (s && s.position !== undefined && (s.position < min || s.position > max)) {
        read = { error: `posicion=${s.position}` };
        setPageLanguage(language());
      }
      if (read.error !== undefined) {
        showNotice();
      } else {
        if (s.position !== undefined)
          scrollTo(s.position);
        if (s.continuous !== undefined && s.continuous !== now().continuous)
          toggleMode();
      }
      shown = { ...now(), language: currentLanguage() };
      follow = () => {
        const state = { ...now(), language: currentLanguage() };
        if (state.position === shown.position && state.continuous === shown.continuous &&
            state.language === shown.language)
          return;
        // Engines refuse too many replacements in a short time (WebKit's
        // limit is 100 in 10 s): then the address catches up later.
        if (performance.now() - refusedAt < ADDRESS_RETRY_MS)
          return;
        try {
          history.replaceState(history.state, '', `#${writeFragment(state)}`);
          shown = state;
        } catch (error) {
          refusedAt = performance.now();
        }
      };
    },
    // After every paint: the bar or the mode may have moved.
    painted() {
      follow();
    },
  };
}
