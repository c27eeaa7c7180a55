import assert from 'node:assert/strict';
import test from 'node:test';
import { ZipArchive, ZipError, crc32, entryFileName } from '../../src/ZipArchive.js';
import { makeZip } from '../support/fixtures.mjs';

const texture = Uint8Array.from({ length: 5000 }, (_, i) => (i * 7) & 255);
const model = new TextEncoder().encode('Qel1 and more'.repeat(100));

test('stored and deflated entries read back byte for byte under their backslash names', () => {
  for (const level of [0, 9]) {
    const archive = new ZipArchive(makeZip({ 'car\\wood.jpx': texture, 'car\\car.qel': model }, level));
    assert.deepEqual(archive.entries.map((e) => e.name), ['car\\wood.jpx', 'car\\car.qel']);
    assert.deepEqual(archive.entries.map((e) => e.method), level ? [8, 8] : [0, 0]);
    assert.deepEqual(archive.read(archive.findByFileName('wood.jpx')), texture);
    assert.deepEqual(archive.read(archive.findByFileName('car.qel')), model);
    assert.equal(archive.findByFileName('leaf.jpx'), null);
  }
});

test('entry names are compared as bytes, so names in any code page match', () => {
  // "レンガ.jpx" in CP932 bytes: the name as the model file carries it.
  const cp932 = [0x83, 0x8c, 0x83, 0x93, 0x83, 0x4b, 0x2e, 0x6a, 0x70, 0x78];
  const name = String.fromCharCode(...cp932);
  const bytes = makeZip({ x: texture }, 0);
  // Rename the single entry to "house\" + the CP932 name in both headers (same length as "x" + 10).
  const renamed = renameOnlyEntry(bytes, [0x68, 0x6f, 0x75, 0x73, 0x65, 0x5c, ...cp932]);
  const archive = new ZipArchive(renamed);
  assert.equal(entryFileName(archive.entries[0].name), name);
  assert.deepEqual(archive.read(archive.findByFileName(name)), texture);
});

test('the browser-side inflation reads what the script one does, and the checksum runs four bytes at a time', async () => {
  const archive = new ZipArchive(makeZip({ 'car\\wood.jpx': texture, 'car\\car.qel': model }, 9));
  for (const entry of archive.entries) assert.deepEqual(await archive.readAsync(entry), archive.read(entry));
  // The checksum against the plain one-byte-at-a-time definition, for every length round a word.
  const plainCrc = (bytes) => {
    let crc = ~0;
    for (const byte of bytes) {
      crc ^= byte;
      for (let k = 0; k < 8; k++) crc = crc & 1 ? 0xedb88320 ^ (crc >>> 1) : crc >>> 1;
    }
    return ~crc >>> 0;
  };
  for (let length = 0; length < 12; length++) assert.equal(crc32(texture.subarray(3, 3 + length)), plainCrc(texture.subarray(3, 3 + length)));
  assert.equal(crc32(texture), plainCrc(texture));
});

test('damage is reported as a ZipError, never as a wrong read', async () => {
  const bytes = makeZip({ 'p\\p.qel': model }, 9);
  assert.throws(() => new ZipArchive(new Uint8Array(10)), ZipError);
  assert.throws(() => new ZipArchive(new TextEncoder().encode('<html>not found</html>'.repeat(3))), ZipError);
  // Cut short: the end record is gone.
  assert.throws(() => new ZipArchive(bytes.subarray(0, bytes.length - 30)), ZipError);
  // A flipped byte inside the compressed data: inflating fails or the checksum differs.
  const flipped = bytes.slice();
  flipped[60] ^= 0x55;
  assert.throws(() => { const a = new ZipArchive(flipped); a.read(a.entries[0]); }, ZipError);
  await assert.rejects(async () => { const a = new ZipArchive(flipped); await a.readAsync(a.entries[0]); }, ZipError);
  // A stored entry with a changed byte fails the checksum.
  const stored = makeZip({ 'p\\p.qel': model }, 0);
  stored[50] ^= 1;
  assert.throws(() => { const a = new ZipArchive(stored); a.read(a.entries[0]); }, ZipError);
  // A deflated entry claiming far more bytes than its data can inflate to is refused before
  // anything is reserved for it.
  const boastful = bytes.slice();
  const view = new DataView(boastful.buffer);
  const directory = view.getUint32(boastful.length - 22 + 16, true);
  view.setUint32(directory + 24, 0xfffffff0, true);
  assert.throws(() => { const a = new ZipArchive(boastful); a.read(a.entries[0]); }, /claims 4294967280 bytes/);
  // An entry that inflates to more than it claims stops at the size it claims.
  const short = bytes.slice();
  new DataView(short.buffer).setUint32(directory + 24, model.length - 10, true);
  await assert.rejects(async () => { const a = new ZipArchive(short); await a.readAsync(a.entries[0]); }, /more bytes than the entry claims/);
});

// Rebuilds a one-entry archive with another entry name (local header, central directory and
// end record rewritten).
function renameOnlyEntry(bytes, nameBytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const oldLength = view.getUint16(26, true);
  const extra = view.getUint16(28, true);
  const size = view.getUint32(18, true);
  const local = bytes.subarray(0, 30);
  const data = bytes.subarray(30 + oldLength + extra, 30 + oldLength + extra + size);
  const central = bytes.subarray(30 + oldLength + extra + size);
  const centralView = new DataView(central.buffer, central.byteOffset, central.byteLength);
  const centralFixed = central.subarray(0, 46);
  const centralNameLength = centralView.getUint16(28, true);
  const centralRest = central.subarray(46 + centralNameLength);
  const out = new Uint8Array(30 + nameBytes.length + size + 46 + nameBytes.length + 22);
  out.set(local, 0);
  out.set(nameBytes, 30);
  new DataView(out.buffer).setUint16(26, nameBytes.length, true);
  new DataView(out.buffer).setUint16(28, 0, true);
  out.set(data, 30 + nameBytes.length);
  const cd = 30 + nameBytes.length + size;
  out.set(centralFixed, cd);
  const outView = new DataView(out.buffer);
  outView.setUint16(cd + 28, nameBytes.length, true);
  outView.setUint16(cd + 30, 0, true);
  outView.setUint16(cd + 32, 0, true);
  outView.setUint32(cd + 42, 0, true);
  out.set(nameBytes, cd + 46);
  const end = cd + 46 + nameBytes.length;
  out.set(centralRest.subarray(centralRest.length - 22), end);
  outView.setUint32(end + 12, 46 + nameBytes.length, true);
  outView.setUint32(end + 16, cd, true);
  outView.setUint16(end + 20, 0, true);
  return out;
}
