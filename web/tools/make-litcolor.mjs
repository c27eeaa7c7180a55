// Draws LitColor.jpg, the ramp of cartoon shading: the viewer looks up the light falling on a
// surface (dark on the left, fully lit on the right) along the image's middle row. Three flat
// bands give the cel look; the shadow band is slightly cool so shaded sides do not turn muddy.
// Usage: node tools/make-litcolor.mjs OUT.jpg
import jpeg from 'jpeg-js';
import { writeFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const WIDTH = 256;
const HEIGHT = 16;
// [upper end of the band as a share of the width, red, green, blue]
const BANDS = [
  [0.42, 128, 133, 158],
  [0.62, 204, 204, 210],
  [1.0, 255, 255, 255],
];

export function drawLitColorRamp() {
  const data = Buffer.alloc(WIDTH * HEIGHT * 4);
  for (let x = 0; x < WIDTH; x++) {
    const at = (x + 0.5) / WIDTH;
    const [, r, g, b] = BANDS.find(([end]) => at <= end);
    for (let y = 0; y < HEIGHT; y++) {
      const i = (y * WIDTH + x) * 4;
      data[i] = r; data[i + 1] = g; data[i + 2] = b; data[i + 3] = 255;
    }
  }
  return jpeg.encode({ data, width: WIDTH, height: HEIGHT }, 95).data;
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  writeFileSync(process.argv[2] ?? 'LitColor.jpg', drawLitColorRamp());
}
