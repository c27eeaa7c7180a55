// The page template as the package writer's expander sees it.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';
import vm from 'node:vm';
import { webDir } from '../support/paths.mjs';

const template = readFileSync(join(webDir, 'template.html'), 'utf8');

test('every percent sign of the template is an insert or a doubled sign', () => {
  const escapes = template.match(/%./gs) ?? [];
  const allowed = new Set(['%1', '%2', '%%']);
  assert.deepEqual(escapes.filter((e) => !allowed.has(e)), [], 'a lone % would be eaten or end the page');
  assert.equal(template.split('%1').length - 1, 1, 'the applet block goes in once');
  assert.ok(template.includes('<title>%2</title>'));
});

test('the loader script compiles and finds applets by their viewer class', () => {
  const script = template.match(/<script>([\s\S]*?)<\/script>/)[1];
  assert.doesNotThrow(() => new vm.Script(script));
  assert.match(script, /qelviewer\.class/);
  assert.match(script, /QelViewer\.js/);
});

test('the template is UTF-8 text that declares itself so', () => {
  assert.ok(!template.includes('\uFFFD'));
  assert.match(template, /<meta charset="utf-8">/);
});
