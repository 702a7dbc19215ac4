// docs/web-check.png: "Check My Work…" on the first worked example, with the
// manual's sheet of two slips (Q(dec) looked up for Q(90 - dec), and the Z
// rule not applied) typed into its boxes and checked.
//
//   node web/bench/checkshot.mjs [out.png]       (site from build-web/site)

import path from 'node:path';

import { launchBrowser, openPage, repo, typeInto, withSite } from '../tests/browser.mjs';

// The sheet in the order Tab takes the boxes, which is the form's.
const sheet = {
  LHA: "344°12.3'", t: '15 47.7', tUsed: '15 47.7', coDec: '69 45.0', Q_coDec: '1060.98', Q_tUsed: '1301.23',
  Qv: '2362.21', v: '5 24.6', coV: '84 35.4', Q_dec: '1060.98', Q_coV: '4.46', Qw: '1056.52', w: '20 20.4',
  wUsed: '20 20.4', u: '109 39.6', uUsed: '70 20.4', Q_uUsed: '60.06', QHc: '64.52', Hc: '69 38.4',
  coHc: '20 21.6', Q_v: '2361.46', Q_coHc: '1055.79', QZ: '1305.67', Z: '15.7', ZUsed: '15.7', Zn: '15.7',
};

const out = process.argv[2] ?? path.join(repo, 'docs/web-check.png');
await withSite(async site => {
  const chromium = await launchBrowser();
  try {
    const { page } = await openPage(chromium.browser, site.origin, { viewport: { width: 1000, height: 900 } });
    for (const [id, text] of [['txtGHADeg', '54'], ['txtGHAMin', '12.3'], ['txtDecDeg', '20'], ['txtDecMin', '15.0'],
      ['txtLDeg', '40'], ['txtLMin', '00.0'], ['txtLoDeg', '70'], ['txtLoMin', '00.0']])
      await typeInto(page, id, text);
    await page.click('#cmdQ');
    await page.click('#mnuCheck');
    await page.waitForSelector('#checkDialog[open]');
    for (const [name, text] of Object.entries(sheet)) await typeInto(page, `check_${name}`, text);
    await page.click('#cmdCheck');
    const box = await page.$eval('#checkDialog', e => e.getBoundingClientRect().toJSON());
    await page.screenshot({ path: out, clip: { x: box.x, y: box.y, width: box.width, height: box.height } });
    console.log(`Wrote ${out}`);
  } finally {
    await chromium.close();
  }
});
