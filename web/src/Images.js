// Decoding images: the texture files of the archive (keyed image bytes) and the page's own
// images (title image, background image, control icons, the cartoon ramp).
import {
  ClampToEdgeWrapping, DataTexture, LinearFilter, LinearMipmapLinearFilter, NearestFilter, RepeatWrapping,
  RGBAFormat, Texture,
} from 'three';
import { ImageFormatError, decoderFor, imageKind, imageSize } from './ImageFormats.js';

// The decoded texture pixels that a page holds at most, together: 64 M pixels (256 MB as RGBA,
// a third more with their mipmaps). A few kilobytes of archive can hold images of hundreds of
// millions of pixels; past the budget, images are shown smaller, or not at all.
export const TEXTURE_PIXEL_BUDGET = 1 << 26;

// What is left of a number of pixels: each viewer takes its share before it decodes anything,
// and takes it in one step, so viewers loading side by side never take the same pixels twice.
export class PixelBudget {
  constructor(total) {
    this.left = total;
  }

  // Up to `wanted` pixels, as many as are left.
  take(wanted) {
    const granted = Math.min(this.left, Math.max(0, wanted));
    this.left -= granted;
    return granted;
  }

  // All of `pixels`, or nothing when fewer are left; whether they were taken.
  takeAll(pixels) {
    if (pixels > this.left) return false;
    this.left -= pixels;
    return true;
  }
}

// The texture budget of this page, shared by all its viewers.
export const pageTextureBudget = new PixelBudget(TEXTURE_PIXEL_BUDGET);

// The sizes at which to decode images of the given sizes (null where unknown, kept null) so
// that together they hold at most `budget` pixels: their own sizes when they fit, else all
// scaled by one factor, so that each keeps its share of the detail.
export function plannedSizes(sizes, budget) {
  let total = 0;
  for (const size of sizes) if (size) total += size.width * size.height;
  if (total <= budget) return sizes;
  const scale = Math.sqrt(budget / total);
  return sizes.map((size) => size && {
    width: Math.max(1, Math.floor(size.width * scale)),
    height: Math.max(1, Math.floor(size.height * scale)),
  });
}

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

// Decodes image bytes: the kinds that browsers read by the browser, TGA, DDS and PSD here;
// at the size `to` ({ width, height }) when given, else at the image's own. Rejects with an
// UndecodableImageError.
export async function decodeImage(bytes, to = null) {
  const kind = imageKind(bytes);
  const kindName = KIND_NAMES[kind] ?? '';
  const decode = decoderFor(kind);
  // Unpremultiplied, so a transparent pixel keeps its colour and its zero alpha.
  const options = { premultiplyAlpha: 'none' };
  if (to) Object.assign(options, { resizeWidth: to.width, resizeHeight: to.height, resizeQuality: 'high' });
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

// The texture files of a package ([name, bytes or null]) decoded one after the other within
// the budget: a decoded image may take hundreds of megabytes, and side by side eight of them
// would take gigabytes. The budget is shared out by the sizes the files' headers give; a file
// whose header tells nothing is decoded and kept only if it fits what is left. Resolves to
// { images: Map of name to decoded image or null, failures: [{ name, key, kind }] (message
// keys of the images not shown), reduced: [names of the images shown smaller] }.
export async function decodeTextureFiles(entries, budget = pageTextureBudget) {
  const sizes = entries.map(([, bytes]) => (bytes ? imageSize(bytes) : null));
  let wanted = 0;
  for (const size of sizes) if (size) wanted += size.width * size.height;
  const granted = budget.take(wanted);
  const planned = plannedSizes(sizes, granted);
  const images = new Map();
  const failures = [];
  const reduced = [];
  for (let i = 0; i < entries.length; i++) {
    const [name, bytes] = entries[i];
    images.set(name, null);
    if (!bytes) {
      failures.push({ name, key: 'textureMissing' });
      continue;
    }
    const size = sizes[i];
    if (size && granted === 0) {
      failures.push({ name, key: 'textureTooLarge' });
      continue;
    }
    const scaled = size !== null && (planned[i].width < size.width || planned[i].height < size.height);
    try {
      const image = await decodeImage(bytes, scaled ? planned[i] : null);
      if (!size && !budget.takeAll(image.width * image.height)) {
        image.close?.();
        failures.push({ name, key: 'textureTooLarge' });
        continue;
      }
      images.set(name, image);
      if (scaled) reduced.push(name);
    } catch (error) {
      console.warn(`Vantor viewer: texture ${name} not shown (${error.message ?? error})`);
      const kind = error.kind ?? '';
      failures.push({ name, key: kind ? 'textureUnreadable' : 'textureUnknown', kind });
    }
  }
  return { images, failures, reduced };
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
