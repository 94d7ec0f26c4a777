// The panel's pictures: each the module's own SVG text, shown in a shadow
// root of its host element so that the ids of one picture cannot meet
// another's, and kept as the module gave it for the files to save.

// The pictures shown, made once as the panel starts: show(host, svgText,
// labelOf) shows SVG text in a host element's shadow root, scaled to its
// width, with the host's text alternative, made from the shown picture,
// as the picture's title (its tooltip) too; of(host) gives the SVG text
// the host shows.
export function createShownPictures() {
  const shown = new Map();
  return Object.freeze({
    show(host, svgText, labelOf) {
      shown.set(host, svgText);
      const root = host.shadowRoot || host.attachShadow({ mode: 'open' });
      root.innerHTML = '<style>:host { display: block; } svg { display: block; width: 100%; ' +
                       'height: auto; }</style>' + svgText.replace(/^<\?xml[^>]*\?>\s*/, '');
      const label = labelOf(root);
      host.setAttribute('aria-label', label);
      // The host is the image; the picture inside is its look only.
      root.querySelector('svg').setAttribute('aria-hidden', 'true');
      const title = root.querySelector('svg > title');
      if (title)
        title.textContent = label;
    },
    of: (host) => shown.get(host),
  });
}

// A race's beads in the order they arrive, as its picture (the shadow root
// `root`) writes their times (seconds to four places; a bead that never
// arrives has words instead and comes last; ties in the picture's order),
// each with the place, name and time its line gives. Said with `say` (the
// page's words) as the race's text alternative gives them.
export function arrivalsInOrder(root, ids, say) {
  const text = (id) => {
    const element = root.getElementById(id);
    return element ? element.textContent.trim() : '';
  };
  const arrival = (time) => (/^\d+\.\d+ s$/.test(time) ? Number.parseFloat(time) : Infinity);
  return ids.map((id, i) => ({ i, place: text(`place-${id}`), track: text(`name-${id}`),
                               time: text(`arrival-${id}`) }))
    .sort((a, b) => arrival(a.time) - arrival(b.time) || a.i - b.i)
    .map((a) => (a.place ? say('panel.raceArrival', a) : say('panel.raceUnplaced', a)))
    .join(say('panel.raceArrivals'));
}
