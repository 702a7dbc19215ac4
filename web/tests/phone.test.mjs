// The page on a 360 × 740 touch screen: the worked form, its parts one above
// the other, read without sideways scrolling in type of 12 pixels or more,
// while Copy and screen readers keep the form's own lines.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import { assertClean, openPage, printedLines, servedAndLaunched, sightform, typeInto } from './browser.mjs';

let site;
let chromium;
servedAndLaunched(started => ({ site, chromium } = started));

const phone = { width: 360, height: 740, isMobile: true, hasTouch: true };

test('on a phone the worked form fits the screen, Hc and Zn in view at 12 px or more', async () => {
  const opened = await openPage(chromium.browser, site.origin, { viewport: phone });
  const { page } = opened;
  for (const [id, text] of [['txtGHADeg', '54'], ['txtGHAMin', '12.3'], ['txtDecDeg', '20'], ['txtDecMin', '15.0'],
    ['txtLDeg', '40'], ['txtLMin', '00.0'], ['txtLoDeg', '70'], ['txtLoMin', '00.0']])
    await typeInto(page, id, text);
  await page.tap('#cmdQ');
  const shown = await page.evaluate(() => {
    const form = document.getElementById('narrowForm');
    const text = document.createRange();
    text.selectNodeContents(form);
    const inside = rect => rect.left >= 0 && rect.right <= window.innerWidth && rect.top >= 0 &&
      rect.bottom <= window.innerHeight;
    return {
      results: Array.from(form.querySelectorAll('strong'), bold => ({
        text: bold.textContent,
        inside: inside(bold.getBoundingClientRect()),
        size: parseFloat(getComputedStyle(bold).fontSize),
      })),
      textRight: Math.max(...Array.from(text.getClientRects(), rect => rect.right)),
      pageWidth: document.documentElement.scrollWidth,
      formScrolls: form.scrollWidth > form.clientWidth,
      hidden: form.getAttribute('aria-hidden'),
    };
  });
  assert.deepEqual(shown.results, [
    { text: "Hc = 66°04.2'", inside: true, size: 12 },
    { text: 'Zn = 141.0°', inside: true, size: 12 },
  ]);
  assert.ok(shown.textRight <= 360, `every line inside the screen (${shown.textRight})`);
  assert.equal(shown.pageWidth, 360, 'the page does not scroll sideways');
  assert.equal(shown.formScrolls, false, 'the form does not scroll sideways');
  // What is copied and read out is the form as sightform prints it.
  assert.equal(shown.hidden, 'true');
  const lines = execFileSync(sightform, ['--gha', '54', '12.3', '--dec', 'N', '20', '15.0', '--lat', 'N', '40', '00.0',
    '--lon', 'W', '70', '00.0'], { encoding: 'utf8' }).trimEnd().split('\n');
  assert.deepEqual(await printedLines(page), lines);
  const snapshot = await page.accessibility.snapshot({ root: await page.$('#printout') });
  assert.equal(snapshot?.name, 'Worked form');
  await assertClean(opened, site.origin);
  await page.close();
});
