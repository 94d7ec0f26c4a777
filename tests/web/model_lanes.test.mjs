// The page's module against the host build on states the page itself never
// reaches: step factors far outside the scroll bar's, which drive the
// abscissae over every binade, to infinities and NaNs, or hold them still.
// The module takes two nodes and two segments at a time; the host build one
// at a time; each row's state must agree bit for bit after its steps. No
// browser: the module that the page carries runs in node.
import { test, expect } from '@playwright/test';
import { moduleBytes, moduleInstance } from './page_parts.mjs';
import { nativeStates } from './scenario_table.mjs';

const PAGE = process.env.RODADERO_PAGE || 'build/web/rodadero.html';

// What each row's native state must hold, so that the row tests what it
// says it does: counts of the kinds of value among NodeX and ShownX.
const ROWS = [
  { name: 'an overflowing first step: infinities', alpha: 1e308, steps: 1, holds: { inf: 32 } },
  { name: 'then NaN everywhere', alpha: 1e308, steps: 2, holds: { nan: 38 } },
  { name: 'NaN in some nodes, huge finite ones beside', alpha: 3e306, steps: 2,
    holds: { nan: 6, finite: 32 } },
  { name: 'huge finite abscissae, an infinite fall time', alpha: 1e305, steps: 3,
    holds: { finite: 38 }, fallTime: Infinity },
  { name: 'swings over many binades', alpha: 1000, steps: 5, holds: { negative: 34 } },
  { name: 'abscissae across zero', alpha: 0.003, steps: 20, holds: { negative: 4 } },
  { name: 'an ascent (a negative step factor)', alpha: -0.001, steps: 30, holds: { negative: 16 } },
  { name: 'the smallest subnormal step factor: nothing moves', alpha: 5e-324, steps: 3,
    holds: { finite: 38 } },
  { name: 'a subnormal step factor', alpha: 1e-309, steps: 3, holds: { finite: 38 } },
  { name: 'position 1 for 2000 steps', alpha: 2.0000000000000003e-06, steps: 2000,
    holds: { finite: 38 } },
  { name: 'position 100 for 3000 steps', alpha: 0.00020000000000000004, steps: 3000,
    holds: { finite: 38 } },
];

function kinds(values) {
  const count = { inf: 0, nan: 0, finite: 0, negative: 0 };
  for (const x of values) {
    if (Number.isNaN(x))
      ++count.nan;
    else if (!Number.isFinite(x))
      ++count.inf;
    else
      ++count.finite;
    if (x < 0)
      ++count.negative;
  }
  return count;
}

const fromBits = (hex) => Buffer.from(hex, 'hex').readDoubleBE();

// The module as the page carries it, unpacked.
function pageModule() {
  return new WebAssembly.Module(moduleBytes(PAGE));
}

function startInstance(module) {
  const { e, contract } = moduleInstance(module);
  return { e, record: contract.places.record.address,
           fields: contract.structs.CurveStateRecord.fields };
}

test('the module steps as the host build on states beyond the scroll bar', () => {
  const module = pageModule();
  const expected = nativeStates(ROWS.map((r) => `alpha=${r.alpha},${r.steps}`));
  ROWS.forEach((row, i) => {
    const native = expected[i];
    const inner = (hex) => hex.slice(1, -1);
    const held = kinds([...inner(native.nodeX), ...inner(native.shownX)].map(fromBits));
    for (const [kind, n] of Object.entries(row.holds))
      expect(held[kind], `${row.name}: the host build's ${kind} count`).toBe(n);
    if (row.fallTime !== undefined)
      expect(fromBits(native.fallTime), row.name).toBe(row.fallTime);

    const { e, record, fields } = startInstance(module);
    e.rodadero_start();
    const view = (View, field) => new View(e.memory.buffer, record + fields[field].offset,
                                           fields[field].count);
    view(Float64Array, 'Alpha')[0] = row.alpha;
    for (let s = 0; s < row.steps; ++s)
      e.rodadero_main_tick();
    // Bits read as integers: a NaN read as a number might not keep its own.
    const hex = (field) => [...view(BigUint64Array, field)].map((b) => b.toString(16).padStart(16, '0'));
    expect({ nodeX: hex('NodeX'), shownX: hex('ShownX'), fallTime: hex('FallTime')[0] },
           row.name).toEqual(native);
  });
});
