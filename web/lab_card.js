// The laboratory's card: a problem of its own (the end point, the number
// of intervals, the layout of the nodes and the time rule), never the
// window's, and a method run live on it from the chord, one step with
// each tick of the main window's timer (after the window's), beside the discrete
// optimum (dashed) and the cycloid through the end. The three times and
// the split of the distance are written in the page's language at every
// step; the pictures, the module's own, are drawn again at most every
// LAB_REDRAW_MS. The end is dragged on the picture (lab_drag.js); the
// refinement table is worked out by the workers (lab_refinement.js); a
// curve drawn by hand races the cycloid (lab_draw.js). Every
// file it saves is what rodadero-trace --lab writes for the same state
// (lab_exports.cpp says which command).
import { saveText } from './downloads.js';
import { watchView } from './in_view.js';
import { listenToDrag } from './lab_drag.js';
import { createDrawMode } from './lab_draw.js';
import { createRefinement } from './lab_refinement.js';

const LAB_REDRAW_MS = 200;
// A tick that took d ms lets the next one in only LAB_REST_FACTOR x d ms
// after it began: the card takes at most a quarter of the main thread,
// whatever its N (a step of a million intervals takes some 20 ms, its
// picture some 40), and the window keeps the rest. At N = 200 a tick takes
// a tenth of a millisecond, and every tick steps.
const LAB_REST_FACTOR = 4;
export const LAB_METHODS = Object.freeze(['gradient', 'heavy-ball', 'nesterov', 'newton']);
const TIME_DECIMALS = 7; // as the command's line writes a time

// The card's elements and what it runs: its problem and setting as the
// module took them last, what is to be drawn again, and whether the
// address is to carry the card (`linked`, from its first change).
function cardState(e, contract, options) {
  const { start } = contract.lab;
  const layouts = Object.keys(contract.lab.layouts);
  const rules = Object.keys(contract.lab.rules);
  const element = (id) => document.getElementById(id);
  return {
    e, contract, ...options, layouts, rules,
    problem: { x: start.x, y: start.y, intervals: start.intervals, layout: layouts[start.layout],
               rule: rules[start.rule] },
    setting: { method: 'gradient', ratio: start.ratio, beta: start.beta },
    card: element('lab-card'),
    picture: element('lab-picture'),
    convergenceHost: element('lab-convergence'),
    times: { now: element('lab-now'), references: element('lab-references'),
             split: element('lab-split') },
    inputs: { intervals: element('lab-intervals'), layout: element('lab-layout'),
              rule: element('lab-rule'), method: element('lab-method'), ratio: element('lab-ratio'),
              beta: element('lab-beta') },
    inView: null, // watchView's
    dirty: true,
    stopped: false,
    restUntil: -Infinity,
    drawnAt: -Infinity,
    linked: false,
    refinement: null,
  };
}

const layoutCode = (c, name) => c.contract.lab.layouts[name];
const ruleCode = (c, name) => c.contract.lab.rules[name];

// The times now, as the module keeps them (a LabTimes).
export const labTimes = (c) => c.contract.fields('LabTimes', c.e.rodadero_lab_times());

// A time in the page's language, to the command's places; signed with
// `sign`.
function seconds(c, value, sign = false) {
  const text = c.language.words().number(value, TIME_DECIMALS);
  return sign && !(value < 0) ? `+${text}` : text;
}

// The times and the split in words.
function writeTimes(c) {
  const t = labTimes(c);
  const { say } = c.language.words();
  const method = say(`lab.methods.${c.setting.method}`);
  const now = { steps: t.steps, method, time: seconds(c, t.now), exact: seconds(c, t.nowExact) };
  let line = t.steps === 0 ? say('lab.chord', now) : say('lab.now', now, t.steps);
  if (t.haltedAt)
    line += ` ${say('lab.halted', { step: t.haltedAt, node: t.haltedNode })}`;
  c.times.now.textContent = line;
  c.times.references.textContent = say('lab.references', {
    intervals: c.problem.intervals, optimum: seconds(c, t.optimum), cycloid: seconds(c, t.cycloid),
  });
  c.times.split.textContent = splitWords(c, t);
}

// The split of the distance to the cycloid in the page's words, as its
// line writes it: the distance = the optimiser's share + the polyline's.
function splitWords(c, t) {
  return c.language.words().say('lab.split', {
    total: seconds(c, t.now - t.cycloid, true), optimiser: seconds(c, t.optimiserShare, true),
    polyline: seconds(c, t.polylineShare, true),
  });
}

// The end and the split in the page's words, as the picture's text
// alternative says them.
function pictureLabel(c) {
  const { say, number } = c.language.words();
  return `${say('lab.picture', { x: number(c.problem.x, 6, true), y: number(c.problem.y, 6, true),
                                 intervals: c.problem.intervals })} ${splitWords(c, labTimes(c))}`;
}

function drawPictures(c) {
  const { e, contract } = c;
  const language = c.moduleLanguage();
  c.shown.show(c.picture, contract.text(e.rodadero_lab_still(language, 0)), () => pictureLabel(c),
               (width) => contract.text(e.rodadero_lab_still(language, width)));
  const { say } = c.language.words();
  c.shown.show(c.convergenceHost, contract.text(e.rodadero_lab_convergence(language, 0)), () =>
    say('lab.convergence', { method: say(`lab.methods.${c.setting.method}`),
                             steps: labTimes(c).steps }),
  (width) => contract.text(e.rodadero_lab_convergence(language, width)));
}

// The words at once; the pictures where they have changed, at most every
// LAB_REDRAW_MS, or at once (`force`).
function refresh(c, force = false) {
  writeTimes(c);
  const now = Date.now();
  if (!c.dirty || (!force && now - c.drawnAt < LAB_REDRAW_MS))
    return;
  c.dirty = false;
  c.drawnAt = now;
  drawPictures(c);
}

// The controls as the state is.
function showState(c) {
  const { inputs, problem, setting } = c;
  inputs.intervals.value = String(problem.intervals);
  inputs.layout.value = problem.layout;
  inputs.rule.value = problem.rule;
  inputs.method.value = setting.method;
  inputs.ratio.value = String(setting.ratio);
  inputs.beta.value = String(setting.beta);
  inputs.beta.disabled = setting.method !== 'heavy-ball' && setting.method !== 'nesterov';
  inputs.ratio.disabled = setting.method === 'newton';
}

// A change the card takes: drawn at once, the address told.
function changed(c) {
  c.linked = true;
  c.stopped = false;
  c.dirty = true;
  showState(c);
  refresh(c, true);
  c.onChange();
}

// The problem `p` ({x, y, intervals, layout, rule}); false, and nothing
// changes, where the module refuses it.
export function setProblem(c, p) {
  if (c.e.rodadero_lab_problem(p.x, p.y, p.intervals, layoutCode(c, p.layout),
                               ruleCode(c, p.rule)) < 0)
    return false;
  c.problem = { ...p };
  c.refinement.forget();
  changed(c);
  return true;
}

// The setting `s` ({method, ratio, beta}); false where the module refuses it.
export function setSetting(c, s) {
  if (c.e.rodadero_lab_setting(c.contract.methods[s.method], s.ratio, s.beta) < 0)
    return false;
  c.setting = { ...s };
  changed(c);
  return true;
}

// A number typed into a control: the state's own where it cannot be read
// or is refused (the control shows it again).
function listenToControls(c) {
  const { inputs } = c;
  const problemChange = () => {
    const p = { ...c.problem, intervals: Number(inputs.intervals.value),
                layout: inputs.layout.value, rule: inputs.rule.value };
    if (!Number.isInteger(p.intervals) || !setProblem(c, p))
      showState(c);
  };
  const settingChange = () => {
    const s = { method: inputs.method.value, ratio: Number(inputs.ratio.value),
                beta: Math.round(Number(inputs.beta.value) * 100) / 100 };
    if (inputs.ratio.value.trim() === '' || inputs.beta.value.trim() === '' || !setSetting(c, s))
      showState(c);
  };
  for (const name of ['intervals', 'layout', 'rule'])
    inputs[name].addEventListener('change', problemChange);
  for (const name of ['method', 'ratio', 'beta'])
    inputs[name].addEventListener('change', settingChange);
  document.getElementById('lab-restart').addEventListener('click', () => {
    c.e.rodadero_lab_reset();
    changed(c);
  });
}

// The state in the files' names: the end, the intervals, the layout and
// the rule, in the page's language.
function problemName(c) {
  const { say } = c.language.words();
  const p = c.problem;
  return say('files.labProblem', { x: String(p.x), y: String(p.y), intervals: String(p.intervals),
                                   layout: say(`files.labLayouts.${p.layout}`),
                                   rule: say(`files.labRules.${p.rule}`) });
}

function listenToDownloads(c) {
  const { e, contract } = c;
  const say = (path, values, count) => c.language.words().say(path, values, count);
  const runName = () => say('files.labRun', { problem: problemName(c), method: c.setting.method,
                                              steps: String(labTimes(c).steps) });
  const button = (id, save) => document.getElementById(id).addEventListener('click', save);
  const shown = (host, name) => {
    c.dirty = true;
    refresh(c, true);
    saveText([name, c.language.current()], 'svg', c.shown.of(host));
  };
  button('lab-run-csv', () => saveText([runName()], 'csv', contract.text(e.rodadero_lab_run_csv())));
  button('lab-run-svg', () => shown(c.picture, runName()));
  button('lab-plot-svg', () => shown(c.convergenceHost, say('files.labConvergence', { run: runName() })));
  button('lab-optimum-csv', () => saveText([say('files.labOptimum', { problem: problemName(c) })],
                                           'csv', contract.text(e.rodadero_lab_optimum_csv())));
}

// One step with each tick while the card is in view, unless the last one
// is still resting; the words at once, the pictures now and then. A run
// that has stopped (its steps taken, or halted) is drawn once more.
function tick(c) {
  const began = performance.now();
  if (began < c.restUntil || !c.inView())
    return;
  const stepped = c.e.rodadero_lab_step() === 1;
  if (!stepped && c.stopped)
    return;
  c.stopped = !stepped;
  c.dirty = true;
  refresh(c);
  c.restUntil = began + LAB_REST_FACTOR * (performance.now() - began);
}

// The card, for the module `e` and its contract, in the page's `language`
// (createPageLanguage), which the module numbers as moduleLanguage()
// gives; its pictures `shown` (createShownPictures), its refinement table
// in workers that run `work` ({script, bytes}); onChange() is called when
// its state changes.
export function createLabCard(e, contract, options) {
  const c = cardState(e, contract, options);
  c.setProblem = (p) => setProblem(c, p);
  c.problemName = () => problemName(c);
  c.refinement = createRefinement(c);
  c.draw = createDrawMode(c);
  const { start } = contract.lab;
  e.rodadero_lab_setting(contract.methods[c.setting.method], start.ratio, start.beta);
  e.rodadero_lab_problem(start.x, start.y, start.intervals, start.layout, start.rule);
  showState(c);
  // Out of the window the run waits, so that its steps and pictures cost
  // a reader nothing unseen.
  c.inView = watchView(c.card);
  listenToControls(c);
  listenToDrag(c);
  listenToDownloads(c);
  c.language.listen(() => {
    c.dirty = true;
    refresh(c, true);
    c.refinement.redraw();
    c.draw.redraw();
  });
  refresh(c, true);
  return {
    // A tick of the main window's timer: a step of the run.
    tick: () => tick(c),
    // The state for the address while the card is linked, else null.
    linked: () => (c.linked ? { ...c.problem, ...c.setting } : null),
    // The state's `changes` asked for by the address ({x, y, intervals,
    // layout, rule, method, ratio, beta}, those given); false, and nothing
    // changes, where the module refuses them. The card is then linked and
    // in view.
    change(changes) {
      const before = c.setting;
      const pick = (names) => Object.fromEntries(names.filter((n) => changes[n] !== undefined)
        .map((n) => [n, changes[n]]));
      if (!setSetting(c, { ...c.setting, ...pick(['method', 'ratio', 'beta']) }) ||
          !setProblem(c, { ...c.problem, ...pick(['x', 'y', 'intervals', 'layout', 'rule']) })) {
        setSetting(c, before);
        c.linked = false;
        return false;
      }
      document.getElementById('lab-card').scrollIntoView({ block: 'start' });
      return true;
    },
    refined: () => c.refinement.done(),
  };
}
