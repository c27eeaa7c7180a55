// Where the tests find the program folder, vantor-cli, the sources and the shared corpus; ctest
// passes them in the environment, and a plain `npm test` falls back to the default build.
import { existsSync, mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

export const webDir = resolve(dirname(fileURLToPath(import.meta.url)), '..', '..');
export const sourceDir = process.env.VANTOR_SOURCE_DIR ?? resolve(webDir, '..');
export const binDir = process.env.VANTOR_BIN_DIR ?? join(sourceDir, 'build', 'bin');
export const cliPath = process.env.VANTOR_CLI ?? join(binDir, 'vantor-cli');
export const corpusDir = process.env.VANTOR_CORPUS_DIR ?? resolve(sourceDir, '..', 'shared', 'corpus');
export const goldenDir = join(sourceDir, 'tests', 'data', 'golden');

// The folder for test artefacts (screenshots), created on demand.
export function artefactDir(name) {
  const dir = join(process.env.VANTOR_TEST_OUT ?? join(tmpdir(), 'vantor-web-test-output'), name);
  mkdirSync(dir, { recursive: true });
  return dir;
}

export function corpusFile(name) {
  const path = join(corpusDir, name);
  return existsSync(path) ? path : null;
}

export function haveCli() {
  return existsSync(cliPath);
}

// A fresh temporary folder, removed by the returned cleanup function.
export function tempFolder() {
  const dir = mkdtempSync(join(tmpdir(), 'vantor-web-test-'));
  return { dir, cleanup: () => rmSync(dir, { recursive: true, force: true }) };
}
