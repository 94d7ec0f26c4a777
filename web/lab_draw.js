// The laboratory's draw mode: a curve drawn from the start with the mouse
// or a finger on a pad of the model's own units (x to the right, y
// downward, the start at (0, 0)), raced as soon as it is lifted against
// the cycloid and the straight line through its last point, with exact
// kinematics, by the module's race of a curve; the curve downloads as the
// CSV that rodadero-trace --curve reads, and its race as the command's
// rows and picture.
import { saveText } from './downloads.js';
import { arrivalsInOrder } from './shown_pictures.js';

const SVG = 'http://www.w3.org/2000/svg';
// The pad's view, model units: a little room left of the start and above it.
const PAD = Object.freeze({ left: -0.1, top: -0.1, width: 2.2, height: 1.3 });
const LEAST_MOVE = 0.01;      // a point nearer the last one is left out
const PLACES = 1000;          // points kept to thousandths

function svgElement(name, attributes) {
  const element = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes))
    element.setAttribute(key, String(value));
  return element;
}

// The pad: the start's level, the start, and the curve drawn so far.
function makePad(host) {
  const svg = svgElement('svg', { viewBox: `${PAD.left} ${PAD.top} ${PAD.width} ${PAD.height}`,
                                  'aria-hidden': 'true' });
  svg.append(svgElement('rect', { x: PAD.left, y: PAD.top, width: PAD.width, height: PAD.height,
                                  fill: '#ffffff', stroke: '#8a8a8a', 'stroke-width': 0.004 }));
  svg.append(svgElement('line', { x1: PAD.left, y1: 0, x2: PAD.left + PAD.width, y2: 0,
                                  stroke: '#c8c800', 'stroke-width': 0.004 }));
  const line = svgElement('polyline', { fill: 'none', stroke: '#d00000', 'stroke-width': 0.01,
                                        'stroke-linejoin': 'round', points: '0,0' });
  svg.append(line, svgElement('circle', { cx: 0, cy: 0, r: 0.02, fill: '#000000' }));
  host.append(svg);
  return { svg, line };
}

function drawState(c) {
  const element = (id) => document.getElementById(id);
  return {
    c, host: element('lab-draw-pad'), status: element('lab-draw-status'),
    race: element('lab-race'), button: element('lab-draw'),
    downloads: ['lab-curve-csv', 'lab-race-csv', 'lab-race-svg'].map(element),
    pad: null, points: [], pointer: null, drawn: null,
  };
}

// The model's point under a pointer, to thousandths.
function modelPoint(d, event) {
  const p = new DOMPoint(event.clientX, event.clientY).matrixTransform(d.pad.svg.getScreenCTM().inverse());
  return [Math.round(p.x * PLACES) / PLACES, Math.round(p.y * PLACES) / PLACES];
}

function addPoint(d, event) {
  const [x, y] = modelPoint(d, event);
  const [lx, ly] = d.points[d.points.length - 1];
  if (Math.hypot(x - lx, y - ly) < LEAST_MOVE)
    return;
  d.points.push([x, y]);
  d.pad.line.setAttribute('points', d.points.map((p) => p.join(',')).join(' '));
}

function sayStatus(d) {
  const { say, number } = d.c.language.words();
  if (d.drawn === null)
    return say('lab.drawHint');
  if (d.drawn === false)
    return say('lab.drawBad');
  const [x, y] = d.drawn[d.drawn.length - 1];
  return say('lab.drawn', { points: d.drawn.length, x: number(x, 3, true), y: number(y, 3, true) });
}

function showRace(d) {
  const { c } = d;
  d.status.textContent = sayStatus(d);
  if (!d.drawn)
    return;
  const language = c.moduleLanguage();
  const raceAt = (width) => c.contract.text(c.e.rodadero_drawn_race(language, width));
  const { say } = c.language.words();
  c.shown.show(d.race, raceAt(0), (root) => say('lab.race', {
    points: d.drawn.length, arrivals: arrivalsInOrder(root, c.contract.curveRaceBeads, say),
  }), raceAt);
  d.race.hidden = false;
}

// The curve lifted: handed to the module, which takes it where the command
// would take its file, and raced.
function finish(d) {
  const { e } = d.c;
  const room = e.rodadero_drawn_room(d.points.length);
  if (room)
    new Float64Array(e.memory.buffer, room, 2 * d.points.length).set(d.points.flat());
  const taken = room !== 0 && e.rodadero_drawn_take() === 0;
  d.drawn = taken ? d.points : false;
  for (const button of d.downloads)
    button.disabled = !taken;
  if (!taken)
    d.race.hidden = true;
  showRace(d);
}

function listenToPad(d) {
  const { host } = d;
  host.addEventListener('pointerdown', (event) => {
    if (event.button !== 0)
      return;
    event.preventDefault();
    d.pointer = event.pointerId;
    host.setPointerCapture(event.pointerId);
    d.points = [[0, 0]];
    addPoint(d, event);
  });
  host.addEventListener('pointermove', (event) => {
    if (d.pointer === event.pointerId)
      addPoint(d, event);
  });
  const end = (event) => {
    if (d.pointer !== event.pointerId)
      return;
    d.pointer = null;
    finish(d);
  };
  host.addEventListener('pointerup', end);
  host.addEventListener('pointercancel', end);
}

function listenToDownloads(d) {
  const { c } = d;
  const name = (path) => c.language.words().say(path, { points: String(d.drawn.length) });
  const [csv, rows, svg] = d.downloads;
  csv.addEventListener('click', () =>
    saveText([name('files.labCurve')], 'csv', c.contract.text(c.e.rodadero_drawn_csv())));
  rows.addEventListener('click', () =>
    saveText([name('files.labCurveRace')], 'csv', c.contract.text(c.e.rodadero_drawn_rows())));
  svg.addEventListener('click', () => {
    showRace(d);
    saveText([name('files.labCurveRace'), c.language.current()], 'svg', c.shown.of(d.race));
  });
}

// The draw mode of the card `c`: its button shows the pad, or hides it.
export function createDrawMode(c) {
  const d = drawState(c);
  d.button.addEventListener('click', () => {
    if (!d.pad)
      d.pad = makePad(d.host);
    d.host.hidden = !d.host.hidden;
    d.button.setAttribute('aria-pressed', String(!d.host.hidden));
    d.status.textContent = d.host.hidden ? '' : sayStatus(d);
  });
  listenToPad(d);
  listenToDownloads(d);
  return {
    redraw() {
      if (!d.host.hidden)
        showRace(d);
    },
  };
}
