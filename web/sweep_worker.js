// A worker of the sweep, with an instance of the module of its own (and so
// a model record of its own, which FateOfPosition does not even use: it
// follows each position on a record made for it). The page sends the
// module's bytes first, then scroll positions, or cells of another method's
// map ({method, position, beta: its index in the map's list}), or rows of
// the laboratory's refinement table ({lab: {x, y, intervals, layout, rule,
// index}}), without waiting; the worker answers each in turn with its fate,
// found within the step limit the page gives, or its row, once the module
// has started.
// Whatever goes wrong (a module that will not start, a trap, a throw) is
// answered as {error: what it was}, for the page to end the sweep with.
import { instantiateModule, openContract } from './module.js';

// The worker's module: its exports and its contract, once started.
function createWorkerModule() {
  return { rodadero: null, contract: null };
}

async function answer(worker, data) {
  if (data.bytes) {
    worker.rodadero = await instantiateModule(data.bytes);
    worker.contract = openContract(worker.rodadero);
    return null;
  }
  const { rodadero, contract } = worker;
  if (data.lab !== undefined) {
    const { x, y, intervals, layout, rule, index } = data.lab;
    const row = rodadero.rodadero_lab_refinement_row(x, y, intervals, layout, rule);
    if (!row)
      throw new Error(`no refinement row of ${intervals} intervals`);
    return { labRow: { index, ...contract.fields('LabPageRow', row) } };
  }
  if (data.method !== undefined) {
    const cell = rodadero.rodadero_cell_fate(data.method, data.position, data.beta, data.limit);
    if (!cell)
      throw new Error(`no fate for the cell ${data.position}, ${data.beta} within ${data.limit} steps`);
    return { cell: contract.fields('Fate', cell) };
  }
  const address = rodadero.rodadero_fate_of_position(data.position, data.limit);
  if (!address)
    throw new Error(`no fate for position ${data.position} within ${data.limit} steps`);
  return { fate: contract.fields('Fate', address) };
}

// One message at a time, in the order they came: each waits for the one
// before, the module's start first. After a failure the rest go unanswered.
function answerInTurn(scope) {
  const worker = createWorkerModule();
  let turn = Promise.resolve();
  let failed = false;
  scope.onmessage = ({ data }) => {
    turn = turn.then(async () => {
      if (failed)
        return;
      let message;
      try {
        message = await answer(worker, data);
      } catch (error) {
        failed = true;
        message = { error: String(error) };
      }
      if (message)
        scope.postMessage(message);
    });
  };
}

answerInTurn(self);
