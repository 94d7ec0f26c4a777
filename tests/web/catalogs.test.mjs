// The catalogs of the page's languages (texts/*.json) as a translator
// leaves them: every catalog has every text of the program's own language
// (Spanish), with the same {names} to fill in, the dialog's descriptions
// beside where the page does not speak the program's language; and the
// page's own Spanish is written with its accents, apart from the words the
// program itself prints, which stay as the program has them, and the names
// of the files it saves, which stay plain ASCII as they have always been.
// Read as files, no browser.
import { test, expect } from '@playwright/test';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const TEXTS = fileURLToPath(new URL('../../texts', import.meta.url));
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
