// Reading the package's zip archive: the model file and the texture files, stored or deflated.
//
// Entry names are kept as bytes (held in "binary" strings, one character per byte): the names
// carry the package name and image base names in whatever code page the writer used, and they
// are only ever compared with other bytes from the same package, never displayed.
import { inflateSync } from 'fflate';

const END_OF_DIRECTORY = 0x06054b50;
const DIRECTORY_ENTRY = 0x02014b50;
const LOCAL_HEADER = 0x04034b50;
const END_RECORD_SIZE = 22;
const MAX_COMMENT = 0xffff;
const METHOD_STORED = 0;
const METHOD_DEFLATE = 8;
// Deflate expands at most about 1032 to 1 (258 bytes from a two-bit code); an entry that
// claims more is damaged, and must not make the reader reserve gigabytes for it.
const MAX_DEFLATE_RATIO = 1032;

export class ZipError extends Error {
  constructor(message) {
    super(message);
    this.name = 'ZipError';
  }
}

// One byte per character, so that names survive unchanged whatever their code page.
export function bytesToBinary(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 8192) {
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  }
  return text;
}

// The last component of an entry name; the writer separates folders with a backslash.
export function entryFileName(name) {
  const cut = Math.max(name.lastIndexOf('\\'), name.lastIndexOf('/'));
  return name.slice(cut + 1);
}

// CRC-32 four bytes at a time: tables[k][n] is the CRC of byte n followed by k zero bytes.
let crcTables = null;
function makeCrcTables() {
  const tables = new Int32Array(4 * 256);
  for (let n = 0; n < 256; n++) {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    tables[n] = c;
  }
  for (let n = 0; n < 256; n++) {
    for (let k = 1; k < 4; k++) {
      const previous = tables[(k - 1) * 256 + n];
      tables[k * 256 + n] = tables[previous & 255] ^ (previous >>> 8);
    }
  }
  return tables;
}

export function crc32(bytes) {
  crcTables ??= makeCrcTables();
  const t = crcTables;
  let crc = -1;
  let i = 0;
  for (const end = bytes.length - 3; i < end; i += 4) {
    crc ^= bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) | (bytes[i + 3] << 24);
    crc = t[768 + (crc & 255)] ^ t[512 + ((crc >>> 8) & 255)] ^ t[256 + ((crc >>> 16) & 255)] ^ t[crc >>> 24];
  }
  for (; i < bytes.length; i++) crc = t[(crc ^ bytes[i]) & 255] ^ (crc >>> 8);
  return (crc ^ -1) >>> 0;
}

// Whether the browser inflates raw deflate streams itself (much faster than in script).
function nativeInflation() {
  try {
    return typeof DecompressionStream === 'function' && Boolean(new DecompressionStream('deflate-raw'));
  } catch {
    return false;
  }
}

// Inflates stored (raw deflate) into an array of exactly size bytes; rejects a stream that
// gives more or fewer.
async function inflateNatively(stored, size) {
  const out = new Uint8Array(size);
  const reader = new Blob([stored]).stream().pipeThrough(new DecompressionStream('deflate-raw')).getReader();
  let at = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    if (at + value.length > size) {
      await reader.cancel();
      throw new Error('more bytes than the entry claims');
    }
    out.set(value, at);
    at += value.length;
  }
  if (at !== size) throw new Error(`${at} bytes where the entry claims ${size}`);
  return out;
}

function findEndRecord(view) {
  const last = view.byteLength - END_RECORD_SIZE;
  const first = Math.max(0, last - MAX_COMMENT);
  for (let at = last; at >= first; at--) {
    if (view.getUint32(at, true) === END_OF_DIRECTORY) return at;
  }
  throw new ZipError('not a zip archive (no end of central directory)');
}

export class ZipArchive {
  // bytes: the whole archive as a Uint8Array.
  constructor(bytes) {
    this.bytes = bytes;
    this.entries = [];
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (bytes.length < END_RECORD_SIZE) throw new ZipError('not a zip archive (too short)');
    const end = findEndRecord(view);
    const count = view.getUint16(end + 10, true);
    const directorySize = view.getUint32(end + 12, true);
    let at = view.getUint32(end + 16, true);
    if (at + directorySize > end) throw new ZipError('central directory lies outside the archive');
    for (let i = 0; i < count; i++) {
      if (at + 46 > end || view.getUint32(at, true) !== DIRECTORY_ENTRY) {
        throw new ZipError(`central directory entry ${i} is damaged`);
      }
      const nameLength = view.getUint16(at + 28, true);
      const extraLength = view.getUint16(at + 30, true);
      const commentLength = view.getUint16(at + 32, true);
      if (at + 46 + nameLength > end) throw new ZipError(`central directory entry ${i} is damaged`);
      this.entries.push({
        name: bytesToBinary(bytes.subarray(at + 46, at + 46 + nameLength)),
        method: view.getUint16(at + 10, true),
        crc: view.getUint32(at + 16, true),
        compressedSize: view.getUint32(at + 20, true),
        size: view.getUint32(at + 24, true),
        localHeader: view.getUint32(at + 42, true),
      });
      at += 46 + nameLength + extraLength + commentLength;
    }
  }

  // The first entry whose last name component equals fileName (bytes as a binary string).
  findByFileName(fileName) {
    return this.entries.find((entry) => entryFileName(entry.name) === fileName) ?? null;
  }

  // Whether reading the entry inflates it (into a new array), rather than giving a part of the
  // archive's bytes.
  isCompressed(entry) {
    return entry.method !== METHOD_STORED;
  }

  // The entry's stored bytes and how they are compressed.
  storedBytes(entry) {
    const view = new DataView(this.bytes.buffer, this.bytes.byteOffset, this.bytes.byteLength);
    const at = entry.localHeader;
    if (at + 30 > this.bytes.length || view.getUint32(at, true) !== LOCAL_HEADER) {
      throw new ZipError(`entry ${entryFileName(entry.name)}: local header is damaged`);
    }
    const start = at + 30 + view.getUint16(at + 26, true) + view.getUint16(at + 28, true);
    const end = start + entry.compressedSize;
    if (end > this.bytes.length) throw new ZipError(`entry ${entryFileName(entry.name)} is cut short`);
    if (entry.method !== METHOD_STORED && entry.method !== METHOD_DEFLATE) {
      throw new ZipError(`entry ${entryFileName(entry.name)} uses compression method ${entry.method}`);
    }
    if (entry.method === METHOD_DEFLATE && entry.size > entry.compressedSize * MAX_DEFLATE_RATIO + 64) {
      throw new ZipError(`entry ${entryFileName(entry.name)} claims ${entry.size} bytes from ${entry.compressedSize}`);
    }
    return this.bytes.subarray(start, end);
  }

  checked(entry, data) {
    if (data.length !== entry.size || crc32(data) !== entry.crc) {
      throw new ZipError(`entry ${entryFileName(entry.name)} is damaged (size or checksum differs)`);
    }
    return data;
  }

  // The entry's contents, checked against its size and CRC.
  read(entry) {
    const stored = this.storedBytes(entry);
    if (entry.method === METHOD_STORED) return this.checked(entry, stored);
    let data;
    try {
      data = inflateSync(stored, { out: new Uint8Array(entry.size) });
    } catch (error) {
      throw new ZipError(`entry ${entryFileName(entry.name)} cannot be inflated (${error.message})`);
    }
    return this.checked(entry, data);
  }

  // read(), inflating in the browser where it can (resolves to the same bytes).
  async readAsync(entry) {
    const stored = this.storedBytes(entry);
    if (entry.method === METHOD_STORED || !nativeInflation()) return this.read(entry);
    let data;
    try {
      data = await inflateNatively(stored, entry.size);
    } catch (error) {
      throw new ZipError(`entry ${entryFileName(entry.name)} cannot be inflated (${error.message})`);
    }
    return this.checked(entry, data);
  }
}
