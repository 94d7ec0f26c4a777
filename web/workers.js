// Work for workers, each with an instance of the module of its own: the
// panel's sweep of the scroll positions and the methods card's map. The
// workers run the page's text of the sweep's worker (sweep_worker.js and
// what it imports), started from a blob: address of it.

const SWEEP_WORKERS_MAX = 2;
const HELD = 2; // messages a worker holds at a time

// Where the work is: the messages handed out so far (`next`), the answers
// arrived, whether it is over (`settled`), and its workers.
function createCrew(url, messages, key, onAnswer) {
  return { url, messages, key, onAnswer, next: 0, arrived: 0, settled: false, workers: [] };
}

function settle(crew) {
  crew.settled = true;
  URL.revokeObjectURL(crew.url);
}

// A failure, whatever the way, ends the work: every worker is stopped and
// the promise is rejected with the reason.
function fail(crew, reject, reason) {
  if (crew.settled)
    return;
  settle(crew);
  for (const w of crew.workers)
    w.terminate();
  reject(reason instanceof Error ? reason : new Error(reason));
}

// Messages for `worker` until it holds `upTo`; one that has none left to
// work on is stopped.
function handOut(crew, worker, upTo = HELD) {
  while (worker.held < upTo && crew.next < crew.messages.length) {
    worker.postMessage(crew.messages[crew.next++]);
    ++worker.held;
  }
  if (worker.held === 0)
    worker.terminate();
}

// What `worker` answered: a failure, or an answer handed to onAnswer (the
// last one ends the work, through `ends.done`); then its next message.
function heard(crew, worker, data, ends) {
  if (data.error !== undefined)
    return ends.fail(data.error);
  if (data[crew.key]) {
    --worker.held;
    crew.onAnswer(data[crew.key]);
    if (++crew.arrived === crew.messages.length) {
      settle(crew);
      ends.done();
    }
  }
  handOut(crew, worker);
}

// One worker more, sent the module's bytes first.
function hire(crew, bytes, ends) {
  const worker = new Worker(crew.url);
  crew.workers.push(worker);
  worker.onmessage = ({ data }) => {
    if (crew.settled)
      return;
    try {
      heard(crew, worker, data, ends);
    } catch (error) {
      ends.fail(error);
    }
  };
  worker.onerror = (event) => {
    event.preventDefault();
    ends.fail(`the sweep's worker failed: ${event.message || 'no reason given'}`);
  };
  worker.onmessageerror = () => ends.fail('a message of the sweep\'s worker could not be read');
  worker.held = 0;
  worker.postMessage({ bytes });
}

// The `messages` handed out in order to up to two workers running
// `script`, each with an instance of the module `bytes`; each answer's
// `key` handed to onAnswer. Each worker holds one message beyond the one
// it is working on, so that it never waits for this thread (busy with a
// paint, say) to hear its answer before it can go on. The promise settles
// with the work's time in milliseconds (measured as `name` in the page's
// performance timeline) and the number of workers, or is rejected with
// the reason a worker failed, or with the reason `signal` (an AbortSignal,
// optional) is aborted with, which stops every worker.
export function startWorkers({ script, bytes }, messages, key, onAnswer, name, signal) {
  const url = URL.createObjectURL(new Blob([script], { type: 'text/javascript' }));
  const started = performance.now();
  performance.mark(`${name}-start`);
  const count = Math.max(1, Math.min(SWEEP_WORKERS_MAX, navigator.hardwareConcurrency || 1));
  const crew = createCrew(url, messages, key, onAnswer);
  return new Promise((resolve, reject) => {
    const ends = {
      fail: (reason) => fail(crew, reject, reason),
      done: () => {
        performance.measure(name, `${name}-start`);
        resolve({ ms: performance.now() - started, workers: count });
      },
    };
    if (signal)
      signal.addEventListener('abort', () => ends.fail(signal.reason), { once: true });
    try {
      for (let i = 0; i < count; ++i)
        hire(crew, bytes, ends);
      // The first messages go round the workers one at a time, so that the
      // first ones, the slowest, are shared out.
      for (let held = 1; held <= HELD; ++held)
        for (const worker of crew.workers)
          handOut(crew, worker, held);
    } catch (error) {
      ends.fail(error);
    }
  });
}
