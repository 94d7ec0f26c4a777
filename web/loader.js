// The one script the page runs as it is read, in its head: it unpacks the
// page's own script (carried packed, #rodadero-script, see packing.js) and
// runs it once the page is read.
// It carries the module that reads packed texts (letters.c).
// Meanwhile the module (#rodadero-module) is unpacked and compiled, each
// part compiled as it comes out of the unpacking, off the page's thread
// where the browser can, and the other languages'
// catalogs (#rodadero-catalogs) unpacked: the page's script finds them on
// its own element (document.currentScript), as `module`, a promise of
// { bytes, compiled }, and `catalogs`, a promise of their bytes (their
// failures are the page's script's to report).
// A browser that cannot unpack the script (one without
// DecompressionStream) is told what a browser without script is told, in
// every language.
import { lettersReader, unpack, unpackedStream } from './packing.js';
import lettersBase64 from 'rodadero:letters';

// The module's bytes, and the module compiled from them as they are
// unpacked.
async function compiledModule(text, read) {
  const [compiling, whole] = unpackedStream(text, read).tee();
  const [compiled, bytes] = await Promise.all([
    WebAssembly.compileStreaming(new Response(compiling,
                                              { headers: { 'Content-Type': 'application/wasm' } })),
    new Response(whole).arrayBuffer()]);
  return { compiled, bytes: new Uint8Array(bytes) };
}

// Settles once the whole page has been read.
function pageRead() {
  return new Promise((resolve) => {
    if (document.readyState === 'loading')
      document.addEventListener('DOMContentLoaded', resolve, { once: true });
    else
      resolve();
  });
}

function load() {
  const read = lettersReader(Uint8Array.from(atob(lettersBase64), (c) => c.charCodeAt(0)));
  const packed = (id) => document.getElementById(id).textContent;
  const script = unpack(packed('rodadero-script'), read);
  const module = compiledModule(packed('rodadero-module'), read);
  const catalogs = unpack(packed('rodadero-catalogs'), read);
  for (const unpacking of [module, catalogs])
    unpacking.catch(() => {});
  const parsed = pageRead();
  Promise.all([script, parsed]).then(([bytes]) => {
    const element = document.createElement('script');
    element.textContent = new TextDecoder('utf-8').decode(bytes);
    Object.assign(element, { module, catalogs });
    document.body.append(element);
  }, (error) => parsed.then(() => {
    const notice = document.querySelector('noscript');
    notice.insertAdjacentHTML('afterend', notice.textContent);
    console.error(error);
  }));
}

load();
