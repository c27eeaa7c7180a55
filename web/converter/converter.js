// The converter page: opens a model and its images, previews the package with the real viewer
// and saves it. Everything that converts is the core in WebAssembly (VantorCore); this script
// only moves files in and out of the core's in-memory file system and shows the results.
// Strings between the page and the core are byte strings (one character per byte), as the
// core's texts are; helpers below turn them into text and back.

import { zipSync } from 'fflate';
import { applyLabels } from './labels.js';
import { ui, imageNotice, readFailure, packageFailure } from './strings.js';

const MODEL_PATTERN = /\.mqoz?$/i;
const INPUT_ROOT = '/in/';
const OUTPUT_FOLDER = '/out/';
const PROGRAM_FOLDER = '/vantor/';
const SETTINGS_SECTION = 'QelScene';

let core = null;
// cameraChosen: the camera position was typed or loaded from a settings file; until then it is
// the program's, and each opened model is framed by the fit rule before its first preview, as
// the editor does.
const state = { settings: '', model: null, packageName: '', output: null, previewTimer: 0, busy: false, cameraChosen: false };
const CAMERA_KEYS = ['ModelPositionX', 'ModelPositionY', 'ModelPositionZ'];

const $ = (selector) => document.querySelector(selector);

// ---- byte strings -----------------------------------------------------------------------

function bytesToBinary(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
  }
  return text;
}
const binaryToBytes = (text) => Uint8Array.from(text, (c) => c.charCodeAt(0));
const toBinary = (text) => bytesToBinary(new TextEncoder().encode(text));
const fromBinary = (text) => new TextDecoder().decode(binaryToBytes(text));

// ---- settings text (a .vsn file's lines) ------------------------------------------------------

function settingValue(key) {
  const match = state.settings.match(new RegExp(`^${key}=(.*?)\\r?$`, 'm'));
  return match ? match[1] : '';
}

function setSettingValues(values) {
  let text = state.settings;
  for (const [key, value] of Object.entries(values)) {
    const line = new RegExp(`^${key}=.*?(\\r?)$`, 'm');
    text = line.test(text) ? text.replace(line, `${key}=${value}$1`) : text + `${key}=${value}\r\n`;
  }
  state.settings = core.normalizedSettings(text);
}

// Colours as the settings file keeps them, the integer of 0x00RRGGBB, and the page's #rrggbb.
const hex2 = (n) => n.toString(16).padStart(2, '0');
const colorToHex = (v) => `#${(v & 0xffffff).toString(16).padStart(6, '0')}`;
const hexToColor = (hex) => parseInt(hex.slice(1), 16);

// ---- messages and progress -------------------------------------------------------------------

function showMessage(kind, ja, en) {
  const box = $('#message');
  box.className = `message ${kind}`;
  box.replaceChildren();
  for (const [text, cls] of [[ja, 'ja'], [en, 'en']]) {
    if (!text) continue;
    const line = document.createElement('div');
    line.className = cls;
    line.textContent = text;
    box.append(line);
  }
}

function showProgress(label, fraction) {
  const bar = $('#progress');
  bar.hidden = label == null;
  if (label == null) return;
  $('#progress-label').textContent = label;
  const meter = $('#progress-bar');
  if (fraction == null) meter.removeAttribute('value');
  else meter.value = fraction;
}

const nextFrame = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));

// ---- the in-memory file system ------------------------------------------------------------------

function removeTree(path) {
  const FS = core.FS;
  if (!FS.analyzePath(path).exists) return;
  for (const name of FS.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const child = `${path}/${name}`;
    if (FS.isDir(FS.stat(child).mode)) removeTree(child);
    else FS.unlink(child);
  }
  FS.rmdir(path);
}

// Reads a file in chunks into a buffer the caller provides (view() gives it anew for each
// chunk, since the core's memory may move); the bytes read.
async function readChunks(file, view, onChunk) {
  let at = 0;
  const reader = file.stream().getReader();
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    const count = Math.min(value.length, file.size - at);
    view().set(value.subarray(0, count), at);
    at += count;
    onChunk(at);
  }
  return at;
}

// The images and other files go into the core's in-memory file system under their relative
// paths, where the core's resolver looks for them; the model goes straight into the core's
// memory (one copy of it, no other), and only its folder is made.
async function layOutFiles(entries, model) {
  removeTree(INPUT_ROOT.slice(0, -1));
  const total = entries.reduce((sum, e) => sum + e.file.size, 0) || 1;
  let done = 0;
  let modelBytes = null;
  for (const entry of entries) {
    const { file, path } = entry;
    const target = INPUT_ROOT + path;
    core.FS.mkdirTree(target.slice(0, target.lastIndexOf('/')));
    const base = done;
    const progress = (at) => showProgress(`${ui.reading} — ${file.name}`, (base + at) / total);
    if (entry === model) {
      const address = core._malloc(Math.max(1, file.size));
      if (!address) throw new RangeError('out of memory');
      const size = await readChunks(file, () => core.HEAPU8.subarray(address, address + file.size), progress);
      modelBytes = { address, size };
    } else {
      const bytes = new Uint8Array(file.size);
      const size = await readChunks(file, () => bytes, progress);
      core.FS.writeFile(target, bytes.subarray(0, size), { canOwn: true });
      // Archive entries are dated with their files' times, as on the command line.
      core.FS.utime(target, file.lastModified, file.lastModified);
    }
    done += file.size;
  }
  return modelBytes;
}

// ---- opening ------------------------------------------------------------------------------------

function chooseModel(entries) {
  const models = entries.filter((e) => MODEL_PATTERN.test(e.path));
  models.sort((a, b) => a.path.split('/').length - b.path.split('/').length || a.path.localeCompare(b.path));
  return { model: models[0] ?? null, count: models.length };
}

export async function openEntries(entries) {
  if (state.busy || entries.length === 0) return;
  const { model, count } = chooseModel(entries);
  if (!model) {
    showMessage('error', ui.noModelFile, ui.noModelFileEn);
    return;
  }
  state.busy = true;
  try {
    let bytes;
    try {
      bytes = await layOutFiles(entries, model);
    } catch (error) {
      showMessage('error', ui.outOfMemory, `${model.path}: ${ui.outOfMemoryEn}`);
      return;
    }
    showProgress(ui.reading, null);
    await nextFrame();
    const result = core.readModel(toBinary(INPUT_ROOT + model.path), bytes.address, bytes.size);
    showProgress(null);
    if (result.code !== 0) {
      state.model = null;
      const failure = readFailure({ ...result, message: fromBinary(result.message) });
      showMessage('error', failure.ja, `${model.path}: ${failure.en}`);
      $('#model-info').textContent = ui.noModel;
      setSaveEnabled(false);
      return;
    }
    state.model = { path: model.path, info: result };
    state.packageName = model.path.split('/').pop().replace(MODEL_PATTERN, '');
    $('#package-name').value = state.packageName;
    $('#model-info').textContent = `${model.path} — ${ui.modelInfo(result)}`;
    if (count > 1) showMessage('info', ui.severalModels(model.path), ui.severalModelsEn(model.path));
    else showMessage('', '', '');
    if (!state.cameraChosen) placeCameraByFit();
    showImages();
    await preview();
  } finally {
    state.busy = false;
    showProgress(null);
  }
}

function showImages() {
  const list = core.imageList(state.settings);
  const missing = [];
  for (let i = 0; i < list.length; ++i) {
    if (!list[i].found) missing.push(fromBinary(list[i].stored));
  }
  const box = $('#images');
  box.replaceChildren();
  if (missing.length === 0) {
    box.textContent = list.length > 0 ? ui.allImagesFound(list.length) : '';
    box.className = 'images ok';
    return;
  }
  box.className = 'images missing';
  const head = document.createElement('div');
  head.innerHTML = `<b></b><div class="en"></div>`;
  head.querySelector('b').textContent = ui.missingImages;
  head.querySelector('.en').textContent = ui.missingImagesEn;
  const names = document.createElement('ul');
  for (const name of [...new Set(missing)]) {
    const item = document.createElement('li');
    item.textContent = name;
    names.append(item);
  }
  box.append(head, names);
}

// Below the list of missing images: what the build left out as no image, and what it took from
// outside the model's folder.
function showImageNotices(notices) {
  const box = $('#image-notices');
  box.replaceChildren();
  for (let i = 0; i < notices.length; ++i) {
    const { ja, en } = imageNotice(notices[i]);
    const item = document.createElement('li');
    item.textContent = ja;
    const english = document.createElement('div');
    english.className = 'en';
    english.textContent = en;
    item.append(english);
    box.append(item);
  }
  box.hidden = notices.length === 0;
}

// ---- publishing and preview ---------------------------------------------------------------------

// Writes the package and its single-file page into the output folder; the files by name, or
// nothing after showing why.
function publishPackage() {
  removeTree(OUTPUT_FOLDER.slice(0, -1));
  core.FS.mkdirTree(OUTPUT_FOLDER);
  const name = toBinary($('#package-name').value.trim());
  const result = core.publish(state.settings, OUTPUT_FOLDER, name, true);
  if (result.error !== 'None') {
    const failure = packageFailure(result);
    showMessage('error', failure.ja, failure.en + (result.path ? ` ${fromBinary(result.path)}` : ''));
    return null;
  }
  // The files move out of the file system, so that the package is held once.
  const files = new Map();
  for (const entry of core.FS.readdir(OUTPUT_FOLDER)) {
    if (entry !== '.' && entry !== '..') files.set(entry, core.FS.readFile(OUTPUT_FOLDER + entry));
  }
  removeTree(OUTPUT_FOLDER.slice(0, -1));
  showImageNotices(result.imageNotices);
  return { files, pageName: fromBinary(result.pagePath).split('/').pop(), standaloneName: fromBinary(result.standalonePath).split('/').pop() };
}

async function preview() {
  if (!state.model) return;
  showProgress(ui.building, null);
  await nextFrame();
  const output = publishPackage();
  showProgress(null);
  setSaveEnabled(output != null);
  if (!output) return;
  state.output = output;
  // srcdoc rather than a blob: URL keeps the preview of the page's own origin, even from
  // file://, so the frame can be sized to the page it shows.
  const frame = $('#preview');
  frame.onload = () => {
    const shown = frame.contentDocument?.documentElement;
    if (!shown) return;
    frame.width = Math.max(320, shown.scrollWidth);
    frame.height = Math.max(240, shown.scrollHeight);
  };
  frame.width = Number(settingValue('Width')) + 40;
  frame.height = Number(settingValue('Height')) + 120;
  frame.srcdoc = new TextDecoder().decode(output.files.get(output.standaloneName));
  document.body.dataset.previewCount = String(Number(document.body.dataset.previewCount ?? 0) + 1);
}

function schedulePreview() {
  clearTimeout(state.previewTimer);
  state.previewTimer = setTimeout(() => { if (!state.busy) preview(); }, 250);
}

// ---- saving -------------------------------------------------------------------------------------

function packageFiles(output) {
  return [...output.files].filter(([name]) => name !== output.standaloneName);
}

function download(name, bytes, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

function downloadPackage() {
  const output = state.output;
  if (!output) return;
  const folder = output.pageName.replace(/\.html$/i, '');
  const entries = {};
  for (const [name, bytes] of packageFiles(output)) entries[`${folder}/${name}`] = [bytes, { level: 0 }];
  download(`${folder}-web.zip`, zipSync(entries), 'application/zip');
  showMessage('info', ui.saved, `${folder}-web.zip`);
}

function downloadStandalone() {
  const output = state.output;
  if (!output) return;
  download(output.standaloneName, output.files.get(output.standaloneName), 'text/html');
  showMessage('info', ui.saved, output.standaloneName);
}

async function saveToFolder() {
  const output = state.output;
  if (!output) return;
  const folder = await window.showDirectoryPicker({ mode: 'readwrite' });
  for (const [name, bytes] of output.files) {
    const handle = await folder.getFileHandle(name, { create: true });
    const writable = await handle.createWritable();
    await writable.write(bytes);
    await writable.close();
  }
  showMessage('info', ui.saved, [...output.files.keys()].join(', '));
}

function setSaveEnabled(enabled) {
  for (const button of document.querySelectorAll('[data-save]')) button.disabled = !enabled;
}

// ---- settings fields ----------------------------------------------------------------------------

const numberKeys = ['Width', 'Height', 'ModelPositionX', 'ModelPositionY', 'ModelPositionZ', 'InitRotYaw', 'InitRotPitch',
  'InitRotRoll', 'FieldOfView', 'LitDirectionX', 'LitDirectionY', 'LitDirectionZ'];
const choiceKeys = ['ShadingMode', 'FillMode', 'QualityOfAntiAlias'];
const checkKeys = ['AlwaysFSAA', 'SoftShadowEnable'];

function showSettings() {
  for (const key of [...numberKeys, ...choiceKeys]) $(`[data-key="${key}"]`).value = settingValue(key);
  for (const key of checkKeys) $(`[data-key="${key}"]`).checked = settingValue(key) === '1';
  $('[data-key="BackGroundColor"]').value = colorToHex(Number(settingValue('BackGroundColor')));
  // As the editor's colour box shows a light colour: each channel times 255, truncated.
  const light = ['R', 'G', 'B'].map((c) => Math.min(255, Math.max(0, Math.trunc(Number(settingValue(`LitDiffuse${c}`)) * 255) || 0)));
  $('[data-key="LitDiffuse"]').value = `#${light.map(hex2).join('')}`;
}

function fieldChanged(field) {
  const key = field.dataset.key;
  if (key === 'BackGroundColor') {
    setSettingValues({ BackGroundColor: hexToColor(field.value) });
  } else if (key === 'LitDiffuse') {
    const rgb = parseInt(field.value.slice(1), 16);
    const channel = (shift) => String(((rgb >> shift) & 255) / 255);
    setSettingValues({ LitDiffuseR: channel(16), LitDiffuseG: channel(8), LitDiffuseB: channel(0) });
  } else if (field.type === 'checkbox') {
    setSettingValues({ [key]: field.checked ? '1' : '0' });
  } else {
    if (field.value.trim() === '') return;
    setSettingValues({ [key]: field.value.trim() });
    if (CAMERA_KEYS.includes(key)) state.cameraChosen = true;
  }
  showSettings();
  schedulePreview();
}

// The camera where the whole model shows; false when the model draws nothing.
function placeCameraByFit() {
  const fitted = core.fitCamera(state.settings);
  if (!fitted) return false;
  state.settings = fitted;
  state.cameraChosen = false;
  showSettings();
  return true;
}

function fitCamera() {
  if (!state.model) return;
  if (!placeCameraByFit()) {
    showMessage('info', ui.fitNothing, ui.fitNothingEn);
    return;
  }
  schedulePreview();
}

async function loadSettingsFile(file) {
  state.settings = core.normalizedSettings(bytesToBinary(new Uint8Array(await file.arrayBuffer())));
  state.cameraChosen = true;
  showSettings();
  if (state.model) {
    showImages();
    schedulePreview();
  }
}

function saveSettingsFile() {
  const name = ($('#package-name').value.trim() || 'scene') + '.vsn';
  download(name, binaryToBytes(state.settings), 'application/octet-stream');
}

// ---- dropped folders ----------------------------------------------------------------------------

function readEntry(entry, prefix, out) {
  return new Promise((resolve) => {
    if (entry.isFile) {
      entry.file((file) => { out.push({ file, path: prefix + entry.name }); resolve(); }, () => resolve());
      return;
    }
    const reader = entry.createReader();
    const children = [];
    const readMore = () => reader.readEntries(async (batch) => {
      if (batch.length === 0) {
        for (const child of children) await readEntry(child, `${prefix}${entry.name}/`, out);
        resolve();
        return;
      }
      children.push(...batch);
      readMore();
    }, () => resolve());
    readMore();
  });
}

async function droppedEntries(dataTransfer) {
  const out = [];
  const items = [...(dataTransfer.items ?? [])].map((item) => item.webkitGetAsEntry?.()).filter(Boolean);
  if (items.length === 0) return [...dataTransfer.files].map((file) => ({ file, path: file.name }));
  for (const entry of items) await readEntry(entry, '', out);
  return out;
}

const chosenEntries = (files) => [...files].map((file) => ({ file, path: file.webkitRelativePath || file.name }));

// ---- start --------------------------------------------------------------------------------------

function layOutShippedFiles() {
  core.FS.mkdirTree(PROGRAM_FOLDER);
  for (const [name, base64] of Object.entries(window.VANTOR_SHIPPED)) {
    core.FS.writeFile(PROGRAM_FOLDER + name, Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)));
  }
}

function wire() {
  $('#open-files').addEventListener('change', (e) => openEntries(chosenEntries(e.target.files)));
  $('#open-folder').addEventListener('change', (e) => openEntries(chosenEntries(e.target.files)));
  $('#open-settings').addEventListener('change', (e) => e.target.files[0] && loadSettingsFile(e.target.files[0]));
  $('#save-settings').addEventListener('click', saveSettingsFile);
  $('#fit-camera').addEventListener('click', fitCamera);
  $('[data-action="download-package"]').addEventListener('click', downloadPackage);
  $('[data-action="download-standalone"]').addEventListener('click', downloadStandalone);
  const folderButton = $('[data-action="save-to-folder"]');
  folderButton.hidden = typeof window.showDirectoryPicker !== 'function';
  // Closing the folder chooser is no failure; a folder that cannot be written is.
  folderButton.addEventListener('click', () => saveToFolder().catch((error) => {
    if (error?.name !== 'AbortError') showMessage('error', ui.saveFailed, `${ui.saveFailedEn} ${error?.message ?? error}`);
  }));
  $('#package-name').addEventListener('change', schedulePreview);
  for (const field of document.querySelectorAll('[data-key]')) field.addEventListener('change', () => fieldChanged(field));
  const zone = document.body;
  zone.addEventListener('dragover', (e) => { e.preventDefault(); zone.classList.add('dragging'); });
  zone.addEventListener('dragleave', () => zone.classList.remove('dragging'));
  zone.addEventListener('drop', async (e) => {
    e.preventDefault();
    zone.classList.remove('dragging');
    openEntries(await droppedEntries(e.dataTransfer));
  });
}

async function start() {
  applyLabels();
  wire();
  setSaveEnabled(false);
  try {
    core = await window.VantorCore();
  } catch (error) {
    showMessage('error', ui.coreFailed, `${ui.coreFailedEn} ${error}`);
    return;
  }
  layOutShippedFiles();
  state.settings = core.startupSettings();
  showSettings();
  document.body.dataset.ready = 'true';
}

start();
