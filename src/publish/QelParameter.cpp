#include "publish/QelParameter.h"

#include <cmath>

namespace vantor {

QelParameter editorStartupParameters() {
    QelParameter p;
    p.BackGroundColor = windowColorToRgb(0x7F7F7F);
    p.TexFiltering = kFilterPoint;
    p.SpecularEnable = false;
    p.SoftShadowColor = windowColorToRgb(0x282828);
    p.AlwaysFSAA = false;
    p.InitRotPitch = 0.0f;
    p.InitRotRoll = 0.0f;
    p.ProgBarColor = windowColorToRgb(0x985D4D);
    for (QelIcon* icon : {&p.RotCtrlIcon, &p.ZomCtrlIcon, &p.PanCtrlIcon, &p.RstCtrlIcon}) {
        icon->X = 0;
        icon->Y = 0;
    }
    return p;
}

QelFloat3 lightColorFromWindowColor(std::uint32_t window) {
    return {static_cast<float>(window & 0xFF) / 255.0f,
            static_cast<float>((window >> 8) & 0xFF) / 255.0f,
            static_cast<float>((window >> 16) & 0xFF) / 255.0f};
}

namespace {

std::uint32_t channelFromLight(float value) {
    const double scaled = std::trunc(static_cast<double>(value) * 255.0);
    if (!(scaled > 0.0)) { // negative, zero or not a number
        return 0;
    }
    return scaled >= 255.0 ? 255u : static_cast<std::uint32_t>(scaled);
}

} // namespace

std::uint32_t windowColorFromLightColor(const QelFloat3& light) {
    return channelFromLight(light[0]) | channelFromLight(light[1]) << 8 |
           channelFromLight(light[2]) << 16;
}

} // namespace vantor
