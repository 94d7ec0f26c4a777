// Three storms of 3,000 seeded random key presses, clicks, drags, mouse
// moves and clock advances over the whole page: no exception, no console
// error (the fixture counts both), the state always finite and within its
// ranges, and the page still ticking afterwards. The dialog's close box is
// spared until the last tenth of each storm, which would otherwise spend
// most of its actions without the dialog.
import {
  test, expect, expectHidden, openPage, ticks, state, curveBits, nativeStates, seededRandom, byRole,
  chooseLanguage,
} from './page_fixture.mjs';

const SEEDS = [1, 2, 3];
const ACTIONS = 3000;
const CHECK_EVERY = 25;
// Every key a person might try, Escape aside: it ends the run on purpose.
const KEYS = ['Space', 'Enter', 'Tab', 'Shift+Tab', 'ArrowLeft', 'ArrowRight', 'ArrowUp',
              'ArrowDown', 'PageUp', 'PageDown', 'Home', 'End', 'a', 'X', '5', 'Backspace',
              'Delete', 'F2', 'Control+a', 'Shift+ArrowLeft', 'Alt+ArrowRight'];

// A move of the mouse as page.mouse.move(x, y, { steps }) makes it: `steps`
// moves along the straight line from where the mouse is. Chromium hands a
// move to the page only at its next frame, some 17 ms later, unless a
// discrete event comes after it. With the button up, each move goes with
// the release of a key that nothing in the page listens for, sent through
// the page's DevTools session beside it, which hands the move over at once;
// with the button down Playwright first looks for a drag that the move
// might start, and the key would come before the move.
function mover(page, session) {
  let at = [0, 0];
  const flush = () => session.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'Unidentified' });
  return {
    async move([x, y], steps, buttonDown) {
      const [fromX, fromY] = at;
      for (let i = 1; i <= steps; ++i) {
        const step = page.mouse.move(fromX + (x - fromX) * (i / steps), fromY + (y - fromY) * (i / steps));
        await (buttonDown ? step : Promise.all([step, flush()]));
      }
      at = [x, y];
    },
    // Where a click leaves the mouse.
    clicked(point) {
      at = point;
    },
  };
}

function sound(s) {
  const finite = [...s.nodeX, ...s.shownX, s.fallTime, s.alpha].every(Number.isFinite);
  return finite && s.nodeX.length === 21 && s.shownX.length === 21 &&
         Number.isInteger(s.alphaPos) && s.alphaPos >= 1 && s.alphaPos <= 100 &&
         (s.runContinuous === 0 || s.runContinuous === 1) && s.alpha > 0;
}

// A storm takes some 35 s alone, about twice that beside other suites on
// a busy machine.
test.describe.configure({ timeout: 600_000 });

for (const seed of SEEDS) {
  test(`storm ${seed}: ${ACTIONS} random actions`, async ({ page }) => {
    const random = seededRandom(seed);
    const below = (n) => Math.floor(random() * n);
    const mouse = mover(page, await page.context().newCDPSession(page));
    await openPage(page);
    const the = byRole(page);
    const stage = await page.locator('#stage').boundingBox();
    const anywhere = () => [stage.x - 20 + random() * (stage.width + 40),
                            stage.y - 20 + random() * (stage.height + 40)];
    const close = await the.close.boundingBox();
    const onClose = ([x, y]) => x >= close.x - 2 && x < close.x + close.width + 2 &&
                                y >= close.y - 2 && y < close.y + close.height + 2;
    let down = false;
    let mouseAt = [0, 0];
    const spared = () => onClose(mouseAt) && i <= 0.9 * ACTIONS;
    let i = 0;
    // The actions in one step of the test: outside any step, Playwright
    // looks for the parent of each call among all the calls made so far,
    // which over a storm's calls costs more than the calls themselves.
    await test.step(`${ACTIONS} random actions`, async () => {
      while (++i <= ACTIONS) {
        const kind = below(10);
        if (kind < 3) {
          const key = KEYS[below(KEYS.length)];
          if ((key === 'Space' || key === 'Enter') && i <= 0.9 * ACTIONS &&
              await page.evaluate(() => document.activeElement.id) === 'dialog-close')
            continue;
          await page.keyboard.press(key);
        } else if (kind < 5) {
          mouseAt = anywhere();
          if (!spared()) {
            await page.mouse.click(...mouseAt);
            mouse.clicked(mouseAt);
          }
        } else if (kind < 7) {
          mouseAt = anywhere();
          await mouse.move(mouseAt, 1 + below(3), down);
        } else if (kind === 7) {
          if (spared())
            continue;
          if (down)
            await page.mouse.up();
          else
            await page.mouse.down();
          down = !down;
        } else {
          await page.clock.runFor(below(120));
        }
        if (i % CHECK_EVERY === 0) {
          const s = await state(page);
          expect(sound(s), `state after action ${i}: ${JSON.stringify(s)}`).toBe(true);
        }
      }
    });
    if (down)
      await page.mouse.up();
    await mouse.move([1, 1], 1, false);
    // Its keys may have reached the panel's language switch; the names
    // below are the Spanish page's.
    await chooseLanguage(page, 'Español');
    await expectHidden(the.ended);

    // Still ticking, exactly: from a reset, two periods are four steps in
    // timed mode; in continuous mode the reset's paint is one more and
    // each period three.
    const dialogShown = await the.dialog.isVisible();
    if (dialogShown) {
      const before = await state(page);
      await the.reset.click();
      await ticks(page, 2);
      const s = await state(page);
      const steps = before.runContinuous ? 7 : 4;
      expect(curveBits(s)).toEqual(nativeStates([`alpha=${s.alpha},reset,${steps}`])[0]);
    } else {
      const before = await state(page);
      await ticks(page, 2);
      expect((await state(page)).nodeX).not.toEqual(before.nodeX);
    }
    console.log(`storm ${seed}: dialog ${dialogShown ? 'shown' : 'closed'} at the end, ` +
                `state ${JSON.stringify(await state(page)).slice(0, 120)}...`);
  });
}
