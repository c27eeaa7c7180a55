// Every text that the viewer shows: Japanese first, English below it for visitors who do not
// read Japanese. {name} stands for a file name.

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
  canvasLabel: [
    '3D モデル {name}。ドラッグで回転、ホイールで拡大縮小、右ドラッグで移動、矢印キーで回転、ダブルクリックで元に戻します。',
    '3D model {name}. Drag to rotate, wheel to zoom, right-drag to move, arrow keys to rotate, double-click to reset.',
  ],
};

// The message's lines with {name} and {detail} filled in.
export function messageLines(key, values = {}) {
  return MESSAGES[key].map((line) => line.replace(/\{(\w+)\}/g, (all, field) => values[field] ?? all));
}
