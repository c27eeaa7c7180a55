// Builds the files that ship beside the program into one folder:
//   vtr.jar           a zip archive holding the viewer script QelViewer.js as a stored entry
//   template.html     the page template (copied)
//   LitColor.jpg      the cartoon shading ramp (drawn by make-litcolor.mjs)
//   help/vtr_system.html  the help page (copied)
// Usage: node tools/build.mjs --out DIR
import { build } from 'esbuild';
import { zipSync } from 'fflate';
import { copyFileSync, mkdirSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { drawLitColorRamp } from './make-litcolor.mjs';

const webDir = resolve(dirname(fileURLToPath(import.meta.url)), '..');
// Entry dates inside vtr.jar are fixed, so the same sources give the same archive bytes.
const FIXED_DATE = new Date(2000, 0, 1, 0, 0, 0);

function outputFolder(argv) {
  const at = argv.indexOf('--out');
  if (at < 0 || !argv[at + 1]) {
    console.error('usage: node tools/build.mjs --out DIR');
    process.exit(2);
  }
  return resolve(argv[at + 1]);
}

const TARGET = ['chrome100', 'firefox100', 'safari15'];

async function bundle(entry, options) {
  const result = await build({
    entryPoints: [join(webDir, 'src', entry)],
    bundle: true,
    format: 'iife',
    target: TARGET,
    minify: true,
    charset: 'utf8',
    write: false,
    logLevel: 'warning',
    ...options,
  });
  return result.outputFiles[0].text;
}

// The viewer as one classic script defining the global QelViewer, carrying the script of its
// preparation worker as text (a worker is started from it, since the viewer is one file read
// out of vtr.jar). The editor's preview pane runs an engine of the Chromium 102 generation,
// hence the target.
export async function bundleViewer() {
  const worker = await bundle('PreparationWorker.js', { legalComments: 'none' });
  const simplifier = await bundle('SimplificationWorker.js', { legalComments: 'none' });
  const viewer = await bundle('QelViewer.js', {
    globalName: 'QelViewer',
    legalComments: 'eof',
    banner: { js: '/* QelViewer.js: the Vantor Converter web viewer. Includes three.js and fflate (MIT licence). */' },
    define: { QEL_PREPARATION_WORKER: JSON.stringify(worker), QEL_SIMPLIFICATION_WORKER: JSON.stringify(simplifier) },
  });
  return new TextEncoder().encode(viewer);
}

export function packJar(script) {
  return zipSync({ 'QelViewer.js': [script, { level: 0, mtime: FIXED_DATE }] });
}

async function main() {
  const out = outputFolder(process.argv);
  mkdirSync(join(out, 'help'), { recursive: true });
  writeFileSync(join(out, 'vtr.jar'), packJar(await bundleViewer()));
  copyFileSync(join(webDir, 'template.html'), join(out, 'template.html'));
  copyFileSync(join(webDir, 'help', 'vtr_system.html'), join(out, 'help', 'vtr_system.html'));
  writeFileSync(join(out, 'LitColor.jpg'), drawLitColorRamp());
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  main().catch((error) => {
    console.error(error);
    process.exit(1);
  });
}
