// The page's own texts in its two languages, Spanish (the program's) and
// English; the page's language and what changes with it are language.js's.
//
// The dialog keeps the program's texts, Spanish or not, in both; in
// English the dialog is marked as Spanish and its controls get English
// descriptions. The page in Spanish is the page as written in page.html:
// nothing touches it until another language is asked for.

export const PAGE_LANGUAGES = Object.freeze(['es', 'en']);

// Texts of elements, by id: [property, Spanish, English].
export const PAGE_ELEMENT_TEXTS = Object.freeze({
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
export const DIALOG_DESCRIPTIONS_ENGLISH = Object.freeze({
  dialog: 'Parameters and reset. Approximation of the curve of fastest descent by gradient ' +
          'descent on a partition of the drop into 20 intervals.',
  'run-mode': 'Switches between a step on every 50 ms tick and a step on every repaint.',
  alpha: 'Step factor of the gradient descent: the position times 2e-6, from 1 to 100.',
  reset: 'Puts the polyline back on the straight chord.',
});

// The texts that depend on numbers, for the scroll bar's number of positions.
export const PAGE_TEXTS = Object.freeze({
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
