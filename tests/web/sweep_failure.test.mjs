// A sweep whose worker fails, whatever the way: window.rodadero.swept is
// rejected with the reason, the panel's status line says so in Spanish
// within a second, every worker is stopped, and the window goes on ticking
// and stepping as the host build's model does. Each row breaks the workers
// in its own way, through the page's Worker before the page starts.
import { test, expect, openPage, ticks, state, curveBits, nativeStates } from './page_fixture.mjs';

// A WebAssembly module made here: its memory holds a contract that lays
// out nothing, its start does nothing, and asking it for a fate traps.
function trappingModule() {
  const utf8 = (s) => [...Buffer.from(s, 'utf8')];
  const short = (n) => {
    if (n > 127)
      throw new Error('this module needs only one-byte lengths');
    return n;
  };
  const vector = (items) => [short(items.length), ...items.flat()];
  const name = (s) => [short(s.length), ...utf8(s)];
  const section = (id, content) => [id, short(content.length), ...content];
  const FUNC = 0x60, I32 = 0x7f;
  const contract = [...utf8('{"structs":{}}'), 0];
  return [
    0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00,
    // Types: () -> (), () -> i32, (i32, i32) -> i32.
    ...section(1, vector([[FUNC, 0, 0], [FUNC, 0, 1, I32], [FUNC, 2, I32, I32, 1, I32]])),
    ...section(3, vector([[0], [1], [2]])),
    ...section(5, vector([[0x00, 1]])), // one page of memory
    ...section(7, vector([
      [...name('memory'), 0x02, 0], [...name('_initialize'), 0x00, 0],
      [...name('rodadero_contract'), 0x00, 1], [...name('rodadero_fate_of_position'), 0x00, 2],
    ])),
    ...section(10, vector([
      [2, 0, 0x0b],             // _initialize: nothing
      [4, 0, 0x41, 0, 0x0b],    // rodadero_contract: the text at address 0
      [3, 0, 0x00, 0x0b],       // rodadero_fate_of_position: unreachable
    ])),
    ...section(11, vector([[0x00, 0x41, 0, 0x0b, ...vector(contract)]])),
  ];
}

// How each row breaks the workers, and the reason the sweep must end with.
const BROKEN_WORKERS = [
  { name: 'bytes that are no module', how: 'no-module',
    reason: /^CompileError: WebAssembly\.compile\(\): expected magic word/ },
  { name: 'a module whose fate traps', how: 'trap', reason: /^RuntimeError: unreachable$/ },
  { name: 'a throw in the worker (a step limit of 0)', how: 'no-steps',
    reason: /^Error: no fate for position [12] within 0 steps$/ },
  { name: 'a worker whose script throws as it starts', how: 'script-throws',
    reason: /^the sweep's worker failed: Uncaught Error: this worker cannot start$/ },
];

for (const row of BROKEN_WORKERS) {
  test(`a failed sweep: ${row.name}`, { tag: '@real-time' }, async ({ page, problems }) => {
    await page.addInitScript(({ how, trapping }) => {
      const log = { created: [], terminated: new Set() };
      window.sweepWorkers = log;
      const WorkerOfPage = window.Worker;
      window.Worker = class extends WorkerOfPage {
        constructor(url, options) {
          const script = 'throw new Error("this worker cannot start");';
          super(how === 'script-throws'
            ? URL.createObjectURL(new Blob([script], { type: 'text/javascript' })) : url, options);
          this.index = log.created.length;
          log.created.push(this.index);
        }
        postMessage(message, ...rest) {
          if (message && message.bytes && how === 'no-module')
            message = { bytes: new Uint8Array([0, 1, 2, 3]) };
          if (message && message.bytes && how === 'trap')
            message = { bytes: new Uint8Array(trapping) };
          if (message && message.position !== undefined && how === 'no-steps')
            message = { ...message, limit: 0 };
          return super.postMessage(message, ...rest);
        }
        terminate() {
          log.terminated.add(this.index);
          return super.terminate();
        }
      };
    }, { how: row.how, trapping: trappingModule() });
    await openPage(page);

    // Within a second of the first paint: the sweep rejected, the status
    // line saying why.
    await page.evaluate(() => {
      window.rodadero.swept.then(
        (result) => { window.sweepOutcome = `resolved with ${JSON.stringify(result)}`; },
        (error) => { window.sweepOutcome = error.message; });
    });
    const outcome = () => page.evaluate(() => window.sweepOutcome ?? 'pending');
    await expect.poll(outcome, { timeout: 1000 }).toMatch(row.reason);
    const reason = await outcome();
    await expect(page.locator('#fates-status')).toHaveText(
      `No se pudo calcular el destino de cada posición: ${reason}`, { timeout: 1000 });
    const workers = await page.evaluate(() => ({
      created: window.sweepWorkers.created.length,
      terminated: [...window.sweepWorkers.terminated].sort(),
    }));
    expect(workers.created).toBeGreaterThanOrEqual(1);
    expect(workers.terminated).toEqual([...Array(workers.created).keys()]);

    // The window runs on: 20 periods of both timers, 40 steps in timed
    // mode, as the host build takes them; the status stays.
    await ticks(page, 20);
    expect(curveBits(await state(page))).toEqual(nativeStates(['40'])[0]);
    await expect(page.locator('#fates-status')).toHaveText(/^No se pudo calcular el destino/);

    // The page reports the failure once on its console, and nothing else
    // goes wrong.
    const reported = problems.filter((p) => p.startsWith('console error: ') && p.includes(reason));
    expect(reported).toHaveLength(1);
    problems.splice(problems.indexOf(reported[0]), 1);
  });
}
