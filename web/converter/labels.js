// Puts the texts of the strings module into the page's elements.
import { ui } from './strings.js';

const texts = {
  subtitle: ui.subtitle, 'subtitle-en': ui.subtitleEn, 'l-open': ui.openFiles, 'l-folder': ui.openFolder,
  'l-drop': ui.drop, 'l-drop-en': ui.dropEn, 'model-info': ui.noModel, 'l-save': ui.downloadPackage.replace(/ \(zip\)$/, ''),
  'l-name': ui.packageName, 'b-package': ui.downloadPackage, 'b-standalone': ui.downloadStandalone, 'b-folder': ui.saveToFolder,
  'l-canvas': ui.groupCanvas, 'l-size': ui.canvasSize, 'l-back': ui.background, 'l-camera': ui.groupCamera,
  'l-pos': ui.modelPosition, 'fit-camera': ui.fitCamera, 'l-angles': ui.initialAngles, 'l-fov': ui.fieldOfView,
  'l-drawing': ui.groupDrawing, 'l-shade': ui.shading, 'l-fill': ui.fillMode, 'l-aa': ui.antiAlias,
  'l-aaq': ui.antiAliasQuality, 'l-shadow': ui.softShadow, 'l-light': ui.groupLight, 'l-lightcolor': ui.lightColor,
  'l-lightdir': ui.lightDirection, 'l-settings': ui.openSettings.replace(/を読み込み$/, ''),
  'l-load-settings': ui.openSettings, 'save-settings': ui.saveSettings,
};

export function applyLabels() {
  for (const [id, text] of Object.entries(texts)) document.getElementById(id).textContent = text;
  const fill = (key, items) => {
    const select = document.querySelector(`[data-key="${key}"]`);
    items.forEach((item, i) => select.append(new Option(item, String(i))));
  };
  fill('ShadingMode', ui.shadeItems);
  fill('FillMode', ui.fillItems);
  fill('QualityOfAntiAlias', ui.qualityItems);
}
