// docs/web.png: the page in headless Chromium after the first worked example
// (GHA 54°12.3', Dec N 20°15.0', DR L N 40°00.0', DR Lo W 70°00.0', Q(x)),
// typed into the fields and calculated with "Calculate".
//
//   node web/bench/screenshot.mjs [out.png]      (site from build-web/site)

import path from 'node:path';

import { launchBrowser, openPage, repo, typeInto, withSite } from '../tests/browser.mjs';

const out = process.argv[2] ?? path.join(repo, 'docs/web.png');
await withSite(async site => {
  const chromium = await launchBrowser();
  try {
    const { page } = await openPage(chromium.browser, site.origin, { viewport: { width: 1000, height: 600 } });
    for (const [id, text] of [['txtGHADeg', '54'], ['txtGHAMin', '12.3'], ['txtDecDeg', '20'], ['txtDecMin', '15.0'],
      ['txtLDeg', '40'], ['txtLMin', '00.0'], ['txtLoDeg', '70'], ['txtLoMin', '00.0']])
      await typeInto(page, id, text);
    await page.click('#cmdQ');
    const area = await page.$eval('#windowColumn', e => e.getBoundingClientRect().toJSON());
    await page.screenshot({ path: out, clip: { x: 0, y: 0, width: area.right + 12, height: area.bottom + 12 } });
    console.log(`Wrote ${out}`);
  } finally {
    await chromium.close();
  }
});
