// The dialog's horizontal scroll bar: two arrows, the trough and the thumb,
// with the mouse and the keyboard. Every action becomes one of the
// platform's scroll requests (`codes`, by name, with the platform's
// numbers), handed to `request(code, thumb)`, which answers with the new
// position or `ignored` when the request is ignored; what a request does
// is the program's rule, not the bar's. The bar only shows the position it
// is given.
import { WINE_LAYOUT } from './layout.js';

// Keys of a focused scroll bar and the requests they make.
const SCROLL_KEYS = Object.freeze({
  ArrowLeft: 'LINE_LEFT', ArrowRight: 'LINE_RIGHT', PageUp: 'PAGE_LEFT', PageDown: 'PAGE_RIGHT',
  Home: 'LEFT', End: 'RIGHT',
});

// A held arrow repeats its request after this long, then at this period.
const SCROLL_REPEAT_DELAY_MS = 200;
const SCROLL_REPEAT_PERIOD_MS = 50;

// The bar's parts and what it is doing: the position shown, and what the
// pressed mouse button is doing (`gesture`). show(p) moves the thumb to
// position p; send(code, thumb) makes a request and shows its answer.
function barState(bar, { min, max, ignored, request }) {
  const width = WINE_LAYOUT.controls.alpha[2];
  const { arrow, thumb } = WINE_LAYOUT.scrollBar;
  const state = {
    bar, min, max, width, arrow, thumb,
    travel: width - 2 * arrow - thumb,
    thumbElement: bar.querySelector('.thumb'),
    arrows: [bar.querySelector('.arrow-left'), bar.querySelector('.arrow-right')],
    shown: 0,
    gesture: null,
  };
  state.thumbLeft = (p) => arrow + Math.round(((p - min) * state.travel) / (max - min));
  state.show = (p) => {
    state.shown = p;
    state.thumbElement.style.left = `${state.thumbLeft(p)}px`;
    bar.setAttribute('aria-valuenow', String(p));
  };
  state.send = (code, thumbPosition = 0) => {
    const p = request(code, thumbPosition);
    if (p !== ignored)
      state.show(p);
  };
  return state;
}

// Where the event is along the bar, in the bar's own pixels, however
// large the window is shown.
function barX(s, event) {
  const r = s.bar.getBoundingClientRect();
  return ((event.clientX - r.left) * s.width) / r.width;
}

function overArrow(s, event, side) {
  const r = s.arrows[side].getBoundingClientRect();
  return event.clientX >= r.left && event.clientX < r.right &&
         event.clientY >= r.top && event.clientY < r.bottom;
}

// An arrow pressed: its request at once, then again while it is held.
function pressArrow(s, side, code) {
  const held = { side, code, over: true, timer: 0 };
  const repeat = () => {
    if (held.over)
      s.send(code);
    held.timer = setTimeout(repeat, SCROLL_REPEAT_PERIOD_MS);
  };
  s.arrows[side].classList.add('pressed');
  s.send(code);
  held.timer = setTimeout(repeat, SCROLL_REPEAT_DELAY_MS);
  return held;
}

// The thumb dragged to the mouse: `code` with the position it stands for.
function dragTo(s, event, code) {
  const left = Math.min(Math.max(barX(s, event) - s.gesture.grab, s.arrow), s.arrow + s.travel);
  s.send(code, s.min + Math.round(((left - s.arrow) * (s.max - s.min)) / s.travel));
  s.thumbElement.style.left = `${left}px`; // the thumb follows the mouse
}

// The button pressed on an arrow, on the trough beside the thumb or on
// the thumb.
function press(s, codes, event) {
  if (event.button !== 0 || s.gesture)
    return;
  event.preventDefault();
  s.bar.focus({ preventScroll: true });
  s.bar.setPointerCapture(event.pointerId);
  const x = barX(s, event);
  const left = s.thumbLeft(s.shown);
  if (x < s.arrow)
    s.gesture = pressArrow(s, 0, codes.LINE_LEFT);
  else if (x >= s.width - s.arrow)
    s.gesture = pressArrow(s, 1, codes.LINE_RIGHT);
  else if (x < left || x >= left + s.thumb) {
    s.gesture = { page: true };
    s.send(x < left ? codes.PAGE_LEFT : codes.PAGE_RIGHT);
  } else {
    s.gesture = { grab: x - left };
  }
}

// The button released: the thumb's last position, then the end of the
// scroll, as the platform sends them.
function release(s, codes, event) {
  const gesture = s.gesture;
  if (!gesture)
    return;
  if (gesture.grab !== undefined) {
    dragTo(s, event, codes.THUMB_POSITION);
    s.show(s.shown);
  }
  if (gesture.side !== undefined) {
    clearTimeout(gesture.timer);
    s.arrows[gesture.side].classList.remove('pressed');
  }
  s.gesture = null;
  s.send(codes.END);
}

function listenToPointer(s, codes) {
  s.bar.addEventListener('pointerdown', (event) => press(s, codes, event));
  s.bar.addEventListener('pointermove', (event) => {
    if (s.gesture && s.gesture.grab !== undefined)
      dragTo(s, event, codes.THUMB_TRACK);
    else if (s.gesture && s.gesture.side !== undefined)
      s.gesture.over = overArrow(s, event, s.gesture.side);
  });
  s.bar.addEventListener('pointerup', (event) => release(s, codes, event));
  s.bar.addEventListener('pointercancel', (event) => release(s, codes, event));
  // A finger held on an arrow repeats, as the mouse button does: no menu.
  s.bar.addEventListener('contextmenu', (event) => event.preventDefault());
}

function listenToKeys(s, codes) {
  s.bar.addEventListener('keydown', (event) => {
    const name = SCROLL_KEYS[event.key];
    if (name === undefined || event.altKey || event.ctrlKey || event.metaKey)
      return;
    event.preventDefault();
    s.send(codes[name]);
  });
  s.bar.addEventListener('keyup', (event) => {
    if (SCROLL_KEYS[event.key] !== undefined)
      s.send(codes.END);
  });
}

export function createScrollBar(bar, options) {
  const { min, max, position, codes } = options;
  const s = barState(bar, options);
  listenToPointer(s, codes);
  listenToKeys(s, codes);
  bar.setAttribute('aria-valuemin', String(min));
  bar.setAttribute('aria-valuemax', String(max));
  s.show(position);
  return { show: s.show, thumbLeft: s.thumbLeft, send: s.send };
}
