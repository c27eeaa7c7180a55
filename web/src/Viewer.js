// One viewer on a page: loads the package's files, builds the scene, and draws it whenever
// something changes (continuously only while the model spins).
//
// The viewer's element carries data-state ("loading", "ready" or "error", with data-error
// naming the message), data-progress (the percentage of the loading done), data-prepared
// ("worker" or "page": where the model was prepared), data-moving-copy ("ready" once a large
// model has the simpler copy it shows while it moves), data-empty ("true" when the model has
// nothing to draw), data-first-frame-ms (milliseconds from the start of the
// page's loading to the first picture) and data-settled ("true" while the picture on screen
// stays as it is until the next input), so a page, or a test, can tell what the viewer shows.
import { Group } from 'three';
import { readAppletParams } from './AppletParams.js';
import { Controls } from './Controls.js';
import {
  createBackgroundTexture, createFallbackRamp, createMapTexture, createRampTexture, decodeImage, decodeTextureFiles,
} from './Images.js';
import { messageLines } from './Messages.js';
import { MovingCopy, batchesForMovingCopy, simplifyAway } from './MovingCopy.js';
import { MaterialSet, createModelGroup, drawsOutline, modelFrame } from './ModelObjects.js';
import { ICON_KINDS, Overlay } from './Overlay.js';
import { PackageError } from './PackageReader.js';
import { preparePackageAway } from './Preparation.js';
import { NoWebGLError, SceneView, drawingPixelRatio } from './SceneView.js';
import { HttpSource, LoadError, referenceFileName } from './Sources.js';
import { ViewState } from './ViewState.js';

const RAMP_FILE = 'LitColor.jpg';
// Shares of the progress bar: the download, then the preparation of the model; the rest is
// the graphics system's preparation of the shaders.
const DOWNLOAD_SHARE = 0.5;
const PREPARING_SHARE = 0.45;

// A failure that the viewer explains on its canvas: a message key and its values.
class ViewerFailure extends Error {
  constructor(key, values = {}) {
    super(`${key}: ${values.name ?? ''} ${values.detail ?? ''}`.trim());
    this.key = key;
    this.values = values;
  }
}

function failureFromPackage(error, zipName) {
  if (!(error instanceof PackageError)) throw error;
  const key = { archive: 'damagedArchive', noModel: 'noModelFile', model: 'damagedModel' }[error.kind];
  return new ViewerFailure(key, { name: zipName, detail: error.message });
}

// A texture's name as the modeller knows it: the image's base name (the package names its
// texture files after it), in the model's code page.
function imageLabel(name) {
  const bytes = Uint8Array.from(name, (c) => c.charCodeAt(0));
  return new TextDecoder('shift_jis').decode(bytes).replace(/\.jpx$/i, '');
}

// A map name that names no image: modellers leave "-" (or the like) where a material has none.
// The material is drawn without the map, as for a missing image, but nothing is said about it.
function isPlaceholderName(name) {
  return !/[\p{L}\p{N}]/u.test(imageLabel(name));
}

const MAX_TEXTURE_NOTES = 3;

// The note on the images that are not shown, each with its reason, and on those shown
// smaller: the first few of each by name.
function textureNotes(failures, reduced) {
  const list = (items, total) => {
    if (total > MAX_TEXTURE_NOTES) items.push(messageLines('moreTextures', { count: total - MAX_TEXTURE_NOTES }));
    return [items.map(([japanese]) => japanese).join('、'), items.map(([, english]) => english).join(', ')];
  };
  const notes = [];
  if (failures.length) {
    const items = failures.slice(0, MAX_TEXTURE_NOTES).map(({ name, key, kind }) => {
      const [japanese, english] = messageLines(key, { kind });
      const label = imageLabel(name);
      return [`${label}（${japanese}）`, `${label} (${english})`];
    });
    notes.push(messageLines('texturesNotShown', { list: list(items, failures.length) }));
  }
  if (reduced.length) {
    const items = reduced.slice(0, MAX_TEXTURE_NOTES).map((name) => [imageLabel(name), imageLabel(name)]);
    notes.push(messageLines('texturesReduced', { list: list(items, reduced.length) }));
  }
  return notes;
}

function failureFromLoad(error) {
  if (!(error instanceof LoadError)) throw error;
  if (error.kind === 'missing') return new ViewerFailure('missingFile', { name: error.fileName });
  return new ViewerFailure('httpError', { name: error.fileName, detail: error.detail });
}

export class Viewer {
  // host: the element that the viewer fills; applet: { attributes, params } of the applet
  // block; source: where files come from (HttpSource of the page's folder by default).
  constructor(host, applet, source) {
    this.settings = readAppletParams(applet.attributes, applet.params);
    this.source = source ?? new HttpSource(document.baseURI);
    this.host = host;
    this.frameRequested = false;
    this.lastTime = 0;
    this.drawnMode = null;
    this.logo = null;
    this.progress = 0;
    this.textureFailures = [];
    this.texturesReduced = [];
    this.movingCopy = null;
    this.builtObjects = [];
    this.createElements();
  }

  createElements() {
    const { width, height } = this.settings;
    const container = document.createElement('div');
    container.className = 'qel-viewer';
    Object.assign(container.style, {
      position: 'relative', display: 'inline-block', width: `${width}px`, height: `${height}px`,
      overflow: 'hidden', verticalAlign: 'top', lineHeight: '0',
    });
    const canvas = document.createElement('canvas');
    canvas.className = 'qel-canvas';
    canvas.tabIndex = 0;
    // An interactive picture that takes the arrow keys.
    canvas.setAttribute('role', 'application');
    const modelName = referenceFileName(this.settings.model).replace(/\.zip$/i, '');
    canvas.setAttribute('aria-label', messageLines('canvasLabel', { name: modelName }).join(' '));
    Object.assign(canvas.style, { display: 'block', width: '100%', height: '100%', outlineOffset: '-2px' });
    canvas.width = width;
    canvas.height = height;
    container.append(canvas);
    this.host.replaceChildren(container);
    this.container = container;
    this.canvas = canvas;
    this.overlay = new Overlay(container, this.settings);
    this.pixelRatio = drawingPixelRatio(width, height, window.devicePixelRatio);
    this.overlay.setPixelRatio(this.pixelRatio);
    this.setStatus('loading');
  }

  setStatus(state) {
    this.container.dataset.state = state;
    // Assistive technology waits for the picture (or the message) instead of announcing a blank.
    this.container.setAttribute('aria-busy', String(state === 'loading'));
    this.container.dispatchEvent(new CustomEvent(`qelviewer:${state}`, { bubbles: true }));
  }

  fail(key, values) {
    this.overlay.showMessage(messageLines(key, values));
    this.container.dataset.error = key;
    this.setStatus('error');
  }

  // Runs the whole start-up; never throws: every failure ends as a message on the canvas.
  async start() {
    try {
      await this.load();
    } catch (error) {
      if (error instanceof ViewerFailure) this.fail(error.key, error.values);
      else if (error instanceof NoWebGLError) this.fail('noWebGL');
      else {
        // Not a fault of the package's files (those are told apart above): say what broke.
        console.error(error);
        this.fail('viewerError', { detail: String(error.message ?? error) });
      }
    }
  }

  async load() {
    const settings = this.settings;
    this.showProgress(0);
    this.view = new SceneView(this.canvas, settings);
    this.view.setSize(settings.width, settings.height, this.pixelRatio);
    this.canvas.addEventListener('webglcontextlost', (event) => {
      event.preventDefault();
      this.fail('contextLost');
    });
    if (!settings.model) throw new ViewerFailure('noModelParam');

    const logoLoad = this.loadPageImage(settings.titleLogoImage).then((image) => {
      this.logo = image;
      this.showProgress(this.progress);
    });
    const download = this.source.load(settings.model, (loaded, total) => {
      this.showProgress(DOWNLOAD_SHARE * (total ? loaded / total : 0));
    }).catch((error) => { throw failureFromLoad(error); });
    // Handled where the preparation takes the archive; this only keeps an early failure from
    // counting as unhandled meanwhile.
    download.catch(() => {});

    // The worker starts while the archive downloads.
    const options = { smooth: settings.shadingMode !== 'FLAT', edges: settings.fillMode === 'WIREFRAME', outline: drawsOutline(settings) };
    const prepared = await preparePackageAway({ zipBytes: download, modelReference: settings.model, options },
      (share) => this.showProgress(DOWNLOAD_SHARE + PREPARING_SHARE * share))
      .catch((error) => { throw failureFromPackage(error, referenceFileName(settings.model)); });
    this.container.dataset.prepared = prepared.where;

    const [textures, ramp, background, icons] = await Promise.all([
      this.loadTextures(prepared.textures),
      settings.shadingMode === 'CARTOON' ? this.loadPageImage(RAMP_FILE) : null,
      this.loadPageImage(settings.backImage),
      this.loadIcons(),
      logoLoad,
    ]);
    const radius = this.buildScene(prepared, textures);
    this.builtObjects = prepared.built;
    if (settings.shadingMode === 'CARTOON') this.view.setRamp(ramp ? createRampTexture(ramp) : createFallbackRamp());
    if (background) this.view.setBackgroundTexture(createBackgroundTexture(background));
    this.overlay.setIcons(icons);
    await this.view.compileShaders();
    this.showProgress(1);

    this.state = new ViewState(settings);
    this.state.setModelRadius(radius);
    this.controls = new Controls(this.canvas, this.state, this.overlay, () => this.invalidate(), () => this.invalidate());
    if (!prepared.drawable) {
      this.container.dataset.empty = 'true';
      this.overlay.showNote([messageLines('noFaces')]);
    }
    const notes = textureNotes(this.textureFailures, this.texturesReduced);
    if (notes.length) this.overlay.showMark(notes);
    this.invalidate();
  }

  // The loading screen with the share (0..1) of the loading done: the download, then the
  // preparation of the model.
  showProgress(share) {
    this.progress = share;
    this.container.dataset.progress = String(Math.round(share * 100));
    if (this.overlay.showingLoading) this.overlay.drawLoading(this.logo, share);
  }

  // A page image by its reference; null (and a console note) when it is missing or undecodable,
  // since a missing decoration must not stop the model from showing.
  async loadPageImage(reference) {
    if (!reference) return null;
    try {
      return await decodeImage(await this.source.load(reference));
    } catch (error) {
      console.warn(`Vantor viewer: image ${reference} not shown (${error.message ?? error})`);
      return null;
    }
  }

  async loadIcons() {
    const { rotCtrlIcon, zomCtrlIcon, panCtrlIcon, rstCtrlIcon } = this.settings;
    const icons = [rotCtrlIcon, zomCtrlIcon, panCtrlIcon, rstCtrlIcon];
    const images = await Promise.all(icons.map((icon) => (icon ? this.loadPageImage(icon.image) : null)));
    return icons.map((icon, i) => (icon && images[i] ? { kind: ICON_KINDS[i], image: images[i], x: icon.x, y: icon.y } : null))
      .filter(Boolean);
  }

  // The texture files of the package ([name, bytes or null]) decoded into a map from name to
  // texture; a name maps to null when the archive lacks the file, it cannot be decoded or the
  // page's texture budget has no room for it, and the material is then drawn without that map.
  // Such images are kept in textureFailures, those shown smaller in texturesReduced.
  async loadTextures(entries) {
    const { images, failures, reduced } = await decodeTextureFiles(entries);
    const textures = new Map();
    for (const [name, image] of images) textures.set(name, image && createMapTexture(image, this.settings.texFiltering));
    this.textureFailures = failures.filter(({ name }) => !isPlaceholderName(name));
    this.texturesReduced = reduced;
    return textures;
  }

  buildScene(prepared, textures) {
    const settings = this.settings;
    const lookup = (material) => ({
      map: textures.get(material.textureMap) ?? null,
      alphaMap: textures.get(material.alphaMap) ?? null,
      bumpMap: textures.get(material.bumpMap) ?? null,
      envMap: textures.get(material.envMap) ?? null,
    });
    const materials = new MaterialSet(prepared, lookup, settings, this.view.uniforms);
    const frame = modelFrame(prepared.built);
    // The model hangs in a group at the origin with its box centred there, so that it turns
    // about its own centre, however far from the file's origin the modeller put it.
    const pivot = new Group();
    const group = createModelGroup(prepared.built, materials, settings);
    if (frame) group.position.set(...frame.centre).negate();
    pivot.add(group);
    this.view.setModel(pivot, frame?.radius ?? 0);
    return frame?.radius ?? 0;
  }

  // A large model gets a simpler copy to draw while it moves, made in a worker after the first
  // frame; data-moving-copy says "ready" once it is there.
  async makeMovingCopy() {
    const batches = batchesForMovingCopy(this.builtObjects);
    this.builtObjects = [];
    if (!batches) return;
    const lists = await simplifyAway(batches);
    if (!lists || this.container.dataset.state === 'error') return;
    this.movingCopy = new MovingCopy(this.view.model, batches, lists);
    this.container.dataset.movingCopy = 'ready';
    this.invalidate();
  }

  invalidate() {
    if (this.frameRequested || this.container.dataset.state === 'error') return;
    this.frameRequested = true;
    requestAnimationFrame((time) => this.frame(time));
  }

  frame(time) {
    this.frameRequested = false;
    const state = this.state;
    if (state.spinning) {
      const seconds = this.lastTime ? Math.min(0.1, (time - this.lastTime) / 1000) : 0;
      state.advance(seconds);
      this.lastTime = time;
    } else {
      this.lastTime = 0;
    }
    // Without full-time anti-aliasing, frames in motion are drawn plain and the still picture
    // is drawn anti-aliased once the motion ends. The very first picture is drawn plain too, to
    // show the model as soon as possible; the anti-aliased one follows in the next frame.
    const moving = state.spinning || this.controls.interacting;
    const wanted = this.settings.fullTimeFSAA || !moving;
    const first = this.container.dataset.state === 'loading';
    const antialias = wanted && !first;
    this.movingCopy?.show(moving);
    // The soft shadow, like the anti-aliasing, follows in the next frame.
    this.view.render(state, antialias, !first);
    if (this.drawnMode !== state.dragMode || this.overlay.showingLoading) {
      this.overlay.drawIcons(state.dragMode);
      this.drawnMode = state.dragMode;
    }
    if (first) {
      this.container.dataset.firstFrameMs = String(Math.round(performance.now()));
      this.setStatus('ready');
      this.invalidate();
      this.makeMovingCopy();
    }
    // Settled: the picture on screen is final until the next input.
    this.container.dataset.settled = String(!moving && !first && antialias === wanted);
    if (state.spinning) this.invalidate();
  }
}

// Mounts a viewer in host for the applet block and starts it; resolves once the model is
// built and its first frame requested, or a message shows.
export async function mount(host, applet, options = {}) {
  const viewer = new Viewer(host, applet, options.source);
  await viewer.start();
  return viewer;
}
