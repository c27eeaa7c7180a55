// Packages that vantor-cli publishes in this run, decoded as the viewer decodes them.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';
import { buildObject } from '../../src/MeshBuilder.js';
import { PackageReader } from '../../src/PackageReader.js';
import { cliPath, corpusFile, haveCli, sourceDir, tempFolder } from '../support/paths.mjs';

const skipWithoutCli = haveCli() ? false : `vantor-cli not built (${cliPath})`;
const HOUSE = join(sourceDir, 'examples', 'house', 'house.mqo');

function publish(model, name, level, folder) {
  execFileSync(cliPath, ['publish', model, '--out', folder, '--name', name, '--level', String(level), '--seed', '11'],
    { stdio: ['ignore', 'ignore', 'inherit'] });
  return new Uint8Array(readFileSync(join(folder, `${name}.zip`)));
}

const cp932 = (...bytes) => String.fromCharCode(...bytes);

test('the sample house, stored and deflated, decodes to its materials, objects and texture', { skip: skipWithoutCli }, () => {
  const { dir, cleanup } = tempFolder();
  try {
    for (const level of [0, 9]) {
      const reader = new PackageReader(publish(HOUSE, 'house', level, join(dir, `level${level}`)), './house.zip');
      assert.deepEqual(reader.archive.entries.map((e) => e.name), ['house\\brick.jpx', 'house\\house.qel']);
      assert.deepEqual(reader.archive.entries.map((e) => e.method), level ? [8, 8] : [0, 0]);
      const { materials, objects } = reader.model;
      // Names stay in the model's code page: "レンガ" in CP932.
      assert.equal(materials[0].name, cp932(0x83, 0x8c, 0x83, 0x93, 0x83, 0x4b));
      assert.equal(materials[0].textureMap, 'brick.jpx');
      assert.equal(materials[3].color[3], Math.fround(0.55), 'the window glass is translucent');
      assert.deepEqual(reader.textureBytes('brick.jpx'), new Uint8Array(readFileSync(join(sourceDir, 'examples', 'house', 'brick.jpg'))));
      assert.deepEqual(objects.map((o) => o.visible), [15, 15, 15, 15, 0], 'the guide object is hidden');
      const built = objects.map((o) => buildObject(o));
      assert.deepEqual(built.map((b) => b.visible), [true, true, true, true, false]);
      assert.deepEqual(built[1].reflections, [[-1, 1, 1]], 'the roof is mirrored across x = 0');
      const walls = built[0].batches[0];
      assert.ok(walls.uvs, 'the walls carry texture coordinates');
      assert.equal(walls.triangles.length / 3, 10);
      const glass = built[2].batches.find((b) => b.material === 3);
      assert.equal(glass.triangles.length / 3, 2 + 2 + 3, 'two quads and the pentagon');
    }
  } finally {
    cleanup();
  }
});

test('corpus models: mirrors on two axes, two-corner edges, a PNG texture', { skip: skipWithoutCli }, (t) => {
  const { dir, cleanup } = tempFolder();
  try {
    const mirrored = corpusFile('nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__mirrored_multiple_axes.mqo');
    const edges = corpusFile('nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__single_object_with_edge.mqo');
    const textured = corpusFile('nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__texture.mqo');
    const png = corpusFile('nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__texture.assets/texture.png');
    if (!mirrored || !edges || !textured || !png) {
      t.skip('shared corpus is missing');
      return;
    }
    const m = new PackageReader(publish(mirrored, 'mirrored', 9, dir), './mirrored.zip').model;
    assert.deepEqual([m.objects[0].mirror, m.objects[0].mirrorAxis], [2, 3]);
    assert.equal(buildObject(m.objects[0]).reflections.length, 3);

    const e = buildObject(new PackageReader(publish(edges, 'edges', 9, dir), './edges.zip').model.objects[0]);
    assert.equal(e.batches.reduce((n, b) => n + b.lines.length / 2, 0), 2);
    assert.equal(e.batches.reduce((n, b) => n + b.triangles.length / 3, 0), 12);

    // The texture lies beside the model, as its file name says.
    const folder = join(dir, 'textured');
    mkdirSync(folder);
    copyFileSync(textured, join(folder, 'texture.mqo'));
    copyFileSync(png, join(folder, 'texture.png'));
    const reader = new PackageReader(publish(join(folder, 'texture.mqo'), 'tex', 9, folder), './tex.zip');
    assert.equal(reader.model.materials[0].textureMap, 'texture.jpx');
    assert.deepEqual(reader.textureBytes('texture.jpx'), new Uint8Array(readFileSync(png)));
  } finally {
    cleanup();
  }
});

test('a map whose image was missing at publishing leaves the texture out, not the model', { skip: skipWithoutCli }, (t) => {
  const { dir, cleanup } = tempFolder();
  try {
    const textured = corpusFile('nutti__blender-mqo__tests__python__blender_mqo_test__mqo_files__texture.mqo');
    if (!textured) {
      t.skip('shared corpus is missing');
      return;
    }
    const folder = join(dir, 'lonely');
    mkdirSync(folder);
    copyFileSync(textured, join(folder, 'lonely.mqo'));
    const reader = new PackageReader(publish(join(folder, 'lonely.mqo'), 'lonely', 0, folder), './lonely.zip');
    assert.equal(reader.model.materials[0].textureMap, 'texture.jpx');
    assert.equal(reader.textureBytes('texture.jpx'), null);
    assert.equal(reader.archive.entries.length, 1);
  } finally {
    cleanup();
  }
});
