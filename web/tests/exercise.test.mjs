// New Exercise on the page: the seed's sight filled in through the fields'
// own rules with the printout left empty, the same sight again from the same
// seed, and the page's core making byte for byte the rows that
// sightform --exercises writes.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { after, before, test } from 'node:test';

import {
  assertClean, beeps, fieldState, launchBrowser, messageShown, openPage, printedLines, sightform, sightformBatch,
  siteDir, typeInto, valueOf,
} from './browser.mjs';
import { serveSite } from './server.mjs';

const fieldIds = ['txtGHADeg', 'txtGHAMin', 'txtDecDeg', 'txtDecMin', 'txtLDeg', 'txtLMin', 'txtLoDeg', 'txtLoMin'];

let site;
let chromium;

before(async () => {
  site = await serveSite(siteDir);
  chromium = await launchBrowser();
});

after(async () => {
  await chromium?.close();
  await site?.close();
});

function sightformExercises(count, seed, method) {
  const options = ['--exercises', String(count), '--seed', String(seed), ...(method ? ['--method', method] : [])];
  return execFileSync(sightform, options, { encoding: 'utf8', maxBuffer: 64 << 20 });
}

// A sight as the core gives it, by batch column name.
function cellsOf(sight) {
  const [ghaDeg, ghaMin, decDeg, decMin, latDeg, latMin, lonDeg, lonMin] = sight.texts;
  return {
    method: sight.method, ghaDeg, ghaMin, decName: sight.decName, decDeg, decMin,
    latName: sight.latName, latDeg, latMin, lonName: sight.loName, lonDeg, lonMin,
  };
}

// sightform's one exercise of the seed, by batch column name.
function sightformExercise(seed) {
  const [header, row] = sightformExercises(1, seed).trimEnd().split('\n').map(line => line.split(','));
  return Object.fromEntries(header.map((name, i) => [name, row[i]]));
}

async function newExercise(page, seed) {
  await page.click('#mnuNewExercise');
  await page.waitForSelector('#exerciseDialog[open]');
  const offered = await valueOf(page, 'exerciseSeedBox');
  // The fresh seed is selected: typing replaces it.
  await page.keyboard.type(String(seed));
  await page.keyboard.press('Enter');
  await page.waitForSelector('#exerciseDialog:not([open])');
  return offered;
}

test('New Exercise fills the seed\'s sight as typing would, and the same seed gives it again', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  // A declination of 90 locks its minute field; the exercise frees it.
  await typeInto(page, 'txtDecDeg', '90');
  assert.equal((await fieldState(page, 'txtDecMin')).enabled, false);

  const seed = 482913;
  const offered = await newExercise(page, seed);
  assert.match(offered, /^[1-9][0-9]{5}$/);
  const expected = sightformExercise(seed);
  const filled = async () => ({
    texts: await Promise.all(fieldIds.map(id => valueOf(page, id))),
    names: await page.evaluate(() => ['cboDec', 'cboL', 'cboLo'].map(id => document.getElementById(id).value)),
    method: await page.evaluate(() => (document.getElementById('optQQ').checked ? 'QQ' : 'Q')),
  });
  const first = await filled();
  assert.deepEqual(first, {
    texts: ['ghaDeg', 'ghaMin', 'decDeg', 'decMin', 'latDeg', 'latMin', 'lonDeg', 'lonMin'].map(name => expected[name]),
    names: [expected.decName, expected.latName, expected.lonName],
    method: expected.method,
  });
  for (const id of fieldIds) assert.deepEqual(await fieldState(page, id), { enabled: true, colour: 'Field' }, id);
  assert.deepEqual(await printedLines(page), [], 'the printout is left for the learner');
  assert.equal(await page.$eval('#exerciseSeed', element => element.textContent), `Exercise ${seed}`);
  assert.equal(await beeps(page), 0);
  assert.equal(await messageShown(page), null);

  // The learner's Calculate works that very sight.
  await page.click('#cmdQ');
  const [answer] = sightformBatch([{
    method: expected.method, gha: [expected.ghaDeg, expected.ghaMin],
    dec: [expected.decName, expected.decDeg, expected.decMin], lat: [expected.latName, expected.latDeg, expected.latMin],
    lon: [expected.lonName, expected.lonDeg, expected.lonMin],
  }], csv => execFileSync(sightform, ['--batch', '-'], { input: csv, encoding: 'utf8' }));
  assert.deepEqual(await printedLines(page), answer.lines);

  // Another class member types the same seed over their own entries.
  await typeInto(page, 'txtGHADeg', '7');
  await newExercise(page, seed);
  assert.deepEqual(await filled(), first);
  assert.deepEqual(await printedLines(page), []);

  // Cancel leaves everything as it was; a clear takes the seed away.
  await page.click('#mnuNewExercise');
  await page.waitForSelector('#exerciseDialog[open]');
  await page.click('#exerciseCancel');
  assert.deepEqual(await filled(), first);
  await page.click('#cmdClear');
  assert.equal(await page.$eval('#exerciseSeed', element => element.textContent), '');
  await assertClean(opened, site.origin);
  await page.close();
});

test('the seed box takes only a seed', async () => {
  const opened = await openPage(chromium.browser, site.origin);
  const { page } = opened;
  await page.click('#mnuNewExercise');
  await page.waitForSelector('#exerciseDialog[open]');
  for (const [text, accepted] of [['12a', false], ['', false], ['18446744073709551616', false],
    ['18446744073709551615', true], ['0', true]]) {
    await page.$eval('#exerciseSeedBox', box => box.select());
    await page.keyboard.press('Backspace');
    if (text) await page.keyboard.type(text);
    assert.equal(await page.$eval('#exerciseOk', button => !button.disabled), accepted, text);
  }
  await page.keyboard.type('x');
  await page.keyboard.press('Enter');
  assert.equal(await page.$eval('#exerciseDialog', dialog => dialog.open), true, 'Enter on a text that is no seed');
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
    const rows = sights.map(sight => {
      const cells = cellsOf(sight);
      return header.split(',').map(name => cells[name]).join(',');
    });
    assert.equal([header, ...rows].join('\n') + '\n', csv, `seed ${seed}`);
  }
  await assertClean(opened, site.origin);
  await opened.page.close();
});
