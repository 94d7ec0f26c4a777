// The dialog's horizontal scroll bar: two arrows, the trough and the thumb,
// with the mouse and the keyboard. Every action becomes one of the
// platform's scroll requests (`codes`, by name, with the platform's
// numbers), handed to `request(code, thumb)`, which answers with the new
// position or `ignored` when the request is ignored; what a request does
// is the program's rule, not the bar's. The bar only shows the position it
// is given.
'use strict';

// Keys of a focused scroll bar and the requests they make.
const SCROLL_KEYS = Object.freeze({
  ArrowLeft: 'LINE_LEFT', ArrowRight: 'LINE_RIGHT', PageUp: 'PAGE_LEFT', PageDown: 'PAGE_RIGHT',
  Home: 'LEFT', End: 'RIGHT',
});

// A held arrow repeats its request after this long, then at this period.
const SCROLL_REPEAT_DELAY_MS = 200;
const SCROLL_REPEAT_PERIOD_MS = 50;

function createScrollBar(bar, { min, max, position, ignored, codes, request }) {
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
    if (p !== ignored)
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
      gesture = pressArrow(0, codes.LINE_LEFT);
    else if (x >= width - arrow)
      gesture = pressArrow(1, codes.LINE_RIGHT);
    else if (x < left || x >= left + thumb) {
      gesture = { page: true };
      send(x < left ? codes.PAGE_LEFT : codes.PAGE_RIGHT);
    } else {
      gesture = { grab: x - left };
    }
  });

  bar.addEventListener('pointermove', (event) => {
    if (gesture && gesture.grab !== undefined)
      dragTo(event, codes.THUMB_TRACK);
    else if (gesture && gesture.side !== undefined)
      gesture.over = overArrow(event, gesture.side);
  });

  // The button released: the thumb's last position, then the end of the
  // scroll, as the platform sends them.
  function release(event) {
    if (!gesture)
      return;
    if (gesture.grab !== undefined) {
      dragTo(event, codes.THUMB_POSITION);
      show(shown);
    }
    if (gesture.side !== undefined) {
      clearTimeout(gesture.timer);
      arrows[gesture.side].classList.remove('pressed');
    }
    gesture = null;
    send(codes.END);
  }
  bar.addEventListener('pointerup', release);
  bar.addEventListener('pointercancel', release);

  bar.addEventListener('keydown', (event) => {
    const name = SCROLL_KEYS[event.key];
    if (name === undefined || event.altKey || event.ctrlKey || event.metaKey)
      return;
    event.preventDefault();
    send(codes[name]);
  });
  bar.addEventListener('keyup', (event) => {
    if (SCROLL_KEYS[event.key] !== undefined)
      send(codes.END);
  });

  bar.setAttribute('aria-valuemin', String(min));
  bar.setAttribute('aria-valuemax', String(max));
  show(position);
  return { show, thumbLeft, send };
}
