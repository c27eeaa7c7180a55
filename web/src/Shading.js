// The viewer's shading: one shader for surfaces, lines and points, specialised by defines for
// the shading mode (flat, Gouraud, Phong, cartoon), lighting, specular light and the maps a
// material has; plus the cartoon outline and the copy pass of the anti-aliased image.
//
// Colours are used as the model gives them, with no colour-space conversion: the material
// colours, the light colours and the images are all display values.
import { BackSide, FrontSide, ShaderMaterial, Vector2, Vector3, Vector4 } from 'three';

// How much of a material's ambient factor the ambient light contributes, so that a usual
// material (diffuse 0.8, ambient 0.6) runs from dark on its unlit side to full brightness
// facing the light.
const AMBIENT_LEVEL = 0.25;
// Bump heights are image values 0..1; this makes the default intensity 0.2 clearly visible.
const BUMP_SCALE = 5;
const OUTLINE_PIXELS = 1.5;

// A 2 by 2 plane drawn straight onto the whole target, for image passes.
export const FULLSCREEN_VERTEX =
  'varying vec2 vUv; void main() { vUv = uv; gl_Position = vec4(position.xy, 0.0, 1.0); }';

const LIGHTING_CHUNK = /* glsl */ `
uniform vec3 uLightDir;
uniform vec3 uLitAmbient;
uniform vec3 uLitDiffuse;
uniform vec3 uLitSpecular;
uniform vec4 uColor;
uniform float uDif;
uniform float uAmb;
uniform float uSpc;
uniform float uPower;
uniform float uEmi;
const float AMBIENT_LEVEL = ${AMBIENT_LEVEL.toFixed(3)};

// Light reaching a point with normal n, seen along toEye (both in view space, unit length).
void lightAt(vec3 n, vec3 toEye, out vec3 diffuseLight, out vec3 specularLight) {
  float nl = dot(n, uLightDir);
  diffuseLight = uAmb * AMBIENT_LEVEL * uLitAmbient + uDif * max(nl, 0.0) * uLitDiffuse + vec3(uEmi);
  specularLight = vec3(0.0);
#ifdef QEL_SPECULAR
  if (nl > 0.0) {
    vec3 h = normalize(uLightDir + toEye);
    specularLight = uSpc * pow(max(dot(n, h), 0.0), max(uPower, 1.0)) * uLitSpecular;
  }
#endif
}
`;

const VERTEX_SHADER = /* glsl */ `
${LIGHTING_CHUNK}
uniform float uPointSize;
varying vec3 vViewPos;
varying vec3 vNormal;
varying vec2 vUv;
varying vec3 vDiffuseLight;
varying vec3 vSpecularLight;

void main() {
  vec4 viewPos = modelViewMatrix * vec4(position, 1.0);
  vViewPos = viewPos.xyz;
  vNormal = normalize(normalMatrix * normal);
#ifdef QEL_UV
  vUv = uv;
#endif
#if defined(QEL_GOURAUD) && defined(QEL_LIGHTING)
  lightAt(vNormal, normalize(-viewPos.xyz), vDiffuseLight, vSpecularLight);
#endif
  gl_Position = projectionMatrix * viewPos;
#ifdef QEL_POINTS
  gl_PointSize = uPointSize;
#endif
}
`;

const FRAGMENT_SHADER = /* glsl */ `
${LIGHTING_CHUNK}
uniform sampler2D uMap;
uniform sampler2D uAlphaMap;
uniform sampler2D uBumpMap;
uniform sampler2D uEnvMap;
uniform sampler2D uRamp;
uniform float uBumpScale;
uniform float uEnvPower;
varying vec3 vViewPos;
varying vec3 vNormal;
varying vec2 vUv;
varying vec3 vDiffuseLight;
varying vec3 vSpecularLight;

#ifdef QEL_BUMPMAP
// Tilts the normal along the slope of the height image (screen-space derivatives, so no
// tangents are needed).
vec3 bumpedNormal(vec3 n) {
  vec2 dUvX = dFdx(vUv);
  vec2 dUvY = dFdy(vUv);
  float h = texture2D(uBumpMap, vUv).r;
  float dHx = uBumpScale * (texture2D(uBumpMap, vUv + dUvX).r - h);
  float dHy = uBumpScale * (texture2D(uBumpMap, vUv + dUvY).r - h);
  vec3 sigmaX = dFdx(vViewPos);
  vec3 sigmaY = dFdy(vViewPos);
  vec3 r1 = cross(sigmaY, n);
  vec3 r2 = cross(n, sigmaX);
  float det = dot(sigmaX, r1);
  vec3 gradient = sign(det) * (dHx * r1 + dHy * r2);
  return normalize(abs(det) * n - gradient);
}
#endif

void main() {
  vec4 base = uColor;
#ifdef QEL_MAP
  vec4 texel = texture2D(uMap, vUv);
  // Transparent pixels of an image (a GIF's transparent colour) cut the surface out.
  if (texel.a < 0.5) discard;
  base.rgb *= texel.rgb;
#endif
#ifdef QEL_ALPHAMAP
  vec4 mask = texture2D(uAlphaMap, vUv);
  base.a *= dot(mask.rgb, vec3(1.0 / 3.0)) * mask.a;
#endif
  if (base.a < 0.004) discard;

#ifdef QEL_FLAT
  vec3 n = normalize(cross(dFdx(vViewPos), dFdy(vViewPos)));
#else
  vec3 n = normalize(vNormal);
#endif
#ifdef QEL_BUMPMAP
  n = bumpedNormal(n);
#endif
  vec3 toEye = normalize(-vViewPos);
  vec3 color = base.rgb;
#ifdef QEL_LIGHTING
  vec3 diffuseLight;
  vec3 specularLight;
#if defined(QEL_GOURAUD)
  diffuseLight = vDiffuseLight;
  specularLight = vSpecularLight;
#elif defined(QEL_CARTOON)
  float nl = dot(n, uLightDir);
  vec3 ramp = texture2D(uRamp, vec2(clamp(nl * 0.5 + 0.5, 0.0, 1.0), 0.5)).rgb;
  // The ramp stands for the light falling on the surface; the ambient light adds as elsewhere.
  diffuseLight = ramp * uDif * uLitDiffuse + uAmb * AMBIENT_LEVEL * uLitAmbient + vec3(uEmi);
  specularLight = vec3(0.0);
#ifdef QEL_SPECULAR
  vec3 h = normalize(uLightDir + toEye);
  specularLight = uSpc * step(0.5, pow(max(dot(n, h), 0.0), max(uPower, 1.0))) * uLitSpecular;
#endif
#else
  lightAt(n, toEye, diffuseLight, specularLight);
#endif
  color = base.rgb * diffuseLight + specularLight;
#endif
#ifdef QEL_ENVMAP
  // Sphere-mapped reflection, mixed in by the material's environment strength.
  vec3 r = reflect(-toEye, n);
  float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
  vec2 envUv = vec2(r.x / m + 0.5, 0.5 - r.y / m);
  color = mix(color, texture2D(uEnvMap, envUv).rgb, clamp(uEnvPower, 0.0, 1.0));
#endif
  gl_FragColor = vec4(color, base.a);
}
`;

// Uniforms shared by every material of a viewer: the light and a few view-wide values.
export function createSceneUniforms() {
  return {
    uLightDir: { value: new Vector3(0, 0, 1) },
    uLitAmbient: { value: new Vector3(1, 1, 1) },
    uLitDiffuse: { value: new Vector3(1, 1, 1) },
    uLitSpecular: { value: new Vector3(1, 1, 1) },
    uBumpScale: { value: 1 },
    uPointSize: { value: 3 },
    uRamp: { value: null },
    uViewport: { value: new Vector2(1, 1) },
    uOutlineWidth: { value: OUTLINE_PIXELS },
  };
}

export function applySettingsToUniforms(uniforms, settings) {
  uniforms.uLitAmbient.value.set(...settings.litAmbient);
  uniforms.uLitDiffuse.value.set(...settings.litDiffuse);
  uniforms.uLitSpecular.value.set(...settings.litSpecular);
  uniforms.uBumpScale.value = settings.bumpIntensity * BUMP_SCALE;
}

// kind: 'surface', 'lines' or 'points'. material: a parsed material (or MATERIAL_DEFAULTS);
// maps: { map, alphaMap, bumpMap, envMap } textures or null; settings: applet settings.
export function createMaterial(kind, material, maps, settings, sceneUniforms) {
  const defines = {};
  const surface = kind === 'surface';
  const mode = settings.shadingMode;
  // Lines and points show the material's plain colour: lit, the edges of unlit sides would
  // fade into the background.
  if (surface && settings.lightingEnable) defines.QEL_LIGHTING = '';
  if (settings.specularEnable) defines.QEL_SPECULAR = '';
  if (kind === 'points') defines.QEL_POINTS = '';
  const hasUv = surface && maps.hasUv;
  const bump = hasUv && maps.bumpMap && settings.lightingEnable;
  if (!surface || mode === 'GOURAUD') defines.QEL_GOURAUD = '';
  if (surface && mode === 'FLAT') defines.QEL_FLAT = '';
  if (surface && mode === 'CARTOON') defines.QEL_CARTOON = '';
  // A bump map needs the light per pixel; under Gouraud shading such a material is lit per
  // pixel too (as Phong) so that its relief shows.
  if (bump && mode === 'GOURAUD') delete defines.QEL_GOURAUD;
  if (hasUv) defines.QEL_UV = '';
  if (hasUv && maps.map) defines.QEL_MAP = '';
  if (hasUv && maps.alphaMap) defines.QEL_ALPHAMAP = '';
  if (bump) defines.QEL_BUMPMAP = '';
  if (surface && maps.envMap) defines.QEL_ENVMAP = '';

  const [r, g, b, a] = material.color;
  const transparent = a < 0.999 || Boolean(defines.QEL_ALPHAMAP);
  return new ShaderMaterial({
    name: `qel-${kind}`,
    defines,
    uniforms: {
      ...sceneUniforms,
      uColor: { value: new Vector4(r, g, b, a) },
      uDif: { value: material.diffuse },
      uAmb: { value: material.ambient },
      uSpc: { value: material.specular },
      uPower: { value: material.power },
      uEmi: { value: material.emission },
      uEnvPower: { value: material.envPower },
      uMap: { value: maps.map ?? null },
      uAlphaMap: { value: maps.alphaMap ?? null },
      uBumpMap: { value: maps.bumpMap ?? null },
      uEnvMap: { value: maps.envMap ?? null },
    },
    vertexShader: VERTEX_SHADER,
    fragmentShader: FRAGMENT_SHADER,
    side: FrontSide,
    transparent,
    depthWrite: !transparent,
  });
}

const OUTLINE_VERTEX = /* glsl */ `
attribute vec3 smoothNormal;
uniform vec2 uViewport;
uniform float uOutlineWidth;

void main() {
  vec4 clip = projectionMatrix * modelViewMatrix * vec4(position, 1.0);
  vec4 clipNormal = projectionMatrix * vec4(normalize(normalMatrix * smoothNormal), 0.0);
  vec2 direction = clipNormal.xy / max(length(clipNormal.xy), 1e-5);
  // Pushes the hull out by a fixed number of pixels whatever the distance.
  clip.xy += direction * uOutlineWidth * 2.0 / uViewport * clip.w;
  gl_Position = clip;
}
`;

const OUTLINE_FRAGMENT = /* glsl */ `
uniform float uDarkness;
void main() {
  gl_FragColor = vec4(0.0, 0.0, 0.0, uDarkness);
}
`;

// Cartoon outlines: the back faces of the surface pushed outwards, drawn in black whose
// opacity is the edge power (0 none, 1 solid).
export function createOutlineMaterial(edgePower, sceneUniforms) {
  const darkness = Math.min(1, Math.max(0, edgePower));
  return new ShaderMaterial({
    name: 'qel-outline',
    uniforms: {
      uViewport: sceneUniforms.uViewport,
      uOutlineWidth: sceneUniforms.uOutlineWidth,
      uDarkness: { value: darkness },
    },
    vertexShader: OUTLINE_VERTEX,
    fragmentShader: OUTLINE_FRAGMENT,
    side: BackSide,
    // Kept a little behind the surface in depth, so the hull never shows through the faces
    // it lies under where they meet at a hard edge.
    polygonOffset: true,
    polygonOffsetFactor: 1,
    polygonOffsetUnits: 4,
    transparent: darkness < 1,
    depthWrite: darkness >= 1,
  });
}

// Draws a texture over the whole target (the resolved anti-aliased image).
export function createCopyMaterial(texture) {
  return new ShaderMaterial({
    name: 'qel-copy',
    uniforms: { uSource: { value: texture } },
    vertexShader: FULLSCREEN_VERTEX,
    fragmentShader: 'uniform sampler2D uSource; varying vec2 vUv; void main() { gl_FragColor = texture2D(uSource, vUv); }',
    depthTest: false,
    depthWrite: false,
  });
}
