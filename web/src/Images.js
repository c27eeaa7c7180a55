// Decoding images: the texture files of the archive (keyed image bytes) and the page's own
// images (title image, background image, control icons, the cartoon ramp).
import {
  ClampToEdgeWrapping, DataTexture, LinearFilter, LinearMipmapLinearFilter, NearestFilter, RepeatWrapping,
  RGBAFormat, Texture,
} from 'three';

// The image type from the first bytes, so the decoder gets a fitting Blob type.
export function sniffImageType(bytes) {
  if (bytes[0] === 0xff && bytes[1] === 0xd8) return 'image/jpeg';
  if (bytes[0] === 0x47 && bytes[1] === 0x49 && bytes[2] === 0x46) return 'image/gif';
  if (bytes[0] === 0x89 && bytes[1] === 0x50 && bytes[2] === 0x4e && bytes[3] === 0x47) return 'image/png';
  if (bytes[0] === 0x42 && bytes[1] === 0x4d) return 'image/bmp';
  return 'application/octet-stream';
}

// Rejects when the browser cannot decode the bytes.
export function decodeImage(bytes) {
  const blob = new Blob([bytes], { type: sniffImageType(bytes) });
  // Unpremultiplied, so a transparent pixel keeps its colour and its zero alpha.
  return createImageBitmap(blob, { premultiplyAlpha: 'none' });
}

// A texture of a decoded image for a material map. Texture coordinates address the image with
// v running downwards, as the image rows do, so the image is uploaded unflipped.
export function createMapTexture(image, filtering) {
  const texture = new Texture(image);
  texture.flipY = false;
  texture.wrapS = RepeatWrapping;
  texture.wrapT = RepeatWrapping;
  if (filtering === 'point') {
    texture.magFilter = NearestFilter;
    texture.minFilter = NearestFilter;
    texture.generateMipmaps = false;
  } else if (filtering === 'bilinear') {
    texture.magFilter = LinearFilter;
    texture.minFilter = LinearFilter;
    texture.generateMipmaps = false;
  } else {
    texture.magFilter = LinearFilter;
    texture.minFilter = LinearMipmapLinearFilter;
    texture.generateMipmaps = true;
  }
  texture.needsUpdate = true;
  return texture;
}

// The cartoon ramp (dark on the left, lit on the right), read along its middle row.
export function createRampTexture(image) {
  const texture = new Texture(image);
  texture.flipY = false;
  texture.wrapS = ClampToEdgeWrapping;
  texture.wrapT = ClampToEdgeWrapping;
  texture.magFilter = LinearFilter;
  texture.minFilter = LinearFilter;
  texture.generateMipmaps = false;
  texture.needsUpdate = true;
  return texture;
}

// Three plain bands, for a page whose LitColor.jpg is missing: cartoon shading still works.
export function createFallbackRamp() {
  const data = new Uint8Array(4 * 3);
  [128, 204, 255].forEach((value, i) => data.set([value, value, value, 255], i * 4));
  const texture = new DataTexture(data, 3, 1, RGBAFormat);
  texture.magFilter = NearestFilter;
  texture.minFilter = NearestFilter;
  texture.needsUpdate = true;
  return texture;
}

// The background image stretched over the view. The background plane's v runs upwards, so the
// texture matrix turns the unflipped image the right way up.
export function createBackgroundTexture(image) {
  const texture = new Texture(image);
  texture.flipY = false;
  texture.repeat.set(1, -1);
  texture.offset.set(0, 1);
  texture.magFilter = LinearFilter;
  texture.minFilter = LinearFilter;
  texture.generateMipmaps = false;
  texture.needsUpdate = true;
  return texture;
}
