// The comparison page of the page benchmark: model.glb shown with three.js's glTF loader, as a
// user who exported to glTF would show it, drawing on demand and turning with a left drag.
// Bundled by the benchmark with esbuild; the body's data-first-frame-ms is stamped right after
// the first render, as the viewer stamps its own.
import {
  AmbientLight, Box3, Color, DirectionalLight, PerspectiveCamera, Scene, Sphere, WebGLRenderer,
} from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';

const canvas = document.getElementById('view');
const renderer = new WebGLRenderer({ canvas, antialias: false });
renderer.setSize(canvas.width, canvas.height, false);
const scene = new Scene();
scene.background = new Color(0x7f7f7f);
scene.add(new AmbientLight(0xffffff, 0.6));
const light = new DirectionalLight(0xffffff, 2);
light.position.set(1, 1, 1);
scene.add(light);
const camera = new PerspectiveCamera(45, canvas.width / canvas.height, 1, 1000);

let model = null;
let requested = false;
const draw = () => {
  requested = false;
  renderer.render(scene, camera);
};
const invalidate = () => {
  if (!requested) { requested = true; requestAnimationFrame(draw); }
};

new GLTFLoader().load('model.glb', (gltf) => {
  model = gltf.scene;
  const sphere = new Box3().setFromObject(model).getBoundingSphere(new Sphere());
  model.position.sub(sphere.center);
  scene.add(model);
  const distance = sphere.radius / Math.sin((camera.fov * Math.PI) / 360);
  camera.position.set(0, 0, distance);
  camera.near = Math.max(distance - sphere.radius * 1.05, distance * 1e-3);
  camera.far = distance + sphere.radius * 1.05;
  camera.updateProjectionMatrix();
  renderer.render(scene, camera);
  document.body.dataset.firstFrameMs = String(Math.round(performance.now()));
}, undefined, (error) => { document.body.dataset.error = String(error?.message ?? error); });

let last = null;
canvas.addEventListener('pointerdown', (event) => { last = [event.clientX, event.clientY]; canvas.setPointerCapture(event.pointerId); });
canvas.addEventListener('pointerup', () => { last = null; });
canvas.addEventListener('pointermove', (event) => {
  if (!last || !model) return;
  scene.rotation.y += (event.clientX - last[0]) * 0.01;
  scene.rotation.x += (event.clientY - last[1]) * 0.01;
  last = [event.clientX, event.clientY];
  invalidate();
});
