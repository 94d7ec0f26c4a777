// The page's scripts as a reader meets them (web/*.js, ES modules): no
// function longer than about a screen, and no state kept at the top of a
// module, where every module that imports it would share it; state lives
// in what the page makes as it starts. Read with acorn, no browser.
import { test, expect } from '@playwright/test';
import { parse } from 'acorn';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const WEB = fileURLToPath(new URL('../../web', import.meta.url));
const LONGEST_FUNCTION = 60; // lines, from its first line to its closing brace

const SOURCES = fs.readdirSync(WEB).filter((f) => f.endsWith('.js')).sort();

function syntaxOf(file) {
  return parse(fs.readFileSync(path.join(WEB, file), 'utf8'),
               { ecmaVersion: 'latest', sourceType: 'module', locations: true });
}

// Every function of a syntax tree: declarations, expressions, arrows and
// methods alike.
function functionsOf(node, found = []) {
  if (node === null || typeof node !== 'object')
    return found;
  if (Array.isArray(node)) {
    for (const child of node)
      functionsOf(child, found);
    return found;
  }
  if (/Function/.test(node.type))
    found.push(node);
  for (const [key, value] of Object.entries(node))
    if (key !== 'loc')
      functionsOf(value, found);
  return found;
}

function nameOf(fn, file) {
  const name = fn.id ? fn.id.name : 'a function';
  return `${file}:${fn.loc.start.line} ${name}`;
}

test('the page\'s scripts are there to read', () => {
  for (const name of ['page.js', 'module.js', 'sweep_worker.js'])
    expect(SOURCES).toContain(name);
});

for (const file of SOURCES) {
  test(`${file}: no function runs over ${LONGEST_FUNCTION} lines`, () => {
    const long = functionsOf(syntaxOf(file))
      .map((fn) => ({ where: nameOf(fn, file), lines: fn.loc.end.line - fn.loc.start.line + 1 }))
      .filter((f) => f.lines > LONGEST_FUNCTION);
    expect(long).toEqual([]);
  });

  // A top-level const holds a primitive, a function or a frozen table: a
  // new Map, array or object there would be state all its importers share.
  test(`${file}: nothing at its top level can change (no let, var or open container)`, () => {
    const CONTAINERS = ['NewExpression', 'ArrayExpression', 'ObjectExpression'];
    const changeable = syntaxOf(file).body
      .map((node) => (node.type === 'ExportNamedDeclaration' ? node.declaration : node))
      .filter((node) => node && node.type === 'VariableDeclaration')
      .flatMap((node) => node.declarations.map((d) => ({ kind: node.kind, d })))
      .filter(({ kind, d }) => kind !== 'const' || (d.init && CONTAINERS.includes(d.init.type)))
      .map(({ kind, d }) => `${file}:${d.loc.start.line} ${kind} ${d.id.name}`);
    expect(changeable).toEqual([]);
  });
}
