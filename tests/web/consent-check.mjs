// The consent notice and the headline test as visitors meet them, in Chromium: a first visitor
// sees the first headline and the notice, and the page asks no other host for anything; after
// "Accept" the trackers load and the visitor keeps one headline, which every order link
// carries; "Decline" later stops it all. Requests to other hosts are answered here, not sent.
//   node consent-check.mjs LETTER.html [SCREENSHOT.png]
import puppeteer from 'puppeteer-core';
import { createServer } from 'node:http';
import { readFileSync } from 'node:fs';

const [letter, screenshot] = process.argv.slice(2);
const server = createServer((request, response) => {
  response.writeHead(200, { 'content-type': 'text/html; charset=utf-8' });
  response.end(readFileSync(letter));
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const address = `http://127.0.0.1:${server.address().port}/`;

let failed = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} consent: ${what}`);
  if (!ok) failed++;
};

const browser = await puppeteer.launch({
  executablePath: process.env.CHROME_PATH || '/usr/bin/chromium',
  args: ['--no-sandbox', '--headless=new'],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 2 });
  let elsewhere = [];
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (request.url().startsWith(address) || request.url().startsWith('data:')) {
      request.continue();
    } else {
      elsewhere.push(new URL(request.url()).host);
      request.respond({ status: 200, contentType: 'text/javascript', body: '' });
    }
  });
  const visit = async (hash = '') => {
    elsewhere = [];
    // From a blank page, so that a changed fragment alone still loads the letter afresh.
    await page.goto('about:blank');
    await page.goto(address + hash, { waitUntil: 'networkidle0' });
  };
  const state = () => page.evaluate(() => ({
    notice: !document.getElementById('consent').hidden,
    shown: [...document.querySelectorAll('[data-headline-shown]')]
      .filter((h) => getComputedStyle(h).display !== 'none')
      .map((h) => h.getAttribute('data-headline-shown')).join(''),
    links: [...document.querySelectorAll('a.order-button')].map((a) => a.getAttribute('href')),
    custom: [...document.querySelectorAll('input[name="custom"]')].map((i) => i.value),
    cookies: document.cookie,
  }));
  const carries = (s, mark) => s.links.length > 0 && s.custom.length > 0
    && s.links.every((link) => new RegExp(`[?&](headline|vtid)=${mark}(&|#|$)`).test(link))
    && s.custom.every((value) => value === mark);

  await visit();
  let first = await state();
  check(first.notice, 'a first visitor sees the notice');
  // Only the counters that set no cookie may load at once.
  const cookieFree = new Set(['plausible.io', 'gc.zgo.at']);
  check(elsewhere.every((host) => cookieFree.has(host)),
    `nothing but cookie-free counters asked of another host before consent (${elsewhere.join(' ') || 'none'})`);
  check(first.shown === 'a' && carries(first, 'a'), `the first headline, and every order link names it: ${first.links.join(' ')}`);
  check(first.cookies === '', 'no cookie before consent');
  if (screenshot) {
    await page.screenshot({ path: screenshot });
  }

  // Accepted from the keyboard, as the notice's first button.
  await page.focus('#consent .consent-accept');
  await page.keyboard.press('Enter');
  await page.waitForNetworkIdle();
  const accepted = await state();
  check(!accepted.notice, 'the notice goes once answered');
  check(elsewhere.some((host) => host === 'www.googletagmanager.com')
    && elsewhere.some((host) => host === 'connect.facebook.net'),
  `after "Accept" the trackers load (${elsewhere.join(' ')})`);
  check(carries(accepted, accepted.shown), `every order link names headline ${accepted.shown}`);

  const seen = new Set();
  for (let i = 0; i < 3; i++) {
    await visit();
    const again = await state();
    seen.add(again.shown);
    check(!again.notice && again.shown === accepted.shown && carries(again, accepted.shown),
      `on return: no notice, headline ${again.shown} again, links name it`);
  }
  check(seen.size === 1, 'the visitor keeps one headline');

  await page.click('#consent-change');
  check(await page.evaluate(() => document.getElementById('consent').contains(document.activeElement)),
    '"Cookie settings" opens the notice with the focus in it');
  await Promise.all([page.waitForNavigation({ waitUntil: 'networkidle0' }),
    page.keyboard.press('Tab').then(() => page.keyboard.press('Enter'))]);
  elsewhere = [];
  await visit();
  const declined = await state();
  check(!declined.notice && declined.shown === 'a' && elsewhere.every((host) => cookieFree.has(host)),
    `after "Decline": the first headline and nothing from another host (${elsewhere.join(' ') || 'none'})`);

  // The preview and the seller look at one headline by its mark; nothing is kept.
  await page.evaluate(() => localStorage.clear());
  await visit('#headline=b');
  const forced = await state();
  check(forced.shown === 'b' && carries(forced, 'b') && forced.notice,
    '"#headline=b" shows the second headline and its links name it');
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
