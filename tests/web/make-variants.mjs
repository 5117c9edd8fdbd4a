// Writes the configurations the web gate checks every template with: the sample letter and
// variants of it (no pictures; long lists with local pictures; Western European letters and
// other scripts; every order option with the values that trip up addresses). Configurations
// are Windows-1252 text, so they are read and written byte for byte as latin1.
import { readFileSync, writeFileSync, mkdirSync, copyFileSync } from 'node:fs';
import { join } from 'node:path';
import { deflateSync } from 'node:zlib';

const [sampleFile, outFolder, jpegFile] = process.argv.slice(2);
mkdirSync(outFolder, { recursive: true });
const sample = readFileSync(sampleFile, 'latin1');

function set(config, tag, value) {
  const pair = new RegExp(`<%%${tag}%%>[\\s\\S]*?<%%/${tag}%%>`);
  const entry = `<%%${tag}%%>${value}<%%/${tag}%%>`;
  // Replaced in place when it is one of the 42; an optional entry goes after them.
  return pair.test(config) ? config.replace(pair, () => entry) : `${config}${entry}\r\n`;
}

function withAll(config, values) {
  // The optional entries must follow the 42 in their own order.
  const order = ['PageDescription', 'Language', 'HeaderPictureDescription',
    'CoverPictureDescription', 'FooterPictureDescription', 'Template', 'OriginalPictures',
    'OrderHeading', 'OrderLine', 'DirectButton', 'ClickBankButton', 'OrderClosing', 'PriceLine',
    'SellerName', 'SellerAddress', 'SellerEmail', 'ResultsStatement', 'Disclaimer', 'OfferEnds',
    'PrivacyPage', 'TermsPage', 'SignupAddress', 'SignupConsent', 'Plausible', 'GoatCounter',
    'MatomoAddress', 'MatomoSite', 'GoogleAnalytics', 'MetaPixel', 'HeadCode', 'Headline2',
    'Headline3', 'Headline4'];
  for (const [tag, value] of Object.entries(values).filter(([t]) => !order.includes(t))) {
    config = set(config, tag, value);
  }
  for (const tag of order.filter((t) => t in values)) {
    config = set(config, tag, values[tag]);
  }
  return config;
}

// A PNG of a soft gradient, width by height, written without any picture library.
function png(width, height, [r0, g0, b0], [r1, g1, b1]) {
  const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });
  const crc = (bytes) => {
    let c = 0xffffffff;
    for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  };
  const chunk = (type, data) => {
    const body = Buffer.concat([Buffer.from(type, 'latin1'), data]);
    const out = Buffer.alloc(body.length + 8);
    out.writeUInt32BE(data.length, 0);
    body.copy(out, 4);
    out.writeUInt32BE(crc(body), body.length + 4);
    return out;
  };
  const rows = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; y++) {
    const t = y / Math.max(1, height - 1);
    const at = y * (width * 3 + 1);
    for (let x = 0; x < width; x++) {
      rows[at + 1 + x * 3] = Math.round(r0 + (r1 - r0) * t);
      rows[at + 2 + x * 3] = Math.round(g0 + (g1 - g0) * t);
      rows[at + 3 + x * 3] = Math.round(b0 + (b1 - b0) * t);
    }
  }
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8);
  return Buffer.concat([Buffer.from('\x89PNG\r\n\x1a\n', 'latin1'), chunk('IHDR', header),
    chunk('IDAT', deflateSync(rows, { level: 9 })), chunk('IEND', Buffer.alloc(0))]);
}

const pictures = join(outFolder, 'pictures');
mkdirSync(pictures, { recursive: true });
writeFileSync(join(pictures, 'header banner.png'), png(800, 150, [44, 94, 39], [118, 168, 59]));
writeFileSync(join(pictures, 'seal.png'), png(150, 150, [201, 162, 39], [255, 246, 210]));
copyFileSync(jpegFile, join(pictures, 'cover.jpg'));

const features = Array.from({ length: 40 }, (_, i) =>
  `^Feature ${i + 1}: a title & more^The body of feature ${i + 1}.$$A second line with <b>markup</b> typed on purpose.^`);
const testimonials = Array.from({ length: 24 }, (_, i) =>
  `^Reader ${i + 1}^${i % 3 === 0 ? '' : i % 3 === 1 ? 'reader' + (i + 1) + '.example' : 'https://reader' + (i + 1) + '.example/a b?x=1&y=2'}^Testimonial ${i + 1}: it worked for me.$$Second line.^`);

// Characters beyond Windows-1252 are stored as numeric references, as the window stores them.
const refs = (text) => [...text].map((c) => (c.codePointAt(0) > 0xff ? `&#${c.codePointAt(0)};` : c)).join('');
const western = 'Caf\xe9 cr\xe8me br\xfbl\xe9e, Gr\xf6\xdfe f\xfcr 10 \x80 \x96 \x93quoted\x94';

const variants = {
  sample: sample,
  'no-pictures': withAll(sample, { HeaderPicture: '', CoverPicture: '', FooterPicture: '' }),
  'long-local': withAll(sample, {
    HeaderPicture: join(pictures, 'header banner.png'),
    CoverPicture: join(pictures, 'cover.jpg'),
    FooterPicture: join(pictures, 'seal.png'),
    Features: features.join('\r\n') + '\r\n',
    Testimonials: testimonials.join('\r\n') + '\r\n',
    PageDescription: 'Grow fresh food on one sunny windowsill: the handbook, its 4-pot plan & calendar.',
    Language: 'en-GB',
    HeaderPictureDescription: 'The Windowsill Harvest Handbook',
    CoverPictureDescription: 'Cover of the handbook',
    FooterPictureDescription: '60-day money-back guarantee seal',
  }),
  scripts: withAll(sample, {
    PageTitle: `${western} \x96 ${refs('Łódź Αθήνα Привет 東京 🚀')}`,
    FullName: refs('Łucja Źdźbło'),
    Atention: `${western} ${refs('✔ 60-day guarantee → Řeřicha ★')}`,
    Features: [`^${western}^${refs('Привет, мир! Γειά σου κόσμε. こんにちは 🚀')}^`,
      `^${refs('Ελληνικά')}^${western}^`].join('\r\n') + '\r\n',
    Testimonials: [`^${refs('Ирина Петрова')}^${refs('пример.example')}^${refs('Отличная книга! 👍')}^`,
      `^Ren\xe9e Ch\xe2teau^^${western}^`].join('\r\n') + '\r\n',
    Language: 'pl',
    PageDescription: refs('Łódź: świeże warzywa z parapetu'),
  }),
  orders: withAll(sample, {
    DirectLink: 'https://shop.example/order now?item=1&src=letter "a"',
    ClickBankName: 'wsharvest',
    ProductName: '1',
    Description: 'Windowsill Harvest Handbook & Calendar \xe9',
    PaypalEmail: 'orders&sales@windowsillharvest.example',
  }),
  // Every block of the rules of selling, with the characters that must be escaped.
  rules: withAll(sample, {
    ClickBankName: 'wsharvest',
    ProductName: '1',
    PriceLine: 'Only $27 until the deadline',
    SellerName: 'Windowsill Harvest <Books> & "Calendars" Ltd',
    SellerAddress: '12 Garden Row, Leeds LS1 4AB, United Kingdom',
    SellerEmail: 'help@windowsillharvest.example',
    ResultsStatement: 'Results vary: most readers harvest their first herbs within six weeks.',
    Disclaimer: 'This handbook gives gardening advice, not medical or financial advice.',
    OfferEnds: '2099-12-31T23:59+01:00',
    SignupAddress: 'https://formspree.io/f/xyzzyabc',
    SignupConsent: 'Yes, send me the windowsill newsletter & tips <weekly>.',
  }),
  // Learning what sells, audited as a first visitor, who has agreed to nothing: two trackers
  // that store identifiers, a second headline, a sign-up form and a PayPal button.
  learning: withAll(sample, {
    ProductName: '1',
    PaypalCode: '<form action="https://www.paypal.com/cgi-bin/webscr" method="post">'
      + '<input type="hidden" name="cmd" value="_s-xclick">'
      + '<input type="hidden" name="hosted_button_id" value="ABC123">'
      + '<input type="submit" value="Pay with PayPal"></form>',
    SellerName: 'Windowsill Harvest Ltd',
    SellerEmail: 'help@windowsillharvest.example',
    SignupAddress: 'https://formspree.io/f/xyzzyabc',
    SignupConsent: 'Yes, send me the windowsill newsletter.',
    GoogleAnalytics: 'G-A1B2C3D4E5',
    MetaPixel: '123456789012345',
    Headline2: '<div style="text-align: center;"><font face="Georgia" size="6" color="#b22222">'
      + '<b>Fresh Herbs All Winter From One Sunny Windowsill</b></font></div>',
  }),
};

for (const [name, config] of Object.entries(variants)) {
  writeFileSync(join(outFolder, `${name}.dat`), config, 'latin1');
}
console.log(Object.keys(variants).join(' '));
