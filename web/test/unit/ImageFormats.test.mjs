import assert from 'node:assert/strict';
import test from 'node:test';
import jpeg from 'jpeg-js';
import { ImageFormatError, decodeDds, decodePsd, decodeTga, decoderFor, imageKind, imageSize } from '../../src/ImageFormats.js';
import { PixelBudget, TEXTURE_PIXEL_BUDGET, plannedSizes } from '../../src/Images.js';
import { tgaImage } from '../support/models.mjs';

// A 5 x 3 image with a different colour and alpha in every pixel, and a run in its middle row.
const W = 5, H = 3;
const source = (x, y) => (y === 1 ? [200, 100, 50, 128] : [x * 50, y * 100, 255 - x * 40, 60 + x * 30 + y * 5]);
const expected = (depth) => {
  const out = [];
  for (let y = 0; y < H; y++) {
    for (let x = 0; x < W; x++) {
      const [r, g, b, a] = source(x, y);
      out.push(...(depth === 8 ? [r, r, r, 255] : [r, g, b, depth === 32 ? a : 255]));
    }
  }
  return out;
};

test('TGA: 8, 24 and 32 bits, plain and run-length encoded, from the bottom or the top, come out as RGBA from the top', () => {
  for (const depth of [8, 24, 32]) {
    for (const rle of [false, true]) {
      for (const topDown of [false, true]) {
        const file = tgaImage(W, H, source, { depth, rle, topDown });
        assert.equal(imageKind(file), 'tga');
        const image = decodeTga(file);
        assert.deepEqual([image.width, image.height], [W, H]);
        assert.deepEqual([...image.data], expected(depth), `depth ${depth}, rle ${rle}, top down ${topDown}`);
      }
    }
  }
  // Stored right to left, colour mapped through a 24-bit palette, and 32 bits with a blank alpha.
  const mirrored = tgaImage(2, 1, (x) => [x * 100, 0, 0, 255], { topDown: true });
  mirrored[17] |= 0x10;
  assert.deepEqual([...decodeTga(mirrored).data], [100, 0, 0, 255, 0, 0, 0, 255]);
  const mapped = Buffer.from([0, 1, 1, 0, 0, 2, 0, 24, 0, 0, 0, 0, 2, 0, 1, 0, 8, 0x20, 255, 0, 0, 0, 255, 0, 1, 0]);
  assert.deepEqual([...decodeTga(mapped).data], [0, 255, 0, 255, 0, 0, 255, 255]);
  const blank = tgaImage(2, 1, () => [9, 8, 7, 0], { depth: 32 });
  assert.deepEqual([...decodeTga(blank).data], [9, 8, 7, 255, 9, 8, 7, 255], 'an unused alpha byte means opaque');
});

test('damaged TGA, DDS and PSD files give an error, not a read beyond their bytes', () => {
  const whole = tgaImage(W, H, source, { depth: 32, rle: true });
  for (const cut of [whole.length - 1, 30, 19]) assert.throws(() => decodeTga(whole.subarray(0, cut)), ImageFormatError);
  const overrun = tgaImage(2, 1, () => [1, 2, 3, 4], { depth: 32, rle: true });
  overrun[18] = 0x80 | 5; // a run of six pixels in an image of two
  assert.throws(() => decodeTga(overrun), ImageFormatError);
  const huge = tgaImage(1, 1, () => [0, 0, 0, 0]);
  huge.writeUInt16LE(65535, 12);
  huge.writeUInt16LE(65535, 14);
  assert.throws(() => decodeTga(huge), /65535 x 65535/);
  huge.writeUInt16LE(4096, 12); // within the size limit, but far more than 23 bytes can hold
  huge.writeUInt16LE(4096, 14);
  assert.throws(() => decodeTga(huge), /4096 x 4096/);
  assert.throws(() => decodeDds(dds({ width: 8, height: 8, fourCC: 'DXT5', data: new Uint8Array(16) })), ImageFormatError);
  const psdFile = psd({ width: 2, height: 2, channels: [[1, 2, 3, 4], [1, 2, 3, 4], [1, 2, 3, 4]] });
  assert.throws(() => decodePsd(psdFile.subarray(0, psdFile.length - 1)), ImageFormatError);
  assert.equal(imageKind(Buffer.from('II*\0more')), 'tiff');
  assert.equal(imageKind(Buffer.from([0x01, 0xda, 1, 1])), 'sgi');
  assert.equal(decoderFor('tiff'), null);
  assert.equal(imageKind(Buffer.from([0xff, 0xd8, 0xff])), 'image/jpeg');
});

// A DDS file: the 128-byte header and the pixel data.
function dds({ width, height, fourCC = null, bits = 32, masks = [0, 0, 0, 0], alpha = true, data }) {
  const header = new DataView(new ArrayBuffer(128));
  [...'DDS '].forEach((c, i) => header.setUint8(i, c.charCodeAt(0)));
  header.setUint32(4, 124, true);
  header.setUint32(12, height, true);
  header.setUint32(16, width, true);
  header.setUint32(76, 32, true);
  if (fourCC) {
    header.setUint32(80, 0x4, true);
    [...fourCC].forEach((c, i) => header.setUint8(84 + i, c.charCodeAt(0)));
  } else {
    header.setUint32(80, 0x40 | (alpha ? 0x1 : 0), true);
    header.setUint32(88, bits, true);
    masks.forEach((mask, i) => header.setUint32(92 + 4 * i, mask, true));
  }
  return Buffer.concat([Buffer.from(header.buffer), Buffer.from(data)]);
}

test('DDS: masked pixels, and DXT1, DXT3 and DXT5 blocks, clipped to the image size', () => {
  const bgra = dds({ width: 2, height: 1, masks: [0xff0000, 0xff00, 0xff, 0xff000000], data: [3, 2, 1, 4, 30, 20, 10, 40] });
  assert.equal(imageKind(bgra), 'dds');
  assert.deepEqual([...decodeDds(bgra).data], [1, 2, 3, 4, 10, 20, 30, 40]);
  const rgb565 = dds({ width: 1, height: 1, bits: 16, masks: [0xf800, 0x7e0, 0x1f, 0], alpha: false, data: [0x1f, 0xf8] });
  assert.deepEqual([...decodeDds(rgb565).data], [255, 0, 255, 255]);
  // One colour block: red and blue ends; rows of indices 0, 1, 2, 3 (the two blends).
  const colours = [0x00, 0xf8, 0x1f, 0x00, 0x00, 0x55, 0xaa, 0xff];
  const row = (image, y) => [0, 1, 2].map((x) => [...image.data.subarray((y * 3 + x) * 4, (y * 3 + x) * 4 + 4)]);
  const dxt1 = decodeDds(dds({ width: 3, height: 4, fourCC: 'DXT1', data: colours }));
  assert.deepEqual(row(dxt1, 0)[0], [255, 0, 0, 255]);
  assert.deepEqual(row(dxt1, 1)[1], [0, 0, 255, 255]);
  assert.deepEqual(row(dxt1, 2)[2], [170, 0, 85, 255]);
  assert.deepEqual(row(dxt1, 3)[0], [85, 0, 170, 255]);
  // Colour ends swapped: three colours and transparent black at index 3.
  const punch = decodeDds(dds({ width: 3, height: 4, fourCC: 'DXT1', data: [0x1f, 0x00, 0x00, 0xf8, 0x00, 0x55, 0xaa, 0xff] }));
  assert.deepEqual(row(punch, 2)[0], [128, 0, 128, 255]);
  assert.deepEqual(row(punch, 3)[0], [0, 0, 0, 0]);
  // DXT3: explicit 4-bit alphas; DXT5: alpha 255 to 0 in seven steps, index 1 for every pixel.
  const dxt3 = decodeDds(dds({ width: 3, height: 4, fourCC: 'DXT3', data: [0x21, 0, 0, 0, 0, 0, 0, 0xf0, ...colours] }));
  assert.deepEqual([dxt3.data[3], dxt3.data[7], dxt3.data[(3 * 3 + 2) * 4 + 3]], [17, 34, 0]);
  const ones = [0b01001001, 0b10010010, 0b00100100, 0b01001001, 0b10010010, 0b00100100];
  const dxt5 = decodeDds(dds({ width: 3, height: 4, fourCC: 'DXT5', data: [255, 0, ...ones, ...colours] }));
  for (let p = 0; p < 12; p++) assert.equal(dxt5.data[p * 4 + 3], 0, `pixel ${p}`);
  const ramp = decodeDds(dds({ width: 3, height: 4, fourCC: 'DXT5', data: [255, 0, 0, 0, 0, 0, 0, 0, ...colours] }));
  assert.equal(ramp.data[3], 255);
});

// A PSD file of 8-bit planes (channels: one array per channel), raw or PackBits rows; with a
// layer section saying whether the extra channel is the merged transparency.
function psd({ width, height, mode = 3, channels, rle = false, mergedAlpha = false }) {
  const u16 = (v) => [v >> 8, v & 255];
  const u32 = (v) => [v >>> 24, (v >> 16) & 255, (v >> 8) & 255, v & 255];
  const layers = mergedAlpha ? [...u32(6), ...u32(2), ...u16(0xffff)] : u32(0);
  const bytes = [...Buffer.from('8BPS'), ...u16(1), 0, 0, 0, 0, 0, 0, ...u16(channels.length), ...u32(height), ...u32(width),
    ...u16(8), ...u16(mode), ...u32(0), ...u32(0), ...layers, ...u16(rle ? 1 : 0)];
  if (!rle) {
    for (const plane of channels) bytes.push(...plane);
  } else {
    const rows = channels.flatMap((plane) => Array.from({ length: height }, (_, y) => {
      const values = plane.slice(y * width, y * width + width);
      // One literal packet per row, except a row of one value: a repeat.
      return values.every((v) => v === values[0]) ? [257 - width, values[0]] : [width - 1, ...values];
    }));
    for (const packed of rows) bytes.push(...u16(packed.length));
    for (const packed of rows) bytes.push(...packed);
  }
  return Buffer.from(bytes);
}

test('PSD: the merged picture, raw or PackBits, with its transparency only where the layers say so', () => {
  const planes = [[10, 20, 30, 40], [50, 50, 50, 50], [90, 80, 70, 60], [0, 255, 128, 7]];
  for (const rle of [false, true]) {
    const withAlpha = decodePsd(psd({ width: 2, height: 2, channels: planes, rle, mergedAlpha: true }));
    assert.deepEqual([...withAlpha.data], [10, 50, 90, 0, 20, 50, 80, 255, 30, 50, 70, 128, 40, 50, 60, 7], `rle ${rle}`);
  }
  const selection = decodePsd(psd({ width: 2, height: 2, channels: planes }));
  assert.deepEqual([...selection.data.subarray(0, 4)], [10, 50, 90, 255], 'a saved selection is no transparency');
  const grey = decodePsd(psd({ width: 2, height: 1, mode: 1, channels: [[5, 250]] }));
  assert.deepEqual([...grey.data], [5, 5, 5, 255, 250, 250, 250, 255]);
  assert.equal(imageKind(psd({ width: 1, height: 1, channels: [[0], [0], [0]] })), 'psd');
});

test('image sizes come from the headers of every kind, and a header that does not tell gives null', () => {
  const jpegFile = jpeg.encode({ data: Buffer.alloc(37 * 21 * 4, 128), width: 37, height: 21 }, 80).data;
  const png = Buffer.from('89504e470d0a1a0a0000000d49484452000020000000100008060000001f15c489', 'hex');
  const gif = Buffer.from('474946383961400b0e00f70000', 'hex');
  const bmp = Buffer.alloc(54);
  bmp.write('BM', 0, 'latin1');
  bmp.writeUInt32LE(40, 14);
  bmp.writeInt32LE(300, 18);
  bmp.writeInt32LE(-200, 22); // rows from the top
  const sizes = [jpegFile, png, gif, bmp, tgaImage(7, 9, () => [0, 0, 0, 255]), dds({ width: 6, height: 4, data: new Uint8Array(96) }),
    psd({ width: 3, height: 5, channels: [new Array(15).fill(0), new Array(15).fill(0), new Array(15).fill(0)] })]
    .map((file) => imageSize(new Uint8Array(file)));
  assert.deepEqual(sizes.map((s) => s && [s.width, s.height]), [[37, 21], [8192, 4096], [2880, 14], [300, 200], [7, 9], [6, 4], [3, 5]]);
  assert.equal(imageSize(new Uint8Array(jpegFile.subarray(0, 20))), null, 'a JPEG cut before its frame header');
  assert.equal(imageSize(new Uint8Array(png.subarray(0, 20))), null, 'a PNG cut inside its header');
  assert.equal(imageSize(new Uint8Array([1, 2, 3, 4])), null);
});

test('the texture budget: images that fit keep their size, more are all scaled by one factor, and viewers share what is left', () => {
  const big = { width: 8192, height: 8192 };
  assert.deepEqual(plannedSizes([{ width: 64, height: 32 }, null], 4096), [{ width: 64, height: 32 }, null]);
  const eight = plannedSizes(new Array(8).fill(big), TEXTURE_PIXEL_BUDGET);
  const total = eight.reduce((sum, s) => sum + s.width * s.height, 0);
  assert.ok(total <= TEXTURE_PIXEL_BUDGET && total > TEXTURE_PIXEL_BUDGET * 0.99, `${total} pixels`);
  assert.deepEqual(eight[0], eight[7]);
  const [wide] = plannedSizes([{ width: 4000, height: 100 }], 100000);
  assert.ok(Math.abs(wide.width / wide.height - 40) < 0.5, 'the shape is kept');
  const page = new PixelBudget(1000);
  assert.equal(page.take(600), 600);
  assert.equal(page.take(600), 400, 'the second viewer gets what is left');
  assert.equal(page.take(10), 0);
  assert.equal(page.takeAll(1), false);
});
