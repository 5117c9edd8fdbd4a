// The honest deadline in a browser: two visitors an hour apart see the same deadline and a
// countdown an hour apart; past the deadline the page says the offer has ended; without script
// it shows the deadline itself and no countdown. The page's clock is moved before it loads.
//   node deadline-check.mjs LETTER.html
import puppeteer from 'puppeteer-core';
import { pathToFileURL } from 'node:url';

const [letter] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROME_PATH || '/usr/bin/chromium',
  args: ['--no-sandbox', '--headless=new'],
});
let failed = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} deadline: ${what}`);
  if (!ok) failed++;
};

// What a visitor sees with the clock at `ends + offset` milliseconds (null: the real clock).
async function visit(offset, script = true) {
  const page = await browser.newPage();
  await page.setJavaScriptEnabled(script);
  if (offset !== null) {
    await page.evaluateOnNewDocument((shift) => {
      const ends = () => Number(document.querySelector('.offer-deadline').getAttribute('data-ends'));
      const real = Date.now.bind(Date);
      let base = null;
      Date.now = () => {
        if (base === null) base = ends() + shift - real();
        return real() + base;
      };
    }, offset);
  }
  await page.goto(pathToFileURL(letter).href, { waitUntil: 'load' });
  const seen = await page.$eval('.offer-deadline', (box) => ({
    when: box.querySelector('.offer-when').textContent,
    time: box.querySelector('time').getAttribute('datetime'),
    countdown: box.querySelector('.offer-countdown').textContent,
    ended: box.classList.contains('ended'),
  }));
  await page.close();
  return seen;
}

const hour = 3600 * 1000;
const first = await visit(-2 * 24 * hour - 5 * hour);
const second = await visit(-2 * 24 * hour - 4 * hour);
check(first.time === second.time && first.when === second.when,
  `both visitors see "${first.when}"`);
check(/^Time left: 2 days 05:00:0\d$/.test(first.countdown), `first visitor: "${first.countdown}"`);
check(/^Time left: 2 days 04:00:0\d$/.test(second.countdown), `an hour later: "${second.countdown}"`);
const after = await visit(60 * 1000);
check(after.ended && after.countdown === 'The offer has ended.' &&
  after.when.startsWith('This offer ended on'), `after it: "${after.when} ${after.countdown}"`);
const plain = await visit(null, false);
check(plain.countdown === '' && plain.when.startsWith('This offer ends on'),
  `without script: "${plain.when}"`);
await browser.close();
process.exit(failed ? 1 : 0);
