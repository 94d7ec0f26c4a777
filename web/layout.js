// The page's layout: the Windows program's client area, its dialog and the
// dialog's controls as they are under Wine at 96 DPI, in pixels from the
// top-left corner of the main window's client area (page_reference.exe in
// tests/web measures them there; the page's layout test compares), and
// the page's elements put at those places (layOut) at the scale that fits
// the screen (fitWindow). Rectangles are [left, top, width, height].

export const WINE_LAYOUT = Object.freeze({
  client: [602, 413],
  dialog: {
    window: [550, 6, 221, 363],
    client: [553, 28, 215, 338],
    closeBox: [750, 9, 18, 18],
  },
  // The dialog's controls, by the page's element ids, in template order.
  controls: {
    'run-mode': [578, 168, 166, 25],
    alpha: [557, 84, 205, 26],
    'alpha-label': [585, 42, 159, 33],
    reset: [578, 128, 168, 25],
    about: [557, 205, 205, 74],
    icon: [641, 327, 32, 32],
  },
  // The scroll bar: width of each arrow and of the thumb.
  scrollBar: { arrow: 17, thumb: 17 },
  // The paint context's default font: cell height, ascent, and the advance
  // of each printable character from the blank (32) to the tilde (126).
  plotFont: {
    height: 16,
    ascent: 13,
    advances: [
      4, 4, 6, 7, 7, 10, 8, 3, 4, 4, 4, 7, 4, 4, 4, 4, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 4, 4, 7, 7,
      7, 7, 11, 8, 8, 8, 8, 7, 7, 9, 8, 4, 7, 8, 7, 10, 8, 9, 7, 9, 8, 7, 7, 8, 7, 11, 7, 7, 7, 4,
      4, 4, 7, 7, 4, 7, 7, 7, 7, 7, 4, 7, 7, 4, 4, 7, 4, 10, 7, 7, 7, 7, 4, 7, 4, 7, 7, 9, 7, 7, 6,
      4, 4, 4, 7,
    ],
  },
  // System colours of the dialog.
  colours: {
    face: '#f5f5f5',
    text: '#000000',
    light: '#e3e3e3',
    highlight: '#ffffff',
    shadow: '#a6a6a6',
    darkShadow: '#6a6a6a',
    caption: '#3296fa',
    captionText: '#000000',
    frame: '#9e9e9e',
    scrollbar: '#ffffff',
  },
});

// The room the window takes on the page: the client area, and the dialog
// where it reaches beyond it.
function windowExtent() {
  const [clientWidth, clientHeight] = WINE_LAYOUT.client;
  const [left, top, width, height] = WINE_LAYOUT.dialog.window;
  return [Math.max(clientWidth, left + width), Math.max(clientHeight, top + height)];
}

// The desk's margin around the window (#desk's padding in page.css).
const DESK_MARGIN = 10;

// How large the window is shown, against the program's own pixels: 1 where
// it fits the screen, else as much smaller as it takes for the whole of it
// to be in view, picture and dialog scaled as one.
export function windowScale() {
  const [width, height] = windowExtent();
  const root = document.documentElement;
  return Math.min(1, (root.clientWidth - 2 * DESK_MARGIN) / width,
                  (root.clientHeight - 2 * DESK_MARGIN) / height);
}

// The window's box and the dialog at a scale: the dialog keeps its place
// over the picture, scaled about the client area's corner, so that its
// controls are hit where they are seen. The canvas sizes itself
// (createPicture). Gives the scale.
export function fitWindow(scale = windowScale()) {
  const [width, height] = windowExtent();
  const [clientWidth] = WINE_LAYOUT.client;
  const [left, top] = WINE_LAYOUT.dialog.window;
  const box = document.getElementById('window');
  box.style.width = `${width * scale}px`;
  box.style.height = `${height * scale}px`;
  const dialog = document.getElementById('dialog');
  dialog.style.transformOrigin = `${-left}px ${-top}px`;
  dialog.style.transform = scale === 1 ? '' : `scale(${scale})`;
  // The notice at the end of a run, over the middle of the picture and no
  // wider than it.
  const stage = document.getElementById('stage');
  stage.classList.toggle('shrunk', scale < 1);
  stage.style.setProperty('--client-width', `${clientWidth * scale}px`);
  document.getElementById('ended').style.left = `${(clientWidth * scale) / 2}px`;
  return scale;
}

function place(element, [left, top, width, height], [originX, originY] = [0, 0]) {
  Object.assign(element.style, {
    left: `${left - originX}px`, top: `${top - originY}px`,
    width: `${width}px`, height: `${height}px`,
  });
}

// Every element at its place under Wine, relative to its parent.
export function layOut() {
  const L = WINE_LAYOUT;
  const win = L.dialog.window;
  const client = L.dialog.client;
  const root = document.documentElement.style;
  for (const [name, value] of Object.entries(L.colours))
    root.setProperty(`--${name.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`)}`, value);

  const dialog = document.getElementById('dialog');
  place(dialog, win);
  const border = client[0] - win[0];
  place(dialog.querySelector('.caption-bar'),
        [client[0], win[1] + border, client[2], client[1] - win[1] - border], win);
  place(document.getElementById('dialog-close'), L.dialog.closeBox,
        [client[0], win[1] + border]);
  place(dialog.querySelector('.client'), client, win);
  for (const [id, rect] of Object.entries(L.controls))
    place(document.getElementById(id), rect, client);
  const bar = document.getElementById('alpha');
  for (const part of bar.querySelectorAll('.arrow'))
    part.style.width = `${L.scrollBar.arrow}px`;
  bar.querySelector('.thumb').style.width = `${L.scrollBar.thumb}px`;
  fitWindow();
}
