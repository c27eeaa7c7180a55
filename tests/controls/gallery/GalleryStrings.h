#pragma once
// The texts the gallery shows: the editor's own captions, so that the controls are seen with
// the Japanese font and lengths they get in the editor, and the gallery's section titles.

#include <QString>

namespace vantor::gallery {

inline const QString kWindowTitle = QStringLiteral("vantor-gallery");

inline const QString kSectionEdits = QStringLiteral("Number edits and edits");
inline const QString kSectionTracks = QStringLiteral("Track bars with their number edits");
inline const QString kSectionChecks = QStringLiteral("Check boxes");
inline const QString kSectionButtons = QStringLiteral("Buttons");
inline const QString kSectionGroups = QStringLiteral("Group boxes (click a title)");
inline const QString kSectionPanels = QStringLiteral("Panels (drag the left one's background)");

inline const QString kCanvasSize = QStringLiteral("キャンバスサイズ");
inline const QString kFieldOfView = QStringLiteral("視野角");
inline const QString kEdgePower = QStringLiteral("線の濃さ");
inline const QString kNewNumberEdit = QStringLiteral("new");
inline const QString kExponential = QStringLiteral("exponential");
inline const QString kFileName = QStringLiteral("house.mqo");
inline const QString kNumberOnly = QStringLiteral("number only");
inline const QString kExitKey = QStringLiteral("Enter leaves");

inline const QString kOpacity = QStringLiteral("不透明度");
inline const QString kDiffuse = QStringLiteral("拡散光");
inline const QString kSpecularPower = QStringLiteral("反射の強さ");
inline const QString kEnvironment = QStringLiteral("環境の強さ");
inline const QString kDisabled = QStringLiteral("disabled");

inline const QString kLighting = QStringLiteral("光源使用");
inline const QString kSpecular = QStringLiteral("反射光の有効");
inline const QString kShadow = QStringLiteral("影の有効");
inline const QString kFsaa = QStringLiteral("常時アンチエイリアスの有効");
inline const QString kPressed = QStringLiteral("pressed");

inline const QString kBrowse = QStringLiteral("参照");
inline const QString kUpdate = QStringLiteral("更新");
inline const QString kGradation = QStringLiteral("gradation");
inline const QString kInvert = QStringLiteral("invert");
inline const QString kCaption2Main = QStringLiteral("Menu");
inline const QString kCaption2Extra = QStringLiteral("▼");
inline const QString kGroupLeft = QStringLiteral("Left");
inline const QString kGroupCentre = QStringLiteral("Centre");
inline const QString kGroupRight = QStringLiteral("Right");
inline const QString kAllUp = QStringLiteral("all up");

inline const QString kScene = QStringLiteral("シーン");
inline const QString kRendering = QStringLiteral("レンダリング");
inline const QString kLightingGroup = QStringLiteral("ライティング");
inline const QString kShadowGroup = QStringLiteral("シャドウ");
inline const QString kMaterial = QStringLiteral("マテリアル設定");
inline const QString kMapping = QStringLiteral("マッピング");

inline const QString kItem = QStringLiteral("item");
inline const QString kControlBox = QStringLiteral("inside");
inline const QString kPaintPanel = QStringLiteral("paint panel");
inline const QString kLeft = QStringLiteral("left");
inline const QString kCentre = QStringLiteral("centre");
inline const QString kRight = QStringLiteral("right");
inline const QString kVertical = QStringLiteral("縦書き");

inline const QString kSectionColour = QStringLiteral("Colour panel (HSV round trip below)");
inline const QString kSectionList = QStringLiteral("List box (press in the margin)");
inline const QString kSectionDialogs = QStringLiteral("File and folder dialogs");
inline const QString kRoundTripOk = QStringLiteral("round trip ok");
inline const QString kRoundTripBroken = QStringLiteral("ROUND TRIP BROKEN");
inline const QString kMaterials[] = {
    QStringLiteral("mat1"),     QStringLiteral("屋根"), QStringLiteral("壁"),
    QStringLiteral("窓ガラス"), QStringLiteral("ドア"), QStringLiteral("煙突"),
    QStringLiteral("地面"),     QStringLiteral("木"),
};
inline const QString kOpenMQO = QStringLiteral("MQOを開く");
inline const QString kSaveMQO = QStringLiteral("MQOを保存");
inline const QString kChooseFolder = QStringLiteral("保存先...");
inline const QString kSaveFolderTitle = QStringLiteral("保存先フォルダを指定してください");
inline const QString kMQOFilter = QStringLiteral("メタセコイア オブジェクト (*.mqo)|*.mqo");
inline const QString kLockedFolder = QStringLiteral("(OK is off for folders named \"locked\")");
inline const QString kCancelled = QStringLiteral("cancelled");

} // namespace vantor::gallery
