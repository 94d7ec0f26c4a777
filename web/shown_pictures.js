// The panel's pictures: each the module's own SVG text, shown in a shadow
// root of its host element so that the ids of one picture cannot meet
// another's, and kept as the module gave it for the files to save.
//
// A picture is drawn for the desktop, where its smallest text is 12
// pixels. Shrunk whole to a card narrower than 11/12 of its width, that
// text would come out under 11 pixels: there the picture shown is the
// module's drawing of the same picture laid out for the card's width in
// CSS pixels instead (its texts at their own sizes), while the file to save
// stays the desktop's. The cards' widths are watched, so that a picture is
// laid out again when its card changes width (a phone turned).

// The least share of its width a desktop picture is shown at.
const LEAST_SHARE = 11 / 12;

// The width an SVG text is drawn for, from its svg element.
const drawnWidth = (svgText) => Number(/<svg[^>]*\swidth="([\d.]+)"/.exec(svgText)?.[1] || 0);

// The pictures shown, made once as the panel starts: show(host, svgText,
// labelOf, drawAt) shows SVG text in a host element's shadow root, scaled
// to its width, or drawAt(width) where the host is too narrow for it and
// drawAt is given, with the host's text alternative, made from the shown
// picture, as the picture's title (its tooltip) too; of(host) gives the
// SVG text to save, the desktop's.
export function createShownPictures() {
  const shown = new Map();
  const widths = new Map();
  const put = (host, { svgText, labelOf, drawAt }) => {
    const width = widths.get(host);
    const narrow = drawAt && width > 0 && width < LEAST_SHARE * drawnWidth(svgText);
    const text = narrow ? drawAt(Math.floor(width)) : svgText;
    const root = host.shadowRoot || host.attachShadow({ mode: 'open' });
    root.innerHTML = '<style>:host { display: block; } svg { display: block; width: 100%; ' +
                     'height: auto; }</style>' + text.replace(/^<\?xml[^>]*\?>\s*/, '');
    const label = labelOf(root);
    host.setAttribute('aria-label', label);
    // The host is the image; the picture inside is its look only.
    root.querySelector('svg').setAttribute('aria-hidden', 'true');
    const title = root.querySelector('svg > title');
    if (title)
      title.textContent = label;
    return narrow ? Math.floor(width) : 0;
  };
  // A card that changes width has its picture laid out again, where the
  // width it is laid out for changes: looked at again at the next frame,
  // so that a width the page passes through for a moment (a full-page
  // screenshot lays it out anew) changes nothing. The host then hears
  // 'rodadero-laid-out', for marks of its own to be put back.
  const pending = new Set();
  const lookAgain = () => {
    for (const host of pending) {
      const picture = shown.get(host);
      const width = host.clientWidth;
      widths.set(host, width);
      if (!picture || !picture.drawAt || width === 0)
        continue;
      const share = width / drawnWidth(picture.svgText);
      if (picture.laidOutFor !== (share < LEAST_SHARE ? Math.floor(width) : 0)) {
        picture.laidOutFor = put(host, picture);
        host.dispatchEvent(new Event('rodadero-laid-out'));
      }
    }
    pending.clear();
  };
  const resized = typeof ResizeObserver === 'function' ? new ResizeObserver((entries) => {
    if (pending.size === 0)
      requestAnimationFrame(lookAgain);
    for (const { target } of entries)
      pending.add(target);
  }) : null;
  return Object.freeze({
    show(host, svgText, labelOf, drawAt) {
      if (!widths.has(host)) {
        widths.set(host, host.clientWidth);
        resized?.observe(host);
      }
      const picture = { svgText, labelOf, drawAt };
      picture.laidOutFor = put(host, picture);
      shown.set(host, picture);
    },
    of: (host) => shown.get(host)?.svgText,
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
