// A worker of the sweep, with an instance of the module of its own (and so
// a model record of its own, which FateOfPosition does not even use: it
// follows each position on a record made for it). The page sends the
// module's bytes first, then one scroll position at a time, or one cell of
// another method's map ({method, position, beta: its twentieths}); the
// worker answers each with its fate, found within the step limit the page
// gives.
// Whatever goes wrong (a module that will not start, a trap, a throw) is
// answered as {error: what it was}, for the page to end the sweep with.
'use strict';

let rodadero = null;
let contract = null;

async function answer(data) {
  if (data.bytes) {
    rodadero = await instantiateModule(data.bytes);
    contract = openContract(rodadero);
    return { ready: true };
  }
  if (data.method !== undefined) {
    const cell = rodadero.rodadero_cell_fate(data.method, data.position, data.beta, data.limit);
    if (!cell)
      throw new Error(`no fate for the cell ${data.position}, ${data.beta} within ${data.limit} steps`);
    return { cell: contract.fields('PageCell', cell) };
  }
  const address = rodadero.rodadero_fate_of_position(data.position, data.limit);
  if (!address)
    throw new Error(`no fate for position ${data.position} within ${data.limit} steps`);
  return { fate: contract.fields('PageFate', address) };
}

self.onmessage = async ({ data }) => {
  let message;
  try {
    message = await answer(data);
  } catch (error) {
    message = { error: String(error) };
  }
  self.postMessage(message);
};
