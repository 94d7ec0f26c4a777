// The page's picture against the Windows program's, painted by its own
// PaintPlot under Wine for the same state (page_reference.exe writes them):
// pixel for pixel where the two must agree. Line rasterisation (the page's
// diagonal lines are antialiased) and the glyphs of the font may differ;
// what does is counted and printed. Shared by every engine's suite.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';

export function referencePath(name) {
  return path.join(process.env.RODADERO_REFERENCE || 'build/web/reference', name);
}

export function referenceJson(name) {
  return JSON.parse(fs.readFileSync(referencePath(name), 'utf8'));
}

// A binary PPM (P6) as width, height and RGB bytes.
export function readPpm(name) {
  const data = fs.readFileSync(referencePath(name));
  const header = data.subarray(0, 64).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header)
    throw new Error(`${name} is not a binary PPM`);
  return { width: +header[1], height: +header[2], rgb: data.subarray(header[0].length) };
}

// The canvas's pixels as RGB bytes, from a function that runs in the page
// (each harness has its own way of running it).
export const CANVAS_PIXELS_SCRIPT = `(() => {
  const canvas = document.getElementById('plot');
  const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  let s = '';
  for (let i = 0; i < rgba.length; i += 4)
    s += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
  return { width: canvas.width, height: canvas.height, text: btoa(s) };
})()`;

export function decodePixels({ width, height, text }) {
  return { width, height, rgb: Buffer.from(text, 'base64') };
}

export const BACKGROUND = 0xc8c8a0;
const WHITE = 0xffffff;
const CURVE_COLOURS = { polyline: 0xff0000, cycloid: 0x0096fa };
const LINE_COLOURS = [0x000000, 0xfafa00]; // the frame and the target lines
// The captions' top-left corners.
const CAPTIONS = [[10, 375], [140, 70], [140, 30]];

export function colour(image, x, y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height)
    return -1;
  const i = 3 * (y * image.width + x);
  return (image.rgb[i] << 16) | (image.rgb[i + 1] << 8) | image.rgb[i + 2];
}

function near(image, x, y, radius, test) {
  for (let dy = -radius; dy <= radius; ++dy)
    for (let dx = -radius; dx <= radius; ++dx)
      if (test(colour(image, x + dx, y + dy)))
        return true;
  return false;
}

// A caption's white cells: the box around its white pixels.
function whiteBox(image, [x, y]) {
  let box = null;
  for (let yy = y - 3; yy < y + 20; ++yy)
    for (let xx = x - 3; xx < x + 520; ++xx)
      if (colour(image, xx, yy) === WHITE)
        box = box ? [Math.min(box[0], xx), Math.min(box[1], yy), Math.max(box[2], xx + 1),
                     Math.max(box[3], yy + 1)]
                  : [xx, yy, xx + 1, yy + 1];
  return box;
}

function inside(box, x, y) {
  return box && x >= box[0] && x < box[2] && y >= box[1] && y < box[3];
}

export function hex(c) {
  return `#${c.toString(16).padStart(6, '0')}`;
}

function compare(wine, page, vertices) {
  const boxes = CAPTIONS.map((c) => whiteBox(wine, c));
  const inCaption = (x, y) => boxes.some((b) => inside(b, x, y));
  const faults = [];
  const fault = (what, x, y) => faults.length < 20 &&
    faults.push(`${what} at (${x}, ${y}): Windows ${hex(colour(wine, x, y))}, page ${hex(colour(page, x, y))}`);
  let differing = 0;
  let differingInCaptions = 0;
  for (let y = 0; y < wine.height; ++y) {
    for (let x = 0; x < wine.width; ++x) {
      const w = colour(wine, x, y);
      const p = colour(page, x, y);
      if (w !== p) {
        ++differing;
        if (inCaption(x, y))
          ++differingInCaptions;
      }
      // Background wherever either picture has nothing else within 2 pixels.
      if (!near(wine, x, y, 2, (c) => c !== BACKGROUND) && p !== BACKGROUND)
        fault('page draws on the background', x, y);
      if (!near(page, x, y, 2, (c) => c !== BACKGROUND) && w !== BACKGROUND)
        fault('page misses a drawing', x, y);
      // The frame and the target lines, outside the captions, both ways.
      if (!inCaption(x, y) && (LINE_COLOURS.includes(w) || LINE_COLOURS.includes(p)) && w !== p)
        fault('frame or target line', x, y);
    }
  }
  // Vertices where the Windows picture shows the curve's own colour with no
  // other drawing within 2 pixels.
  let vertexCount = 0;
  for (const [curve, points] of Object.entries(vertices)) {
    const own = CURVE_COLOURS[curve];
    for (const [x, y] of points) {
      if (colour(wine, x, y) !== own || near(wine, x, y, 2, (c) => c !== own && c !== BACKGROUND))
        continue;
      ++vertexCount;
      if (colour(page, x, y) !== own)
        fault(`${curve} vertex`, x, y);
    }
  }
  const pageBoxes = CAPTIONS.map((c) => whiteBox(page, c));
  return { faults, differing, differingInCaptions, vertexCount, boxes, pageBoxes };
}

// The page's picture after `steps` steps against the Windows program's:
// checks it and returns the line that says how far the two differ, which
// is also written to OUT_DIR/NAME.txt.
export function checkPicture(steps, mine, what, outFile) {
  const wine = readPpm(`picture-${steps}.ppm`);
  assert.deepEqual([mine.width, mine.height], [wine.width, wine.height]);
  const r = compare(wine, mine, referenceJson(`picture-${steps}.json`));
  const report = `${what}: ${r.differing} of ${wine.width * wine.height} pixels differ, ` +
    `${r.differingInCaptions} of them in the captions' cells (glyphs), the rest along the ` +
    `curves (antialiased lines); ${r.vertexCount} vertices compared; caption cells ` +
    `${JSON.stringify(r.boxes)}`;
  console.log(report);
  fs.writeFileSync(outFile, `${report}\n`);
  assert.deepEqual(r.faults, []);
  assert.ok(r.vertexCount > 20, `${r.vertexCount} vertices compared`);
  // The captions' cells start at their corners and cover the same pixels.
  assert.deepEqual(r.boxes.map((b) => b.slice(0, 2)), CAPTIONS);
  assert.deepEqual(r.pageBoxes, r.boxes);
  return report;
}
