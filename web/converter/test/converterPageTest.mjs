// The converter page in headless Chromium, opened from file:// as a user opens it: a model
// and its texture go in through the page's file input, the preview must show the viewer's
// canvas, and the package saved with the download button must decode exactly like the
// package that vantor-cli publishes from the same model and settings (same model file and
// texture files once their keys are undone). A model that cannot be read must give the
// editor's message and leave the page usable. Exit status 77 (skipped) without Chromium.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import test, { after, before } from 'node:test';
import { unzipSync } from 'fflate';
import { Chromium, findChromium } from '../../test/page/Chromium.mjs';
import { artefactDir, cliPath, sourceDir, tempFolder } from '../../test/support/paths.mjs';

const pagePath = process.env.VANTOR_CONVERTER_PAGE ?? join(sourceDir, 'build', 'web', 'vantor-converter.html');
const chromium = findChromium();
if (!chromium || !existsSync(pagePath) || !existsSync(cliPath)) {
  console.log(`SKIP: ${!chromium ? 'no Chromium found' : `missing ${existsSync(pagePath) ? cliPath : pagePath}`}`);
  process.exit(77);
}

const house = join(sourceDir, 'examples', 'house');
let browser;
let page;
let temp;

before(async () => {
  temp = tempFolder();
  browser = await Chromium.launch(chromium);
  page = await browser.newPage(1100, 900);
  await page.navigate(pathToFileURL(pagePath).href);
  await page.waitFor('document.body?.dataset.ready === "true"', 30000);
});

after(async () => {
  await browser?.close();
  temp?.cleanup();
});

// The page's first file input is the one that opens models with their images.
async function chooseFiles(paths, selector = 'input[type=file]') {
  const { root } = await page.send('DOM.getDocument', { depth: 0 });
  const { nodeId } = await page.send('DOM.querySelector', { nodeId: root.nodeId, selector });
  await page.send('DOM.setFileInputFiles', { nodeId, files: paths });
}

async function waitForDownload(folder, name) {
  const path = join(folder, name);
  const end = Date.now() + 30000;
  while (!existsSync(path) || readdirSync(folder).some((n) => n.endsWith('.crdownload'))) {
    assert.ok(Date.now() < end, `${name} was not downloaded`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  return path;
}

const previewCount = () => page.evaluate('Number(document.body.dataset.previewCount ?? 0)');

// The decoded files of a package archive, by entry path, as vantor-cli inspect --extract
// writes them.
function decodedArchive(archive, name) {
  const dir = join(temp.dir, `decoded-${name}`);
  execFileSync(cliPath, ['inspect', archive, '--extract', dir]);
  const files = new Map();
  const walk = (folder, prefix) => {
    for (const entry of readdirSync(folder, { withFileTypes: true })) {
      if (entry.isDirectory()) walk(join(folder, entry.name), `${prefix}${entry.name}/`);
      else files.set(prefix + entry.name, readFileSync(join(folder, entry.name)));
    }
  };
  walk(dir, '');
  return files;
}

test('a model and its texture open, preview, and save as the command line publishes them', async () => {
  const before = await previewCount();
  await chooseFiles([join(house, 'house.mqo'), join(house, 'brick.jpg')]);
  await page.waitFor(`Number(document.body.dataset.previewCount ?? 0) > ${before}`, 60000);
  assert.match(await page.evaluate('document.querySelector("#model-info").textContent'), /house\.mqo/);
  assert.equal(await page.evaluate('document.querySelector("#images").className'), 'images ok');
  // The viewer mounts its canvas inside the preview's page.
  await page.waitFor('document.querySelector("#preview").contentDocument?.querySelector("canvas") != null', 60000);
  await new Promise((resolve) => setTimeout(resolve, 1500));
  writeFileSync(join(artefactDir('converter'), 'house-preview.png'), await page.screenshot({ x: 0, y: 0, width: 1100, height: 900 }));

  // The sample's settings file, then 合わせる: the package must be the command line's with
  // --settings and --fit.
  const loaded = await previewCount();
  await chooseFiles([join(house, 'house.vsn')], '#open-settings');
  await page.waitFor(`Number(document.body.dataset.previewCount ?? 0) > ${loaded}`, 60000);
  assert.equal(await page.evaluate('document.querySelector("[data-key=Width]").value'), '480');
  assert.equal(await page.evaluate('document.querySelector("[data-key=BackGroundColor]").value'), '#c0d8ff');
  const fitted = await previewCount();
  await page.evaluate('document.querySelector("#fit-camera").click()');
  await page.waitFor(`Number(document.body.dataset.previewCount ?? 0) > ${fitted}`, 60000);

  const downloads = join(temp.dir, 'downloads');
  mkdirSync(downloads);
  await browser.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await page.evaluate('document.querySelector("[data-action=download-package]").click()');
  const zipPath = await waitForDownload(downloads, 'house-web.zip');
  await page.evaluate('document.querySelector("[data-action=download-standalone]").click()');
  const standalone = readFileSync(await waitForDownload(downloads, 'house.standalone.html'), 'utf8');
  assert.match(standalone, /<applet[^>]*code="QelViewer.class"/);
  const saved = unzipSync(readFileSync(zipPath));
  const names = Object.keys(saved).sort();
  assert.deepEqual(names, ['house/house.html', 'house/house.zip', 'house/vtr.jar']);
  const pageFolder = join(temp.dir, 'page-package');
  mkdirSync(pageFolder);
  for (const [name, bytes] of Object.entries(saved)) writeFileSync(join(pageFolder, name.split('/').pop()), bytes);

  const cliFolder = join(temp.dir, 'cli-package');
  execFileSync(cliPath, ['publish', join(house, 'house.mqo'), '--settings', join(house, 'house.vsn'), '--fit',
    '--out', cliFolder]);
  const fromPage = decodedArchive(join(pageFolder, 'house.zip'), 'page');
  const fromCli = decodedArchive(join(cliFolder, 'house.zip'), 'cli');
  assert.deepEqual([...fromPage.keys()].sort(), [...fromCli.keys()].sort());
  for (const [name, bytes] of fromCli) assert.ok(bytes.equals(fromPage.get(name)), `${name} differs from the command line's`);
  // The page itself and the viewer are the same files.
  assert.ok(readFileSync(join(cliFolder, 'house.html')).equals(readFileSync(join(pageFolder, 'house.html'))));
  assert.ok(readFileSync(join(cliFolder, 'vtr.jar')).equals(readFileSync(join(pageFolder, 'vtr.jar'))));
  assert.deepEqual(page.errors, []);
});

test('a model that cannot be read gives the editor\'s message and the page stays usable', async () => {
  const broken = join(temp.dir, 'broken.mqo');
  writeFileSync(broken, 'Metasequoia Document\r\nFormat Text Ver 1.0\r\nObject "a" {\r\n vertex 99999999 {\r\n');
  await chooseFiles([broken]);
  await page.waitFor('document.querySelector("#message.error") != null', 30000);
  const message = await page.evaluate('document.querySelector("#message").innerText');
  assert.match(message, /MQOファイルの読み込みに失敗しました|頂点数が65536を超える/);
  assert.match(message, /broken\.mqo/);
  const before = await previewCount();
  await chooseFiles([join(house, 'house.mqo'), join(house, 'brick.jpg')]);
  await page.waitFor(`Number(document.body.dataset.previewCount ?? 0) > ${before}`, 60000);
  assert.equal(await page.evaluate('document.querySelector("#message.error") == null'), true);
  // The preview follows a setting: the viewer's canvas takes the new width.
  const widened = await previewCount();
  await page.evaluate(`(() => { const width = document.querySelector('[data-key=Width]');
    width.value = '321'; width.dispatchEvent(new Event('change')); })()`);
  await page.waitFor(`Number(document.body.dataset.previewCount ?? 0) > ${widened}`, 60000);
  await page.waitFor('document.querySelector("#preview").contentDocument?.querySelector("canvas")?.getBoundingClientRect().width === 321', 60000);
  // A package name that is no file name: the writer's refusal in the editor's words.
  await page.evaluate(`(() => { const name = document.querySelector('#package-name');
    name.value = 'a/b'; name.dispatchEvent(new Event('change')); })()`);
  await page.waitFor('document.querySelector("#message.error") != null', 30000);
  assert.match(await page.evaluate('document.querySelector("#message").innerText'), /出力ファイル名がファイル名として使えません/);
  assert.equal(await page.evaluate('document.querySelector("[data-action=download-package]").disabled'), true);
});

test('a newly opened model is framed while the camera is the program\'s, and a file that is no image stays out, named', async () => {
  await page.navigate(pathToFileURL(pagePath).href);
  await page.waitFor('document.body?.dataset.ready === "true"', 30000);
  const folder = join(temp.dir, 'speck');
  mkdirSync(folder);
  // A triangle one unit wide: at the start-up distance of 500 it would be a speck.
  writeFileSync(join(folder, 'speck.mqo'), 'Metasequoia Document\r\nFormat Text Ver 1.0\r\n' +
    'Material 1 {\r\n "m" col(1 0 0 1) dif(1) tex("notes.txt")\r\n}\r\n' +
    'Object "o" {\r\n vertex 3 {\r\n  0 0 0\r\n  1 0 0\r\n  0 1 0\r\n }\r\n face 1 {\r\n  3 V(0 2 1) M(0) UV(0 0 0 1 1 0)\r\n }\r\n}\r\nEof\r\n');
  writeFileSync(join(folder, 'notes.txt'), 'my private notes\n');
  const before = await previewCount();
  await chooseFiles([join(folder, 'speck.mqo'), join(folder, 'notes.txt')]);
  await page.waitFor(`Number(document.body.dataset.previewCount ?? 0) > ${before}`, 60000);
  const distance = Number(await page.evaluate('document.querySelector("[data-key=ModelPositionZ]").value'));
  assert.ok(distance > 0 && distance < 10, `the camera is placed by the fit (z ${distance})`);
  const notices = await page.evaluate('document.querySelector("#image-notices").innerText');
  assert.match(notices, /画像ではないため含めませんでした: notes\.txt/);
  assert.deepEqual(page.errors, []);
});
