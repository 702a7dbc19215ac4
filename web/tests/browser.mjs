// What every browser test needs: the built site served on 127.0.0.1, Debian's
// headless Chromium driven by puppeteer-core with a fresh profile, a page
// that records its console, its requests, its beeps and any breach of its
// Content-Security-Policy, and the ways a person works the page (typing,
// Tab, clicks, access keys).

import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { fileURLToPath } from 'node:url';

import puppeteer from 'puppeteer-core';

import { serveSite } from './server.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repo = path.resolve(here, '../..');
export const siteDir = process.env.SIGHT_SITE ?? path.join(repo, 'build-web/site');
export const sightform = process.env.SIGHTFORM ?? path.join(repo, 'build/bin/sightform');

export const chromiumFlags = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

export async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'sightcheck-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: false, // --headless is among the flags, as given
    args: [...chromiumFlags, `--user-data-dir=${profile}`],
    defaultViewport: { width: 1280, height: 800 },
  });
  return {
    browser,
    async close() {
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Counts the page's beeps (oscillators started through Web Audio) and
// records any breach of its security policy, from before its first script.
function watchPage() {
  window.sightBeeps = 0;
  const start = OscillatorNode.prototype.start;
  OscillatorNode.prototype.start = function (...args) {
    window.sightBeeps += 1;
    return start.apply(this, args);
  };
  window.sightPolicyBreaches = [];
  document.addEventListener('securitypolicyviolation', event =>
    window.sightPolicyBreaches.push(`${event.violatedDirective} ${event.blockedURI}`),
  );
}

// A page of the site with everything it says and asks for recorded.
export async function openPage(browser, origin, { viewport } = {}) {
  const page = await browser.newPage();
  if (viewport) await page.setViewport(viewport);
  const log = { console: [], errors: [], requests: [] };
  page.on('console', message => log.console.push(`${message.type()}: ${message.text()}`));
  page.on('pageerror', error => log.errors.push(error.message));
  page.on('request', request => log.requests.push(request.url()));
  await page.evaluateOnNewDocument(watchPage);
  await page.goto(`${origin}/`, { waitUntil: 'load' });
  await page.waitForSelector('html[data-state=ready]', { timeout: 10000 });
  return { page, log };
}

// Nothing in the console but the page's own quiet, no script error, no
// request to another origin and no breach of the security policy.
export async function assertClean({ page, log }, origin) {
  const noisy = log.console.filter(line => !/^(log|debug|info):/.test(line));
  assert.deepEqual(noisy, [], 'console errors or warnings');
  assert.deepEqual(log.errors, [], 'script errors');
  const elsewhere = log.requests.filter(url => !url.startsWith(`${origin}/`));
  assert.deepEqual(elsewhere, [], 'requests to another origin');
  if (!page.isClosed()) assert.deepEqual(await page.evaluate(() => window.sightPolicyBreaches), []);
}

// The site served and one browser launched for a whole file of tests, both
// closed after its last test; started is given them ({ site, chromium })
// before the first.
export function servedAndLaunched(started) {
  let site;
  let chromium;
  before(async () => {
    site = await serveSite(siteDir);
    chromium = await launchBrowser();
    await started({ site, chromium });
  });
  after(async () => {
    await chromium?.close();
    await site?.close();
  });
}

export async function withSite(body) {
  const site = await serveSite(siteDir);
  try {
    return await body(site);
  } finally {
    await site.close();
  }
}

export const beeps = page => page.evaluate(() => window.sightBeeps);
export const focusedId = page => page.evaluate(() => document.activeElement?.id ?? '');
export const valueOf = (page, id) => page.$eval(`#${id}`, element => element.value);
export const printedLines = page =>
  page.$eval('#printout', element => (element.innerText === '' ? [] : element.innerText.split('\n')));

// The field's look as the rules left it: enabled or not, and its colour.
export const fieldState = (page, id) =>
  page.$eval(`#${id}`, element => ({
    enabled: !element.disabled,
    colour: element.style.getPropertyValue('--field-colour') || 'Field',
  }));

export async function typeInto(page, id, text) {
  await page.focus(`#${id}`);
  await page.keyboard.type(text);
}

// The open message box's text, or null.
// The first worked example typed into the page, then "Calculate".
export async function firstExample(page) {
  for (const [id, text] of [['txtGHADeg', '54'], ['txtGHAMin', '12.3'], ['txtDecDeg', '20'], ['txtDecMin', '15.0'],
    ['txtLDeg', '40'], ['txtLMin', '00.0'], ['txtLoDeg', '70'], ['txtLoMin', '00.0']])
    await typeInto(page, id, text);
  await page.click('#cmdQ');
}

export const messageShown = page =>
  page.evaluate(() => {
    const box = document.getElementById('messageBox');
    return box.open ? document.getElementById('messageText').textContent : null;
  });

// Closes the message box with its OK button, as a person would.
export async function pressOk(page) {
  await page.waitForSelector('#messageBox[open]');
  await page.click('#messageOk');
  await page.waitForSelector('#messageBox:not([open])');
}

// Alt with a letter, as the keyboard sends it: the browser finds the access
// key by the letter the key has without Alt, which puppeteer's own key
// presses leave out once a modifier is down, so the events go straight
// through the DevTools protocol.
export async function accessKey(page, letter) {
  const session = await page.createCDPSession();
  const upper = letter.toUpperCase();
  const alt = { key: 'Alt', code: 'AltLeft', windowsVirtualKeyCode: 18 };
  const key = { key: letter.toLowerCase(), code: `Key${upper}`, windowsVirtualKeyCode: upper.charCodeAt(0) };
  await session.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', modifiers: 1, ...alt });
  const text = { text: key.key, unmodifiedText: key.key };
  await session.send('Input.dispatchKeyEvent', { type: 'keyDown', modifiers: 1, ...text, ...key });
  await session.send('Input.dispatchKeyEvent', { type: 'keyUp', modifiers: 1, ...key });
  await session.send('Input.dispatchKeyEvent', { type: 'keyUp', modifiers: 0, ...alt });
  await session.detach();
}

// sightform's text output for a batch of sights, by row: the form's lines,
// or the message it gives instead.
export function sightformBatch(rows, run) {
  const header = 'method,ghaDeg,ghaMin,decName,decDeg,decMin,latName,latDeg,latMin,lonName,lonDeg,lonMin';
  const csv = [header, ...rows.map(r =>
    [r.method, r.gha[0], r.gha[1], r.dec[0], r.dec[1], r.dec[2], r.lat[0], r.lat[1], r.lat[2],
      r.lon[0], r.lon[1], r.lon[2]].join(','))].join('\n');
  const output = run(csv);
  const results = [];
  for (const block of output.split(/^Row \d+:/m).slice(1)) {
    const text = block.replace(/\n+$/, '');
    if (text.startsWith('\n')) results.push({ lines: text.slice(1).split('\n') });
    else results.push({ message: text.trim() });
  }
  assert.equal(results.length, rows.length, 'one result per row');
  return results;
}
