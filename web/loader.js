// The one script the page runs as it is read: it unpacks the page's own
// script (carried packed, #rodadero-script, see packing.js) and runs it.
// A browser that cannot unpack it (one without DecompressionStream) is told
// what a browser without script is told, in every language.
import { unpack } from './packing.js';

unpack(document.getElementById('rodadero-script').textContent).then((bytes) => {
  const script = document.createElement('script');
  script.textContent = new TextDecoder('utf-8').decode(bytes);
  document.body.append(script);
}, (error) => {
  const notice = document.querySelector('noscript');
  notice.insertAdjacentHTML('afterend', notice.textContent);
  console.error(error);
});
