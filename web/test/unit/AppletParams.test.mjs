import assert from 'node:assert/strict';
import test from 'node:test';
import { DEFAULTS, colourToCss, colourToRgb, readAppletParams } from '../../src/AppletParams.js';

const attributes = { width: '200', height: '200', archive: 'vtr.jar' };

test('a block with only the Model line means every value at which its line is left out', () => {
  const settings = readAppletParams(attributes, new Map([['Model', './house.zip']]));
  const { model, ...rest } = settings;
  assert.equal(model, './house.zip');
  const { model: _, ...defaults } = DEFAULTS;
  assert.deepEqual(rest, defaults);
  // The values the writer omits, not the editor's start-up values.
  assert.deepEqual(settings.modelPosition, [0, 0, 500]);
  assert.equal(settings.titleBackColor, 0x808080);
  assert.equal(settings.backColor, 0x706050);
  assert.equal(settings.softShadowColor, 0x282828);
  assert.equal(settings.texFiltering, 'point');
  assert.equal(settings.shadingMode, 'GOURAUD');
  assert.equal(settings.fillMode, 'SOLID');
  assert.equal(settings.lightingEnable, false);
  assert.equal(settings.qualityOfAntiAlias, 'HIGH');
});

test('every line as the writer prints it', () => {
  const params = new Map(Object.entries({
    Model: './car.zip', ModelPosition: '0.00,-12.50,500.50', TitleBackColor: 'ffffff',
    TitleLogoImage: './logo.gif', ProgBarPosition: '120', ProgBarColor: '4d5d98', ProgBarBorderColor: '000000',
    BackColor: '7f7f7f', BackImage: './sky.jpg', TexFiltering: 'trilinear', ShadingMode: 'CARTOON',
    FillMode: 'WIREFRAME', LightingEnable: 'true', LitDirection: '1.00,-0.50,0.25', LitAmbient: '0.50,0.50,0.50',
    LitDiffuse: '1.00,0.90,0.80', SpecularEnable: 'true', LitSpecular: '0.00,0.00,1.00', SoftShadowEnable: 'true',
    SoftShadowDistance: '3.00', SoftShadowColor: '0000ff', EdgePower: '0.80', BumpIntensity: '0.35',
    FieldOfView: '30', FullTimeFSAA: 'true', QualityOfAntiAlias: 'LOW', InitRotSpeed: '0,-1,30',
    InitRotAngle: '45,-10,5', RotCtrlIcon: 'rot.gif,5,7', ZomCtrlIcon: 'zoom.gif,-3,40',
    PanCtrlIcon: 'pan.gif,0,0', RstCtrlIcon: 'reset.gif,100,2',
  }));
  const s = readAppletParams({ width: '640', height: '480', archive: 'vtr.jar' }, params);
  assert.deepEqual([s.width, s.height, s.archive, s.model], [640, 480, 'vtr.jar', './car.zip']);
  assert.deepEqual(s.modelPosition, [0, -12.5, 500.5]);
  assert.deepEqual([s.titleBackColor, s.titleLogoImage, s.progBarPosition, s.progBarColor, s.progBarBorderColor],
    [0xffffff, './logo.gif', 120, 0x4d5d98, 0]);
  assert.deepEqual([s.backColor, s.backImage, s.texFiltering, s.shadingMode, s.fillMode],
    [0x7f7f7f, './sky.jpg', 'trilinear', 'CARTOON', 'WIREFRAME']);
  assert.deepEqual([s.lightingEnable, s.litDirection, s.litAmbient, s.litDiffuse, s.specularEnable, s.litSpecular],
    [true, [1, -0.5, 0.25], [0.5, 0.5, 0.5], [1, 0.9, 0.8], true, [0, 0, 1]]);
  assert.deepEqual([s.softShadowEnable, s.softShadowDistance, s.softShadowColor, s.edgePower, s.bumpIntensity],
    [true, 3, 0xff, 0.8, 0.35]);
  assert.deepEqual([s.fieldOfView, s.fullTimeFSAA, s.qualityOfAntiAlias, s.initRotSpeed, s.initRotAngle],
    [30, true, 'LOW', [0, -1, 30], [45, -10, 5]]);
  assert.deepEqual([s.rotCtrlIcon, s.zomCtrlIcon, s.panCtrlIcon, s.rstCtrlIcon], [
    { image: 'rot.gif', x: 5, y: 7 }, { image: 'zoom.gif', x: -3, y: 40 },
    { image: 'pan.gif', x: 0, y: 0 }, { image: 'reset.gif', x: 100, y: 2 }]);
});

test('the other enumeration values and the switches written as anything but "true"', () => {
  const read = (entries) => readAppletParams(attributes, new Map(Object.entries(entries)));
  assert.equal(read({ TexFiltering: 'bilinear' }).texFiltering, 'bilinear');
  assert.equal(read({ ShadingMode: 'FLAT' }).shadingMode, 'FLAT');
  assert.equal(read({ ShadingMode: 'PHONG' }).shadingMode, 'PHONG');
  assert.equal(read({ FillMode: 'POINT' }).fillMode, 'POINT');
  assert.equal(read({ QualityOfAntiAlias: 'MIDDLE' }).qualityOfAntiAlias, 'MIDDLE');
  // Applet parameter names and keywords never depended on letter case.
  assert.equal(read({ shadingmode: 'cartoon' }).shadingMode, 'CARTOON');
  assert.equal(read({ LightingEnable: 'false' }).lightingEnable, false);
  assert.equal(read({ LightingEnable: 'TRUE' }).lightingEnable, true);
});

test('values that cannot be read fall back to their defaults, one field at a time', () => {
  const s = readAppletParams({ width: 'wide', height: '-5' }, new Map(Object.entries({
    ModelPosition: '1,2', BackColor: 'zz0000', FieldOfView: '0', ProgBarPosition: '1.5', ShadingMode: 'GLOSSY',
    LitDirection: '1,a,2', RotCtrlIcon: 'rot.gif,5', ZomCtrlIcon: 'z.gif,x,1', EdgePower: '', InitRotSpeed: '0,10,0',
  })));
  assert.deepEqual([s.width, s.height, s.archive], [200, 200, 'vtr.jar']);
  assert.deepEqual(s.modelPosition, [0, 0, 500]);
  assert.equal(s.backColor, 0x706050);
  assert.equal(s.fieldOfView, 45);
  assert.equal(s.progBarPosition, 0);
  assert.equal(s.shadingMode, 'GOURAUD');
  assert.deepEqual(s.litDirection, [-1, -1, -1]);
  assert.equal(s.rotCtrlIcon, null);
  assert.equal(s.zomCtrlIcon, null);
  assert.equal(s.edgePower, 0.5);
  assert.deepEqual(s.initRotSpeed, [0, 10, 0]);
  const angle = (value) => readAppletParams(attributes, new Map([['FieldOfView', value]])).fieldOfView;
  assert.deepEqual(['180', '200', '-30', '179'].map(angle), [45, 45, 45, 179]);
});

test('an icon image whose name holds commas keeps them', () => {
  const s = readAppletParams(attributes, new Map([['PanCtrlIcon', 'a,b.gif,12,34']]));
  assert.deepEqual(s.panCtrlIcon, { image: 'a,b.gif', x: 12, y: 34 });
});

test('colours convert from the page form', () => {
  assert.deepEqual(colourToRgb(0xff8000), [1, 128 / 255, 0]);
  assert.equal(colourToCss(0x0000ff), '#0000ff');
  assert.equal(colourToCss(0x706050), '#706050');
});
