// The viewer settings of one applet block: its width, height and archive attributes and its
// param lines.
//
// The package writer leaves a line out when its value equals the line's default, so every
// missing line (and every value that cannot be read) means that default, which is the value
// at which the writer omits the line. Names and keywords are matched without regard to case,
// as applet parameters always were.

export const DEFAULTS = Object.freeze({
  width: 200,
  height: 200,
  archive: 'vtr.jar',
  model: '',
  modelPosition: [0, 0, 500],
  titleBackColor: 0x808080,
  titleLogoImage: '',
  progBarPosition: 0,
  progBarColor: 0x985d4d,
  progBarBorderColor: 0x808080,
  backColor: 0x706050,
  backImage: '',
  texFiltering: 'point',
  shadingMode: 'GOURAUD',
  fillMode: 'SOLID',
  lightingEnable: false,
  litDirection: [-1, -1, -1],
  litAmbient: [1, 1, 1],
  litDiffuse: [1, 1, 1],
  specularEnable: false,
  litSpecular: [1, 1, 1],
  softShadowEnable: false,
  softShadowDistance: 0,
  softShadowColor: 0x282828,
  edgePower: 0.5,
  bumpIntensity: 0.2,
  fieldOfView: 45,
  fullTimeFSAA: false,
  qualityOfAntiAlias: 'HIGH',
  initRotSpeed: [0, 0, 0],
  initRotAngle: [0, 0, 0],
  rotCtrlIcon: null,
  zomCtrlIcon: null,
  panCtrlIcon: null,
  rstCtrlIcon: null,
});

const NUMBER = /^\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?\s*$/;
const INTEGER = /^\s*[-+]?\d+\s*$/;

function number(text, fallback) {
  return text !== undefined && NUMBER.test(text) ? Number(text) : fallback;
}

function integer(text, fallback) {
  return text !== undefined && INTEGER.test(text) ? Math.trunc(Number(text)) : fallback;
}

function triple(text, fallback) {
  if (text === undefined) return fallback;
  const parts = text.split(',');
  if (parts.length !== 3) return fallback;
  const values = parts.map((part) => number(part, NaN));
  return values.some(Number.isNaN) ? fallback : values;
}

function colour(text, fallback) {
  return text !== undefined && /^\s*[0-9a-fA-F]{1,6}\s*$/.test(text) ? parseInt(text, 16) : fallback;
}

function keyword(text, choices, fallback) {
  if (text === undefined) return fallback;
  const upper = text.trim().toUpperCase();
  return choices.find((choice) => choice.toUpperCase() === upper) ?? fallback;
}

function flag(text) {
  return text !== undefined && text.trim().toLowerCase() === 'true';
}

// "name,x,y": the name may itself hold commas, so the two numbers are taken from the right.
function icon(text) {
  if (text === undefined) return null;
  const parts = text.split(',');
  if (parts.length < 3) return null;
  const y = integer(parts.pop(), NaN);
  const x = integer(parts.pop(), NaN);
  const image = parts.join(',').trim();
  if (image === '' || Number.isNaN(x) || Number.isNaN(y)) return null;
  return { image, x, y };
}

function positive(value, fallback) {
  return Number.isFinite(value) && value > 0 ? value : fallback;
}

// A view angle the camera can take: above 0 and below 180 degrees (beyond, the picture would
// turn upside down).
function viewAngle(value, fallback) {
  return value > 0 && value < 180 ? value : fallback;
}

// attributes: { width, height, archive } as strings (or undefined); params: Map or object of
// name -> value as the page holds them.
export function readAppletParams(attributes, params) {
  const byName = new Map();
  const entries = params instanceof Map ? params.entries() : Object.entries(params);
  for (const [name, value] of entries) {
    const key = name.toLowerCase();
    if (!byName.has(key)) byName.set(key, value);
  }
  const get = (name) => byName.get(name.toLowerCase());
  const d = DEFAULTS;
  return {
    width: positive(integer(attributes.width, d.width), d.width),
    height: positive(integer(attributes.height, d.height), d.height),
    archive: attributes.archive?.trim() || d.archive,
    model: get('Model')?.trim() ?? d.model,
    modelPosition: triple(get('ModelPosition'), d.modelPosition),
    titleBackColor: colour(get('TitleBackColor'), d.titleBackColor),
    titleLogoImage: get('TitleLogoImage')?.trim() ?? d.titleLogoImage,
    progBarPosition: integer(get('ProgBarPosition'), d.progBarPosition),
    progBarColor: colour(get('ProgBarColor'), d.progBarColor),
    progBarBorderColor: colour(get('ProgBarBorderColor'), d.progBarBorderColor),
    backColor: colour(get('BackColor'), d.backColor),
    backImage: get('BackImage')?.trim() ?? d.backImage,
    texFiltering: keyword(get('TexFiltering'), ['point', 'bilinear', 'trilinear'], d.texFiltering),
    shadingMode: keyword(get('ShadingMode'), ['FLAT', 'GOURAUD', 'PHONG', 'CARTOON'], d.shadingMode),
    fillMode: keyword(get('FillMode'), ['POINT', 'WIREFRAME', 'SOLID'], d.fillMode),
    lightingEnable: flag(get('LightingEnable')),
    litDirection: triple(get('LitDirection'), d.litDirection),
    litAmbient: triple(get('LitAmbient'), d.litAmbient),
    litDiffuse: triple(get('LitDiffuse'), d.litDiffuse),
    specularEnable: flag(get('SpecularEnable')),
    litSpecular: triple(get('LitSpecular'), d.litSpecular),
    softShadowEnable: flag(get('SoftShadowEnable')),
    softShadowDistance: number(get('SoftShadowDistance'), d.softShadowDistance),
    softShadowColor: colour(get('SoftShadowColor'), d.softShadowColor),
    edgePower: number(get('EdgePower'), d.edgePower),
    bumpIntensity: number(get('BumpIntensity'), d.bumpIntensity),
    fieldOfView: viewAngle(number(get('FieldOfView'), d.fieldOfView), d.fieldOfView),
    fullTimeFSAA: flag(get('FullTimeFSAA')),
    qualityOfAntiAlias: keyword(get('QualityOfAntiAlias'), ['LOW', 'MIDDLE', 'HIGH'], d.qualityOfAntiAlias),
    initRotSpeed: triple(get('InitRotSpeed'), d.initRotSpeed),
    initRotAngle: triple(get('InitRotAngle'), d.initRotAngle),
    rotCtrlIcon: icon(get('RotCtrlIcon')),
    zomCtrlIcon: icon(get('ZomCtrlIcon')),
    panCtrlIcon: icon(get('PanCtrlIcon')),
    rstCtrlIcon: icon(get('RstCtrlIcon')),
  };
}

// 0xRRGGBB as three floats 0..1.
export function colourToRgb(value) {
  return [((value >> 16) & 255) / 255, ((value >> 8) & 255) / 255, (value & 255) / 255];
}

export function colourToCss(value) {
  return `#${(value & 0xffffff).toString(16).padStart(6, '0')}`;
}
