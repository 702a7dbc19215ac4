// New Exercise on the page: the seed's sight filled in through the fields'
// own rules with the printout left empty, the same sight from the same seed,
// and the page's core making byte for byte the rows of sightform --exercises.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import {
  assertClean, beeps, fieldState, messageShown, openPage, printedLines, servedAndLaunched, sightform, typeInto,
  valueOf,
} from './browser.mjs';

const fieldIds = ['txtGHADeg', 'txtGHAMin', 'txtDecDeg', 'txtDecMin', 'txtLDeg', 'txtLMin', 'txtLoDeg', 'txtLoMin'];
// The batch columns of the core's sight ({texts, method, decName, latName, loName}).
const columns = {
  method: s => s.method, ghaDeg: s => s.texts[0], ghaMin: s => s.texts[1], decName: s => s.decName,
  decDeg: s => s.texts[2], decMin: s => s.texts[3], latName: s => s.latName, latDeg: s => s.texts[4],
  latMin: s => s.texts[5], lonName: s => s.loName, lonDeg: s => s.texts[6], lonMin: s => s.texts[7],
};

let site;
let chromium;
servedAndLaunched(started => ({ site, chromium } = started));

const sightformExercises = (count, seed, method) =>
  execFileSync(sightform, ['--exercises', String(count), '--seed', String(seed), ...(method ? ['--method', method] : [])],
    { encoding: 'utf8', maxBuffer: 64 << 20 });

// The page as a sight: the fields' texts, then the names and the method, in
// the batch columns' order.
const shownRow = page => page.evaluate(ids => {
  const [ghaDeg, ghaMin, decDeg, decMin, latDeg, latMin, lonDeg, lonMin] = ids.map(id => document.getElementById(id).value);
  const name = id => document.getElementById(id).value;
  return [document.getElementById('optQQ').checked ? 'QQ' : 'Q', ghaDeg, ghaMin, name('cboDec'), decDeg, decMin,
    name('cboL'), latDeg, latMin, name('cboLo'), lonDeg, lonMin].join(',');
}, fieldIds);

test('New Exercise fills the seed\'s sight as typing would, and the same seed gives it again', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  const seed = 482913;
  const [, expected] = sightformExercises(1, seed).trimEnd().split('\n');
  // First a declination of 90, which locks its minute field (the exercise
  // frees it); then one of the class's own entries typed over the sight.
  for (const before of ['90', '7']) {
    await page.$eval('#txtDecDeg', field => field.select());
    await typeInto(page, 'txtDecDeg', before);
    assert.equal((await fieldState(page, 'txtDecMin')).enabled, before !== '90');
    await page.click('#mnuNewExercise');
    await page.waitForSelector('#exerciseDialog[open]');
    assert.match(await valueOf(page, 'exerciseSeedBox'), /^[1-9][0-9]{5}$/, 'a fresh seed, selected');
    await page.keyboard.type(String(seed));
    await page.keyboard.press('Enter');
    assert.equal(await shownRow(page), expected);
    for (const id of fieldIds) assert.deepEqual(await fieldState(page, id), { enabled: true, colour: 'Field' }, id);
    assert.deepEqual(await printedLines(page), [], 'the printout is left for the learner');
    assert.equal(await page.$eval('#exerciseSeed', element => element.textContent), `Exercise ${seed}`);
  }
  assert.equal(await beeps(page), 0);
  assert.equal(await messageShown(page), null);

  // A text that is no seed is not taken; Cancel changes nothing; a clear
  // takes the seed away.
  await page.click('#mnuNewExercise');
  await page.keyboard.type('12a');
  assert.equal(await page.$eval('#exerciseOk', button => button.disabled), true);
  await page.keyboard.press('Enter');
  await page.click('#exerciseCancel');
  assert.equal(await shownRow(page), expected);
  await page.click('#cmdClear');
  assert.equal(await page.$eval('#exerciseSeed', element => element.textContent), '');
  await assertClean(opened, site.origin);
  await page.close();
});

test('the page\'s core makes byte for byte the rows of sightform --exercises', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  for (const [count, seed, method] of [[10000, 20240601, ''], [1000, 7, 'QQ'], [1000, 18446744073709551615n, 'Q']]) {
    const csv = sightformExercises(count, seed, method);
    const header = csv.slice(0, csv.indexOf('\n'));
    const sights = await opened.page.evaluate(async (seedText, n, chosen) => {
      const { loadCore } = await import('./core.js');
      return (await loadCore()).exercises(seedText, n, chosen);
    }, String(seed), count, method);
    const rows = sights.map(sight => header.split(',').map(name => columns[name](sight)).join(','));
    assert.equal([header, ...rows].join('\n') + '\n', csv, `seed ${seed}`);
  }
  await assertClean(opened, site.origin);
  await opened.page.close();
});
