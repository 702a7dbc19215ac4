// The page's targets, measured in headless Chromium: the size of the whole
// site (plain and gzip-compressed), the time from navigation to a page ready
// for typing against a bare static page with the same controls and no
// WebAssembly (side by side, alternating, in the same browser run), and the
// time from Calculate to the printed form: the first after each of 20 fresh
// loads, and 1000 in a row.
//
//   node web/bench/measure.mjs [rounds]          (site from build-web/site)

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import { launchBrowser, siteDir } from '../tests/browser.mjs';
import { serveSite } from '../tests/server.mjs';

const rounds = Number(process.argv[2] ?? 25);
const median = values => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const kb = bytes => `${(bytes / 1024).toFixed(1)} KB`;

// --- size ---
let plain = 0;
let packed = 0;
const sizes = [];
for (const name of fs.readdirSync(siteDir).sort()) {
  const body = fs.readFileSync(path.join(siteDir, name));
  const gzip = zlib.gzipSync(body, { level: 9 }).length;
  plain += body.length;
  packed += gzip;
  sizes.push(`  ${name.padEnd(22)} ${String(body.length).padStart(7)} B  ${String(gzip).padStart(7)} B gzip`);
}
console.log(`Site: ${sizes.length} files, ${kb(plain)} (target 400 KB), ${kb(packed)} gzip -9 (target 150 KB)`);
console.log(sizes.join('\n'));

// --- the bare page: the page's own markup once built, with its style sheet,
// and a script that only focuses the first field and marks the moment. ---
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'sightcheck-measure-'));
fs.cpSync(siteDir, scratch, { recursive: true });
const site = await serveSite(scratch);
const chromium = await launchBrowser();
try {
  const builder = await chromium.browser.createBrowserContext();
  const page = await builder.newPage();
  await page.goto(`${site.origin}/`);
  await page.waitForSelector('html[data-state=ready]');
  const body = await page.evaluate(() => document.body.innerHTML.replace(/<script[\s\S]*?<\/script>/g, ''));
  const head = fs.readFileSync(path.join(siteDir, 'index.html'), 'utf8').match(/<head>([\s\S]*)<\/head>/)[1]
    // The controls keep their geometry in style attributes here, which the
    // page's policy would block; the bare page has no policy and no script
    // but its own.
    .replace(/<meta http-equiv="Content-Security-Policy"[^>]*>\n?/, '')
    .replace(/<link rel="(manifest|modulepreload|preload)"[^>]*>\n?/g, '')
    .replace(/<script[^>]*><\/script>\n?/, '<script type="module" src="bare.js"></script>\n');
  fs.writeFileSync(path.join(scratch, 'bare.html'), `<!doctype html>\n<html lang="en">\n<head>${head}</head>\n<body>${body}</body>\n</html>\n`);
  fs.writeFileSync(path.join(scratch, 'bare.js'),
    "document.getElementById('txtGHADeg').focus();\nperformance.mark('ready-for-typing');\n");
  await builder.close();

  // --- navigation to ready for typing: one tab, the two pages in turn,
  // with the browser's cache off and the service worker passed by, so every
  // load fetches every file again ---
  const context = await chromium.browser.createBrowserContext();
  const tab = await context.newPage();
  await tab.setCacheEnabled(false);
  await tab.setBypassServiceWorker(true);
  async function load(url) {
    await tab.goto(url);
    await tab.waitForFunction(() => performance.getEntriesByName('ready-for-typing').length > 0);
    const ms = await tab.evaluate(() => performance.getEntriesByName('ready-for-typing')[0].startTime);
    const focused = await tab.evaluate(() => document.activeElement.id);
    if (focused !== 'txtGHADeg') throw new Error(`${url}: not ready for typing`);
    return ms;
  }
  const times = { page: [], bare: [] };
  await load(`${site.origin}/`);
  await load(`${site.origin}/bare.html`);
  for (let i = 0; i < rounds; i += 1) {
    times.page.push(await load(`${site.origin}/`));
    times.bare.push(await load(`${site.origin}/bare.html`));
  }
  const [pageMs, bareMs] = [median(times.page), median(times.bare)];
  console.log(`\nNavigation to ready for typing, median of ${rounds} loads each, alternating, cache off:`);
  console.log(`  page ${pageMs.toFixed(1)} ms (fastest ${Math.min(...times.page).toFixed(1)}), ` +
    `bare page ${bareMs.toFixed(1)} ms (fastest ${Math.min(...times.bare).toFixed(1)}), ratio ${(pageMs / bareMs).toFixed(2)} (target 2)`);

  // --- Calculate to the printed form: the click's handler runs the
  // reduction and replaces the form; reading the form's height makes the
  // browser lay it out before the clock stops. The first Calculate after
  // each of `firstLoads` fresh loads, then 1000 in a row on the last. ---
  const firstLoads = 20;
  const firsts = [];
  let calc;
  for (let load = 0; load < firstLoads; load += 1) {
    await tab.goto(`${site.origin}/`);
    await tab.waitForSelector('html[data-state=ready]');
    for (const [id, text] of [['txtGHADeg', '54'], ['txtGHAMin', '12.3'], ['txtDecDeg', '20'], ['txtDecMin', '15.0'],
      ['txtLDeg', '40'], ['txtLMin', '00.0'], ['txtLoDeg', '70'], ['txtLoMin', '00.0']]) {
      await tab.focus(`#${id}`);
      await tab.keyboard.type(text);
    }
    calc = await tab.evaluate(async inARow => {
      const button = document.getElementById('cmdQ');
      const form = document.getElementById('printout');
      const timed = work => () => {
        const start = performance.now();
        work();
        void form.offsetHeight;
        return performance.now() - start;
      };
      const once = timed(() => button.click());
      const first = once();
      if (!inARow) return { first, lines: form.innerText.split('\n').length };
      const each = Array.from({ length: 1000 }, once);
      // For comparison, the page's own drawing of the same form, 1000 times,
      // without the core: what the machine's own hiccups give a loop of DOM
      // work this size.
      const { showForm } = await import('./printout.js');
      const lines = Array.from(form.innerText.split('\n'), text => ({ text, bold: [] }));
      const drawOnly = Array.from({ length: 1000 },
        timed(() => showForm({ lines, narrowLines: lines, entries: '', description: '' })));
      button.click();
      return { first, each, drawOnly, lines: form.innerText.split('\n').length };
    }, load === firstLoads - 1);
    if (calc.lines !== 15) throw new Error('no form printed');
    firsts.push(calc.first);
  }
  const spread = values => {
    const sorted = [...values].sort((a, b) => a - b);
    return `median ${median(sorted).toFixed(3)} ms, 99 % within ${sorted[989].toFixed(3)} ms, slowest ${sorted.at(-1).toFixed(3)} ms`;
  };
  const within = (values, ms) => values.filter(value => value <= ms).length;
  console.log(`\nThe first Calculate after a fresh load, ${firstLoads} loads: ${within(firsts, 5)} of ${firstLoads} ` +
    `within 5 ms (target ${firstLoads}), median ${median(firsts).toFixed(2)} ms, slowest ${Math.max(...firsts).toFixed(2)} ms`);
  console.log(`Calculate to the printed form (1000 in a row): ${spread(calc.each)}; ` +
    `${(within(calc.each, 2) / 10).toFixed(1)} % within 2 ms (target 99 %)`);
  console.log(`  the same form only drawn again, no calculation (1000 in a row): ${spread(calc.drawOnly)}`);
  await context.close();
} finally {
  await chromium.close();
  await site.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}
