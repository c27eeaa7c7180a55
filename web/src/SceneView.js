// The renderer side of a viewer: draws the scene for a ViewState, with the background, the
// soft shadow and anti-aliasing. It keeps no view state of its own.
import {
  Color, ColorManagement, Group, LinearSRGBColorSpace, Mesh, OrthographicCamera, PerspectiveCamera,
  PlaneGeometry, Scene, Vector2, Vector3, WebGLRenderer, WebGLRenderTarget,
} from 'three';
import { colourToRgb } from './AppletParams.js';
import { applySettingsToUniforms, createCopyMaterial, createSceneUniforms } from './Shading.js';
import { SoftShadow } from './SoftShadow.js';

// Colours and images are display values; nothing is converted on the way to the screen.
ColorManagement.enabled = false;

const SAMPLES = { LOW: 2, MIDDLE: 4, HIGH: 8 };
const MAX_PIXEL_RATIO = 2;
// Drawing buffers hold at most this many pixels: a larger view is drawn at a lower resolution
// and scaled up, rather than asking for buffers (each multisampled up to eight times) that
// the graphics memory may not have.
const MAX_DRAWING_PIXELS = 4096 * 4096;

// Device pixels per CSS pixel for a view of width x height CSS pixels on a screen of
// deviceRatio: sharp on high-density screens, within the pixel budget.
export function drawingPixelRatio(width, height, deviceRatio) {
  const wanted = Math.min(deviceRatio || 1, MAX_PIXEL_RATIO);
  return Math.min(wanted, Math.sqrt(MAX_DRAWING_PIXELS / (width * height)));
}

export class NoWebGLError extends Error {
  constructor() {
    super('WebGL 2 is not available');
    this.name = 'NoWebGLError';
  }
}

export class SceneView {
  constructor(canvas, settings) {
    const context = canvas.getContext('webgl2', {
      alpha: false, antialias: false, depth: true, stencil: false, preserveDrawingBuffer: false,
    });
    if (!context) throw new NoWebGLError();
    this.settings = settings;
    this.renderer = new WebGLRenderer({ canvas, context });
    this.renderer.outputColorSpace = LinearSRGBColorSpace;
    this.uniforms = createSceneUniforms();
    applySettingsToUniforms(this.uniforms, settings);
    this.scene = new Scene();
    this.scene.background = new Color(...colourToRgb(settings.backColor));
    this.camera = new PerspectiveCamera(settings.fieldOfView, settings.width / settings.height, 1, 1000);
    this.panGroup = new Group();
    this.scene.add(this.panGroup);
    this.model = new Group();
    this.panGroup.add(this.model);
    this.modelRadius = 0;
    this.lookTarget = new Vector3();
    this.shadow = null;
    this.shadowVersion = -1;
    if (settings.softShadowEnable) {
      this.shadow = new SoftShadow(colourToRgb(settings.softShadowColor), settings.softShadowDistance);
      this.panGroup.add(this.shadow.ground);
    }
    const wanted = SAMPLES[settings.qualityOfAntiAlias] ?? 4;
    this.samples = Math.min(wanted, this.renderer.capabilities.maxSamples);
    this.antialiasTarget = null;
    this.copyScene = null;
    this.lightWorld = new Vector3(...settings.litDirection).negate();
    if (this.lightWorld.lengthSq() === 0) this.lightWorld.set(0, 0, 1);
    this.lightWorld.normalize();
    this.setSize(settings.width, settings.height, 1);
  }

  setSize(width, height, pixelRatio) {
    this.width = width;
    this.height = height;
    this.pixelRatio = pixelRatio;
    this.renderer.setPixelRatio(pixelRatio);
    this.renderer.setSize(width, height, false);
    this.camera.aspect = width / height;
    this.uniforms.uViewport.value.set(width, height);
    this.uniforms.uPointSize.value = 3 * pixelRatio;
    if (this.antialiasTarget) this.antialiasTarget.setSize(...this.drawingBufferSize());
  }

  setModel(model, radius) {
    this.panGroup.remove(this.model);
    this.model = model;
    this.modelRadius = radius;
    this.panGroup.add(model);
    this.shadowVersion = -1;
  }

  setBackgroundTexture(texture) {
    this.scene.background = texture;
  }

  setRamp(texture) {
    this.uniforms.uRamp.value = texture;
  }

  applyState(state) {
    state.panOffset(this.panGroup.position);
    this.model.quaternion.copy(state.rotation);
    const camera = this.camera;
    state.cameraPosition(camera.position);
    camera.up.copy(state.cameraUp);
    camera.lookAt(this.lookTarget.copy(camera.position).add(state.forward));
    // Depth range round the model's sphere (and the shadow below it), wherever the pan put it,
    // along the view axis: a camera moved across (X and Y of its position) looks past the pivot.
    const reach = this.modelRadius * 1.05 + (this.shadow ? this.modelRadius * 0.7 + this.shadow.reach() : 0) || 1;
    const distance = this.lookTarget.copy(this.panGroup.position).sub(camera.position).dot(state.forward);
    camera.near = Math.max(distance - reach, reach * 1e-3, distance * 1e-4);
    camera.far = Math.max(distance + reach, camera.near * 2);
    camera.updateProjectionMatrix();
    camera.updateMatrixWorld();
    // The light is fixed in the world; shaders light in view space.
    this.uniforms.uLightDir.value.copy(this.lightWorld).transformDirection(camera.matrixWorldInverse);
  }

  drawingBufferSize() {
    return this.renderer.getDrawingBufferSize(new Vector2()).toArray();
  }

  ensureAntialiasTarget() {
    if (!this.antialiasTarget) {
      this.antialiasTarget = new WebGLRenderTarget(...this.drawingBufferSize(), { samples: this.samples });
      this.copyScene = new Scene();
      const quad = new Mesh(new PlaneGeometry(2, 2), createCopyMaterial(this.antialiasTarget.texture));
      quad.frustumCulled = false;
      this.copyScene.add(quad);
      this.copyCamera = new OrthographicCamera();
    }
  }

  // Has the graphics system compile the shaders of the scene and of the anti-aliasing pass
  // before the first frame, in the background where it can; the first frame would otherwise
  // wait for every compilation (and, for the anti-aliased frame, for the drawing before it).
  async compileShaders() {
    if (this.samples > 1) this.ensureAntialiasTarget();
    const scenes = [[this.scene, this.camera], ...(this.copyScene ? [[this.copyScene, this.copyCamera]] : [])];
    const parallel = this.renderer.extensions.has('KHR_parallel_shader_compile');
    for (const [scene, camera] of scenes) {
      if (parallel) await this.renderer.compileAsync(scene, camera);
      else this.renderer.compile(scene, camera);
    }
  }

  // antialias: draw this frame through the multisampled target; extras: with the soft shadow
  // (the first frame leaves it for the next one, to show the model sooner).
  render(state, antialias, extras = true) {
    this.applyState(state);
    if (this.shadow && !extras) {
      this.shadow.ground.visible = false;
      this.shadowVersion = -1;
    } else if (this.shadow && this.shadowVersion !== state.rotationVersion) {
      this.shadow.update(this.renderer, this.scene, this.model);
      this.shadowVersion = state.rotationVersion;
    }
    if (antialias && this.samples > 1) {
      this.ensureAntialiasTarget();
      this.renderer.setRenderTarget(this.antialiasTarget);
      this.renderer.render(this.scene, this.camera);
      this.renderer.setRenderTarget(null);
      this.renderer.render(this.copyScene, this.copyCamera);
    } else {
      this.renderer.setRenderTarget(null);
      this.renderer.render(this.scene, this.camera);
    }
  }

  dispose() {
    this.renderer.dispose();
  }
}
