// The main window's picture on the canvas, drawn as the Windows program
// paints it: the background, the polyline and the cycloid, the target lines
// and the frame, then the three captions, black on white cells. What to
// draw comes from the module: the fixed lines, colours and captions once,
// the vertices and the printed number at every paint. Canvas pixel (x, y)
// at a device-pixel ratio of 1 is client pixel (x, y); on denser screens
// the canvas has that many more pixels and draws the same picture crisply.
// Where the window is shown smaller (windowScale, layout.js), the canvas
// has the device's pixels of the smaller size and the same drawing is done
// under the scale, so that it stays sharp.
import { WINE_LAYOUT } from './layout.js';
import { readModuleString } from './module.js';

// The face that Wine gives the paint context's default font (its cell is
// 16 pixels high for a 14-pixel em), with the faces that share its metrics.
// Wine narrows it to its average width of 7 pixels, to about 0.87 of the
// face's own width.
const PLOT_FONT = 'bold 14px "Liberation Sans", Arial, Helvetica, sans-serif';
const PLOT_FONT_NARROWING = 0.87;

function colourOf(colourRef) {
  const c = colourRef >>> 0;
  return `rgb(${c & 0xff}, ${(c >>> 8) & 0xff}, ${(c >>> 16) & 0xff})`;
}

// Fixed lines as [from x, from y, to x, to y], from a place of the contract.
function readLines(contract, { address, count }) {
  const from = contract.view('PlotLine', 'from');
  const to = contract.view('PlotLine', 'to');
  const size = contract.structs.PlotLine.size;
  const lines = [];
  for (let i = 0; i < count; ++i)
    lines.push([...from(address + i * size), ...to(address + i * size)]);
  return lines;
}

// A caption's cells: each character's left edge and the whole width, at
// the advances of Wine's font.
function captionCells(text) {
  const advances = WINE_LAYOUT.plotFont.advances;
  const lefts = [];
  let width = 0;
  for (const ch of text) {
    lefts.push(width);
    const code = ch.charCodeAt(0);
    width += code >= 32 && code < 32 + advances.length ? advances[code - 32] : advances[0];
  }
  return { lefts, width };
}

// What every paint draws the same: the colours and the pen, the target
// lines, the frame and the captions' places and formats.
function readFixedPicture(e, contract) {
  const { plot, places } = contract;
  const fixed = {
    background: colourOf(plot.background),
    cycloid: colourOf(plot.cycloid),
    target: colourOf(plot.target),
    frame: colourOf(plot.frame),
    penWidth: plot.penWidth,
    targetLines: readLines(contract, places.targetLines),
    frameLines: readLines(contract, places.frameLines),
    captions: [],
  };
  for (let i = 0; i < places.captions.count; ++i) {
    const { x, y, format } =
      contract.fields('PlotCaption', places.captions.address + i * contract.structs.PlotCaption.size);
    fixed.captions.push({ x, y, format: readModuleString(e, format) });
  }
  return fixed;
}

// What each paint reads of the picture the module fills in.
function paintedPictureReaders(contract) {
  return {
    nodes: contract.nodeCount,
    polylineOf: contract.view('PaintedPicture', 'polyline'),
    cycloidOf: contract.view('PaintedPicture', 'cycloid'),
    polylineColourOf: contract.value('PaintedPicture', 'polylineColour'),
    numberOf: contract.value('PaintedPicture', 'microseconds'),
  };
}

// The canvas's pixels for the screen's density and the window's scale,
// and its size on the page those pixels exactly; the picture is drawn in
// client pixels whatever they are. Gives the canvas's new context.
function fitToScreen(canvas, scale) {
  const [width, height] = WINE_LAYOUT.client;
  const ratio = window.devicePixelRatio || 1;
  const devicePixels = ratio * scale; // to a client pixel
  canvas.width = Math.round(width * devicePixels);
  canvas.height = Math.round(height * devicePixels);
  canvas.style.width = `${canvas.width / ratio}px`;
  canvas.style.height = `${canvas.height / ratio}px`;
  const ctx = canvas.getContext('2d', { alpha: false });
  ctx.setTransform(devicePixels, 0, 0, devicePixels, 0, 0);
  return ctx;
}

// Lines as the program draws them with a solid pen: the pixels a 2-pixel
// pen covers run from one pixel before the first point to the last one,
// which a square cap on a line through the points' corners gives.
function strokeLines(ctx, penWidth, colour, lines) {
  ctx.strokeStyle = colour;
  ctx.lineWidth = penWidth;
  ctx.lineCap = 'square';
  ctx.beginPath();
  for (const [x0, y0, x1, y1] of lines) {
    ctx.moveTo(x0, y0);
    ctx.lineTo(x1, y1);
  }
  ctx.stroke();
}

// The segments between a curve's `nodes` vertices, given as x, y, x, y...
function segments(v, nodes) {
  const lines = [];
  for (let j = 0; j + 1 < nodes; ++j) {
    const a = 2 * j;
    lines.push([v[a], v[a + 1], v[a + 2], v[a + 3]]);
  }
  return lines;
}

function drawCaption(ctx, x, y, text) {
  const font = WINE_LAYOUT.plotFont;
  const cells = captionCells(text);
  ctx.fillStyle = '#ffffff';
  ctx.fillRect(x, y, cells.width, font.height);
  ctx.fillStyle = '#000000';
  ctx.font = PLOT_FONT;
  ctx.textBaseline = 'alphabetic';
  let i = 0;
  for (const ch of text) {
    if (ch !== ' ') {
      ctx.save();
      ctx.translate(x + cells.lefts[i], y + font.ascent);
      ctx.scale(PLOT_FONT_NARROWING, 1);
      ctx.fillText(ch, 0, 0);
      ctx.restore();
    }
    ++i;
  }
}

// The picture at `address` (a PaintedPicture), as the program paints it.
// Gives the captions' texts.
function drawPicture(ctx, fixed, read, address) {
  const [width, height] = WINE_LAYOUT.client;
  const number = read.numberOf(address);
  const line = (colour, lines) => strokeLines(ctx, fixed.penWidth, colour, lines);

  ctx.fillStyle = fixed.background;
  ctx.fillRect(0, 0, width, height);
  line(colourOf(read.polylineColourOf(address)), segments(read.polylineOf(address), read.nodes));
  line(fixed.cycloid, segments(read.cycloidOf(address), read.nodes));
  line(fixed.target, fixed.targetLines);
  line(fixed.frame, fixed.frameLines);
  const texts = fixed.captions.map((c) => c.format.replace('%i', String(number)));
  fixed.captions.forEach((c, i) => drawCaption(ctx, c.x, c.y, texts[i]));
  return texts;
}

// The picture on `canvas`, shown at `scale`: draw(address) paints the
// picture the module filled in at `address` and gives its captions' texts.
export function createPicture(canvas, e, contract, scale = 1) {
  const fixed = readFixedPicture(e, contract);
  const read = paintedPictureReaders(contract);
  let ctx = fitToScreen(canvas, scale);
  let last = null; // the address of the picture last painted

  function draw(address) {
    last = address;
    return drawPicture(ctx, fixed, read, address);
  }

  return {
    captions: fixed.captions,
    draw,
    get scale() {
      return scale;
    },
    // The same picture again, for a screen of another density or the
    // window at another scale.
    refit(newScale) {
      scale = newScale;
      ctx = fitToScreen(canvas, scale);
      if (last !== null)
        draw(last);
    },
  };
}
