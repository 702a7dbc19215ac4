// Lighthouse's scores of the page in Debian's Chromium, as a phone and as a
// desktop: performance, accessibility and best practices (target 0.95 each),
// the median of a few runs, with the audits that cost points and the
// performance metrics behind the score. The site is served gzip-compressed,
// as static hosts serve it; --plain serves it as it lies.
//
//   node web/bench/lighthouse.mjs [runs] [--plain]   (site from build-web/site)

import lighthouse from 'lighthouse';
import desktopConfig from 'lighthouse/core/config/desktop-config.js';

import { launchBrowser, siteDir } from '../tests/browser.mjs';
import { serveSite } from '../tests/server.mjs';

const runs = Number(process.argv.slice(2).find(arg => /^\d+$/.test(arg)) ?? 3);
const compress = !process.argv.includes('--plain');
const categories = ['performance', 'accessibility', 'best-practices'];
const metrics = ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift',
  'speed-index'];
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const site = await serveSite(siteDir, { compress });
const chromium = await launchBrowser();
try {
  const port = Number(new URL(chromium.browser.wsEndpoint()).port);
  for (const [form, config] of [['mobile', undefined], ['desktop', desktopConfig]]) {
    const scores = Object.fromEntries(categories.map(name => [name, []]));
    const values = Object.fromEntries(metrics.map(name => [name, []]));
    const lost = new Set();
    const benchmark = [];
    for (let i = 0; i < runs; i += 1) {
      const { lhr } = await lighthouse(`${site.origin}/`, { port, logLevel: 'error', onlyCategories: categories },
        config);
      for (const name of categories) {
        const category = lhr.categories[name];
        scores[name].push(category.score);
        for (const { id, weight } of category.auditRefs) {
          const audit = lhr.audits[id];
          if (weight > 0 && audit.score !== null && audit.score < 1) lost.add(`${name}: ${id} (${audit.score})`);
        }
      }
      for (const name of metrics) values[name].push(lhr.audits[name].numericValue);
      benchmark.push(lhr.environment.benchmarkIndex);
    }
    // Lighthouse's own measure of the machine's speed at the time (higher is
    // faster): a loaded machine stretches every task, and the phone's
    // simulated CPU stretches them four times more.
    console.log(`${form}, ${compress ? 'gzip' : 'plain'}, median of ${runs} runs (target 0.95), ` +
      `benchmark index ${benchmark.map(Math.round).join(' ')}:`);
    for (const name of categories)
      console.log(`  ${name.padEnd(15)} ${median(scores[name]).toFixed(2)}   (${scores[name].map(s => s.toFixed(2)).join(' ')})`);
    console.log(`  ${metrics.map(name => `${name} ${median(values[name]).toFixed(name.includes('shift') ? 3 : 0)}`).join(', ')}`);
    for (const line of lost) console.log(`  below full marks in some run: ${line}`);
  }
} finally {
  await chromium.close();
  await site.close();
}
