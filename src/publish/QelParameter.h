#pragma once
// The viewer parameters: every scene-wide setting of the published viewer in one value record,
// the form in which they travel between the settings panel, the settings file, the package
// writer and the applet page. Also the two colour forms and the light-colour conversions.

#include <array>
#include <cstdint>
#include <string>

namespace vantor {

// Three floats: X, Y, Z for positions and directions, R, G, B (0 to 1) for light colours.
using QelFloat3 = std::array<float, 3>;

// One of the viewer's four on-screen control icons.
struct QelIcon {
    std::string Image; // file name of the icon image; empty when none is given
    std::int32_t X = 10;
    std::int32_t Y = 10;

    bool operator==(const QelIcon&) const = default;
};

// Texture filtering, shading, fill and anti-aliasing choices, as the record stores them.
enum QelTexFiltering : std::int32_t { kFilterPoint = 0, kFilterBilinear = 1, kFilterTrilinear = 2 };
enum QelShadingMode : std::int32_t {
    kShadeFlat = 0,
    kShadeGouraud = 1,
    kShadePhong = 2,
    kShadeCartoon = 3,
};
enum QelFillMode : std::int32_t { kFillPoint = 0, kFillWireframe = 1, kFillSolid = 2 };
enum QelAntiAliasQuality : std::int32_t { kQualityLow = 0, kQualityMiddle = 1, kQualityHigh = 2 };

// A new record carries the defaults that a settings file falls back to for a missing key.
// Colours are in RGB form, 0x00RRGGBB. Texts are byte strings in the system code page.
struct QelParameter {
    std::int32_t Width = 200;
    std::int32_t Height = 200;
    std::string BackGroundImage;
    std::uint32_t BackGroundColor = 0xFFFFFF;
    std::string TitleLogoImage;
    std::uint32_t TitleBackColor = 0xFFFFFF;
    QelFloat3 ModelPosition{0.0f, 0.0f, 500.0f};
    std::int32_t TexFiltering = kFilterBilinear;
    std::int32_t ShadingMode = kShadeGouraud;
    std::int32_t FillMode = kFillSolid;
    bool LightingEnable = true;
    bool SpecularEnable = true;
    QelFloat3 LitDirection{-1.0f, -1.0f, -1.0f};
    QelFloat3 LitAmbient{1.0f, 1.0f, 1.0f};
    QelFloat3 LitDiffuse{1.0f, 1.0f, 1.0f};
    QelFloat3 LitSpecular{1.0f, 1.0f, 1.0f};
    bool SoftShadowEnable = false;
    float SoftShadowDistance = 0.0f;
    std::uint32_t SoftShadowColor = 0x000000;
    float EdgePower = 0.5f;
    float BumpIntensity = 0.2f;
    float FieldOfView = 45.0f;
    bool AlwaysFSAA = true;
    std::int32_t QualityOfAntiAlias = kQualityHigh;
    QelFloat3 InitRotSpeed{0.0f, 0.0f, 0.0f};
    float InitRotYaw = 0.0f;
    float InitRotPitch = -10.0f;
    float InitRotRoll = -10.0f;
    std::int32_t ProgBarPosition = 0;
    std::uint32_t ProgBarColor = 0x985D4D;
    std::uint32_t ProgBarBorderColor = 0x808080;
    QelIcon RotCtrlIcon;
    QelIcon ZomCtrlIcon;
    QelIcon PanCtrlIcon;
    QelIcon RstCtrlIcon;

    bool operator==(const QelParameter&) const = default;
};

// The parameters a build uses when the editor has just started: its controls' initial state.
// They differ from a new record in the background, shadow and progress-bar colours, texture
// filtering, specular light, anti-aliasing, the initial pitch and roll, and the icon positions.
QelParameter editorStartupParameters();

// Converts between the window form 0x00BBGGRR and the RGB form 0x00RRGGBB: swaps the low and
// the high byte and keeps the middle one. The same operation converts in both directions.
constexpr std::uint32_t swapColorForm(std::uint32_t color) {
    return ((color >> 16) & 0xFF) | (color & 0xFF00) | ((color & 0xFF) << 16);
}
constexpr std::uint32_t windowColorToRgb(std::uint32_t window) {
    return swapColorForm(window);
}
constexpr std::uint32_t rgbToWindowColor(std::uint32_t rgb) {
    return swapColorForm(rgb);
}

// A window-form colour as a light colour: each channel divided by 255.
QelFloat3 lightColorFromWindowColor(std::uint32_t window);

// A light colour as a window-form colour: each channel times 255, truncated toward zero and
// clamped to 0..255 (so 0.999 gives 254, 1.5 gives 255 and -0.2 gives 0).
std::uint32_t windowColorFromLightColor(const QelFloat3& light);

} // namespace vantor
