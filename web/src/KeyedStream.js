// Undoing the keyed byte transform of model and texture files.
//
// A keyed file starts with four plain key bytes k0..k3; every later byte was written as
// b + offset(p) (mod 256), where p is its position after the header and the offset depends on
// p mod 256 only. So one table of 256 offsets per file undoes the whole file in one pass.

export const KEY_HEADER_SIZE = 4;

export class KeyedFileError extends Error {
  constructor(message) {
    super(message);
    this.name = 'KeyedFileError';
  }
}

// The 256 offsets that the writer added at positions p = 0..255 (mod 256) for this key.
export function keyOffsets(k0, k1, k2, k3) {
  const offsets = new Uint8Array(256);
  for (let n = 0; n < 256; n++) {
    const t0 = (k0 + n) & 255;
    const t1 = (k1 + n) & 255;
    const t2 = (k2 + n) & 255;
    const t3 = (k3 + n) & 255;
    // Only the low eight bits of each product matter; Math.imul keeps the products exact.
    const n2 = Math.imul(n, n) & 255;
    const n3 = Math.imul(n2, n) & 255;
    offsets[n] = (t0 + Math.imul(t1, n) + Math.imul(t2, n2) + Math.imul(t3, n3)) & 255;
  }
  return offsets;
}

const HIGH_BITS = 0x80808080;

// The plain stream of a keyed file (without its key header), as a new array; with inPlace,
// written over the file's own bytes (an array the caller owns and gives up, such as a freshly
// inflated entry), which saves a copy of the whole file. Works four bytes at a time: the stream
// starts at position 0 of an aligned word and the offsets repeat every 256 bytes, so one table
// of 64 words serves every word of the stream.
export function unkeyFile(file, { inPlace = false } = {}) {
  if (file.length < KEY_HEADER_SIZE) {
    throw new KeyedFileError(`keyed file of ${file.length} bytes has no key header`);
  }
  const offsets = keyOffsets(file[0], file[1], file[2], file[3]);
  const size = file.length - KEY_HEADER_SIZE;
  const aligned = file.byteOffset % 4 === 0;
  let plain;
  let words;
  let data;
  let shift;
  if (inPlace && aligned) {
    // Each word moves down by one (the header's four bytes) as it is undone.
    plain = file.subarray(0, size);
    words = size >>> 2;
    data = new Uint32Array(file.buffer, file.byteOffset, words + 1);
    shift = 1;
  } else {
    plain = new Uint8Array(size);
    plain.set(file.subarray(KEY_HEADER_SIZE));
    words = size >>> 2;
    data = new Uint32Array(plain.buffer, 0, words);
    shift = 0;
  }
  const table = new Uint32Array(offsets.buffer);
  for (let w = 0; w < words; w++) {
    // Byte-wise a - b without borrows between the bytes of the word.
    const a = data[w + shift];
    const b = table[w & 63];
    data[w] = ((a | HIGH_BITS) - (b & ~HIGH_BITS)) ^ ((a ^ ~b) & HIGH_BITS);
  }
  const tail = shift ? file.subarray(KEY_HEADER_SIZE) : plain;
  for (let p = words << 2; p < size; p++) plain[p] = tail[p] - offsets[p & 255];
  return plain;
}
