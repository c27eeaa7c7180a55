// The soft shadow under the model: the model's outline seen from above, blurred, and laid on a
// ground square below the model in the shadow colour. The farther the ground lies below the
// model (the shadow distance), the softer and fainter the shadow.
import {
  Box3, DoubleSide, Mesh, OrthographicCamera, PlaneGeometry, Scene, ShaderMaterial, Vector2, Vector3,
  WebGLRenderTarget,
} from 'three';
import { FULLSCREEN_VERTEX } from './Shading.js';

const SIZE = 256;
const GROUND_MARGIN = 1.6;

const BLUR_FRAGMENT = /* glsl */ `
uniform sampler2D uSource;
uniform vec2 uStep;
varying vec2 vUv;
void main() {
  // 13 taps of a Gaussian with sigma of two steps.
  float sum = 0.0;
  float total = 0.0;
  for (int i = -6; i <= 6; i++) {
    float w = exp(-float(i * i) / 8.0);
    sum += w * texture2D(uSource, vUv + uStep * float(i)).r;
    total += w;
  }
  gl_FragColor = vec4(sum / total, 0.0, 0.0, 1.0);
}
`;

const GROUND_FRAGMENT = /* glsl */ `
uniform sampler2D uShadow;
uniform vec3 uColor;
uniform float uOpacity;
varying vec2 vUv;
void main() {
  float coverage = texture2D(uShadow, vUv).r;
  // Fade out towards the square's rim so its edge never shows.
  vec2 rim = min(vUv, 1.0 - vUv);
  coverage *= smoothstep(0.0, 0.08, min(rim.x, rim.y));
  gl_FragColor = vec4(uColor, coverage * uOpacity);
}
`;

export class SoftShadow {
  constructor(colour, distance) {
    this.distance = Math.max(0, distance);
    this.silhouetteTarget = new WebGLRenderTarget(SIZE, SIZE);
    this.blurTargets = [new WebGLRenderTarget(SIZE, SIZE), new WebGLRenderTarget(SIZE, SIZE)];
    this.camera = new OrthographicCamera();
    this.camera.up.set(0, 0, -1);
    this.silhouette = new ShaderMaterial({
      vertexShader: 'void main() { gl_Position = projectionMatrix * modelViewMatrix * vec4(position, 1.0); gl_PointSize = 2.0; }',
      fragmentShader: 'void main() { gl_FragColor = vec4(1.0); }',
      side: DoubleSide,
    });
    this.blur = new ShaderMaterial({
      uniforms: { uSource: { value: null }, uStep: { value: new Vector2() } },
      vertexShader: FULLSCREEN_VERTEX,
      fragmentShader: BLUR_FRAGMENT,
      depthTest: false,
      depthWrite: false,
    });
    this.blurScene = new Scene();
    this.blurScene.add(new Mesh(new PlaneGeometry(2, 2), this.blur));
    this.ground = new Mesh(new PlaneGeometry(1, 1).rotateX(-Math.PI / 2), new ShaderMaterial({
      uniforms: {
        uShadow: { value: this.blurTargets[1].texture },
        uColor: { value: new Vector3(...colour) },
        uOpacity: { value: 0.8 },
      },
      vertexShader: 'varying vec2 vUv; void main() { vUv = uv; gl_Position = projectionMatrix * modelViewMatrix * vec4(position, 1.0); }',
      fragmentShader: GROUND_FRAGMENT,
      transparent: true,
      depthWrite: false,
    }));
    this.ground.renderOrder = -1;
    this.ground.frustumCulled = false;
    this.box = new Box3();
  }

  // Re-draws the shadow for the model's current pose. scene: the whole scene; model: the
  // rotated model (inside the panned group that also holds the ground).
  update(renderer, scene, model) {
    this.box.setFromObject(model);
    if (this.box.isEmpty()) {
      this.ground.visible = false;
      return;
    }
    const size = this.box.getSize(new Vector3());
    const centre = this.box.getCenter(new Vector3());
    const extent = Math.max(size.x, size.z, 1e-6) * GROUND_MARGIN + 2 * this.distance;
    const half = extent / 2;
    const camera = this.camera;
    camera.left = -half; camera.right = half; camera.top = half; camera.bottom = -half;
    camera.near = 0; camera.far = size.y + 2;
    camera.position.set(centre.x, this.box.max.y + 1, centre.z);
    camera.lookAt(centre.x, this.box.min.y - 1, centre.z);
    camera.updateProjectionMatrix();

    const ground = this.ground;
    const parent = ground.parent;
    parent.updateMatrixWorld();
    const local = parent.worldToLocal(new Vector3(centre.x, this.box.min.y - this.distance, centre.z));
    ground.position.copy(local);
    ground.scale.set(extent, 1, extent);
    ground.material.uniforms.uOpacity.value = 0.8 / (1 + (2 * this.distance) / extent);

    const background = scene.background;
    const previousTarget = renderer.getRenderTarget();
    scene.background = null;
    scene.overrideMaterial = this.silhouette;
    ground.visible = false;
    renderer.setRenderTarget(this.silhouetteTarget);
    renderer.setClearColor(0x000000, 1);
    renderer.clear();
    renderer.render(scene, camera);
    scene.overrideMaterial = null;
    scene.background = background;
    ground.visible = true;

    // Blur radius in texels: a contact shadow stays crisp, a distant one spreads out.
    const radius = Math.min(24, 1.5 + (this.distance / extent) * SIZE);
    const stepSize = radius / 6 / SIZE;
    this.blur.uniforms.uSource.value = this.silhouetteTarget.texture;
    this.blur.uniforms.uStep.value.set(stepSize, 0);
    renderer.setRenderTarget(this.blurTargets[0]);
    renderer.render(this.blurScene, camera);
    this.blur.uniforms.uSource.value = this.blurTargets[0].texture;
    this.blur.uniforms.uStep.value.set(0, stepSize);
    renderer.setRenderTarget(this.blurTargets[1]);
    renderer.render(this.blurScene, camera);
    renderer.setRenderTarget(previousTarget);
  }

  // How far below the model's lowest point the ground lies plus its reach, for the depth range.
  reach() {
    return this.distance;
  }
}
