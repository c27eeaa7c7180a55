// Decoding images: the texture files of the archive (keyed image bytes) and the page's own
// images (title image, background image, control icons, the cartoon ramp).
import {
  ClampToEdgeWrapping, DataTexture, LinearFilter, LinearMipmapLinearFilter, NearestFilter, RepeatWrapping,
  RGBAFormat, Texture,
} from 'three';
import { ImageFormatError, decoderFor, imageKind } from './ImageFormats.js';

// Names of image kinds for messages.
const KIND_NAMES = {
  'image/jpeg': 'JPEG', 'image/png': 'PNG', 'image/gif': 'GIF', 'image/bmp': 'BMP', 'image/webp': 'WebP',
  tga: 'TGA', dds: 'DDS', psd: 'PSD', tiff: 'TIFF', sgi: 'SGI',
};

// An image that neither the browser nor the viewer decodes; kind names its format when the
// first bytes tell it (TIFF, a damaged TGA, ...), or is empty.
export class UndecodableImageError extends Error {
  constructor(kind, detail) {
    super(detail);
    this.name = 'UndecodableImageError';
    this.kind = kind;
  }
}

// Decodes image bytes: the kinds that browsers read by the browser, TGA, DDS and PSD here.
// Rejects with an UndecodableImageError.
export async function decodeImage(bytes) {
  const kind = imageKind(bytes);
  const kindName = KIND_NAMES[kind] ?? '';
  const decode = decoderFor(kind);
  // Unpremultiplied, so a transparent pixel keeps its colour and its zero alpha.
  const options = { premultiplyAlpha: 'none' };
  if (decode) {
    let image;
    try {
      image = decode(bytes);
    } catch (error) {
      if (!(error instanceof ImageFormatError)) throw error;
      throw new UndecodableImageError(kindName, error.message);
    }
    const pixels = new Uint8ClampedArray(image.data.buffer, image.data.byteOffset, image.data.length);
    return createImageBitmap(new ImageData(pixels, image.width, image.height), options);
  }
  const forBrowser = !kind || kind.startsWith('image/');
  if (!forBrowser) throw new UndecodableImageError(kindName, `${kindName} images cannot be shown`);
  try {
    return await createImageBitmap(new Blob([bytes], { type: kind ?? 'application/octet-stream' }), options);
  } catch (error) {
    throw new UndecodableImageError(kindName, String(error.message ?? error));
  }
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
