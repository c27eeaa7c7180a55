#pragma once
// Every caption, label, list item and message of the main window and its dialogs, as UTF-8.
// Nothing else in the editor spells a Japanese text.

#include "VantorVersion.h"

namespace vantor::main_strings {

// ---- Window --------------------------------------------------------------------------------
inline constexpr const char* kApplicationTitle = kProgramName;
inline constexpr char kCaptionOpen[] = " [";
inline constexpr char kCaptionClose[] = "]";
// The window font and the fonts that stand in for it where it is not installed.
inline constexpr char kFontFace[] = "ＭＳ Ｐゴシック";
inline constexpr const char* kFontFallbacks[] = {"MS PGothic", "Noto Sans CJK JP", "IPAPGothic"};

inline constexpr char kTabScene[] = "シーン";
inline constexpr char kTabMaterial[] = "マテリアル";
inline constexpr char kTabSystem[] = "システム";
inline constexpr char kBtnUpdate[] = "更新";

// ---- Menu ----------------------------------------------------------------------------------
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuOpenMQO[] = "MQOを開く(&O)";
inline constexpr char kMenuSaveMQO[] = "MQOを保存(&M)";
inline constexpr char kMenuSaveVTR[] = "Vantor形式で保存(&S)";
inline constexpr char kMenuLoadQLS[] = "シーン情報を読み込み";
inline constexpr char kMenuSaveQLS[] = "シーン情報を保存";
inline constexpr char kMenuExit[] = "終了(&X)";
inline constexpr char kMenuHelp[] = "ヘルプ(&H)";
inline constexpr char kMenuHelpIndex[] = "目次(&I)...";
inline constexpr char kMenuAbout[] = "バージョン情報(&A)...";

// ---- Group "シーン" --------------------------------------------------------------------------
inline constexpr char kGroupScene[] = "シーン";
inline constexpr char kLabelCanvasSize[] = "キャンバスサイズ";
inline constexpr char kLabelBackground[] = "背景色";
inline constexpr char kLabelBkimg[] = "背景画像";
inline constexpr char kLabelModelPos[] = "カメラの位置";
inline constexpr char kBtnFitCamera[] = "合わせる";
inline constexpr char kTipFitCamera[] = "モデル全体が見える位置にカメラを置きます";
inline constexpr char kLabelInitRotSpeed[] = "回転速度";
inline constexpr char kLabelInitRot[] = "初期角度";
inline constexpr char kLabelFieldOfView[] = "視野角";

// ---- Group "レンダリング" ----------------------------------------------------------------------
inline constexpr char kGroupRendering[] = "レンダリング";
inline constexpr char kLabelFilting[] = "テクスチャ補間方式";
inline constexpr char kLabelShade[] = "陰影方式";
inline constexpr char kLabelEdgePower[] = "線の濃さ";
inline constexpr char kLabelFillMode[] = "描画方式";
inline constexpr char kCheckFSAA[] = "常時アンチエイリアスの有効";
inline constexpr char kLabelAAQuality[] = "アンチエイリアス品質";
inline constexpr const char* kFiltingItems[] = {"POINT", "BILINEAR", "TRILINEAR"};
inline constexpr const char* kShadeItems[] = {"FLAT", "GOURAUD", "PHONG", "CARTOON"};
inline constexpr const char* kFillModeItems[] = {"POINT", "WIREFRAME", "SOLID"};
inline constexpr const char* kAAQualityItems[] = {"LOW", "MIDDLE", "HIGH"};

// ---- Group "ライティング" ----------------------------------------------------------------------
inline constexpr char kGroupLighting[] = "ライティング";
inline constexpr char kCheckLighting[] = "光源使用";
inline constexpr char kCheckSpecular[] = "反射光の有効";
inline constexpr char kLabelLight[] = "光線方向";
inline constexpr char kLabelAmbient[] = "周囲光色";
inline constexpr char kLabelDiffuse[] = "拡散光色";
inline constexpr char kLabelSpecular[] = "反射光色";
inline constexpr char kLabelBumpIntensity[] = "凸凹強度";

// ---- Group "シャドウ" ------------------------------------------------------------------------
inline constexpr char kGroupShadow[] = "シャドウ";
inline constexpr char kCheckShadow[] = "影の有効";
inline constexpr char kLabelShadowColor[] = "影の色";
inline constexpr char kLabelShadowDistance[] = "影と形状の距離";

// ---- Group "システム" ------------------------------------------------------------------------
inline constexpr char kGroupSystem[] = "システム";
inline constexpr char kLabelOutputFile[] = "出力ファイル名";
inline constexpr char kLabelTitleBack[] = "タイトル背景色";
inline constexpr char kLabelTitleLogoImage[] = "タイトル画像";
inline constexpr char kLabelProgBarPosition[] = "プログレスバーのY座標位置";
inline constexpr char kLabelProgressBar[] = "プログレスバーの色";
inline constexpr char kLabelProgBarBorder[] = "プログレスバーの境界色";

// ---- Group "アイコン" ------------------------------------------------------------------------
inline constexpr char kGroupIcon[] = "アイコン";
inline constexpr char kLabelIconX[] = "X";
inline constexpr char kLabelIconY[] = "Y";
inline constexpr char kLabelRotIcon[] = "回転操作";
inline constexpr char kLabelZomIcon[] = "拡大縮小";
inline constexpr char kLabelPanIcon[] = "平行移動";
inline constexpr char kLabelRstIcon[] = "リセット";

inline constexpr char kBtnBrowse[] = "参照";

// ---- Tab "マテリアル" ------------------------------------------------------------------------
inline constexpr char kGroupMaterial[] = "マテリアル設定";
inline constexpr char kLabelMaterialColor[] = "基本色";
inline constexpr char kLabelAlpha[] = "不透明度";
inline constexpr char kLabelDif[] = "拡散光";
inline constexpr char kLabelEmi[] = "自己照明";
inline constexpr char kLabelSpc[] = "反射光";
inline constexpr char kLabelSpcPower[] = "反射の強さ";
inline constexpr char kLabelAmb[] = "周囲光";
inline constexpr char kLabelEnvPow[] = "環境の強さ";
inline constexpr char kGroupMapping[] = "マッピング";
inline constexpr char kLabelTexture[] = "模様";
inline constexpr char kLabelAlphaPlane[] = "透明";
inline constexpr char kLabelBump[] = "凸凹";
inline constexpr char kLabelEnvMap[] = "環境";
// The hint of a map field whose text the scene's code page cannot hold, so that the material
// keeps its earlier file name: "Not stored in the material: it holds characters the model's
// code page cannot represent".
inline constexpr char kHintNameNotStorable[] =
    "モデルの文字コードで表せない文字を含むため、マテリアルに保存されません";

// ---- Colour dialog "色の設定" ----------------------------------------------------------------
inline constexpr char kFormColorCaption[] = "色の設定";
inline constexpr char kBtnOK[] = "OK";
inline constexpr char kBtnCancel[] = "キャンセル";

// ---- The question before unsaved changes are dropped: save, do not save, cancel -------------
inline constexpr char kMsgAskSaveModel[] = "MQOファイルは変更されています。保存しますか？";
inline constexpr char kMsgAskSaveScene[] = "シーン情報は変更されています。保存しますか？";
inline constexpr char kBtnSave[] = "保存する";
inline constexpr char kBtnDiscard[] = "保存しない";

// ---- About box -----------------------------------------------------------------------------
inline constexpr char kDlgAboutCaption[] = "バージョン情報";
inline constexpr const char* kAboutTitle = kProgramName;
inline constexpr char kAboutVersionPrefix[] = "Ver"; // followed by the program's version

// ---- File dialogs: filter entries "description|patterns" ------------------------------------
inline constexpr const char* kMqoFilters[] = {"メタセコイア オブジェクト (*.mqo)|*.mqo"};
// Opening also reads zipped models, and any file a user insists on.
inline constexpr const char* kMqoOpenFilters[] = {
    "メタセコイア オブジェクト (*.mqo;*.mqoz)|*.mqo;*.mqoz",
    "すべてのファイル (*)|*",
};
inline constexpr char kMqoDefaultExt[] = "*.mqo";
inline constexpr const char* kImageFilters[] = {
    "対応するすべての形式 (*.jpg;*.gif)|*.jpg;*.gif",
    "JPEG (*.jpg)|*.jpg",
    "GIF (*.gif)|*.gif",
    "すべてのファイル (*.*)|*.* ",
};
inline constexpr char kImageDefaultExt[] = "*.jpg;*.gif";
inline constexpr const char* kSceneFileFilters[] = {"Vantorシーン情報 (*.vsn)|*.vsn"};
inline constexpr char kSceneFileDefaultExt[] = "*.qls";
// The save dialog gives a typed name without extension the extension its filter lists, so a
// saved file shows up in the dialogs that load it.
inline constexpr char kSceneFileSaveDefaultExt[] = "*.vsn";
inline constexpr char kSaveFolderTitle[] = "保存先フォルダを指定してください";

// ---- Messages ------------------------------------------------------------------------------
inline constexpr char kCaptionError[] = "ERROR";
inline constexpr char kCaptionSave[] = "SAVE";
inline constexpr char kMsgMqoCannotOpen[] = "MQOファイルを開くことができません。";
inline constexpr char kMsgMqoTooManyVertices[] =
    "１オブジェクト中の頂点数が65536を超えるファイルは取り扱えません。";
inline constexpr char kMsgMqoReadFailed[] = "MQOファイルの読み込みに失敗しました";
inline constexpr char kMsgBadSceneInput[] = "シーン情報を正しく入力して下さい";
inline constexpr char kMsgBuildFailed[] = "VTRファイルの作成に失敗しました";
inline constexpr char kMsgPublished[] = "VTRファイルを保存しました";
// The lines under kMsgPublished, one for each file that the package left out or took from
// outside the model's folder, with its path for %1.
inline constexpr char kNoteNotAnImage[] = "画像ではないため含めませんでした: %1";
inline constexpr char kNoteOutsideModelFolder[] = "モデルのフォルダの外から取り込みました: %1";
inline constexpr char kMsgMqoSaved[] = "MQOファイルを保存しました";
inline constexpr char kMsgMqoSaveFailed[] = "MQOファイルの保存に失敗しました";
inline constexpr char kMsgSettingsSaveFailed[] = "シーン情報の保存に失敗しました";
// ヘルプ → 目次 when the page is not where the program looks for it, or no browser starts;
// the page's path follows on a line of its own.
inline constexpr char kMsgHelpMissing[] = "ヘルプファイルが見つかりません";
inline constexpr char kMsgHelpNoBrowser[] =
    "ヘルプを表示するブラウザを起動できません。次のファイルをブラウザで開いてください";

// ---- Why a model could not be opened: the line under the path --------------------------------
inline constexpr char kReasonNoSuchFile[] = "ファイルがありません";
inline constexpr char kReasonIsFolder[] = "ファイルではなくフォルダです";
inline constexpr char kReasonNotRegularFile[] = "通常のファイルではありません";
inline constexpr char kReasonNotReadable[] = "読み込みが許可されていません";
inline constexpr char kReasonNotAModel[] = "MQO形式のファイルではありません";
// The line the reader stopped at for %1.
inline constexpr char kReasonDamagedAtLine[] = "ファイルが壊れています（%1 行目）";
inline constexpr char kReasonDamaged[] = "ファイルが壊れています";
// Any other cause, with the system's error number for %1.
inline constexpr char kReasonOpenOther[] = "開くことができません（エラー番号 %1）";

// ---- Why a file could not be saved: the line under the path -----------------------------------
inline constexpr char kReasonNotWritable[] = "書き込みできません";
inline constexpr char kReasonNoFolder[] = "フォルダがありません";
inline constexpr char kReasonDiskFull[] = "ディスクの空きが足りません";
inline constexpr char kReasonFolderInTheWay[] = "同じ名前のフォルダがあります";
inline constexpr char kReasonNameTooLong[] = "名前が長すぎます";
inline constexpr char kReasonDeviceError[] = "ディスクの読み書きに失敗しました";
// An existing file that could not be read whole, which saving would overwrite with less.
inline constexpr char kReasonNotReplaceable[] = "読み込めないファイルのため上書きしません";
// Any other cause, with the system's error number for %1.
inline constexpr char kReasonOther[] = "書き込みに失敗しました（エラー番号 %1）";

// ---- Why a package could not be written: the line under the path ---------------------------
inline constexpr char kReasonBadPackageName[] = "出力ファイル名がファイル名として使えません";
inline constexpr char kReasonPackageNameTooLong[] = "出力ファイル名が長すぎます";
inline constexpr char kReasonTargetIsModel[] = "モデルファイルを上書きすることになります";
inline constexpr char kReasonTargetIsInput[] = "読み込むファイルを上書きすることになります";
inline constexpr char kReasonImageNamedLikePackageFile[] =
    "画像の名前が書き出すファイルの名前と同じです";
inline constexpr char kReasonPageImagesShareName[] =
    "別々の画像が同じ名前でページの横にコピーされることになります";
inline constexpr char kReasonTemplateUnreadable[] = "ページのひな形を読み込めません";
inline constexpr char kReasonEmptyPage[] = "ページのひな形が空のページになります";
inline constexpr char kReasonNoTempFolder[] = "一時フォルダを作成できません";
inline constexpr char kReasonModelTooLarge[] = "モデルが大きすぎます（2 GiB を超えます）";

} // namespace vantor::main_strings
