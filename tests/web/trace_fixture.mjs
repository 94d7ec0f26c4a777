// What the pictures' tests share: the host build's rodadero-trace, its CSV
// rows, the SVG pictures it writes (into a temporary folder, read back and
// removed), and a page that holds one such picture inline, as the page's
// panel holds them.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const TRACE = process.env.RODADERO_TRACE || 'build/native/trace/rodadero-trace';

// Standard output of a run; a failed run throws with its standard error.
export function trace(args) {
  return execFileSync(TRACE, args, { encoding: 'utf8', maxBuffer: 256 << 20,
                                     stdio: ['ignore', 'pipe', 'pipe'] });
}

// The rows of a run's CSV as objects of strings, by the header's names.
export function traceRows(args) {
  const [header, ...lines] = trace(args).trim().split('\n');
  const names = header.split(',');
  return lines.map((line) => {
    const values = line.split(',');
    return Object.fromEntries(names.map((n, i) => [n, values[i]]));
  });
}

// What `use` gives for a picture file in a temporary folder, removed after.
function withPictureFile(use) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'rodadero-trace-'));
  try {
    return use(path.join(dir, 'picture.svg'));
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// The rows of one method in what --compare prints at the given settings.
export function compareRows(method, args) {
  return withPictureFile((file) => trace(['--compare', file, ...args]))
    .trimEnd().split('\n').filter((r) => r.startsWith(`${method},`));
}

// The SVG text that a run writes into the file given after `option`
// (--svg, --plot or --race).
export function tracePicture(args, option) {
  return withPictureFile((file) => {
    trace([...args, option, file]);
    return fs.readFileSync(file, 'utf8');
  });
}

// A page of nothing but the picture, its XML declaration taken off, at the
// top-left corner.
export async function showPicture(page, svgText) {
  const inline = svgText.replace(/^<\?xml[^>]*\?>\s*/, '');
  await page.setContent('<!DOCTYPE html><html><head><meta charset="utf-8">' +
                        `<style>body { margin: 0 }</style></head><body>${inline}</body></html>`);
}
