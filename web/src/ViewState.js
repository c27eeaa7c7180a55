// The one state object of a viewer: the model's rotation, the camera's zoom, the pan offset,
// the spin, and what a left drag does. Everything turns and zooms about the pivot, the centre
// of the model's box, which the scene puts at the world's origin; the published camera
// position is the camera's offset from it. Controls change it; the scene view only reads it.
// Time is passed in, so spinning can be tested without a clock.
import { Euler, MathUtils, Quaternion, Vector3 } from 'three';

// Zoom limits as multiples of the published camera distance, widened for models much smaller
// or larger than that distance, so that any model can be brought close and pushed far away.
const MIN_ZOOM = 0.01;
const MAX_ZOOM = 100;
const CLOSEST_IN_RADII = 0.05;
const FARTHEST_IN_RADII = 50;
const FALLBACK_CAMERA = [0, 0, 500];
const MODEL_UP = new Vector3(0, 1, 0);
const scratch = new Quaternion();

export class ViewState {
  // settings: the applet settings (modelPosition, fieldOfView, initRotAngle, initRotSpeed).
  constructor(settings) {
    const position = new Vector3(...settings.modelPosition);
    // A camera at the origin could not look at it; such a page gets the default position.
    this.cameraHome = position.lengthSq() > 1e-12 ? position : new Vector3(...FALLBACK_CAMERA);
    this.fieldOfView = settings.fieldOfView;
    // Roll about the view axis, yaw about the model's vertical, then pitch toward the viewer
    // about the screen's horizontal, so a turned and tilted model keeps a level horizon.
    const [yaw, pitch, roll] = settings.initRotAngle;
    this.initialRotation = new Quaternion().setFromEuler(
      new Euler(MathUtils.degToRad(pitch), MathUtils.degToRad(yaw), MathUtils.degToRad(roll), 'XYZ'));
    this.spinSpeed = settings.initRotSpeed.map(MathUtils.degToRad);
    // The camera never turns, so its axes are fixed. It looks along the Z axis towards the
    // model's plane, so X and Y of its position shift the picture instead of turning the view;
    // only a camera level with the pivot (Z of 0) looks at the pivot itself.
    this.forward = Math.abs(this.cameraHome.z) > 1e-9
      ? new Vector3(0, 0, -Math.sign(this.cameraHome.z))
      : this.cameraHome.clone().negate().normalize();
    const forward = this.forward;
    const worldUp = Math.abs(forward.y) > 0.999 ? new Vector3(0, 0, -1) : new Vector3(0, 1, 0);
    this.cameraRight = new Vector3().crossVectors(forward, worldUp).normalize();
    this.cameraUp = new Vector3().crossVectors(this.cameraRight, forward).normalize();
    this.dragMode = 'rotate';
    this.minZoom = MIN_ZOOM;
    this.maxZoom = MAX_ZOOM;
    this.rotation = new Quaternion();
    this.pan = new Vector3();
    this.zoom = 1;
    this.spinning = false;
    // Counts the turns of the model: the soft shadow depends on them alone.
    this.rotationVersion = 0;
    this.reset();
  }

  reset() {
    this.rotation.copy(this.initialRotation);
    this.pan.set(0, 0, 0);
    this.zoom = 1;
    this.spinning = this.spinSpeed.some((speed) => speed !== 0);
    this.rotationVersion++;
  }

  // The camera relative to the pivot (the centre of the model's box, at the world's origin):
  // zooming moves it along the line to the pivot, so the pivot keeps its place in the picture.
  cameraPosition(out = new Vector3()) {
    return out.copy(this.cameraHome).multiplyScalar(this.zoom);
  }

  // How far in front of the camera the pivot's plane lies.
  cameraDistance() {
    return Math.abs(this.cameraHome.dot(this.forward)) * this.zoom;
  }

  // World units per pixel in the plane through the pivot, for a view height in pixels.
  unitsPerPixel(viewHeight) {
    return (2 * this.cameraDistance() * Math.tan(MathUtils.degToRad(this.fieldOfView) / 2)) / Math.max(1, viewHeight);
  }

  // Turns the model as on a turntable: about its own vertical axis by aboutVertical (positive
  // moves its front to the right), and tilts it about the screen's horizontal axis by tilt
  // (positive brings its top towards the viewer), never beyond upright on its back or front:
  // within 90 degrees either way of the camera's up direction. Neither changes how far the
  // model leans sideways, so turns in any order never roll it onto its side. A user's turn
  // ends the spin.
  turn(aboutVertical, tilt) {
    const up = MODEL_UP.clone().applyQuaternion(this.rotation);
    // Upside down (a start angle beyond 90 degrees), the front still follows the pointer.
    const direction = up.dot(this.cameraUp) < 0 ? -1 : 1;
    this.rotation.multiply(scratch.setFromAxisAngle(MODEL_UP, aboutVertical * direction));
    const current = Math.atan2(-up.dot(this.forward), up.dot(this.cameraUp));
    const limit = Math.max(Math.PI / 2, Math.abs(current));
    const wanted = MathUtils.clamp(current + tilt, -limit, limit);
    this.rotation.premultiply(scratch.setFromAxisAngle(this.cameraRight, wanted - current)).normalize();
    this.spinning = false;
    this.rotationVersion++;
  }

  // A drag of dx, dy pixels in a view viewHeight pixels high: a drag over the full width or
  // height turns the model by half a turn (the tilt stops at its limit).
  rotateByDrag(dx, dy, viewHeight) {
    const perPixel = Math.PI / Math.max(1, viewHeight);
    this.turn(dx * perPixel, dy * perPixel);
  }

  // radius: of a sphere round the pivot holding the model.
  setModelRadius(radius) {
    if (!(radius > 0)) return;
    const home = this.cameraHome.length();
    this.minZoom = Math.min(MIN_ZOOM, (radius * CLOSEST_IN_RADII) / home);
    this.maxZoom = Math.max(MAX_ZOOM, (radius * FARTHEST_IN_RADII) / home);
  }

  zoomBy(factor) {
    this.zoom = MathUtils.clamp(this.zoom * factor, this.minZoom, this.maxZoom);
  }

  // Moves the model with the pointer: dx, dy in pixels (y downwards).
  panByPixels(dx, dy, viewHeight) {
    const units = this.unitsPerPixel(viewHeight) / this.zoom;
    this.pan.addScaledVector(this.cameraRight, dx * units).addScaledVector(this.cameraUp, -dy * units);
  }

  // Where the pan puts the pivot. The pan is kept as at the published distance and grows with
  // the camera's distance, so the model stays where the user moved it while zooming.
  panOffset(out = new Vector3()) {
    return out.copy(this.pan).multiplyScalar(this.zoom);
  }

  setDragMode(mode) {
    this.dragMode = mode;
  }

  // Advances the spin by seconds; returns whether anything moved.
  advance(seconds) {
    if (!this.spinning || seconds <= 0) return false;
    const [x, y, z] = this.spinSpeed;
    const step = new Quaternion().setFromEuler(new Euler(x * seconds, y * seconds, z * seconds, 'XYZ'));
    this.rotation.premultiply(step).normalize();
    this.rotationVersion++;
    return true;
  }
}
