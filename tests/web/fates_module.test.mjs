// The page's module, as the page carries it, on the fates its workers find
// and its card keeps: one record for a position and a cell, read by the
// contract's layout; a cell's momentum as its index in the contract's list
// of the map's betas; and what the module keeps of them (each fate kept,
// and the counts of each kind), against the host build's rodadero-trace.
// No browser: the module runs in node.
import { test, expect } from '@playwright/test';
import { moduleBytes, moduleInstance } from './page_parts.mjs';
import { traceRows } from './trace_fixture.mjs';

const PAGE = process.env.RODADERO_PAGE || 'build/web/rodadero.html';

function pageModule() {
  return new WebAssembly.Module(moduleBytes(PAGE));
}

// An instance, and a reader of the records it hands out by the contract.
function startInstance() {
  const { e, contract } = moduleInstance(pageModule());
  const read = (struct, address) => {
    if (address === 0)
      return null;
    const { fields } = contract.structs[struct];
    return Object.fromEntries(Object.entries(fields).map(([name, f]) =>
      [name, new Int32Array(e.memory.buffer, address + f.offset, 1)[0]]));
  };
  return { e, contract, read };
}

// A row of the sweep or the map as the record's numbers.
const fateOfRow = (row) => ({ cycleFrom: Number(row.cycle_from), period: Number(row.period),
                              lowUs: Number(row.low_us), highUs: Number(row.high_us) });

test('the contract lists the map\'s betas as the native map writes them', () => {
  const { contract } = startInstance();
  const column = traceRows(['--sweep', '--method', 'heavy-ball', '--position', '5',
                            '--steps', '1']).map((r) => r.beta);
  expect(contract.map.betas.map((b) => String(b.value))).toEqual(column);
  expect(Object.keys(contract.structs.Fate.fields)).toEqual(
    ['position', 'beta', 'cycleFrom', 'period', 'lowUs', 'highUs']);
});

test('a position\'s fate, kept, and the counts of each kind', () => {
  const { e, read } = startInstance();
  const positions = [57, 58, 99, 100];
  const rows = positions.map((p) => traceRows(['--sweep', '--position', `${p}`])[0]);
  expect(read('PageCounts', e.rodadero_fate_counts())).toEqual(
    { known: 0, settles: 0, swings: 0, noCycle: 0 });
  positions.forEach((p, i) => {
    const fate = read('Fate', e.rodadero_fate_of_position(p, 10000000));
    expect(fate).toEqual({ position: p, beta: 0, ...fateOfRow(rows[i]) });
    expect(read('Fate', e.rodadero_fate_kept(p))).toBeNull();
    expect(e.rodadero_fate_keep(p, fate.cycleFrom, fate.period, fate.lowUs, fate.highUs))
      .toBe(i + 1);
    expect(read('Fate', e.rodadero_fate_kept(p))).toEqual(fate);
  });
  // Beyond its limit position 100 has no cycle yet: its printed time after
  // the limit's last step, as the native sweep gives it.
  const open = read('Fate', e.rodadero_fate_of_position(100, 6000));
  const openRow = traceRows(['--sweep', '--position', '100', '--steps', '6000'])[0];
  expect(open).toEqual({ position: 100, beta: 0, cycleFrom: 0, period: 0,
                         lowUs: Number(openRow.low_us), highUs: Number(openRow.high_us) });
  e.rodadero_fate_keep(100, 0, 0, open.lowUs, open.highUs);
  // All four swing with period 2; 100 is now without a cycle.
  expect(read('PageCounts', e.rodadero_fate_counts())).toEqual(
    { known: 4, settles: 0, swings: 3, noCycle: 1 });
  expect(read('Fate', e.rodadero_fate_kept(0))).toBeNull();
});

test('a cell\'s fate by its momentum\'s index, kept, and the map\'s counts', () => {
  const { e, contract, read } = startInstance();
  const code = contract.methods['heavy-ball'];
  const limit = contract.map.stepLimit;
  // Position 50 settles at 0.5; 80 swings at 0.35; 100 has no cycle at 0.9.
  const cells = [[50, 10], [80, 7], [100, 18]];
  cells.forEach(([p, k], i) => {
    const beta = String(contract.map.betas[k].value);
    const row = traceRows(['--sweep', '--method', 'heavy-ball', '--position', `${p}`,
                           '--beta', beta])[0];
    expect(row.beta).toBe(beta);
    const fate = read('Fate', e.rodadero_cell_fate(code, p, k, limit));
    expect(fate).toEqual({ position: p, beta: k, ...fateOfRow(row) });
    expect(read('Fate', e.rodadero_map_cell(code, p, k))).toBeNull();
    expect(e.rodadero_cell_keep(code, p, k, fate.cycleFrom, fate.period, fate.lowUs,
                                fate.highUs)).toBe(i + 1);
    expect(read('Fate', e.rodadero_map_cell(code, p, k))).toEqual(fate);
  });
  expect(read('PageCounts', e.rodadero_map_counts(code))).toEqual(
    { known: 3, settles: 1, swings: 2, noCycle: 1 });
  expect(read('PageCounts', e.rodadero_map_counts(contract.methods.nesterov))).toEqual(
    { known: 0, settles: 0, swings: 0, noCycle: 0 });
  // No cell: a momentum past the list, a position off the map's.
  expect(e.rodadero_cell_fate(code, 50, contract.map.betas.length, limit)).toBe(0);
  expect(e.rodadero_cell_keep(code, 52, 3, 0, 0, 1, 1)).toBe(-1);
  expect(e.rodadero_map_counts(contract.methods.gradient)).toBe(0);
});
