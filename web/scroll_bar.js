// The dialog's horizontal scroll bar: two arrows, the trough and the thumb,
// with the mouse and the keyboard. Every action becomes one of the
// platform's scroll requests, handed to `request(code, thumb)`, which
// answers with the new position or 0 when the request is ignored; what a
// request does is the program's rule, not the bar's. The bar only shows
// the position it is given.
'use strict';

// Request codes, numbered as on Windows.
const SCROLL = Object.freeze({
  LINE_LEFT: 0, LINE_RIGHT: 1, PAGE_LEFT: 2, PAGE_RIGHT: 3,
  THUMB_POSITION: 4, THUMB_TRACK: 5, LEFT: 6, RIGHT: 7, END: 8,
});

// Keys of a focused scroll bar and the requests they make.
const SCROLL_KEYS = Object.freeze({
  ArrowLeft: SCROLL.LINE_LEFT, ArrowRight: SCROLL.LINE_RIGHT,
  PageUp: SCROLL.PAGE_LEFT, PageDown: SCROLL.PAGE_RIGHT,
  Home: SCROLL.LEFT, End: SCROLL.RIGHT,
});

// A held arrow repeats its request after this long, then at this period.
const SCROLL_REPEAT_DELAY_MS = 200;
const SCROLL_REPEAT_PERIOD_MS = 50;

function createScrollBar(bar, { min, max, position, request }) {
  const width = WINE_LAYOUT.controls.alpha[2];
  const { arrow, thumb } = WINE_LAYOUT.scrollBar;
  const travel = width - 2 * arrow - thumb;
  const thumbElement = bar.querySelector('.thumb');
  const arrows = [bar.querySelector('.arrow-left'), bar.querySelector('.arrow-right')];
  let shown = position;
  let gesture = null; // what the pressed mouse button is doing

  function thumbLeft(p) {
    return arrow + Math.round(((p - min) * travel) / (max - min));
  }

  function show(p) {
    shown = p;
    thumbElement.style.left = `${thumbLeft(p)}px`;
    bar.setAttribute('aria-valuenow', String(p));
  }

  function send(code, thumbPosition = 0) {
    const p = request(code, thumbPosition);
    if (p)
      show(p);
  }

  function barX(event) {
    return event.clientX - bar.getBoundingClientRect().left;
  }

  function overArrow(event, side) {
    const r = arrows[side].getBoundingClientRect();
    return event.clientX >= r.left && event.clientX < r.right &&
           event.clientY >= r.top && event.clientY < r.bottom;
  }

  function pressArrow(side, code) {
    const held = { side, code, over: true, timer: 0 };
    const repeat = () => {
      if (held.over)
        send(code);
      held.timer = setTimeout(repeat, SCROLL_REPEAT_PERIOD_MS);
    };
    arrows[side].classList.add('pressed');
    send(code);
    held.timer = setTimeout(repeat, SCROLL_REPEAT_DELAY_MS);
    return held;
  }

  // The thumb dragged to the mouse: `code` with the position it stands for.
  function dragTo(event, code) {
    const left = Math.min(Math.max(barX(event) - gesture.grab, arrow), arrow + travel);
    send(code, min + Math.round(((left - arrow) * (max - min)) / travel));
    thumbElement.style.left = `${left}px`; // the thumb follows the mouse
  }

  bar.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 || gesture)
      return;
    event.preventDefault();
    bar.focus();
    bar.setPointerCapture(event.pointerId);
    const x = barX(event);
    const left = thumbLeft(shown);
    if (x < arrow)
      gesture = pressArrow(0, SCROLL.LINE_LEFT);
    else if (x >= width - arrow)
      gesture = pressArrow(1, SCROLL.LINE_RIGHT);
    else if (x < left || x >= left + thumb) {
      gesture = { page: true };
      send(x < left ? SCROLL.PAGE_LEFT : SCROLL.PAGE_RIGHT);
    } else {
      gesture = { grab: x - left };
    }
  });

  bar.addEventListener('pointermove', (event) => {
    if (gesture && gesture.grab !== undefined)
      dragTo(event, SCROLL.THUMB_TRACK);
    else if (gesture && gesture.side !== undefined)
      gesture.over = overArrow(event, gesture.side);
  });

  // The button released: the thumb's last position, then the end of the
  // scroll, as the platform sends them.
  function release(event) {
    if (!gesture)
      return;
    if (gesture.grab !== undefined) {
      dragTo(event, SCROLL.THUMB_POSITION);
      show(shown);
    }
    if (gesture.side !== undefined) {
      clearTimeout(gesture.timer);
      arrows[gesture.side].classList.remove('pressed');
    }
    gesture = null;
    send(SCROLL.END);
  }
  bar.addEventListener('pointerup', release);
  bar.addEventListener('pointercancel', release);

  bar.addEventListener('keydown', (event) => {
    const code = SCROLL_KEYS[event.key];
    if (code === undefined || event.altKey || event.ctrlKey || event.metaKey)
      return;
    event.preventDefault();
    send(code);
  });
  bar.addEventListener('keyup', (event) => {
    if (SCROLL_KEYS[event.key] !== undefined)
      send(SCROLL.END);
  });

  show(position);
  return { show, thumbLeft };
}
