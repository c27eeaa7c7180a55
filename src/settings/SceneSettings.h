#pragma once
// The scene settings file: every field of a QelParameter as a key of the section "QelScene" of
// a profile (INI) file, so a set of viewer settings can be reused for other models.

#include <string>

#include "platform/ProfileFile.h"
#include "publish/QelParameter.h"

namespace vantor {

inline constexpr char kSceneSettingsSection[] = "QelScene";

// A colour field: stored as the integer of its RGB form (white is 16777215).
template <class T>
struct ColorField {
    T& value;
};
template <class T>
ColorField(T&) -> ColorField<T>;

// Calls visit(key, field) for every key of the section, in the order a new file lists them:
// the one list of keys that saving, loading and reports share. Integer (std::int32_t), real
// (float), boolean and text (std::string) fields are told apart by their types; colours come
// wrapped in ColorField.
template <class Parameters, class Visitor>
void visitSceneSettings(Parameters& p, Visitor&& visit) {
    visit("Width", p.Width);
    visit("Height", p.Height);
    visit("BackGroundImage", p.BackGroundImage);
    visit("BackGroundColor", ColorField{p.BackGroundColor});
    visit("TitleLogoImage", p.TitleLogoImage);
    visit("TitleBackColor", ColorField{p.TitleBackColor});
    visit("ModelPositionX", p.ModelPosition[0]);
    visit("ModelPositionY", p.ModelPosition[1]);
    visit("ModelPositionZ", p.ModelPosition[2]);
    visit("TexFiltering", p.TexFiltering);
    visit("ShadingMode", p.ShadingMode);
    visit("FillMode", p.FillMode);
    visit("LightingEnable", p.LightingEnable);
    visit("SpecularEnable", p.SpecularEnable);
    visit("LitDirectionX", p.LitDirection[0]);
    visit("LitDirectionY", p.LitDirection[1]);
    visit("LitDirectionZ", p.LitDirection[2]);
    visit("LitAmbientR", p.LitAmbient[0]);
    visit("LitAmbientG", p.LitAmbient[1]);
    visit("LitAmbientB", p.LitAmbient[2]);
    visit("LitDiffuseR", p.LitDiffuse[0]);
    visit("LitDiffuseG", p.LitDiffuse[1]);
    visit("LitDiffuseB", p.LitDiffuse[2]);
    visit("LitSpecularR", p.LitSpecular[0]);
    visit("LitSpecularG", p.LitSpecular[1]);
    visit("LitSpecularB", p.LitSpecular[2]);
    visit("SoftShadowEnable", p.SoftShadowEnable);
    visit("SoftShadowDistance", p.SoftShadowDistance);
    visit("SoftShadowColor", ColorField{p.SoftShadowColor});
    visit("EdgePower", p.EdgePower);
    visit("BumpIntensity", p.BumpIntensity);
    visit("FieldOfView", p.FieldOfView);
    visit("AlwaysFSAA", p.AlwaysFSAA);
    visit("QualityOfAntiAlias", p.QualityOfAntiAlias);
    visit("InitRotSpeedX", p.InitRotSpeed[0]);
    visit("InitRotSpeedY", p.InitRotSpeed[1]);
    visit("InitRotSpeedZ", p.InitRotSpeed[2]);
    visit("InitRotYaw", p.InitRotYaw);
    visit("InitRotPitch", p.InitRotPitch);
    visit("InitRotRoll", p.InitRotRoll);
    visit("ProgBarPosition", p.ProgBarPosition);
    visit("ProgBarColor", ColorField{p.ProgBarColor});
    visit("ProgBarBorderColor", ColorField{p.ProgBarBorderColor});
    visit("RotCtrlIcon", p.RotCtrlIcon.Image);
    visit("RotCtrlIconX", p.RotCtrlIcon.X);
    visit("RotCtrlIconY", p.RotCtrlIcon.Y);
    visit("ZomCtrlIcon", p.ZomCtrlIcon.Image);
    visit("ZomCtrlIconX", p.ZomCtrlIcon.X);
    visit("ZomCtrlIconY", p.ZomCtrlIcon.Y);
    visit("PanCtrlIcon", p.PanCtrlIcon.Image);
    visit("PanCtrlIconX", p.PanCtrlIcon.X);
    visit("PanCtrlIconY", p.PanCtrlIcon.Y);
    visit("RstCtrlIcon", p.RstCtrlIcon.Image);
    visit("RstCtrlIconX", p.RstCtrlIcon.X);
    visit("RstCtrlIconY", p.RstCtrlIcon.Y);
}

// Writes the 55 keys into the section, in their fixed order; other sections and keys of the
// profile stay as they are.
void writeSceneSettings(const QelParameter& parameters, ProfileFile& profile);

// Reads every key, each with the record's current value as the default for a missing or
// malformed value. Never fails: a profile without the section leaves the record unchanged.
void readSceneSettings(QelParameter& parameters, const ProfileFile& profile);

// Saves into the file at path (created when missing, its other content kept). On failure the
// old file is left intact and *error names the file and the cause; a file that exists but
// cannot be read whole is not saved over.
bool saveSceneSettings(const QelParameter& parameters, const std::string& path,
                       FileError* error = nullptr);
// The same, with the failure described in English (describeFileError).
bool saveSceneSettings(const QelParameter& parameters, const std::string& path,
                       std::string* error);

// Loads from the file at path. A missing or unreadable file leaves the record unchanged and
// gives false, for callers that report it; loading itself never fails.
bool loadSceneSettings(QelParameter& parameters, const std::string& path);

// Range, step and print format of one of the editor's number fields.
struct NumberFieldRange {
    double min;
    double max;
    double increment;
    const char* printFormat;
};

// The editor's number fields for scene settings; a value outside its range is clamped by the
// field before a build reads it.
inline constexpr NumberFieldRange kCanvasSizeRange{1, 9999, 1, "%.0lf"};
inline constexpr NumberFieldRange kFieldOfViewRange{1, 89, 1, "%.0lf"};
inline constexpr NumberFieldRange kEdgePowerRange{0, 9999, 0.01, "%.2lf"};
inline constexpr NumberFieldRange kProgBarPositionRange{0, 9999, 1, "%.0lf"};

// Clamps the fields that the editor shows in number fields (canvas size, field of view, edge
// power, progress-bar position) to those fields' ranges, as loading them into the editor
// would; every other field is left as it is.
void clampToEditorRanges(QelParameter& parameters);

} // namespace vantor
