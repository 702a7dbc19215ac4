// Random sights typed into the page as a person types them, compared with
// what sightform prints for the same entries: the whole worked form line for
// line, or the same message with the last complete form left standing.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { test } from 'node:test';

import {
  accessKey, assertClean, focusedId, launchBrowser, messageShown, openPage, pressOk, printedLines,
  sightform, sightformBatch, withSite,
} from './browser.mjs';

// A small seeded generator, so a failure can be run again as it was.
function generator(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Minutes as people type them: empty, whole, with a leading zero, a tenth,
// or a lone leading point.
function minutesText(random) {
  const minutes = Math.floor(random() * 600) / 10;
  switch (Math.floor(random() * 5)) {
    case 0: return '';
    case 1: return String(Math.floor(minutes));
    case 2: return minutes.toFixed(1).padStart(4, '0');
    case 3: return minutes < 1 ? `.${Math.round(minutes * 10)}` : minutes.toFixed(1);
    default: return minutes.toFixed(1);
  }
}

// Degrees up to the field's bound; a degree field at its bound locks its
// minute field, which then stays empty.
function angle(random, bound, atBound) {
  const degrees = random() < atBound ? bound : Math.floor(random() * bound);
  return [String(degrees), degrees === bound ? '' : minutesText(random)];
}

const nameSets = [];
for (const dec of ['N', 'S']) for (const lat of ['N', 'S']) for (const lon of ['W', 'E']) nameSets.push([dec, lat, lon]);

// Sights the tables cannot reduce: GHA plus an east longitude past 720.
const failures = new Map([[20, '3'], [75, '10'], [150, '1']]);

function sights(count, seed) {
  const random = generator(seed);
  const rows = [];
  for (let i = 0; i < count; i += 1) {
    // Every pair of names with both methods, in turn.
    const [decName, latName, lonName] = nameSets[i % nameSets.length];
    const row = {
      method: Math.floor(i / nameSets.length) % 2 === 0 ? 'Q' : 'QQ',
      gha: [String(Math.floor(random() * 720)), minutesText(random)],
      dec: [decName, ...angle(random, 90, 0.03)],
      lat: [latName, ...angle(random, 90, 0.03)],
      lon: [lonName, ...angle(random, 180, 0.03)],
      // About a third keep the DR of the sight before ("Clear except DR").
      keepDR: i > 0 && random() < 0.3,
    };
    if (row.keepDR) {
      row.lat = [latName, ...rows[i - 1].lat.slice(1)];
      row.lon = [lonName, ...rows[i - 1].lon.slice(1)];
    }
    if (failures.has(i)) {
      row.gha = ['719', '59.9'];
      row.lon = ['E', failures.get(i), ''];
      row.keepDR = false;
    }
    rows.push(row);
  }
  return rows;
}

async function pickName(page, id, name) {
  assert.equal(await focusedId(page), id, 'Tab order reaches the list');
  // A closed list takes the first letter of the item it should show.
  await page.keyboard.press(`Key${name}`);
  assert.equal(await page.$eval(`#${id}`, list => list.selectedOptions[0].text), name);
}

async function typeField(page, id, text) {
  assert.equal(await focusedId(page), id, 'Tab order reaches the field');
  await page.keyboard.type(text);
  assert.equal(await page.$eval(`#${id}`, field => field.value), text);
}

// Works one sight the way a person would: a clear, the method, then the
// fields in tab order with Tab between them, then Calculate by one of its
// three ways. Returns the form or the message the page gave.
async function workSight(page, sight, i) {
  if (sight.keepDR) await page.click('#cmdClearSome');
  else if (i % 2) await page.click('#cmdClear');
  else await accessKey(page, 'A');
  assert.equal(await focusedId(page), 'txtGHADeg');

  const method = sight.method === 'Q' ? 'optQ' : 'optQQ';
  if (!(await page.$eval(`#${method}`, option => option.checked))) {
    // Selecting the method calculates at once, on whatever the fields hold.
    await page.click(`#${method}`);
    if (await messageShown(page)) await pressOk(page);
    await page.click('#txtGHADeg');
  }

  await typeField(page, 'txtGHADeg', sight.gha[0]);
  await page.keyboard.press('Tab');
  await typeField(page, 'txtGHAMin', sight.gha[1]);
  await page.keyboard.press('Tab');
  await typeField(page, 'txtDecDeg', sight.dec[1]);
  await page.keyboard.press('Tab');
  if (sight.dec[1] !== '90') {
    await typeField(page, 'txtDecMin', sight.dec[2]);
    await page.keyboard.press('Tab');
  }
  await pickName(page, 'cboDec', sight.dec[0]);
  await page.keyboard.press('Tab');
  // The DR fields are typed, or passed over with Tab when they are kept; a
  // locked minute field is no tab stop.
  const dr = async (degreeId, minuteId, [, degrees, minutes], bound) => {
    if (!sight.keepDR) await typeField(page, degreeId, degrees);
    await page.keyboard.press('Tab');
    if (degrees !== bound) {
      if (!sight.keepDR) await typeField(page, minuteId, minutes);
      await page.keyboard.press('Tab');
    }
  };
  await dr('txtLDeg', 'txtLMin', sight.lat, '90');
  await pickName(page, 'cboL', sight.lat[0]);
  await page.keyboard.press('Tab');
  await dr('txtLoDeg', 'txtLoMin', sight.lon, '180');
  await pickName(page, 'cboLo', sight.lon[0]);

  const before = await printedLines(page);
  switch (i % 3) {
    case 0:
      await page.click('#cmdQ');
      break;
    case 1:
      // On to "Calculate" past the two clear buttons, then Enter.
      for (const next of ['cmdClear', 'cmdClearSome', 'cmdQ']) {
        await page.keyboard.press('Tab');
        assert.equal(await focusedId(page), next);
      }
      await page.keyboard.press('Enter');
      break;
    default:
      // Alt+C only puts the focus on "Calculate" (the first of the two
      // buttons that share C); Space presses it.
      await accessKey(page, 'C');
      assert.equal(await focusedId(page), 'cmdQ');
      await page.keyboard.press('Space');
      break;
  }
  const message = await messageShown(page);
  if (message === null) return { lines: await printedLines(page) };
  assert.deepEqual(await printedLines(page), before, 'the last complete form stays');
  await pressOk(page);
  return { message };
}

// sightform's message as the page words it: "Check your data." as it is; the
// reason of a failure under the page's first line, made a sentence.
function pageMessage(expected) {
  const reason = expected.message.match(/^The entries cannot be reduced: (.*)$/);
  if (!reason) return expected.message;
  const sentence = reason[1].endsWith('.') ? reason[1] : `${reason[1]}.`;
  return `These entries cannot be reduced.\n${sentence[0].toUpperCase()}${sentence.slice(1)}`;
}

test('random sights typed into the page print what sightform prints', { timeout: 600000 }, async () => {
  const count = Number(process.env.SIGHT_WEB_SIGHTS ?? 240);
  const rows = sights(count, 20240615);
  const expected = sightformBatch(rows, csv => execFileSync(sightform, ['--batch', '-'], { input: csv, encoding: 'utf8' }));

  await withSite(async site => {
    const { browser, close } = await launchBrowser();
    try {
      const opened = await openPage(browser, site.origin);
      const tally = { complete: 0, checkData: 0, failure: 0 };
      for (let i = 0; i < rows.length; i += 1) {
        const got = await workSight(opened.page, rows[i], i).catch(error => {
          error.message = `sight ${i} (${JSON.stringify(rows[i])}), after ${JSON.stringify(rows[i - 1])}: ${error.message}`;
          throw error;
        });
        const want = expected[i];
        const what = `sight ${i}: ${JSON.stringify(rows[i])}`;
        if (want.lines) {
          assert.deepEqual(got, { lines: want.lines }, what);
          tally.complete += 1;
        } else {
          assert.deepEqual(got, { message: pageMessage(want) }, what);
          if (want.message === 'Check your data.') tally.checkData += 1;
          else tally.failure += 1;
        }
      }
      // The sample reaches every outcome.
      assert.ok(tally.complete > count / 4 && tally.checkData > count / 10 && tally.failure >= 3, JSON.stringify(tally));
      console.log(`# ${count} sights: ${JSON.stringify(tally)}`);
      await assertClean(opened, site.origin);
    } finally {
      await close();
    }
  });
});
