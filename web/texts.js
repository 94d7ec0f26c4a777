// The page's own texts in its two languages, Spanish (the program's) and
// English, and the page's language: the address's lang= (fragment.js)
// decides, else the browser's preferred languages, Spanish where they put
// Spanish before English, English otherwise. setPageLanguage changes it at
// once: <html lang>, the panel's texts, the text alternatives, and whoever
// listens (the panel draws its pictures again, the address follows).
//
// The dialog keeps the program's texts, Spanish or not, in both; in
// English the dialog is marked as Spanish and its controls get English
// descriptions. The page in Spanish is the page as written in page.html:
// nothing here touches it until another language is asked for.
'use strict';

const PAGE_LANGUAGES = Object.freeze(['es', 'en']);

// Texts of elements, by id: [property, Spanish, English].
const PAGE_ELEMENT_TEXTS = Object.freeze({
  'plot-captions': ['textContent',
    'En rojo la aproximante, en azul la cicloide. Altura de caida 0.92 y largo de caida 1.00, para g=10.',
    'In red the approximating polyline, in blue the cycloid. Drop 0.92 and run 1.00, for g=10.'],
  'dialog-close': ['aria-label', 'Cerrar', 'Close'],
  'new-run': ['textContent', 'Empezar de nuevo', 'Start again'],
  panel: ['aria-label', 'Lo que hace la bajada', 'What the descent does'],
  language: ['aria-label', 'Idioma', 'Language'],
  'convergence-heading': ['textContent', 'Convergencia', 'Convergence'],
  'convergence-note': ['textContent',
    'El tiempo de caida de la aproximante, paso a paso desde la cuerda. Con reset empieza de nuevo.',
    'The fall time of the polyline, step by step from the chord. A reset starts it again.'],
  'fates-heading': ['textContent', 'Destino de cada posicion', 'Fate of each position'],
  'fates-note': ['textContent',
    'En que termina la bajada en cada posicion de la barra de alfa; la franja amarilla sigue a la barra.',
    'What the descent ends in at each position of the alpha scroll bar; the yellow band follows the bar.'],
  'race-heading': ['textContent', 'Carrera', 'Race'],
  'race-note': ['textContent',
    'Tres cuentas bajan a la vez, sin rozamiento: por la cuerda, por la aproximante de ahora y por la braquistocrona.',
    'Three beads slide down at once, without friction: on the chord, on the polyline as it is now and on the brachistochrone.'],
  'race-start': ['textContent', 'Empezar la carrera', 'Start the race'],
  'convergence-csv': ['textContent', 'Pasos en CSV', 'Steps as CSV'],
  'convergence-svg': ['textContent', 'Curva en SVG', 'Curve as SVG'],
  'fates-csv': ['textContent', 'Destinos en CSV', 'Fates as CSV'],
  'fates-svg': ['textContent', 'Grafico en SVG', 'Chart as SVG'],
  'race-svg': ['textContent', 'Carrera en SVG', 'Race as SVG'],
});

// What the dialog's controls do, for screen readers, in English.
const DIALOG_DESCRIPTIONS_ENGLISH = Object.freeze({
  dialog: 'Parameters and reset. Approximation of the curve of fastest descent by gradient ' +
          'descent on a partition of the drop into 20 intervals.',
  'run-mode': 'Switches between a step on every 50 ms tick and a step on every repaint.',
  alpha: 'Step factor of the gradient descent: the position times 2e-6, from 1 to 100.',
  reset: 'Puts the polyline back on the straight chord.',
});

// The texts that depend on numbers, for the scroll bar's number of positions.
const PAGE_TEXTS = Object.freeze({
  es: (positions) => Object.freeze({
    ended: 'La ejecución ha terminado.',
    failed: 'No se pudo iniciar el programa en este navegador: ',
    panelFailed: 'No se pudo iniciar el panel en este navegador: ',
    time: (us) => `Tiempo de caida  ${us}  millonesimos de segundo`,
    address: (part) => `No se pudo leer la direccion (${part}): la pagina sigue sin ella.`,
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
    // File names: what the file holds.
    run: (p, steps) => `${p ? `posicion-${p}` : 'alfa-inicial'}-${steps}-pasos`,
    convergenceFile: 'rodadero-convergencia',
    fatesFile: 'rodadero-destinos',
    raceFile: 'rodadero-carrera',
    position: (p) => `posicion-${p}`,
    allPositions: `posiciones-1-${positions}`,
  }),
  en: (positions) => Object.freeze({
    ended: 'The run has ended.',
    failed: 'The program could not start in this browser: ',
    panelFailed: 'The panel could not start in this browser: ',
    time: (us) => `Fall time ${us} millionths of a second`,
    address: (part) => `The address could not be read (${part}): the page goes on without it.`,
    noSteps: 'Convergence: no step from the chord yet.',
    convergence: (step, printed, exact) =>
      `Convergence of the descent: after ${step} ${step === 1 ? 'step' : 'steps'} the window prints ` +
      `${printed} millionths of a second; the exact time of the polyline is ${exact} s.`,
    sweeping: (n) => n === 0 ? 'Working out the fate of each position in the background...'
                             : `Working in the background: ${n} of ${positions} positions.`,
    swept: (ms) => `All ${positions} positions, worked out in ${(ms / 1000).toFixed(1)} s ` +
                   'without stopping the window.',
    sweepFailed: (reason) => `The fate of each position could not be worked out: ${reason}`,
    fates: (n, settle, swing, limit) =>
      `Fate of each position: ${n} of ${positions} worked out; ${settle} settle and ` +
      `${swing} swing. Limit of the linear theory at position ${limit}.`,
    marked: (p, fate) => !fate ? ` Current position ${p}, not worked out yet.`
      : fate.period === 0 ? ` Current position ${p}: no repeat within the step limit.`
      : fate.period === 1 ? ` Current position ${p}: settles at ${fate.lowUs}.`
      : ` Current position ${p}: swings between ${fate.lowUs} and ${fate.highUs}.`,
    race: (lines) => `Race: ${lines.join('; ')}.`,
    run: (p, steps) => `${p ? `position-${p}` : 'starting-alpha'}-${steps}-steps`,
    convergenceFile: 'rodadero-convergence',
    fatesFile: 'rodadero-fates',
    raceFile: 'rodadero-race',
    position: (p) => `position-${p}`,
    allPositions: `positions-1-${positions}`,
  }),
});

let pagePositions = 0; // the scroll bar's, once the module's contract is read
let pageLanguage = 'es';
const pageLanguageListeners = [];

// The language the browser prefers of the two: the first of its languages
// that is one of them, English where none is.
function preferredLanguage() {
  const tags = navigator.languages && navigator.languages.length ? navigator.languages
                                                                 : [navigator.language || ''];
  for (const tag of tags) {
    const primary = String(tag).toLowerCase().split('-')[0];
    if (PAGE_LANGUAGES.includes(primary))
      return primary;
  }
  return 'en';
}

function pageText() {
  return PAGE_TEXTS[pageLanguage](pagePositions);
}

function knowPositions(count) {
  pagePositions = count;
}

function currentLanguage() {
  return pageLanguage;
}

// The text alternative of the picture's number, from the captions a paint
// drew (the first holds the time, as the program prints it).
function spokenTime(captions) {
  if (pageLanguage === 'es')
    return captions[0];
  const number = captions[0].match(/-?\d+/);
  return pageText().time(number ? number[0] : '');
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

function showLanguage() {
  const english = pageLanguage === 'en';
  document.documentElement.lang = pageLanguage;
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
    ended.textContent = pageText().ended;
  // The time the picture's text alternative says, in the other words.
  const time = document.getElementById('plot-time');
  const number = time.textContent.match(/-?\d+/);
  if (number)
    time.textContent = pageText().time(number[0]);
  describeDialog(english);
  for (const button of document.querySelectorAll('#language button'))
    button.setAttribute('aria-pressed', String(button.lang === pageLanguage));
}

// The page in `language` ('es' or 'en'), at once; listeners hear of a change.
function setPageLanguage(language) {
  if (!PAGE_LANGUAGES.includes(language))
    throw new Error(`no such language: ${language}`);
  const changed = language !== pageLanguage;
  pageLanguage = language;
  if (changed || language !== 'es')
    showLanguage();
  if (changed)
    for (const listener of pageLanguageListeners)
      listener(language);
}

function onPageLanguage(listener) {
  pageLanguageListeners.push(listener);
}

// The switch in the panel: one button a language, named in its own.
function createLanguageSwitch() {
  for (const button of document.querySelectorAll('#language button')) {
    button.setAttribute('aria-pressed', String(button.lang === pageLanguage));
    button.addEventListener('click', () => setPageLanguage(button.lang));
  }
}
