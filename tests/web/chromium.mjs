// Debian's Chromium as the page's tests and the browser benchmarks start it
// through Playwright: nothing downloads a browser, and the browser fetches
// nothing of its own (no background networking, no component updates, no
// sync, no QUIC). Playwright adds --headless, --no-sandbox and a new empty
// profile to every launch.
export const CHROMIUM_PATH = '/usr/bin/chromium';

export const CHROMIUM_ARGS = Object.freeze([
  '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
]);
