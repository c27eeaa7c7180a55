#include "publish/QelParameter.h"

#include <cmath>
#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(QelParameter, NewRecordHoldsTheInitialValues) {
    const QelParameter p;
    EXPECT_EQ(p.Width, 200);
    EXPECT_EQ(p.BackGroundColor, 0xFFFFFFu);
    EXPECT_EQ(p.ModelPosition, (QelFloat3{0, 0, 500}));
    EXPECT_EQ(p.TexFiltering, 1);
    EXPECT_EQ(p.ShadingMode, 1);
    EXPECT_TRUE(p.SpecularEnable);
    EXPECT_EQ(p.SoftShadowColor, 0u);
    EXPECT_EQ(p.BumpIntensity, 0.2f);
    EXPECT_TRUE(p.AlwaysFSAA);
    EXPECT_EQ(p.InitRotPitch, -10.0f);
    EXPECT_EQ(p.ProgBarColor, 0x985D4Du);
    for (const QelIcon* icon : {&p.RotCtrlIcon, &p.ZomCtrlIcon, &p.PanCtrlIcon, &p.RstCtrlIcon}) {
        EXPECT_EQ(*icon, (QelIcon{"", 10, 10}));
    }
}

TEST(QelParameter, EditorStartUpDiffersInExactlyTheListedFields) {
    QelParameter startup = editorStartupParameters();
    EXPECT_EQ(startup.BackGroundColor, 0x7F7F7Fu);
    EXPECT_EQ(startup.SoftShadowColor, 0x282828u);
    EXPECT_EQ(startup.ProgBarColor, 0x4D5D98u);
    EXPECT_EQ(startup.RstCtrlIcon, (QelIcon{"", 0, 0}));
    // Undoing the listed differences gives a new record.
    const QelParameter fresh;
    startup.BackGroundColor = fresh.BackGroundColor;
    startup.TexFiltering = fresh.TexFiltering;
    startup.SpecularEnable = fresh.SpecularEnable;
    startup.SoftShadowColor = fresh.SoftShadowColor;
    startup.AlwaysFSAA = fresh.AlwaysFSAA;
    startup.InitRotPitch = fresh.InitRotPitch;
    startup.InitRotRoll = fresh.InitRotRoll;
    startup.ProgBarColor = fresh.ProgBarColor;
    for (QelIcon* icon :
         {&startup.RotCtrlIcon, &startup.ZomCtrlIcon, &startup.PanCtrlIcon, &startup.RstCtrlIcon}) {
        icon->X = 10;
        icon->Y = 10;
    }
    EXPECT_EQ(startup, fresh);
}

TEST(ColorForms, SwappingTheOuterBytesConvertsBothWays) {
    EXPECT_EQ(windowColorToRgb(0x00FF8000), 0x000080FFu);
    EXPECT_EQ(rgbToWindowColor(0x000080FF), 0x00FF8000u);
    EXPECT_EQ(windowColorToRgb(0x12345678), 0x00785634u); // the top byte is dropped
}

TEST(ColorForms, LightColoursTruncateAndClamp) {
    EXPECT_EQ(windowColorFromLightColor({1.0f, 0.999f, 1.5f}), 0xFFFEFFu);
    EXPECT_EQ(windowColorFromLightColor({-0.2f, NAN, 0.5f}), 0x7F0000u);
    const QelFloat3 light = lightColorFromWindowColor(0x00FF7F01);
    EXPECT_EQ(light[0], 1.0f / 255.0f);
    EXPECT_EQ(light[1], 127.0f / 255.0f);
    EXPECT_EQ(light[2], 1.0f);
    // Every window colour survives the trip through a light colour.
    for (std::uint32_t c = 0; c < 256; ++c) {
        const std::uint32_t window = c | (255 - c) << 8 | (c / 2) << 16;
        EXPECT_EQ(windowColorFromLightColor(lightColorFromWindowColor(window)), window);
    }
}

} // namespace
} // namespace vantor
