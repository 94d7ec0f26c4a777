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
// `root`) ranks them: each line's place is one of the catalog's places
// (pictures.race), ties in the picture's order, and a bead that never
// arrives has none and comes last. Said with `say` (the page's words) as
// the race's text alternative gives them.
export function arrivalsInOrder(root, ids, say) {
  const places = ['first', 'second', 'third'].map((p) => say(`pictures.race.${p}`));
  const text = (id) => {
    const element = root.getElementById(id);
    return element ? element.textContent.trim() : '';
  };
  return ids.map((id, i) => ({ i, place: text(`place-${id}`), track: text(`name-${id}`),
                               time: text(`arrival-${id}`) }))
    .map((a) => ({ ...a, rank: places.includes(a.place) ? places.indexOf(a.place) : places.length }))
    .sort((a, b) => a.rank - b.rank || a.i - b.i)
    .map((a) => (a.place ? say('panel.raceArrival', a) : say('panel.raceUnplaced', a)))
    .join(say('panel.raceArrivals'));
}
