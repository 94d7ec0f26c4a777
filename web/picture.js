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
'use strict';

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

function createPicture(canvas, e, contract, scale = 1) {
  const [width, height] = WINE_LAYOUT.client;
  const nodes = contract.nodeCount;
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
  // What each paint reads of the picture the module fills in.
  const polylineOf = contract.view('PaintedPicture', 'polyline');
  const cycloidOf = contract.view('PaintedPicture', 'cycloid');
  const polylineColourOf = contract.value('PaintedPicture', 'polylineColour');
  const numberOf = contract.value('PaintedPicture', 'microseconds');

  let ctx = null;
  let last = null; // the address of the picture last painted

  // The canvas's pixels for the screen's density and the window's scale,
  // and its size on the page those pixels exactly; the picture is drawn in
  // client pixels whatever they are.
  function fitToScreen() {
    const ratio = window.devicePixelRatio || 1;
    const devicePixels = ratio * scale; // to a client pixel
    canvas.width = Math.round(width * devicePixels);
    canvas.height = Math.round(height * devicePixels);
    canvas.style.width = `${canvas.width / ratio}px`;
    canvas.style.height = `${canvas.height / ratio}px`;
    ctx = canvas.getContext('2d', { alpha: false });
    ctx.setTransform(devicePixels, 0, 0, devicePixels, 0, 0);
  }

  // Lines as the program draws them with a solid pen: the pixels a 2-pixel
  // pen covers run from one pixel before the first point to the last one,
  // which a square cap on a line through the points' corners gives.
  function strokeLines(colour, lines) {
    ctx.strokeStyle = colour;
    ctx.lineWidth = fixed.penWidth;
    ctx.lineCap = 'square';
    ctx.beginPath();
    for (const [x0, y0, x1, y1] of lines) {
      ctx.moveTo(x0, y0);
      ctx.lineTo(x1, y1);
    }
    ctx.stroke();
  }

  // The segments between a curve's vertices, given as x, y, x, y...
  function segments(v) {
    const lines = [];
    for (let j = 0; j + 1 < nodes; ++j) {
      const a = 2 * j;
      lines.push([v[a], v[a + 1], v[a + 2], v[a + 3]]);
    }
    return lines;
  }

  function drawCaption(x, y, text) {
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

  function draw(address) {
    last = address;
    const number = numberOf(address);

    ctx.fillStyle = fixed.background;
    ctx.fillRect(0, 0, width, height);
    strokeLines(colourOf(polylineColourOf(address)), segments(polylineOf(address)));
    strokeLines(fixed.cycloid, segments(cycloidOf(address)));
    strokeLines(fixed.target, fixed.targetLines);
    strokeLines(fixed.frame, fixed.frameLines);
    const texts = fixed.captions.map((c) => c.format.replace('%i', String(number)));
    fixed.captions.forEach((c, i) => drawCaption(c.x, c.y, texts[i]));
    return texts;
  }

  fitToScreen();
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
      fitToScreen();
      if (last !== null)
        draw(last);
    },
  };
}
