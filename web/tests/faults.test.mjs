// Where the browser lacks something the page uses: no sound, no clipboard
// interface (plain http), an answer of the core without the lists a full one
// has. The page's rules hold and it says what happened, without a script
// error.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { assertClean, firstExample, openPage, servedAndLaunched, typeInto, valueOf } from './browser.mjs';

let site;
let chromium;
servedAndLaunched(started => ({ site, chromium } = started));

test('without Web Audio the key filter still drops what a field may not hold', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  await opened.page.evaluate(() => {
    delete window.AudioContext;
    delete window.webkitAudioContext;
  });
  await typeInto(opened.page, 'txtDecDeg', '4a-5');
  assert.equal(await valueOf(opened.page, 'txtDecDeg'), '45');
  await assertClean(opened, site.origin);
  await opened.page.close();
});

test('a check answered without its lists shows its summary', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  await firstExample(page);
  await page.click('#mnuCheck');
  await page.waitForSelector('#checkDialog[open]');
  // A tolerance the core does not know: it answers with a summary alone.
  await page.evaluate(() => document.getElementById('checkTolerance').add(new Option('furlongs', 'furlongs')));
  await page.select('#checkTolerance', 'furlongs');
  await page.click('#cmdCheck');
  assert.equal(await page.$eval('#checkSummary', summary => summary.textContent), 'No form is open to check.');
  await assertClean(opened, site.origin);
  await page.close();
});

test('over plain http, with no clipboard interface, Copy still copies the form and says so', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  await page.evaluate(() => {
    Object.defineProperty(Navigator.prototype, 'clipboard', { get: () => undefined });
    window.addEventListener('copy', event => {
      window.copied = event.clipboardData.getData('text/plain');
    });
  });
  await firstExample(page);
  await page.click('#mnuCopy');
  const lines = await page.$eval('#printout', form => form.innerText.split('\n'));
  assert.equal(await page.evaluate(() => window.copied), lines.map(line => `${line}\n`).join(''));
  assert.equal(await page.$eval('#copyStatus', status => status.checkVisibility() && status.textContent), 'Copied.');
  await assertClean(opened, site.origin);
  await page.close();
});
