// The race that rodadero-trace --race writes, held and moved by the
// picture's own clock (pauseAnimations, setCurrentTime): each bead where
// the exact sliding puts it at a table of moments and at every millisecond
// of the race, the next round starting with the beads together again, and
// each time and place shown from its bead's arrival on, in the order of
// arrival. And the race in mid-run against its reference screenshot.
import { test, expect } from './page_fixture.mjs';
import { showPicture, tracePicture, traceRows } from './trace_fixture.mjs';

const BEADS = ['chord', 'polyline', 'brachistochrone'];
const LABELS = BEADS.flatMap((b) => [`arrival-${b}`, `place-${b}`]);
const G = 10;
const END = [1.0, 0.92];
const DEPTH = 0.046;
// The cycloid from (0, 0) through (1, 0.92): its end angle and radius, and
// the two closed-form times (figures worked out outside the program).
const THETA_END = 2.547441;
const RADIUS = 0.503111;
const BRACHISTOCHRONE_TIME = 0.571394;
const CHORD_TIME = 0.633554;
const STEPS = 1000;
const SLOW = 10;
const PIXELS = 400; // to the model's unit
const TOLERANCE_PX = 0.25;

// Constant acceleration g 0.92 / L along the chord, from rest.
function chordAt(t) {
  const length = Math.hypot(...END);
  const s = t > 0 ? Math.min(0.5 * G * END[1] / length * t * t, length) : 0;
  return [END[0] * s / length, END[1] * s / length];
}

function brachistochroneAt(t) {
  const theta = Math.min(Math.max(t, 0) * Math.sqrt(G / RADIUS), THETA_END);
  return [RADIUS * (theta - Math.sin(theta)), RADIUS * (1 - Math.cos(theta))];
}

// Segment after segment: the bead enters each with the speed sqrt(2 g y)
// of its depth and speeds up at g x drop / length along it.
function polylineAt(nodes, t) {
  let start = 0;
  for (let k = 0; k + 1 < nodes.length; ++k) {
    const [[x0, y0], [x1, y1]] = [nodes[k], nodes[k + 1]];
    const length = Math.hypot(x1 - x0, y1 - y0);
    const v0 = Math.sqrt(2 * G * y0);
    const v1 = Math.sqrt(2 * G * y1);
    const duration = 2 * length / (v0 + v1);
    if (t < start + duration) {
      const tau = Math.max(t - start, 0);
      const s = Math.min(v0 * tau + 0.5 * G * (y1 - y0) / length * tau * tau, length);
      return [x0 + (x1 - x0) * s / length, y0 + (y1 - y0) * s / length];
    }
    start += duration;
  }
  return nodes[nodes.length - 1];
}

// The polyline after STEPS steps and its exact time, from a run's CSV.
const row = traceRows(['--steps', String(STEPS), '--every', String(STEPS), '--nodes'])[0];
const xs = [0, ...Array.from({ length: 19 }, (_, i) => Number(row[`x${i + 1}`])), END[0]];
const NODES = xs.map((x, k) => [x, k * DEPTH]);
const POLYLINE_TIME = Number(row.exact_s);
const EXPECTED = { chord: chordAt, polyline: (t) => polylineAt(NODES, t), brachistochrone: brachistochroneAt };
const ARRIVAL = { chord: CHORD_TIME, polyline: POLYLINE_TIME, brachistochrone: BRACHISTOCHRONE_TIME };

const SVG = tracePicture(['--steps', String(STEPS)], '--race');
const DURATIONS = new Set([...SVG.matchAll(/<animate\b[^>]*\bdur="([^"]*)"/g)].map((m) => m[1]));
const ROUND_S = parseFloat([...DURATIONS][0]);

// Moments in real seconds: a few along the way, 2 ms and 0.1 ms either side
// of each arrival, one second on the page after the last; then every
// millisecond of the race, for the worst deviation.
const LAST = Math.max(...Object.values(ARRIVAL));
const TABLE = [0, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.55,
               ...Object.values(ARRIVAL).sort((a, b) => a - b).flatMap((t) => [t - 0.002, t - 0.0001, t + 0.0001, t + 0.002]),
               LAST + 1 / SLOW];
const SCAN = Array.from({ length: Math.trunc(LAST * 1000) + 2 }, (_, n) => n / 1000);
const REAL = [...TABLE, ...SCAN];
// Moments of the next round, which starts with all beads together.
const AGAIN = [0.01, 0.2, 0.45];

// The picture held at each moment (seconds on the page): the beads' centres
// in the race's own coordinates and which labels show. setCurrentTime
// applies the animated values at once, so they are read straight after.
async function raceAt(page, moments) {
  return page.evaluate(([times, beads, labels]) => {
    const svg = document.querySelector('svg');
    svg.pauseAnimations();
    const race = document.getElementById('race');
    return times.map((t) => {
      svg.setCurrentTime(t);
      const toRace = race.getCTM().inverse();
      const r = { t: svg.getCurrentTime(), beads: {}, shown: {} };
      for (const id of beads) {
        const bead = document.getElementById(`bead-${id}`);
        const centre = new DOMPoint(bead.cx.animVal.value, bead.cy.animVal.value)
          .matrixTransform(toRace.multiply(bead.getCTM()));
        r.beads[id] = [centre.x, centre.y];
      }
      for (const id of labels)
        r.shown[id] = getComputedStyle(document.getElementById(id)).visibility === 'visible';
      return r;
    });
  }, [moments, BEADS, LABELS]);
}

test('the race: one round for every animation', async () => {
  console.log(`race SVG: ${SVG.length} bytes, a round of ${ROUND_S.toFixed(3)} s on the page`);
  expect([...DURATIONS]).toHaveLength(1);
  // The round holds the slowed race.
  expect(ROUND_S).toBeGreaterThan(SLOW * LAST);
});

test('the beads where the exact sliding puts them, through the race and into the next round', async ({ page }) => {
  await showPicture(page, SVG);
  const real = REAL.map((t) => ({ t, page: SLOW * t }));
  const again = AGAIN.map((t) => ({ t, page: ROUND_S + SLOW * t }));
  const moments = [...real, ...again];
  const rows = await raceAt(page, moments.map((m) => m.page));
  const worst = Object.fromEntries(BEADS.map((b) => [b, 0]));
  const faults = [];
  rows.forEach((r, i) => {
    const { t, page: onPage } = moments[i];
    // The picture's clock counts whole microseconds.
    if (Math.abs(r.t - onPage) > 2e-6)
      faults.push(`held at ${r.t} s, not ${onPage} s`);
    for (const bead of BEADS) {
      const [x, y] = EXPECTED[bead](t);
      const [gx, gy] = r.beads[bead];
      const miss = Math.hypot(gx - PIXELS * x, gy - PIXELS * y);
      worst[bead] = Math.max(worst[bead], miss);
      if (!(miss <= TOLERANCE_PX))
        faults.push(`${bead} at ${t.toFixed(4)} s: (${gx.toFixed(3)}, ${gy.toFixed(3)}), ` +
                    `not (${(PIXELS * x).toFixed(3)}, ${(PIXELS * y).toFixed(3)})`);
    }
  });
  console.log(`${moments.length} moments; worst deviation: ` +
              BEADS.map((b) => `${b} ${worst[b].toFixed(3)} px`).join(', '));
  expect(faults.slice(0, 20)).toEqual([]);
});

test('each time and place shows from its bead\'s arrival on, in the order of arrival', async ({ page }) => {
  await showPicture(page, SVG);
  const rows = await raceAt(page, [...REAL.map((t) => SLOW * t), ...AGAIN.map((t) => ROUND_S + SLOW * t)]);
  const faults = [];
  rows.forEach((r, i) => {
    // The next round hides them again until its own arrivals.
    const t = i < REAL.length ? REAL[i] : AGAIN[i - REAL.length];
    for (const bead of BEADS) {
      for (const label of ['arrival-', 'place-']) {
        if (r.shown[label + bead] !== (t >= ARRIVAL[bead]))
          faults.push(`${label}${bead} at ${t.toFixed(4)} s${i < REAL.length ? '' : ' of the next round'}: ` +
                      `shown ${r.shown[label + bead]}`);
      }
    }
  });
  expect(faults.slice(0, 20)).toEqual([]);

  const order = [...BEADS].sort((a, b) => ARRIVAL[a] - ARRIVAL[b]);
  expect(order).toEqual(['brachistochrone', 'polyline', 'chord']);
  const texts = await page.evaluate((labels) => Object.fromEntries(labels.map((id) =>
    [id, document.getElementById(id).textContent.trim()])), LABELS);
  expect(Object.fromEntries(order.map((b) => [b, texts[`place-${b}`]])))
    .toEqual({ brachistochrone: '1st', polyline: '2nd', chord: '3rd' });
  expect(Object.fromEntries(BEADS.map((b) => [b, texts[`arrival-${b}`]])))
    .toEqual({ chord: '0.6336 s', polyline: `${POLYLINE_TIME.toFixed(4)} s`, brachistochrone: '0.5714 s' });
});

// The tracks, the beads at 0.4 s and the names, as a person sees them.
test('the race in mid-run, against its reference screenshot', async ({ page }) => {
  await page.setViewportSize({ width: 640, height: 525 });
  await showPicture(page, SVG);
  const shown = await page.evaluate((t) => {
    const svg = document.querySelector('svg');
    svg.pauseAnimations();
    svg.setCurrentTime(t);
    return svg.getCurrentTime();
  }, SLOW * 0.4);
  expect(shown).toBe(SLOW * 0.4);
  await expect(page).toHaveScreenshot('race-mid-run.png');
});
