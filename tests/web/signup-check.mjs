// The sign-up form as a visitor without script sends it: Chromium, with JavaScript off, fills
// in the letter's form and presses its button; a loopback server of this script stands in for
// the provider and checks what arrives. The form's address is pointed at that server.
//   node signup-check.mjs LETTER.html
import puppeteer from 'puppeteer-core';
import { createServer } from 'node:http';
import { readFileSync } from 'node:fs';

const [letter] = process.argv.slice(2);
let received = null;
const server = createServer((request, response) => {
  if (request.method === 'POST') {
    let body = '';
    request.on('data', (chunk) => { body += chunk; });
    request.on('end', () => {
      received = { type: request.headers['content-type'], fields: new URLSearchParams(body) };
      response.writeHead(200, { 'content-type': 'text/html' });
      response.end('<!DOCTYPE html><title>Thanks</title><p>Thanks</p>');
    });
    return;
  }
  const page = readFileSync(letter, 'utf8')
    .replace(/(<form class="signup"[^>]* action=")[^"]*/, `$1http://127.0.0.1:${server.address().port}/subscribe`);
  response.writeHead(200, { 'content-type': 'text/html; charset=utf-8' });
  response.end(page);
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROME_PATH || '/usr/bin/chromium',
  args: ['--no-sandbox', '--headless=new'],
});
const page = await browser.newPage();
await page.setJavaScriptEnabled(false);
await page.goto(`http://127.0.0.1:${server.address().port}/`, { waitUntil: 'load' });
await page.type('#signup-name', 'Ann');
await page.type('#signup-email', 'ann@example.com');
// The keyboard, not the mouse: a design that scrolls smoothly can still be moving the button
// when a click at its old place lands, and a visitor with a keyboard sends the form this way too.
await page.focus('#signup-consent');
await page.keyboard.press('Space');
await page.focus('.signup button[type="submit"]');
await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
await browser.close();
server.close();

let failed = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} sign-up: ${what}`);
  if (!ok) failed++;
};
check(received !== null, 'the form was posted without script');
if (received) {
  const fields = Object.fromEntries(received.fields);
  check(/application\/x-www-form-urlencoded/.test(received.type), `as ${received.type}`);
  check(fields.name === 'Ann' && fields.email === 'ann@example.com' && fields.consent === 'yes',
    `fields ${JSON.stringify(fields)}`);
  check(fields._gotcha === '', 'the robot trap arrived empty');
}
process.exit(failed ? 1 : 0);
