// The pictures of "Check My Work…" on the first worked example, in docs/:
//   web-check.png        at desktop width, the manual's sheet of two slips
//                        (Q(dec) looked up for Q(90 - dec), and the Z rule
//                        not applied) typed into its boxes and checked;
//   web-check-phone.png  the same on a 360 × 740 phone screen;
//   web-markasigo.png    Mark as I go on the phone: the slip left at
//                        Q(90 - dec) named beside its box at once, and the
//                        values worked on from it marked as they are left.
//
//   node web/bench/checkshot.mjs [folder]        (site from build-web/site)

import path from 'node:path';

import { launchBrowser, openPage, repo, typeInto, withSite } from '../tests/browser.mjs';

// The sheet in the order of working, which is the order Tab takes the boxes.
const sheet = {
  LHA: "344°12.3'", t: '15 47.7', tUsed: '15 47.7', coDec: '69 45.0', Q_coDec: '1060.98', Q_tUsed: '1301.23',
  Qv: '2362.21', v: '5 24.6', coV: '84 35.4', Q_dec: '1060.98', Q_coV: '4.46', Qw: '1056.52', w: '20 20.4',
  wUsed: '20 20.4', u: '109 39.6', uUsed: '70 20.4', Q_uUsed: '60.06', QHc: '64.52', Hc: '69 38.4',
  coHc: '20 21.6', Q_v: '2361.46', Q_coHc: '1055.79', QZ: '1305.67', Z: '15.7', ZUsed: '15.7', Zn: '15.7',
};
const phone = { width: 360, height: 740, isMobile: true, hasTouch: true, deviceScaleFactor: 2 };

const folder = process.argv[2] ?? path.join(repo, 'docs');

async function openCheck(browser, origin, viewport) {
  const { page } = await openPage(browser, origin, { viewport });
  for (const [id, text] of [['txtGHADeg', '54'], ['txtGHAMin', '12.3'], ['txtDecDeg', '20'], ['txtDecMin', '15.0'],
    ['txtLDeg', '40'], ['txtLMin', '00.0'], ['txtLoDeg', '70'], ['txtLoMin', '00.0']])
    await typeInto(page, id, text);
  await page.click('#cmdQ');
  await page.click('#mnuCheck');
  await page.waitForSelector('#checkDialog[open]');
  return page;
}

// The phone's screen with the given box near its top.
async function phoneShot(page, name, file) {
  await page.$eval(`#check_${name}`, box => {
    const dialog = document.getElementById('checkDialog');
    dialog.scrollTop += box.getBoundingClientRect().top - 120;
  });
  await page.screenshot({ path: path.join(folder, file) });
}

await withSite(async site => {
  const chromium = await launchBrowser();
  try {
    const desktop = await openCheck(chromium.browser, site.origin, { width: 1000, height: 900 });
    for (const [name, text] of Object.entries(sheet)) await typeInto(desktop, `check_${name}`, text);
    await desktop.click('#cmdCheck');
    const box = await desktop.$eval('#checkDialog', e => e.getBoundingClientRect().toJSON());
    await desktop.screenshot({ path: path.join(folder, 'web-check.png'), clip: box });

    const checked = await openCheck(chromium.browser, site.origin, phone);
    for (const [name, text] of Object.entries(sheet)) await typeInto(checked, `check_${name}`, text);
    await checked.tap('#cmdCheck');
    await phoneShot(checked, 'Q_tUsed', 'web-check-phone.png');

    const practice = await openCheck(chromium.browser, site.origin, phone);
    await practice.tap('#checkAsIGo');
    for (const name of Object.keys(sheet).slice(0, Object.keys(sheet).indexOf('coV') + 1)) {
      await practice.tap(`#check_${name}`);
      await practice.keyboard.type(sheet[name]);
    }
    await practice.tap('#check_Q_dec');
    await phoneShot(practice, 'Q_coDec', 'web-markasigo.png');
    console.log(`Wrote web-check.png, web-check-phone.png and web-markasigo.png in ${folder}`);
  } finally {
    await chromium.close();
  }
});
