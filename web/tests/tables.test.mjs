// "Tables…" on the page: the method's table as sightform --table prints it,
// a look-up each way typed as a person types it, the window left where it
// was, and the panel's Print putting the table's pages on paper, nothing
// else.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import { assertClean, openPage, servedAndLaunched, sightform, typeInto } from './browser.mjs';

let site;
let chromium;
servedAndLaunched(started => ({ site, chromium } = started));

const windowBox = page => page.$eval('#Form8', element => {
  const r = element.getBoundingClientRect();
  return [r.left + window.scrollX, r.top + window.scrollY, r.width, r.height];
});

async function lookUp(page, id, text) {
  await page.click(`#${id}`, { clickCount: 3 });
  await typeInto(page, id, text);
  await page.keyboard.press('Enter');
  return page.$eval('#tablesAnswer', answer => ({
    result: answer.querySelector('.tablesResult strong')?.textContent ?? null,
    working: answer.querySelector('.tablesWorking')?.textContent ?? null,
    used: Array.from(answer.querySelectorAll('tr.used'), row => row.innerText.replace(/\s+/g, ' ')),
    problem: answer.querySelector('.tablesProblem')?.textContent ?? null,
  }));
}

test('the tables open on the window\'s method, print as sightform does and look up both ways', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  const before = await windowBox(page);
  await page.click('#optQQ');
  await page.click('#mnuTables');
  await page.waitForSelector('#tables:not([hidden]) .tablePage');
  assert.deepEqual(await windowBox(page), before, 'the window stays where it was');
  assert.equal(await page.$eval('#tablesMethod', select => select.value), 'QQ');

  await page.select('#tablesMethod', 'Q');
  const shown = await page.$$eval('.tablePage', pages => pages.map(pre => pre.innerText));
  const printed = execFileSync(sightform, ['--table', 'Q'], { encoding: 'utf8' });
  assert.equal(shown.map(text => `${text}\n`).join('\n'), printed);

  const value = await lookUp(page, 'tablesAngle', '23 17.4');
  assert.equal(value.result, '927.6');
  assert.equal(value.working, 'Page 5, column 23°, row 17: entry 928, d 1. 928 - 1 × 4 / 10 = 927.6.');
  assert.deepEqual(value.used, ["23°17' 928", "23°18' 927"]);

  const angle = await lookUp(page, 'tablesValue', '2333.4');
  assert.equal(angle.result, "5°33.9'");
  assert.deepEqual(angle.used, ["5°33' 2336", "5°34' 2333"]);

  assert.match((await lookUp(page, 'tablesAngle', '91 0')).problem, /from 0°00' to 90°00'/);

  await page.click('#tablesClose');
  assert.equal(await page.$eval('#tables', panel => panel.hidden), true);
  await assertClean(opened, site.origin);
  await page.close();
});

test('the panel\'s Print puts the table\'s pages on paper, one to a sheet, and nothing else', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  await page.click('#mnuTables');
  await page.waitForSelector('#tables:not([hidden]) .tablePage');
  await page.evaluate(() => document.body.classList.add('printingTables'));
  await page.emulateMediaType('print');
  const shown = await page.evaluate(() =>
    Array.from(document.querySelectorAll('body *'))
      .filter(e => e.checkVisibility() && e.getClientRects().length > 0 && !e.closest('.tablePage'))
      .map(e => e.id || e.tagName));
  assert.deepEqual(shown, ['page', 'tables', 'tablePages']);
  const breaks = await page.$$eval('.tablePage', pages => pages.map(pre => getComputedStyle(pre).breakAfter));
  assert.deepEqual(breaks, [...Array(breaks.length - 1).fill('page'), 'auto']);
  await page.emulateMediaType(null);
  await assertClean(opened, site.origin);
  await page.close();
});
