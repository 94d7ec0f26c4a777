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
// failures are the page's script's to report), and hands back what it
// offers to tests and embedding pages through `offer` (offerPage).
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

// window.rodadero, for tests and for pages that embed this one, from the
// start, before the page's script has been unpacked: each of its promises
// waits for the script's own (page.js), which `offered` gives, or is
// rejected with the reason the script could not run. The page's state is
// null until the script has started its module.
function offerPage(offered) {
  let page = null;
  offered.then((offer) => { page = offer; }, () => {});
  const later = (use) => offered.then(use);
  window.rodadero = Object.freeze({
    get ready() { return later((offer) => offer.ready); },
    get swept() { return later((offer) => offer.swept); },
    mapped: (name) => later((offer) => offer.mapped(name)),
    refined: () => later((offer) => offer.refined()),
    state: () => (page ? page.state() : null),
  });
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

// The page's script could not be unpacked or run: the reason to whoever
// waits for the page, and to the reader what a browser without script is
// told, once the page is read.
function failed(error, offer, parsed) {
  offer.reject(error);
  parsed.then(() => {
    const notice = document.querySelector('noscript');
    notice.insertAdjacentHTML('afterend', notice.textContent);
    console.error(error);
  });
}

function load() {
  const parsed = pageRead();
  let offer;
  const offered = new Promise((resolve, reject) => { offer = { resolve, reject }; });
  offerPage(offered);
  let read;
  try {
    read = lettersReader(Uint8Array.from(atob(lettersBase64), (c) => c.charCodeAt(0)));
  } catch (error) {
    failed(error, offer, parsed);
    return;
  }
  const packed = (id) => document.getElementById(id).textContent;
  const script = unpack(packed('rodadero-script'), read);
  const module = compiledModule(packed('rodadero-module'), read);
  const catalogs = unpack(packed('rodadero-catalogs'), read);
  for (const unpacking of [module, catalogs])
    unpacking.catch(() => {});
  Promise.all([script, parsed]).then(([bytes]) => {
    const element = document.createElement('script');
    element.textContent = new TextDecoder('utf-8').decode(bytes);
    Object.assign(element, { module, catalogs, offer: offer.resolve });
    document.body.append(element);
  }, (error) => failed(error, offer, parsed));
}

load();
