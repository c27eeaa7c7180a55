#include "publish/AppletPage.h"

#include "platform/Files.h"
#include "platform/Limits.h"
#include "platform/MessageFormat.h"
#include "platform/NumberText.h"
#include "publish/PathHelpers.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace vantor {

namespace {

// Numbers are formatted without regard to the process's locale: a decimal comma would break
// the viewer's parsing.
std::string fixed(float value, int decimals) {
    std::string text;
    appendFixed(text, static_cast<double>(value), decimals);
    return text;
}

std::string triple(const QelFloat3& values) {
    return fixed(values[0], 2) + "," + fixed(values[1], 2) + "," + fixed(values[2], 2);
}

// A float truncated toward zero; values beyond the 32-bit range are held at its ends and a
// value that is not a number gives 0, where a plain conversion would be undefined.
std::int32_t truncated(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= -2147483648.0f) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

std::string truncatedTriple(float a, float b, float c) {
    return std::to_string(truncated(a)) + "," + std::to_string(truncated(b)) + "," +
           std::to_string(truncated(c));
}

std::string hexColor(std::uint32_t color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06x", color);
    return buffer;
}

bool allEqual(const QelFloat3& values, float expected) {
    return values[0] == expected && values[1] == expected && values[2] == expected;
}

// The text with each of the characters in special written as its character reference.
std::string withReferences(std::string_view text, std::string_view special) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (special.find(c) == std::string_view::npos) {
            out += c;
        } else if (c == '"') {
            out += "&quot;";
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else {
            out += "&gt;";
        }
    }
    return out;
}

} // namespace

std::string htmlEscaped(std::string_view text) { return withReferences(text, "&<>\""); }

namespace {

// A double quote would end the attribute value early, and an "&" could start a reference the
// browser reads as another character.
std::string attributeText(std::string_view text) { return htmlEscaped(text); }

// The package name where the template puts it (the title and heading of the shipped one): a
// name holding "<" or "&" is shown as it is, never taken for markup.
std::string pageText(std::string_view text) { return htmlEscaped(text); }

// The file name the page uses for a stored image name, or nothing when it names no file.
std::optional<std::string> pageImageName(const std::string& stored) {
    if (stored.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> name = fileNameOfPath(stored, systemCodePage());
    if (name) {
        *name = attributeText(*name);
    }
    return name;
}

class BlockBuilder {
public:
    void param(std::string_view name, std::string_view value) {
        out_ += "<param name=\"";
        out_ += name;
        out_ += "\" value=\"";
        out_ += value;
        out_ += "\">\r\n";
    }
    void raw(std::string_view line) { out_ += line; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

} // namespace

std::string buildAppletBlock(const QelParameter& p, std::string_view packageName,
                             std::string_view archiveName) {
    BlockBuilder b;
    b.raw("<applet code=\"QelViewer.class\" codebase=\".\" archive=\"" +
          attributeText(archiveName) + "\" width=\"" + std::to_string(p.Width) + "\" height=\"" +
          std::to_string(p.Height) + "\">\r\n");
    b.param("Model", "./" + attributeText(packageName) + ".zip");
    if (!(p.ModelPosition[0] == 0.0f && p.ModelPosition[1] == 0.0f &&
          p.ModelPosition[2] == 500.0f)) {
        b.param("ModelPosition", triple(p.ModelPosition));
    }
    if (p.TitleBackColor != 0x808080) {
        b.param("TitleBackColor", hexColor(p.TitleBackColor));
    }
    if (const auto logo = pageImageName(p.TitleLogoImage)) {
        b.param("TitleLogoImage", "./" + *logo);
    }
    if (p.ProgBarPosition != 0) {
        b.param("ProgBarPosition", std::to_string(p.ProgBarPosition));
    }
    if (p.ProgBarColor != 0x985D4D) {
        b.param("ProgBarColor", hexColor(p.ProgBarColor));
    }
    if (p.ProgBarBorderColor != 0x808080) {
        b.param("ProgBarBorderColor", hexColor(p.ProgBarBorderColor));
    }
    if (p.BackGroundColor != 0x706050) {
        b.param("BackColor", hexColor(p.BackGroundColor));
    }
    if (const auto back = pageImageName(p.BackGroundImage)) {
        b.param("BackImage", "./" + *back);
    }
    if (p.TexFiltering == kFilterBilinear) {
        b.param("TexFiltering", "bilinear");
    } else if (p.TexFiltering == kFilterTrilinear) {
        b.param("TexFiltering", "trilinear");
    }
    if (p.ShadingMode == kShadeFlat) {
        b.param("ShadingMode", "FLAT");
    } else if (p.ShadingMode == kShadePhong) {
        b.param("ShadingMode", "PHONG");
    } else if (p.ShadingMode == kShadeCartoon) {
        b.param("ShadingMode", "CARTOON");
    }
    if (p.FillMode == kFillPoint) {
        b.param("FillMode", "POINT");
    } else if (p.FillMode == kFillWireframe) {
        b.param("FillMode", "WIREFRAME");
    }
    if (p.LightingEnable) {
        b.param("LightingEnable", "true");
    }
    if (!allEqual(p.LitDirection, -1.0f)) {
        b.param("LitDirection", triple(p.LitDirection));
    }
    if (!allEqual(p.LitAmbient, 1.0f)) {
        b.param("LitAmbient", triple(p.LitAmbient));
    }
    if (!allEqual(p.LitDiffuse, 1.0f)) {
        b.param("LitDiffuse", triple(p.LitDiffuse));
    }
    if (p.SpecularEnable) {
        b.param("SpecularEnable", "true");
    }
    if (!allEqual(p.LitSpecular, 1.0f)) {
        b.param("LitSpecular", triple(p.LitSpecular));
    }
    if (p.SoftShadowEnable) {
        b.param("SoftShadowEnable", "true");
        if (p.SoftShadowDistance != 0.0f) {
            b.param("SoftShadowDistance", fixed(p.SoftShadowDistance, 2));
        }
    }
    if (p.SoftShadowColor != 0x282828) {
        b.param("SoftShadowColor", hexColor(p.SoftShadowColor));
    }
    if (p.EdgePower != 0.5f) {
        b.param("EdgePower", fixed(p.EdgePower, 2));
    }
    if (p.BumpIntensity != 0.2f) {
        b.param("BumpIntensity", fixed(p.BumpIntensity, 2));
    }
    if (p.FieldOfView != 45.0f) {
        b.param("FieldOfView", fixed(p.FieldOfView, 0));
    }
    if (p.AlwaysFSAA) {
        b.param("FullTimeFSAA", "true");
    }
    if (p.QualityOfAntiAlias == kQualityLow) {
        b.param("QualityOfAntiAlias", "LOW");
    } else if (p.QualityOfAntiAlias == kQualityMiddle) {
        b.param("QualityOfAntiAlias", "MIDDLE");
    }
    if (!allEqual(p.InitRotSpeed, 0.0f)) {
        b.param("InitRotSpeed",
                truncatedTriple(p.InitRotSpeed[0], p.InitRotSpeed[1], p.InitRotSpeed[2]));
    }
    if (!(p.InitRotYaw == 0.0f && p.InitRotPitch == 0.0f && p.InitRotRoll == 0.0f)) {
        b.param("InitRotAngle", truncatedTriple(p.InitRotYaw, p.InitRotPitch, p.InitRotRoll));
    }
    const std::pair<const char*, const QelIcon*> icons[] = {
        {"RotCtrlIcon", &p.RotCtrlIcon},
        {"ZomCtrlIcon", &p.ZomCtrlIcon},
        {"PanCtrlIcon", &p.PanCtrlIcon},
        {"RstCtrlIcon", &p.RstCtrlIcon},
    };
    for (const auto& [name, icon] : icons) {
        if (const auto image = pageImageName(icon->Image)) {
            b.param(name, *image + "," + std::to_string(icon->X) + "," + std::to_string(icon->Y));
        }
    }
    b.raw("</applet>\r\n");
    return b.take();
}

AppletPage makeAppletPage(const std::string& templatePath, std::string_view packageName,
                          std::string_view archiveName, const QelParameter& params) {
    AppletPage page;
    const FileContents pattern = readFile(templatePath, kMaxTemplateBytes);
    if (!pattern.ok()) {
        page.status = PageStatus::TemplateUnreadable;
        return page;
    }
    const std::string block = buildAppletBlock(params, packageName, archiveName);
    const std::string name = pageText(packageName);
    const std::array<std::string_view, 2> inserts{block, name};
    page.bytes = expandTemplate(pattern.bytes, inserts);
    page.status = page.bytes.empty() ? PageStatus::EmptyPage : PageStatus::Ok;
    return page;
}

PageStatus writeAppletPage(const std::string& pagePath, std::string_view packageName,
                           std::string_view archiveName, const std::string& templatePath,
                           const QelParameter& params) {
    const AppletPage page = makeAppletPage(templatePath, packageName, archiveName, params);
    if (page.status != PageStatus::Ok) {
        return page.status;
    }
    return writeFileReplacing(pagePath, page.bytes) ? PageStatus::Ok : PageStatus::CannotWrite;
}

} // namespace vantor
