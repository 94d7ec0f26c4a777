// A worker of the sweep, with an instance of the module of its own (and so
// a model record of its own, which FateOfPosition does not even use: it
// follows each position on a record made for it). The page sends the
// module's bytes first, then one scroll position at a time; the worker
// answers each with its fate, found within the step limit the page gives.
'use strict';

let rodadero = null;
let contract = null;

self.onmessage = async ({ data }) => {
  if (data.bytes) {
    rodadero = await instantiateModule(data.bytes);
    contract = openContract(rodadero);
    self.postMessage({ ready: true });
    return;
  }
  const address = rodadero.rodadero_fate_of_position(data.position, data.limit);
  if (!address)
    throw new Error(`no fate for position ${data.position} within ${data.limit} steps`);
  self.postMessage({ fate: contract.fields('PageFate', address) });
};
