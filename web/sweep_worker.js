// A worker of the sweep, with an instance of the module of its own (and so
// a model record of its own, which FateOfPosition does not even use: it
// follows each position on a record made for it). The page sends the
// module's bytes first, then one scroll position at a time; the worker
// answers each with its fate, found within the step limit the page gives.
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
