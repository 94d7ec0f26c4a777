// The main window's picture in words, for its text alternative: where the
// red polyline lies beside the blue cycloid as drawn, how far apart they
// are at half the drop, what the descent is doing, and the printed time.
// The module reads the picture and the descent (picture_reading.cpp); the
// words are the page's language's (texts/*.json, "reading"), the time the
// program's own caption's.

// The reading of the picture at `address` (the last paint's), as the
// module gives it, the codes named: {side, midOffsetPx, descent, period,
// lowUs, highUs, stepsToCycle}.
export function readPicture(e, contract, address) {
  const reading = contract.fields('PictureReading', e.rodadero_picture_reading(address));
  const named = (codes, code) => Object.keys(codes).find((name) => codes[name] === code);
  return { ...reading, side: named(contract.pictureSides, reading.side),
           descent: named(contract.descents, reading.descent) };
}

// How far apart the curves are at half the drop: whole pixels, the
// picture's own unit (its vertices are whole pixels).
function midHeightWords({ say }, reading) {
  const pixels = Math.round(Math.abs(reading.midOffsetPx));
  if (pixels === 0)
    return say('reading.level');
  return say(reading.midOffsetPx > 0 ? 'reading.right' : 'reading.left', { pixels }, pixels);
}

// What the descent is doing; a swing whose two printed times are the same
// says so.
function descentWords({ say }, { descent, lowUs, highUs }) {
  const level = lowUs === highUs && (descent === 'swinging' || descent === 'toSwing');
  return say(`reading.descents.${descent}${level ? 'Level' : ''}`, { low: lowUs, high: highUs });
}

// The picture's reading in `words` (wordsIn, language.js), without the
// time: the sides, the distance at half the drop, the descent.
export function pictureWords(words, reading) {
  return [words.say(`reading.sides.${reading.side}`), midHeightWords(words, reading),
          descentWords(words, reading)].join(' ');
}
