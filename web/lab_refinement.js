// The laboratory's refinement table, asked for with its button: the
// optimum of N = 5, 10, 20, ... intervals up to the card's N, and of N,
// each row worked out by a worker with an instance of the module of its
// own (a table as far as a million intervals takes seconds), kept by the
// page's module as it arrives and drawn from the first row up to the
// first still missing: the gap against N on log axes. The status line says
// how many rows have arrived. A change of the problem stops the workers
// and forgets the table, which was another problem's.
import { saveText } from './downloads.js';
import { startWorkers } from './workers.js';

const REFINEMENT_REDRAW_MS = 200;

// Rows of the card's problem now for the workers, in order.
function rowMessages(c, rows) {
  const { e, contract, problem: p } = c;
  const messages = [];
  for (let index = 0; index < rows; ++index)
    messages.push({ lab: { x: p.x, y: p.y, intervals: e.rodadero_lab_refinement_intervals(p.intervals, index),
                           layout: contract.lab.layouts[p.layout], rule: contract.lab.rules[p.rule],
                           index } });
  return messages;
}

function refinementState(c) {
  const element = (id) => document.getElementById(id);
  return {
    c, host: element('lab-refinement'), status: element('lab-refine-status'),
    csv: element('lab-refine-csv'), svg: element('lab-refine-svg'),
    rows: 0, known: 0, stop: null, done: null, ms: null, failure: null, drawnAt: -Infinity,
  };
}

function statusText(r) {
  const { say, number } = r.c.language.words();
  if (r.failure !== null)
    return say('lab.refineFailed', { reason: r.failure });
  if (r.ms !== null)
    return say('lab.refined', { rows: r.rows, seconds: number(r.ms / 1000, 1) });
  return r.rows ? say('lab.refining', { known: r.known, rows: r.rows }) : '';
}

// The status at once; the chart at most every REFINEMENT_REDRAW_MS, or at
// once (`force`), once a row is known.
function draw(r, force = false) {
  const { c } = r;
  r.status.textContent = statusText(r);
  const now = Date.now();
  if (r.known === 0 || (!force && now - r.drawnAt < REFINEMENT_REDRAW_MS))
    return;
  r.drawnAt = now;
  const language = c.moduleLanguage();
  const chartAt = (width) => c.contract.text(c.e.rodadero_lab_refinement_chart(language, width));
  c.shown.show(r.host, chartAt(0), () => c.language.words().say('lab.refinement',
                                                                { known: r.known, rows: r.rows }),
               chartAt);
  r.host.hidden = false;
  r.svg.disabled = false;
}

// The table of the problem now, in the workers.
function start(r) {
  const { c } = r;
  forget(r);
  r.rows = c.e.rodadero_lab_refinement_count(c.problem.intervals);
  c.e.rodadero_lab_refinement_start(r.rows);
  r.stop = new AbortController();
  const keep = (row) => {
    r.known = c.e.rodadero_lab_refinement_keep(row.index, row.intervals, row.optimumTime,
      row.exactTime, row.cycloidTime, row.lambdaMin, row.lambdaMax, row.condition, row.bestStep,
      row.bestRate, row.stepsToMillionth);
    draw(r);
  };
  const stop = r.stop;
  r.done = startWorkers(c.work, rowMessages(c, r.rows), 'labRow', keep, 'rodadero-refinement',
                        stop.signal).then((result) => {
    r.ms = result.ms;
    r.csv.disabled = false;
    draw(r, true);
    return result;
  });
  r.done.catch((error) => {
    if (stop.signal.aborted)
      return;
    r.failure = error.message;
    draw(r, true);
  });
  draw(r, true);
}

// No table: the one under way stopped, the one shown hidden.
function forget(r) {
  if (r.stop)
    r.stop.abort(new Error('the problem changed'));
  Object.assign(r, { rows: 0, known: 0, stop: null, done: null, ms: null, failure: null });
  r.c.e.rodadero_lab_refinement_start(0);
  r.host.hidden = true;
  r.csv.disabled = r.svg.disabled = true;
  r.status.textContent = '';
}

function listen(r) {
  const { c } = r;
  const name = () => c.language.words().say('files.labRefinement', { problem: c.problemName() });
  document.getElementById('lab-refine').addEventListener('click', () => start(r));
  r.csv.addEventListener('click', () =>
    saveText([name()], 'csv', c.contract.text(c.e.rodadero_lab_refinement_csv())));
  r.svg.addEventListener('click', () => {
    draw(r, true);
    saveText([name(), c.language.current()], 'svg', c.shown.of(r.host));
  });
}

// The refinement table of the card `c`.
export function createRefinement(c) {
  const r = refinementState(c);
  listen(r);
  return {
    forget: () => forget(r),
    redraw: () => draw(r, true),
    // Settles when the table asked for last is whole.
    done: () => r.done,
  };
}
