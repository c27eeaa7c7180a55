// Every text the converter page shows: Japanese first, as the editor words it, with an English
// line beneath where a message explains something.

export const ui = {
  title: 'Vantor Converter',
  subtitle: 'ブラウザで変換 — ファイルはこのコンピューターから出ません',
  subtitleEn: 'Converts in your browser; no file leaves this computer.',
  openFiles: 'モデルと画像を開く',
  openFolder: 'フォルダを開く',
  openSettings: 'シーン情報を読み込み',
  saveSettings: 'シーン情報を保存',
  drop: 'MQO ファイル (.mqo, .mqoz) と画像、またはフォルダをここにドロップ',
  dropEn: 'Drop an MQO model (.mqo, .mqoz) with its images, or a whole folder, here.',
  noModel: 'モデルがまだありません',
  noModelEn: 'No model yet.',
  reading: 'MQOファイルを読み込んでいます',
  readingEn: 'Reading the model',
  building: 'プレビューを作成しています',
  buildingEn: 'Building the preview',
  modelInfo: (m) => `オブジェクト ${m.objects} ・ 材質 ${m.materials} ・ 頂点 ${m.vertices} ・ 面 ${m.faces}`,
  missingImages: '見つからない画像',
  missingImagesEn: 'Images not found beside the model; the package is written without them:',
  allImagesFound: (n) => `画像 ${n} 個はすべて見つかりました`,
  noModelFile: 'MQOファイルがありません',
  noModelFileEn: 'None of these files is an MQO model (.mqo or .mqoz).',
  severalModels: (name) => `複数のモデルがあります。${name} を開きました`,
  severalModelsEn: (name) => `Several models were given; ${name} is the one opened.`,
  packageName: '出力ファイル名',
  downloadPackage: 'パッケージを保存 (zip)',
  downloadStandalone: '1ファイルのページを保存',
  saveToFolder: 'フォルダに保存',
  saved: 'VTRファイルを保存しました',
  groupCanvas: 'キャンバス',
  groupCamera: 'カメラ',
  groupDrawing: '描画',
  groupLight: 'ライト',
  groupShadow: 'シャドウ',
  canvasSize: 'キャンバスサイズ',
  background: '背景色',
  modelPosition: 'カメラの位置',
  fitCamera: '合わせる',
  fitNothing: '描画するものがありません。カメラの位置はそのままです',
  fitNothingEn: 'The model draws nothing; the camera stays where it was.',
  initialAngles: '初期角度',
  fieldOfView: '視野角',
  shading: '陰影方式',
  fillMode: '描画方式',
  antiAlias: '常時アンチエイリアスの有効',
  antiAliasQuality: 'アンチエイリアス品質',
  softShadow: '影の有効',
  lightColor: '拡散光色',
  lightDirection: '光線方向',
  shadeItems: ['FLAT', 'GOURAUD', 'PHONG', 'CARTOON'],
  fillItems: ['POINT', 'WIREFRAME', 'SOLID'],
  qualityItems: ['LOW', 'MIDDLE', 'HIGH'],
  outOfMemory: 'メモリが足りないため、ファイルを読み込めません',
  outOfMemoryEn: 'The browser could not give the converter enough memory for this file.',
  coreFailed: '変換プログラムを起動できませんでした',
  coreFailedEn: 'The converter could not start in this browser.',
  saveFailed: 'フォルダに保存できませんでした',
  saveFailedEn: 'The files could not be written into that folder:',
};

// The reader's failures, as the editor gives them.
export function readFailure(result) {
  switch (result.code) {
    case 1:
      return { ja: 'MQOファイルを開くことができません。', en: 'The file cannot be opened.' };
    case 2:
      return { ja: '１オブジェクト中の頂点数が65536を超えるファイルは取り扱えません。', en: 'An object has more than 65536 vertices.' };
    default:
      return {
        ja: 'MQOファイルの読み込みに失敗しました',
        en: result.message + (result.line > 0 ? ` (line ${result.line})` : ''),
      };
  }
}

// The package writer's failures (by the core's name for each), with the editor's reasons (in
// memory no folder is missing, so a write that fails is one that cannot be made).
const packageReasons = {
  NoOutputFolder: ['フォルダがありません', 'no output folder'],
  NoSourceFolder: ['フォルダがありません', 'the model has no folder'],
  BadPackageName: ['出力ファイル名がファイル名として使えません', 'the package name is not a plain file name'],
  PackageNameTooLong: ['出力ファイル名が長すぎます', 'the package name is too long'],
  TargetIsModel: ['モデルファイルを上書きすることになります', 'the package would replace the model'],
  TargetIsInput: ['読み込むファイルを上書きすることになります', 'the package would replace a file it reads'],
  ImageNamedLikePackageFile: ['画像の名前が書き出すファイルの名前と同じです', 'an image has the name of a package file'],
  PageImagesShareName: ['別々の画像が同じ名前でページの横にコピーされることになります', 'two images would be copied beside the page under one name'],
  BadLevel: [null, 'bad compression level'],
  TemplateUnreadable: ['ページのひな形を読み込めません', 'the page template cannot be read'],
  EmptyPage: ['ページのひな形が空のページになります', 'the page template gives an empty page'],
  NoTempFolder: ['一時フォルダを作成できません', 'no temporary folder'],
  CannotCreateWorkFolder: ['書き込みできません', 'the work folder cannot be created'],
  ModelTooLarge: ['モデルが大きすぎます（2 GiB を超えます）', 'the model is too large (over 2 GiB)'],
  CannotWriteTextureFile: ['書き込みできません', 'a texture file cannot be written'],
  CannotWriteModelFile: ['書き込みできません', 'the model file cannot be written'],
  CannotWriteArchive: ['書き込みできません', 'the archive cannot be written'],
  CannotWritePage: ['書き込みできません', 'the page cannot be written'],
};

export function packageFailure(result) {
  const [ja, en] = packageReasons[result.error] ?? [null, `error ${result.error}`];
  const message = 'VTRファイルの作成に失敗しました';
  return { ja: ja ? `${message}\n${ja}` : message, en: `The package could not be written: ${en}.` };
}

// What the build said of an image it packaged from outside the model's folder, or left out as
// no image, as the editor says it under its success message.
export function imageNotice(notice) {
  return notice.notAnImage
    ? { ja: `画像ではないため含めませんでした: ${notice.stored}`, en: `Not an image, left out: ${notice.stored}` }
    : { ja: `モデルのフォルダの外から取り込みました: ${notice.stored}`, en: `Taken from outside the model's folder: ${notice.stored}` };
}
