// A clock held still for the engines that Playwright does not drive:
// @sinonjs/fake-timers (the pinned npm package) as a script that runs in
// the page before the page's own, installed at 1000 ms with the timers, the
// frames, Date and performance.now faked, as the Chromium suites' clock is
// after pauseAt(1000). Nothing moves until window.rodaderoClock.tick(ms).
// The real setTimeout is kept as window.rodaderoRealTimeout, for waits that
// must not hang on the held clock.
import fs from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const SOURCE = fs.readFileSync(require.resolve('@sinonjs/fake-timers'), 'utf8');

export const CLOCK_START_MS = 1000;

// The package is a CommonJS module whose one dependency it asks for is the
// global object; in the page, a small require answers that and nothing else.
export const FAKE_CLOCK_SCRIPT = `(() => {
  const module = { exports: {} };
  const require = (name) => {
    if (name === '@sinonjs/commons')
      return { global: globalThis };
    throw new Error('no ' + name + ' in the page');
  };
  (function (module, exports, require) {
${SOURCE}
  })(module, module.exports, require);
  window.rodaderoRealTimeout = window.setTimeout.bind(window);
  window.rodaderoClock = module.exports.withGlobal(window).install({
    now: ${CLOCK_START_MS},
    toFake: ['setTimeout', 'clearTimeout', 'setInterval', 'clearInterval',
             'requestAnimationFrame', 'cancelAnimationFrame', 'Date', 'performance'],
  });
})();`;

// The page's HTML with the clock put in first, for engines whose driver
// has no way to run a script before the page's: the copy is opened instead.
export function pageWithClock(html) {
  const at = html.indexOf('<meta charset="utf-8">');
  if (at < 0)
    throw new Error('the page has no <meta charset="utf-8"> to put the clock after');
  const end = at + '<meta charset="utf-8">'.length;
  if (FAKE_CLOCK_SCRIPT.toLowerCase().includes('</script'))
    throw new Error('the clock\'s script holds "</script"');
  return `${html.slice(0, end)}\n<script>${FAKE_CLOCK_SCRIPT}</script>${html.slice(end)}`;
}
