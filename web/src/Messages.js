// Every text that the viewer shows: Japanese first, English below it for visitors who do not
// read Japanese. {name} stands for a file name; {detail}, {kind} and {count} for what the
// message tells.

export const MESSAGES = {
  noWebGL: [
    'このブラウザーでは 3D 表示（WebGL 2）を使えません。',
    'This browser cannot show 3D graphics (WebGL 2 is unavailable). Use a current browser with hardware acceleration turned on.',
  ],
  contextLost: [
    '3D 表示が中断されました。ページを再読み込みしてください。',
    'The 3D view was interrupted by the graphics system. Reload the page.',
  ],
  missingFile: [
    '「{name}」が見つかりません。ページと同じフォルダーに置いてください。',
    '{name} was not found. Put it in the same folder as the page.',
  ],
  httpError: [
    '「{name}」を読み込めませんでした（{detail}）。',
    'Could not load {name} ({detail}).',
  ],
  damagedArchive: [
    'モデルのアーカイブ「{name}」が壊れています。パッケージを作り直してください。',
    'The model archive {name} is damaged ({detail}). Publish the package again.',
  ],
  noModelFile: [
    'アーカイブ「{name}」にモデルファイルがありません。パッケージを作り直してください。',
    'The archive {name} holds no model file. Publish the package again.',
  ],
  damagedModel: [
    'モデルファイル「{name}」が壊れています。パッケージを作り直してください。',
    'The model file {name} is damaged ({detail}). Publish the package again.',
  ],
  viewerError: [
    '3D 表示を始められませんでした（{detail}）。ページを再読み込みしてください。',
    'The 3D view could not start ({detail}). Reload the page.',
  ],
  noModelParam: [
    'ページにモデルの指定（Model）がありません。',
    'The page names no model archive (the Model parameter is missing).',
  ],
  noFaces: [
    '表示できる面がありません',
    'The model has no faces to show.',
  ],
  texturesNotShown: [
    '表示できない画像：{list}',
    'Images not shown: {list}',
  ],
  texturesReduced: [
    '縮小して表示した画像：{list}',
    'Images shown at reduced size: {list}',
  ],
  textureMissing: ['パッケージにない', 'not in the package'],
  textureTooLarge: ['画像が多すぎる', 'over the page\'s image budget'],
  textureUnreadable: ['{kind} を読めない', 'unreadable {kind}'],
  textureUnknown: ['形式が不明', 'unknown format'],
  moreTextures: ['ほか {count} 枚', '{count} more'],
  canvasLabel: [
    '3D モデル {name}。ドラッグで回転、ホイールで拡大縮小、右ドラッグで移動、矢印キーで回転、Shift と矢印キーで移動、ダブルクリックで元に戻します。',
    '3D model {name}. Drag to rotate, wheel to zoom, right-drag to move, arrow keys to rotate, Shift with arrow keys to move, double-click to reset.',
  ],
};

// The message's lines with the fields in braces filled in; a value may be a pair of a
// Japanese and an English text, one for each line.
export function messageLines(key, values = {}) {
  return MESSAGES[key].map((line, i) => line.replace(/\{(\w+)\}/g, (all, field) => {
    const value = values[field];
    return (Array.isArray(value) ? value[i] : value) ?? all;
  }));
}
