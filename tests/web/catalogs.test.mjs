// The catalogs of the page's languages (texts/*.json) as a translator
// leaves them: every catalog has every text of the program's own language
// (Spanish), with the same {names} to fill in, the dialog's descriptions
// beside where the page does not speak the program's language; and the
// page's own Spanish is written with its accents, apart from the words the
// program itself prints, which stay as the program has them, and the names
// of the files it saves, which stay plain ASCII as they have always been;
// and no catalog leaves a text in another language, neither the same text
// as another's (but those the same by nature) nor a word only another
// language writes; and the page as built holds the program's catalog in
// its script and the others packed. Read as files, no browser.
import { test, expect } from '@playwright/test';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { packedCatalogs, unpacked } from './page_parts.mjs';

const TEXTS = fileURLToPath(new URL('../../texts', import.meta.url));
const PAGE = process.env.RODADERO_PAGE || 'build/web/rodadero.html';
const PROGRAM_LANGUAGE = 'es';

const CATALOGS = Object.fromEntries(fs.readdirSync(TEXTS).filter((f) => f.endsWith('.json'))
  .map((f) => [path.basename(f, '.json'), JSON.parse(fs.readFileSync(path.join(TEXTS, f), 'utf8'))]));

// Every text of a catalog by its path; a text in plural forms counts once
// a form ("panel.convergence.one").
function textsOf(catalog, prefix = '', found = new Map()) {
  for (const [name, value] of Object.entries(catalog)) {
    if (typeof value === 'string')
      found.set(prefix + name, value);
    else
      textsOf(value, `${prefix}${name}.`, found);
  }
  return found;
}

const names = (text) => [...text.matchAll(/\{(\w+)\}/g)].map((m) => m[1]).sort();

test('the catalogs are the languages the page offers, each named by its own code', () => {
  const offered = [...fs.readFileSync(fileURLToPath(new URL('../../web/language.js', import.meta.url)),
                                      'utf8').matchAll(/texts\/(\w+)\.json/g)].map((m) => m[1]);
  expect(offered.sort()).toEqual(Object.keys(CATALOGS).sort());
  for (const [code, catalog] of Object.entries(CATALOGS))
    expect(catalog.language.code).toBe(code);
});

for (const [code, catalog] of Object.entries(CATALOGS)) {
  test(`the ${code} catalog has every text, with the same names to fill in`, () => {
    const program = textsOf(CATALOGS[PROGRAM_LANGUAGE]);
    const texts = textsOf(catalog);
    const described = [...texts.keys()].filter((k) => k.startsWith('dialog.'));
    if (code === PROGRAM_LANGUAGE)
      expect(described, 'the program\'s own dialog needs no description').toEqual([]);
    else
      expect(described.sort()).toEqual(['dialog.alpha', 'dialog.dialog', 'dialog.reset',
                                        'dialog.run-mode']);
    const others = [...texts.keys()].filter((k) => !k.startsWith('dialog.'));
    expect(others.sort()).toEqual([...program.keys()].sort());
    for (const [key, text] of program) {
      if (key !== 'language.code' && key !== 'language.name' && key !== 'language.locale')
        expect(text.trim(), `${code}: ${key}`).not.toBe('');
      expect(names(texts.get(key)), `${code}: ${key}`).toEqual(names(text));
    }
  });
}

// Spanish words the page used to write without their accents, and others
// of the same kind.
const UNACCENTED = ['posicion', 'metodo', 'metodos', 'grafico', 'todavia', 'limite',
                    'direccion', 'pagina', 'comparacion', 'caida', 'teoria', 'logaritmica',
                    'millonesimos', 'braquistocrona', 'aun', 'mas', 'segun', 'que termina'];

test('the page\'s own Spanish has its accents; the program\'s words stay its own', () => {
  const found = [];
  for (const [key, text] of textsOf(CATALOGS.es)) {
    if (key.startsWith('program.') || key.startsWith('files.'))
      continue;
    for (const word of UNACCENTED)
      if (new RegExp(`(^|[^\\wáéíóúñ])${word}($|[^\\wáéíóúñ])`, 'i').test(text))
        found.push(`${key}: ${word}`);
  }
  expect(found).toEqual([]);
  // What the program prints, the page repeats as it is.
  expect(CATALOGS.es.program.time).toBe('Tiempo de caida  {us}  millonesimos de segundo');
  for (const [key, name] of [...textsOf(CATALOGS.es)].filter(([k]) => k.startsWith('files.')))
    expect(name, key).toMatch(/^[a-z0-9{}-]+$/);
});

// Texts that are the same in other languages by nature, each with the
// languages that share it: proper names (Newton, Nesterov), punctuation
// between names to fill in (French sets its semicolons apart), and words
// that the languages write alike (Romance neighbours, file names without
// their accents, words English took from French). Any other text the same
// as another catalog's is one left untranslated.
const SAME_BY_NATURE = {
  'elements.method-nesterov': 'es en pt ca fr it de',
  'elements.lab-method-nesterov': 'es en pt ca fr it de',
  'elements.lab-method-newton': 'es en pt ca fr it de',
  'methods.names.nesterov': 'es en pt ca fr it de',
  'lab.methods.nesterov': 'es en pt ca fr it de',
  'lab.methods.newton': 'es en pt ca fr it de',
  'pictures.methods.nesterov': 'es en pt ca fr it de',
  'pictures.methods.newton': 'es en pt ca fr it de',
  'panel.raceArrival': 'es en pt ca fr it de',
  'panel.raceUnplaced': 'es en pt ca fr it de',
  'panel.raceArrivals': 'es en pt ca it de',
  'pictures.lab.stillSubtitle': 'es en pt ca it de',
  'elements.method-heavy-ball': 'es pt',
  'elements.lab-method-heavy-ball': 'es pt',
  'methods.names.heavy-ball': 'es pt',
  'lab.methods.heavy-ball': 'es pt',
  'pictures.methods.heavy-ball': 'es pt',
  'elements.convergence-heading': 'en fr',
  'elements.lab-rule-exact': 'en fr',
  'pictures.methods.positionOnly': 'en fr',
  'pictures.race.brachistochrone': 'es pt | en fr',
  'elements.fates-csv': 'ca fr',
  'elements.lab-rule-label': 'ca fr',
  'elements.lab-heading': 'es it',
  'elements.lab-intervals-label': 'es pt | en ca',
  'elements.lab-layout-label': 'en ca',
  'elements.lab-method-label': 'es pt',
  'elements.map-csv': 'es ca',
  'elements.map-svg': 'es ca',
  'pictures.race.chord': 'pt ca it',
  'pictures.curveRace.curve': 'es pt it',
  'pictures.curveRace.line': 'es ca',
  'pictures.lab.nowChord': 'ca it',
  'pictures.lab.intervalsAxis': 'es pt',
  'files.convergence': 'es pt ca',
  'files.map': 'es pt ca',
  'files.runAtStart': 'pt ca',
  'files.labProblem': 'es pt',
  'files.labRules.midpoint': 'es pt',
  'files.labConvergence': 'es pt',
};

test('no catalog has a text the same as another language\'s, but those the same by nature', () => {
  const codes = Object.keys(CATALOGS).sort();
  const texts = Object.fromEntries(codes.map((code) => [code, textsOf(CATALOGS[code])]));
  const found = [];
  for (const key of texts[PROGRAM_LANGUAGE].keys()) {
    if (key.startsWith('language.'))
      continue;
    const sharing = new Map(); // text -> the languages that have it
    for (const code of codes) {
      const text = texts[code].get(key);
      sharing.set(text, [...(sharing.get(text) || []), code]);
    }
    for (const languages of sharing.values())
      if (languages.length > 1)
        found.push(`${key}: ${languages.join(' ')}`);
  }
  const allowed = Object.entries(SAME_BY_NATURE).flatMap(([key, groups]) =>
    groups.split(' | ').map((group) => `${key}: ${group.split(' ').sort().join(' ')}`));
  expect(found.sort()).toEqual(allowed.sort());
});

// Words that only one of the languages writes: a text of another catalog
// that holds one was left in that language, or half translated. Words are
// taken apart from the {names} to fill in.
const OWN_WORDS = {
  es: ['tras', 'según', 'cuerda', 'bajada', 'caída', 'posición', 'pasos', 'paso',
       'los', 'hasta', 'tiempo', 'y'],
  en: ['the', 'of', 'and', 'step', 'steps', 'with', 'after', 'time', 'fall', 'chord', 'polyline',
       'descent', 'from'],
  pt: ['não', 'após', 'posição', 'descida', 'até', 'uma', 'pela', 'pelo', 'sem'],
  ca: ['amb', 'dels', 'després', 'baixada', 'posició', 'cursa', 'segons', 'fins'],
  fr: ['après', 'avec', 'selon', 'chute', 'descente', 'corde', 'du', 'et', 'une', 'brisée',
       'cycloïde', 'secondes', 'chaque', 'depuis'],
  it: ['dopo', 'della', 'passi', 'discesa', 'ogni', 'spezzata', 'il', 'gli', 'secondo', 'caduta',
       'senza'],
  de: ['der', 'die', 'und', 'nach', 'schritt', 'schritte', 'schritten', 'sehne', 'mit',
       'zeit', 'abstieg', 'streckenzug', 'von', 'bei'],
};

test('no catalog holds words only another language writes', () => {
  expect(Object.keys(OWN_WORDS).sort()).toEqual(Object.keys(CATALOGS).sort());
  const found = [];
  for (const [code, catalog] of Object.entries(CATALOGS)) {
    const foreign = new Map(Object.entries(OWN_WORDS).filter(([other]) => other !== code)
      .flatMap(([other, words]) => words.map((word) => [word, other])));
    for (const [key, text] of textsOf(catalog)) {
      if (key.startsWith('language.'))
        continue;
      for (const word of text.replace(/\{\w+\}/g, ' ').toLowerCase().match(/\p{L}+/gu) || [])
        if (foreign.has(word))
          found.push(`${code} ${key}: "${word}" (${foreign.get(word)})`);
    }
  }
  expect(found).toEqual([]);
});

// The page as built: the others' catalogs packed, each
// whole but for the pictures' words, which the module has; none of their
// longer texts in the page as it is, where the program's are.
test('the page holds the program\'s catalog as text and the others packed', () => {
  const page = fs.readFileSync(PAGE, 'utf8');
  const catalogs = JSON.parse(unpacked(packedCatalogs(PAGE), PAGE).toString('utf8'));
  const others = Object.keys(CATALOGS).filter((code) => code !== PROGRAM_LANGUAGE);
  expect(Object.keys(catalogs).sort()).toEqual(others.sort());
  const program = [...textsOf(CATALOGS[PROGRAM_LANGUAGE]).values()];
  const written = [];
  for (const code of others) {
    const { pictures, ...read } = CATALOGS[code];
    expect(catalogs[code], code).toEqual(read);
    for (const [key, text] of textsOf(read))
      if (text.length > 20 && key !== 'page.noScript' && !program.includes(text) && page.includes(text))
        written.push(`${code}: ${key}`);
  }
  expect(written).toEqual([]);
  for (const key of ['race-note', 'methods-note', 'lab-note'])
    expect(page).toContain(CATALOGS[PROGRAM_LANGUAGE].elements[key]);
});
