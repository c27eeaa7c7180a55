// Draws the brick texture of the sample model (examples/house/brick.jpg).
// Usage: node scripts/make-sample-texture.mjs OUT.jpg   (needs the npm package jpeg-js)
import { writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const jpeg = require('jpeg-js');

const size = 256;
const rows = 8;            // brick courses
const bricksPerRow = 4;
const mortar = 3;          // pixels
const data = Buffer.alloc(size * size * 4);

// A small deterministic noise so the bricks do not look flat.
function noise(x, y) {
  const n = Math.sin(x * 12.9898 + y * 78.233) * 43758.5453;
  return n - Math.floor(n);
}

const courseHeight = size / rows;
const brickWidth = size / bricksPerRow;
for (let y = 0; y < size; y++) {
  const course = Math.floor(y / courseHeight);
  const offset = course % 2 === 0 ? 0 : brickWidth / 2;
  for (let x = 0; x < size; x++) {
    const bx = (x + offset) % brickWidth;
    const by = y % courseHeight;
    const brick = Math.floor((x + offset) / brickWidth) + course * 7;
    const inMortar = bx < mortar || by < mortar;
    let r, g, b;
    if (inMortar) {
      r = 200; g = 195; b = 185;
    } else {
      const tone = 0.85 + 0.15 * noise(brick, course) - 0.08 * noise(x, y);
      r = 170 * tone; g = 74 * tone; b = 52 * tone;
    }
    const i = (y * size + x) * 4;
    data[i] = r; data[i + 1] = g; data[i + 2] = b; data[i + 3] = 255;
  }
}
const out = jpeg.encode({ data, width: size, height: size }, 85);
writeFileSync(process.argv[2] ?? 'brick.jpg', out.data);
