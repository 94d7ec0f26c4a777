// The main window's picture on the canvas, drawn as the Windows program
// paints it: the background, the polyline and the cycloid, the target lines
// and the frame, then the three captions, black on white cells. What to
// draw comes from the module: the fixed lines, colours and captions once,
// the vertices and the printed number at every paint. Canvas pixel (x, y)
// at a device-pixel ratio of 1 is client pixel (x, y); on denser screens
// the canvas has that many more pixels and draws the same picture crisply.
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

function readLines(module, address, count) {
  const v = new Int32Array(module.memory.buffer, address, count * 4);
  const lines = [];
  for (let i = 0; i < count; ++i)
    lines.push([v[4 * i], v[4 * i + 1], v[4 * i + 2], v[4 * i + 3]]);
  return lines;
}

function readText(module, address) {
  const bytes = new Uint8Array(module.memory.buffer, address);
  return new TextDecoder('ascii').decode(bytes.subarray(0, bytes.indexOf(0)));
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

function createPicture(canvas, module) {
  const e = module;
  const [width, height] = WINE_LAYOUT.client;
  const nodes = e.rodadero_node_count();
  const fixed = {
    background: colourOf(e.rodadero_background_colour()),
    cycloid: colourOf(e.rodadero_cycloid_colour()),
    target: colourOf(e.rodadero_target_colour()),
    frame: colourOf(e.rodadero_frame_colour()),
    penWidth: e.rodadero_pen_width(),
    targetLines: readLines(e, e.rodadero_target_lines_address(), e.rodadero_target_line_count()),
    frameLines: readLines(e, e.rodadero_frame_lines_address(), e.rodadero_frame_line_count()),
    captions: [],
  };
  const captions = new Int32Array(e.memory.buffer, e.rodadero_captions_address(),
                                  3 * e.rodadero_caption_count());
  for (let i = 0; i < e.rodadero_caption_count(); ++i)
    fixed.captions.push({ x: captions[3 * i], y: captions[3 * i + 1],
                          format: readText(e, captions[3 * i + 2] >>> 0) });

  let ctx = null;
  let last = null; // the address of the picture last painted

  // The canvas's pixels for the screen's density; the picture is drawn in
  // client pixels whatever it is.
  function fitToScreen() {
    const ratio = window.devicePixelRatio || 1;
    canvas.style.width = `${width}px`;
    canvas.style.height = `${height}px`;
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    ctx = canvas.getContext('2d', { alpha: false });
    ctx.setTransform(canvas.width / width, 0, 0, canvas.height / height, 0, 0);
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

  function segments(v, offset) {
    const lines = [];
    for (let j = 0; j + 1 < nodes; ++j) {
      const a = offset + 2 * j;
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
    // PaintedPicture: 21 polyline vertices, 21 cycloid vertices (x, y
    // each), the polyline's colour, the printed number.
    const v = new Int32Array(e.memory.buffer, address, 4 * nodes + 2);
    const polylineColour = v[4 * nodes] >>> 0;
    const number = v[4 * nodes + 1];

    ctx.fillStyle = fixed.background;
    ctx.fillRect(0, 0, width, height);
    strokeLines(colourOf(polylineColour), segments(v, 0));
    strokeLines(fixed.cycloid, segments(v, 2 * nodes));
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
    // The same picture again, for a screen of another density.
    refit() {
      fitToScreen();
      if (last !== null)
        draw(last);
    },
  };
}
