// Assembles the converter page, one self-contained HTML file: the page (page.html), its script
// (converter.js with the strings module and fflate, bundled by esbuild), the core in
// WebAssembly (vantor-core.js, the module embedded) and the files that ship beside the program
// (vtr.jar with the viewer, template.html, LitColor.jpg), which the core publishes with.
// Usage: node converter/build-page.mjs --core vantor-core.js --shipped DIR --out FILE
import { build } from 'esbuild';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const SHIPPED_FILES = ['vtr.jar', 'template.html', 'LitColor.jpg'];

function option(name) {
  const at = process.argv.indexOf(name);
  if (at < 0 || !process.argv[at + 1]) {
    console.error('usage: node build-page.mjs --core FILE --shipped DIR --out FILE');
    process.exit(2);
  }
  return resolve(process.argv[at + 1]);
}

// A script's text inside <script>: no "</script" may end it early.
function inlineScript(text, what) {
  if (/<\/script/i.test(text)) {
    throw new Error(`${what} contains "</script" and cannot be inlined`);
  }
  return `<script>\n${text}\n</script>`;
}

const coreScript = readFileSync(option('--core'), 'utf8');
const shippedDir = option('--shipped');
const out = option('--out');

const bundled = await build({
  entryPoints: [join(here, 'converter.js')],
  bundle: true,
  format: 'iife',
  target: ['chrome100', 'firefox100', 'safari15'],
  minify: true,
  charset: 'utf8',
  write: false,
  logLevel: 'warning',
  legalComments: 'eof',
});
const shipped = Object.fromEntries(
  SHIPPED_FILES.map((name) => [name, readFileSync(join(shippedDir, name)).toString('base64')]));

const scripts = [
  inlineScript(`window.VANTOR_SHIPPED = ${JSON.stringify(shipped)};`, 'the shipped files'),
  inlineScript(coreScript, 'vantor-core.js'),
  inlineScript(bundled.outputFiles[0].text, 'the page script'),
].join('\n');
const page = readFileSync(join(here, 'page.html'), 'utf8').replace('<!--VANTOR-SCRIPTS-->', () => scripts);
mkdirSync(dirname(out), { recursive: true });
writeFileSync(out, page);
console.log(`${out} (${(page.length / 1048576).toFixed(1)} MiB)`);
