// Image kinds that modellers use for textures and browsers cannot decode: TGA, DDS and the
// merged picture of a PSD. Pure: bytes in, { width, height, data } out, where data holds
// RGBA bytes, rows from the top, as the other images arrive from the browser's decoder.
//
// Every size, count and offset in a file is checked before it is used; a damaged or cut short
// file gives an ImageFormatError, never a read beyond its bytes.

// Beyond this many pixels an image would take hundreds of megabytes to hold; a file that
// claims more is damaged or no texture anyone can draw.
const MAX_PIXELS = 1 << 26;

export class ImageFormatError extends Error {
  constructor(message) {
    super(message);
    this.name = 'ImageFormatError';
  }
}

// No format read here packs more than 64 pixels into a byte (a run of 128 in two bytes), so a
// header that asks for far more than a file of its size can hold (twice that, with room for a
// tiny file) is refused before the pixels are allocated.
const MAX_PIXELS_PER_BYTE = 128;

function newImage(width, height, kind, fileBytes) {
  const pixels = width * height;
  if (!(width > 0 && height > 0) || pixels > MAX_PIXELS || pixels > fileBytes * MAX_PIXELS_PER_BYTE + 4096) {
    throw new ImageFormatError(`${kind} image of ${width} x ${height} pixels`);
  }
  return { width, height, data: new Uint8Array(width * height * 4) };
}

function need(bytes, end, kind) {
  if (end > bytes.length) throw new ImageFormatError(`${kind} file cut short (${bytes.length} of ${end} bytes)`);
}

// Colour channels of 5 bits (and fewer) spread over the full byte range.
const expand5 = (v) => (v << 3) | (v >> 2);
const expand6 = (v) => (v << 2) | (v >> 4);

// ---- TGA ----

const TGA_HEADER = 18;
const TGA_KINDS = { 1: 'mapped', 2: 'true', 3: 'grey', 9: 'mapped', 10: 'true', 11: 'grey' };

// TGA files have no magic number: a header whose fields all make sense is taken for one.
function looksLikeTga(bytes) {
  if (bytes.length < TGA_HEADER) return false;
  const mapType = bytes[1];
  const kind = TGA_KINDS[bytes[2]];
  const depth = bytes[16];
  const width = bytes[12] | (bytes[13] << 8);
  const height = bytes[14] | (bytes[15] << 8);
  if (!kind || mapType > 1 || width === 0 || height === 0) return false;
  if (kind === 'mapped') return mapType === 1 && (depth === 8 || depth === 16);
  if (kind === 'grey') return depth === 8 || depth === 16;
  return depth === 15 || depth === 16 || depth === 24 || depth === 32;
}

// Writes one TGA pixel value (its bytes at bytes[at..]) into out at o, as RGBA.
function tgaPixelWriter(kind, depth, palette) {
  if (kind === 'mapped') {
    return (bytes, at, out, o) => {
      const index = depth === 8 ? bytes[at] : bytes[at] | (bytes[at + 1] << 8);
      if (index < palette.length / 4) out.set(palette.subarray(index * 4, index * 4 + 4), o);
    };
  }
  if (kind === 'grey') {
    return (bytes, at, out, o) => {
      out[o] = out[o + 1] = out[o + 2] = bytes[at];
      out[o + 3] = depth === 16 ? bytes[at + 1] : 255;
    };
  }
  return (bytes, at, out, o) => writeTgaColour(bytes, at, depth, out, o);
}

function writeTgaColour(bytes, at, depth, out, o) {
  if (depth <= 16) {
    const v = bytes[at] | (bytes[at + 1] << 8);
    out[o] = expand5((v >> 10) & 31);
    out[o + 1] = expand5((v >> 5) & 31);
    out[o + 2] = expand5(v & 31);
    out[o + 3] = 255;
  } else {
    out[o] = bytes[at + 2];
    out[o + 1] = bytes[at + 1];
    out[o + 2] = bytes[at];
    out[o + 3] = depth === 32 ? bytes[at + 3] : 255;
  }
}

function readTgaPalette(bytes, at, first, length, entryBits) {
  const entryBytes = Math.ceil(entryBits / 8);
  if (![15, 16, 24, 32].includes(entryBits)) throw new ImageFormatError(`TGA colour map of ${entryBits}-bit entries`);
  need(bytes, at + length * entryBytes, 'TGA');
  // Indices count from the map's first entry number; entries below it stay black.
  const palette = new Uint8Array((first + length) * 4);
  for (let i = 0; i < length; i++) writeTgaColour(bytes, at + i * entryBytes, entryBits, palette, (first + i) * 4);
  return { palette, end: at + length * entryBytes };
}

export function decodeTga(bytes) {
  if (!looksLikeTga(bytes)) throw new ImageFormatError('not a TGA file');
  const word = (at) => bytes[at] | (bytes[at + 1] << 8);
  const type = bytes[2];
  const kind = TGA_KINDS[type];
  const depth = bytes[16];
  const width = word(12);
  const height = word(14);
  const descriptor = bytes[17];
  let at = TGA_HEADER + bytes[0];
  let palette = null;
  if (bytes[1] === 1) {
    ({ palette, end: at } = readTgaPalette(bytes, at, word(3), word(5), bytes[7]));
  }
  const image = newImage(width, height, 'TGA', bytes.length);
  const pixelBytes = Math.ceil(depth / 8);
  const write = tgaPixelWriter(kind, depth, palette);
  // The pixels in file order, into a buffer of the file's row order; rows are put the right
  // way round afterwards.
  const out = image.data;
  const count = width * height;
  if (type < 9) {
    need(bytes, at + count * pixelBytes, 'TGA');
    for (let p = 0; p < count; p++) write(bytes, at + p * pixelBytes, out, p * 4);
  } else {
    for (let p = 0; p < count;) {
      need(bytes, at + 1, 'TGA');
      const packet = bytes[at++];
      const run = (packet & 127) + 1;
      if (p + run > count) throw new ImageFormatError('TGA run beyond the image');
      if (packet & 128) {
        need(bytes, at + pixelBytes, 'TGA');
        write(bytes, at, out, p * 4);
        for (let k = 1; k < run; k++) out.copyWithin((p + k) * 4, p * 4, p * 4 + 4);
        at += pixelBytes;
      } else {
        need(bytes, at + run * pixelBytes, 'TGA');
        for (let k = 0; k < run; k++) write(bytes, at + k * pixelBytes, out, (p + k) * 4);
        at += run * pixelBytes;
      }
      p += run;
    }
  }
  if (depth === 32 || (kind === 'grey' && depth === 16)) opaqueWhenAlphaIsBlank(out);
  orient(image, (descriptor & 0x10) !== 0, (descriptor & 0x20) === 0);
  return image;
}

// Many writers store 32-bit pixels with an unused, zero, alpha byte: such an image is opaque.
function opaqueWhenAlphaIsBlank(data) {
  for (let i = 3; i < data.length; i += 4) if (data[i] !== 0) return;
  for (let i = 3; i < data.length; i += 4) data[i] = 255;
}

// Puts rows stored right to left or from the bottom the right way round, in place.
function orient({ width, height, data }, mirrored, bottomUp) {
  const row = width * 4;
  if (bottomUp) {
    const scratch = new Uint8Array(row);
    for (let top = 0, bottom = height - 1; top < bottom; top++, bottom--) {
      scratch.set(data.subarray(top * row, top * row + row));
      data.copyWithin(top * row, bottom * row, bottom * row + row);
      data.set(scratch, bottom * row);
    }
  }
  if (mirrored) {
    const words = new Uint32Array(data.buffer, data.byteOffset, width * height);
    for (let y = 0; y < height; y++) words.subarray(y * width, y * width + width).reverse();
  }
}

// ---- DDS ----

const DDS_HEADER = 128;
const DDPF_ALPHAPIXELS = 0x1;
const DDPF_ALPHA = 0x2;
const DDPF_FOURCC = 0x4;
const DDPF_RGB = 0x40;
const DDPF_LUMINANCE = 0x20000;
// DXGI formats of the extended header: block compressed and plain 8-bit RGBA / BGRA.
const DXGI_BLOCKS = { 71: 1, 72: 1, 74: 3, 75: 3, 77: 5, 78: 5 };
const DXGI_RGBA = [28, 29];
const DXGI_BGRA = [87, 91];
const DXGI_BGRX = [88, 93];

const fourCC = (view, at) => String.fromCharCode(view.getUint8(at), view.getUint8(at + 1), view.getUint8(at + 2), view.getUint8(at + 3));

export function decodeDds(bytes) {
  need(bytes, DDS_HEADER, 'DDS');
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  if (fourCC(view, 0) !== 'DDS ' || view.getUint32(4, true) !== 124) throw new ImageFormatError('not a DDS file');
  const height = view.getUint32(12, true);
  const width = view.getUint32(16, true);
  const flags = view.getUint32(80, true);
  const code = fourCC(view, 84);
  const image = newImage(width, height, 'DDS', bytes.length);
  if (flags & DDPF_FOURCC) {
    if (code === 'DX10') {
      need(bytes, DDS_HEADER + 20, 'DDS');
      const format = view.getUint32(DDS_HEADER, true);
      const start = DDS_HEADER + 20;
      if (DXGI_BLOCKS[format]) decodeBlocks(bytes, start, image, DXGI_BLOCKS[format]);
      else if (DXGI_RGBA.includes(format)) decodeMasked(view, start, image, 32, [0xff, 0xff00, 0xff0000, 0xff000000]);
      else if (DXGI_BGRA.includes(format)) decodeMasked(view, start, image, 32, [0xff0000, 0xff00, 0xff, 0xff000000]);
      else if (DXGI_BGRX.includes(format)) decodeMasked(view, start, image, 32, [0xff0000, 0xff00, 0xff, 0]);
      else throw new ImageFormatError(`DDS of DXGI format ${format}`);
      return image;
    }
    const variant = { DXT1: 1, DXT2: 3, DXT3: 3, DXT4: 5, DXT5: 5 }[code];
    if (!variant) throw new ImageFormatError(`DDS compressed as ${JSON.stringify(code)}`);
    decodeBlocks(bytes, DDS_HEADER, image, variant);
    return image;
  }
  const bits = view.getUint32(88, true);
  const masks = [92, 96, 100, 104].map((at) => view.getUint32(at, true));
  if (!(flags & (DDPF_ALPHAPIXELS | DDPF_ALPHA))) masks[3] = 0;
  if (flags & DDPF_LUMINANCE) masks[1] = masks[2] = masks[0];
  else if (flags & DDPF_ALPHA && !(flags & DDPF_RGB)) masks[0] = masks[1] = masks[2] = 0;
  if (![8, 16, 24, 32].includes(bits)) throw new ImageFormatError(`DDS of ${bits}-bit pixels`);
  decodeMasked(view, DDS_HEADER, image, bits, masks);
  return image;
}

// A channel given by a bit mask, scaled to 0..255 (a missing channel reads as full).
function maskChannel(mask) {
  if (mask === 0) return null;
  let shift = 0;
  while (((mask >>> shift) & 1) === 0) shift++;
  const max = mask >>> shift;
  return { shift, max };
}

function decodeMasked(view, start, image, bits, masks) {
  const { width, height, data } = image;
  const pixelBytes = bits / 8;
  const pitch = width * pixelBytes;
  if (start + pitch * height > view.byteLength) throw new ImageFormatError('DDS file cut short');
  const channels = masks.map(maskChannel);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const at = start + y * pitch + x * pixelBytes;
      let v = view.getUint8(at);
      for (let k = 1; k < pixelBytes; k++) v |= view.getUint8(at + k) << (8 * k);
      v >>>= 0;
      const o = (y * width + x) * 4;
      for (let c = 0; c < 4; c++) {
        const channel = channels[c];
        // No alpha mask: opaque; no colour masks (an alpha-only image): white.
        data[o + c] = channel ? Math.round((((v & masks[c]) >>> 0) >>> channel.shift) * 255 / channel.max) : 255;
      }
    }
  }
}

// Block compression: 4 x 4 pixel blocks of 8 bytes (DXT1) or 16 bytes (DXT3, DXT5: alpha first).
function decodeBlocks(bytes, start, image, variant) {
  const { width, height, data } = image;
  const blockBytes = variant === 1 ? 8 : 16;
  const across = Math.ceil(width / 4);
  const down = Math.ceil(height / 4);
  need(bytes, start + across * down * blockBytes, 'DDS');
  const colours = new Uint8Array(16);
  const alphas = new Uint8Array(16);
  for (let by = 0; by < down; by++) {
    for (let bx = 0; bx < across; bx++) {
      const at = start + (by * across + bx) * blockBytes;
      const colourAt = variant === 1 ? at : at + 8;
      blockColours(bytes, colourAt, variant === 1, colours);
      if (variant === 5) blockAlphas(bytes, at, alphas);
      const indices = (bytes[colourAt + 4] | (bytes[colourAt + 5] << 8) | (bytes[colourAt + 6] << 16) | (bytes[colourAt + 7] << 24)) >>> 0;
      for (let k = 0; k < 16; k++) {
        const x = bx * 4 + (k & 3);
        const y = by * 4 + (k >> 2);
        if (x >= width || y >= height) continue;
        const o = (y * width + x) * 4;
        const c = ((indices >>> (2 * k)) & 3) * 4;
        data[o] = colours[c]; data[o + 1] = colours[c + 1]; data[o + 2] = colours[c + 2];
        if (variant === 1) data[o + 3] = colours[c + 3];
        else if (variant === 3) data[o + 3] = ((bytes[at + (k >> 1)] >> ((k & 1) * 4)) & 15) * 17;
        else data[o + 3] = alphaOfBlock(bytes, at, k, alphas);
      }
    }
  }
}

// The four colours of a colour block as RGBA; DXT1 blocks whose first colour is not the
// larger have three colours and transparent black.
function blockColours(bytes, at, punchThrough, out) {
  const c0 = bytes[at] | (bytes[at + 1] << 8);
  const c1 = bytes[at + 2] | (bytes[at + 3] << 8);
  const rgb = (c) => [expand5(c >> 11), expand6((c >> 5) & 63), expand5(c & 31)];
  const a = rgb(c0);
  const b = rgb(c1);
  const three = punchThrough && c0 <= c1;
  for (let k = 0; k < 3; k++) {
    out[k] = a[k];
    out[4 + k] = b[k];
    out[8 + k] = three ? (a[k] + b[k] + 1) >> 1 : (2 * a[k] + b[k] + 1) / 3 | 0;
    out[12 + k] = three ? 0 : (a[k] + 2 * b[k] + 1) / 3 | 0;
  }
  out[3] = out[7] = out[11] = 255;
  out[15] = three ? 0 : 255;
}

// The eight alpha values of a DXT5 block.
function blockAlphas(bytes, at, out) {
  const a0 = bytes[at];
  const a1 = bytes[at + 1];
  out[0] = a0;
  out[1] = a1;
  if (a0 > a1) {
    for (let k = 1; k < 7; k++) out[k + 1] = ((7 - k) * a0 + k * a1 + 3) / 7 | 0;
  } else {
    for (let k = 1; k < 5; k++) out[k + 1] = ((5 - k) * a0 + k * a1 + 2) / 5 | 0;
    out[6] = 0;
    out[7] = 255;
  }
}

// Pixel k's alpha in a DXT5 block: 3-bit indices, 48 bits from byte 2 on.
function alphaOfBlock(bytes, at, k, alphas) {
  const bit = 3 * k;
  const byte = at + 2 + (bit >> 3);
  const pair = bytes[byte] | ((bytes[byte + 1] ?? 0) << 8);
  return alphas[(pair >> (bit & 7)) & 7];
}

// ---- PSD ----

const PSD_MODES = { 1: 'grey', 2: 'indexed', 3: 'rgb' };

// The merged picture that a PSD file keeps after its layers (written when the file is saved
// with maximised compatibility, as is the default): 8 or 16 bits per channel, raw or
// PackBits, in grey, indexed or RGB colour.
export function decodePsd(bytes) {
  need(bytes, 26, 'PSD');
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  if (fourCC(view, 0) !== '8BPS') throw new ImageFormatError('not a PSD file');
  const version = view.getUint16(4);
  if (version !== 1 && version !== 2) throw new ImageFormatError(`PSD version ${version}`);
  const large = version === 2;
  const channels = view.getUint16(12);
  const height = view.getUint32(14);
  const width = view.getUint32(18);
  const depth = view.getUint16(22);
  const mode = PSD_MODES[view.getUint16(24)];
  if (!mode) throw new ImageFormatError(`PSD in colour mode ${view.getUint16(24)}`);
  if (depth !== 8 && depth !== 16) throw new ImageFormatError(`PSD of ${depth} bits per channel`);
  let at = 26;
  const section = () => {
    need(bytes, at + 4, 'PSD');
    const start = at + 4;
    at = start + view.getUint32(at);
    need(bytes, at, 'PSD');
    return start;
  };
  const paletteAt = section();
  section(); // image resources
  const mergedAlpha = readPsdLayerCount(view, bytes, at, large) < 0;
  need(bytes, at + (large ? 8 : 4), 'PSD');
  at += (large ? 8 : 4) + (large ? Number(view.getBigUint64(at)) : view.getUint32(at));
  need(bytes, at + 2, 'PSD');
  const compression = view.getUint16(at);
  at += 2;
  const colourChannels = mode === 'rgb' ? 3 : 1;
  // An extra channel is the picture's transparency only when the layer section says so;
  // otherwise it is a saved selection.
  const used = Math.min(channels, colourChannels + (mergedAlpha ? 1 : 0));
  if (channels < colourChannels) throw new ImageFormatError(`PSD with ${channels} channels`);
  const image = newImage(width, height, 'PSD', bytes.length);
  const planes = readPsdPlanes(bytes, view, at, { width, height, channels, depth, compression, large }, used);
  const { data } = image;
  const count = width * height;
  for (let p = 0; p < count; p++) {
    const o = p * 4;
    if (mode === 'indexed') {
      const index = planes[0][p];
      for (let c = 0; c < 3; c++) data[o + c] = bytes[paletteAt + c * 256 + index] ?? 0;
    } else {
      for (let c = 0; c < 3; c++) data[o + c] = planes[mode === 'rgb' ? c : 0][p];
    }
    data[o + 3] = used > colourChannels ? planes[colourChannels][p] : 255;
  }
  return image;
}

// The layer count at the start of the layer section, or 0 when there is none.
function readPsdLayerCount(view, bytes, at, large) {
  const lengthBytes = large ? 8 : 4;
  if (at + 2 * lengthBytes + 2 > bytes.length) return 0;
  const sectionLength = large ? Number(view.getBigUint64(at)) : view.getUint32(at);
  const infoLength = large ? Number(view.getBigUint64(at + lengthBytes)) : view.getUint32(at + lengthBytes);
  if (sectionLength < lengthBytes + 2 || infoLength < 2) return 0;
  return view.getInt16(at + 2 * lengthBytes);
}

// The first `used` channels as planes of one byte per pixel (16-bit values keep their high byte).
function readPsdPlanes(bytes, view, at, { width, height, channels, depth, compression, large }, used) {
  const sampleBytes = depth / 8;
  const rowBytes = width * sampleBytes;
  const planes = [];
  const row = new Uint8Array(rowBytes);
  let counts = 0;
  if (compression === 1) {
    counts = at;
    at += channels * height * (large ? 4 : 2);
    need(bytes, at, 'PSD');
  } else if (compression !== 0) {
    throw new ImageFormatError(`PSD picture with compression ${compression}`);
  }
  for (let c = 0; c < used; c++) {
    const plane = new Uint8Array(width * height);
    for (let y = 0; y < height; y++) {
      if (compression === 0) {
        need(bytes, at + rowBytes, 'PSD');
        row.set(bytes.subarray(at, at + rowBytes));
        at += rowBytes;
      } else {
        const k = c * height + y;
        const length = large ? view.getUint32(counts + 4 * k) : view.getUint16(counts + 2 * k);
        need(bytes, at + length, 'PSD');
        unpackBits(bytes, at, at + length, row);
        at += length;
      }
      for (let x = 0; x < width; x++) plane[y * width + x] = row[x * sampleBytes];
    }
    planes.push(plane);
  }
  return planes;
}

// PackBits: a count n below 128 copies n + 1 bytes, above 128 repeats the next byte 257 - n
// times, 128 does nothing. A row that comes out short keeps zeros.
function unpackBits(bytes, at, end, out) {
  let o = 0;
  out.fill(0);
  while (at < end && o < out.length) {
    const n = bytes[at++];
    if (n < 128) {
      const run = Math.min(n + 1, end - at, out.length - o);
      out.set(bytes.subarray(at, at + run), o);
      at += n + 1;
      o += run;
    } else if (n > 128) {
      if (at >= end) break;
      const run = Math.min(257 - n, out.length - o);
      out.fill(bytes[at++], o, o + run);
      o += run;
    }
  }
}

// ---- Which kind ----

// The kind of an image from its first bytes: a type that browsers decode ('image/...'), one
// that this module decodes ('tga', 'dds', 'psd'), a known kind that neither decodes ('tiff',
// 'sgi'), or null.
export function imageKind(bytes) {
  const b = (i) => bytes[i];
  if (b(0) === 0xff && b(1) === 0xd8) return 'image/jpeg';
  if (b(0) === 0x89 && b(1) === 0x50 && b(2) === 0x4e && b(3) === 0x47) return 'image/png';
  if (b(0) === 0x47 && b(1) === 0x49 && b(2) === 0x46) return 'image/gif';
  if (b(0) === 0x42 && b(1) === 0x4d) return 'image/bmp';
  if (b(0) === 0x52 && b(1) === 0x49 && b(2) === 0x46 && b(3) === 0x46 && b(8) === 0x57 && b(9) === 0x45) return 'image/webp';
  if (b(0) === 0x44 && b(1) === 0x44 && b(2) === 0x53 && b(3) === 0x20) return 'dds';
  if (b(0) === 0x38 && b(1) === 0x42 && b(2) === 0x50 && b(3) === 0x53) return 'psd';
  if ((b(0) === 0x49 && b(1) === 0x49 && b(2) === 42 && b(3) === 0) || (b(0) === 0x4d && b(1) === 0x4d && b(2) === 0 && b(3) === 42)) return 'tiff';
  if (b(0) === 0x01 && b(1) === 0xda) return 'sgi';
  if (looksLikeTga(bytes)) return 'tga';
  return null;
}

const DECODERS = { tga: decodeTga, dds: decodeDds, psd: decodePsd };

// The decoder of this module for a kind that imageKind named, or null.
export function decoderFor(kind) {
  return DECODERS[kind] ?? null;
}

// The width and height an image file says it has, read from its header without decoding it,
// or null when the header does not tell (a kind not known here, a file cut short). The texture
// budget of a page is shared out by these sizes before anything is decoded.
export function imageSize(bytes) {
  const kind = imageKind(bytes);
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const has = (end) => end <= bytes.length;
  const size = (width, height) => (width > 0 && height > 0 ? { width, height } : null);
  switch (kind) {
    case 'image/png': return has(24) ? size(view.getUint32(16), view.getUint32(20)) : null;
    case 'image/gif': return has(10) ? size(view.getUint16(6, true), view.getUint16(8, true)) : null;
    case 'image/bmp': {
      if (!has(26)) return null;
      if (view.getUint32(14, true) === 12) return size(view.getUint16(18, true), view.getUint16(20, true));
      return size(Math.abs(view.getInt32(18, true)), Math.abs(view.getInt32(22, true)));
    }
    case 'image/jpeg': return jpegSize(bytes, view);
    case 'image/webp': return webpSize(bytes, view);
    case 'tga': return size(view.getUint16(12, true), view.getUint16(14, true));
    case 'dds': return has(20) ? size(view.getUint32(16, true), view.getUint32(12, true)) : null;
    case 'psd': return has(22) ? size(view.getUint32(18), view.getUint32(14)) : null;
    default: return null;
  }
}

// The frame header of a JPEG file: the first start-of-frame marker (C0 to CF but for the
// tables C4, C8 and CC) after the segments before it.
function jpegSize(bytes, view) {
  let at = 2;
  while (at + 9 <= bytes.length) {
    if (bytes[at] !== 0xff) return null;
    const marker = bytes[at + 1];
    if (marker === 0xff) { at++; continue; }
    if (marker >= 0xc0 && marker <= 0xcf && marker !== 0xc4 && marker !== 0xc8 && marker !== 0xcc) {
      const height = view.getUint16(at + 5), width = view.getUint16(at + 7);
      return width > 0 && height > 0 ? { width, height } : null;
    }
    if (marker === 0xd8 || (marker >= 0xd0 && marker <= 0xd7) || marker === 0x01) { at += 2; continue; }
    at += 2 + view.getUint16(at + 2);
  }
  return null;
}

// The canvas of a WebP file: lossy (VP8), lossless (VP8L) or extended (VP8X).
function webpSize(bytes, view) {
  if (bytes.length < 30) return null;
  const chunk = String.fromCharCode(bytes[12], bytes[13], bytes[14], bytes[15]);
  if (chunk === 'VP8 ') return { width: view.getUint16(26, true) & 0x3fff, height: view.getUint16(28, true) & 0x3fff };
  if (chunk === 'VP8L') {
    const bits = view.getUint32(21, true);
    return { width: (bits & 0x3fff) + 1, height: ((bits >>> 14) & 0x3fff) + 1 };
  }
  if (chunk === 'VP8X') {
    const u24 = (at) => bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16);
    return { width: u24(24) + 1, height: u24(27) + 1 };
  }
  return null;
}
