// The laboratory's end point, moved on its picture: dragged with the mouse
// or a finger (pointer events), or moved with the arrow keys, a hundredth
// a press (a tenth with Shift). Each move sets the card's problem, which
// starts the run again from the chord. The end is kept to hundredths,
// below the start (Y at least one hundredth) and, in the width layout,
// right of it (X at least one hundredth), within the card's range.
//
// The picture keeps one scale across and down and frames whatever it
// draws, so that its frame moves as the end does. A drag reads its scale
// and the start's place once, as it begins, from the start's and the end's
// marks ("start", "end"), and follows the pointer in that frame until it
// ends: the end is where the pointer is on the picture as it was.
const END_STEP = 0.01;
const END_SHIFT_STEP = 0.1;

const hundredths = (v) => Math.round(v * 100) / 100;

// The end at (x, y), kept within the card's range.
function moveEnd(c, x, y) {
  const max = c.contract.lab.endMax;
  const least = c.problem.layout === 'width' ? END_STEP : 0;
  const p = { ...c.problem, x: Math.min(max, Math.max(least, hundredths(x))),
              y: Math.min(max, Math.max(END_STEP, hundredths(y))) };
  if (p.x !== c.problem.x || p.y !== c.problem.y)
    c.setProblem(p);
}

// The centre of a mark of the picture on the screen.
function markCentre(root, id) {
  const r = root.getElementById(id).getBoundingClientRect();
  return { x: (r.left + r.right) / 2, y: (r.top + r.bottom) / 2 };
}

// The picture's frame as it is: the start's place on the screen and the
// screen's pixels to the model's unit (Y > 0 always).
function frameNow(c) {
  const root = c.picture.shadowRoot;
  const start = markCentre(root, 'start');
  const end = markCentre(root, 'end');
  return { start, scale: (end.y - start.y) / c.problem.y };
}

function listenToPointer(c) {
  const { picture } = c;
  const drag = { frame: null, pointer: null };
  const follow = (event) => {
    const { start, scale } = drag.frame;
    if (scale > 0)
      moveEnd(c, (event.clientX - start.x) / scale, (event.clientY - start.y) / scale);
  };
  picture.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 || !picture.shadowRoot)
      return;
    event.preventDefault();
    picture.focus({ preventScroll: true });
    drag.frame = frameNow(c);
    drag.pointer = event.pointerId;
    picture.setPointerCapture(event.pointerId);
    follow(event);
  });
  picture.addEventListener('pointermove', (event) => {
    if (drag.pointer === event.pointerId)
      follow(event);
  });
  const end = (event) => {
    if (drag.pointer === event.pointerId)
      drag.pointer = drag.frame = null;
  };
  picture.addEventListener('pointerup', end);
  picture.addEventListener('pointercancel', end);
}

function listenToKeys(c) {
  const moves = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
  c.picture.addEventListener('keydown', (event) => {
    const move = moves[event.key];
    if (!move)
      return;
    event.preventDefault();
    const step = event.shiftKey ? END_SHIFT_STEP : END_STEP;
    moveEnd(c, c.problem.x + move[0] * step, c.problem.y + move[1] * step);
  });
}

export function listenToDrag(c) {
  listenToPointer(c);
  listenToKeys(c);
}
