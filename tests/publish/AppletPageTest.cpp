#include "publish/AppletPage.h"
#include "publish/StandalonePage.h"

#include "TestSupport.h"

#include <clocale>
#include <gtest/gtest.h>

namespace vantor {
namespace {

const std::string kTag =
    "<applet code=\"QelViewer.class\" codebase=\".\" archive=\"vtr.jar\" width=\"200\" "
    "height=\"200\">\r\n";
const std::string kModel = "<param name=\"Model\" value=\"./car.zip\">\r\n";
const std::string kEnd = "</applet>\r\n";

std::string line(const std::string& name, const std::string& value) {
    return "<param name=\"" + name + "\" value=\"" + value + "\">\r\n";
}

// Every parameter at the value at which its line is left out, and the four switches off.
QelParameter silentParameters() {
    QelParameter p;
    p.TitleBackColor = 0x808080;
    p.BackGroundColor = 0x706050;
    p.TexFiltering = kFilterPoint;
    p.LightingEnable = false;
    p.SpecularEnable = false;
    p.SoftShadowColor = 0x282828;
    p.AlwaysFSAA = false;
    p.InitRotPitch = 0.0f;
    p.InitRotRoll = 0.0f;
    return p;
}

std::string block(const QelParameter& p) {
    return buildAppletBlock(p, "car", "vtr.jar");
}

// The block of silentParameters() changed by `change`, without its first two and last lines.
template <typename Change> std::string linesFor(Change change) {
    QelParameter p = silentParameters();
    change(p);
    const std::string b = block(p);
    EXPECT_TRUE(b.starts_with(kTag + kModel)) << b;
    EXPECT_TRUE(b.ends_with(kEnd)) << b;
    return b.substr(kTag.size() + kModel.size(),
                    b.size() - kTag.size() - kModel.size() - kEnd.size());
}

TEST(AppletBlock, SilentParametersGiveThreeLines) {
    EXPECT_EQ(block(silentParameters()), kTag + kModel + kEnd);
}

TEST(AppletBlock, EditorStartUpStateGivesItsColoursAndTheLight) {
    EXPECT_EQ(block(editorStartupParameters()),
              kTag + kModel + line("TitleBackColor", "ffffff") + line("ProgBarColor", "4d5d98") +
                  line("BackColor", "7f7f7f") + line("LightingEnable", "true") + kEnd);
}

TEST(AppletBlock, TagCarriesArchiveAndCanvasSize) {
    QelParameter p = silentParameters();
    p.Width = 640;
    p.Height = 48;
    EXPECT_TRUE(buildAppletBlock(p, "a b", "other.jar")
                    .starts_with("<applet code=\"QelViewer.class\" codebase=\".\" "
                                 "archive=\"other.jar\" width=\"640\" height=\"48\">\r\n"
                                 "<param name=\"Model\" value=\"./a b.zip\">\r\n"));
}

TEST(AppletBlock, FloatTriplesAndTheirOmission) {
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.ModelPosition = {0, 0, 500.5f};
              }),
              line("ModelPosition", "0.00,0.00,500.50"));
    EXPECT_EQ(linesFor([](QelParameter& p) { p.ModelPosition = {0, 0, 500}; }), "");
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.ModelPosition = {-1.005f, 2, 500};
              }),
              line("ModelPosition", "-1.00,2.00,500.00"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.LitDirection = {-1, -1, -0.5f};
              }),
              line("LitDirection", "-1.00,-1.00,-0.50"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.LitAmbient = {0.5f, 1, 1};
                  p.LitDiffuse = {1, 1, 0.25f};
                  p.LitSpecular = {0, 0, 0};
              }),
              line("LitAmbient", "0.50,1.00,1.00") + line("LitDiffuse", "1.00,1.00,0.25") +
                  line("LitSpecular", "0.00,0.00,0.00"));
}

TEST(AppletBlock, TruncatedTriplesLookAtTheFloats) {
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.InitRotSpeed = {0.5f, 0, 0};
              }),
              line("InitRotSpeed", "0,0,0"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.InitRotSpeed = {-1.9f, 0, 0};
              }),
              line("InitRotSpeed", "-1,0,0"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.InitRotYaw = 30.7f;
                  p.InitRotPitch = -10;
                  p.InitRotRoll = 1e20f;
              }),
              line("InitRotAngle", "30,-10,2147483647"));
}

TEST(AppletBlock, ColoursAreSixLowerCaseDigits) {
    EXPECT_EQ(linesFor([](QelParameter& p) { p.BackGroundColor = 0x7F7F7F; }),
              line("BackColor", "7f7f7f"));
    EXPECT_EQ(linesFor([](QelParameter& p) { p.BackGroundColor = 0x0000FF; }),
              line("BackColor", "0000ff"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.TitleBackColor = 0xABCDEF;
                  p.ProgBarColor = 0x985D4E;
                  p.ProgBarBorderColor = 0;
                  p.SoftShadowColor = 0x282829;
              }),
              line("TitleBackColor", "abcdef") + line("ProgBarColor", "985d4e") +
                  line("ProgBarBorderColor", "000000") + line("SoftShadowColor", "282829"));
}

TEST(AppletBlock, EnumerationsWriteTheirNamesAndLeaveTheDefaultOut) {
    const std::pair<int, std::string> filters[] = {{0, ""},
                                                   {1, line("TexFiltering", "bilinear")},
                                                   {2, line("TexFiltering", "trilinear")},
                                                   {7, ""}};
    for (const auto& [value, expected] : filters) {
        const int set = value; // clang 14 lets no lambda capture a structured binding
        EXPECT_EQ(linesFor([set](QelParameter& p) { p.TexFiltering = set; }), expected);
    }
    const std::pair<int, std::string> shades[] = {{0, line("ShadingMode", "FLAT")},
                                                  {1, ""},
                                                  {2, line("ShadingMode", "PHONG")},
                                                  {3, line("ShadingMode", "CARTOON")},
                                                  {-1, ""}};
    for (const auto& [value, expected] : shades) {
        const int set = value; // clang 14 lets no lambda capture a structured binding
        EXPECT_EQ(linesFor([set](QelParameter& p) { p.ShadingMode = set; }), expected);
    }
    const std::pair<int, std::string> fills[] = {
        {0, line("FillMode", "POINT")}, {1, line("FillMode", "WIREFRAME")}, {2, ""}};
    for (const auto& [value, expected] : fills) {
        const int set = value; // clang 14 lets no lambda capture a structured binding
        EXPECT_EQ(linesFor([set](QelParameter& p) { p.FillMode = set; }), expected);
    }
    const std::pair<int, std::string> qualities[] = {
        {0, line("QualityOfAntiAlias", "LOW")}, {1, line("QualityOfAntiAlias", "MIDDLE")}, {2, ""}};
    for (const auto& [value, expected] : qualities) {
        const int set = value; // clang 14 lets no lambda capture a structured binding
        EXPECT_EQ(linesFor([set](QelParameter& p) { p.QualityOfAntiAlias = set; }), expected);
    }
}

TEST(AppletBlock, SwitchesAndTheShadowLines) {
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.LightingEnable = true;
                  p.SpecularEnable = true;
                  p.AlwaysFSAA = true;
              }),
              line("LightingEnable", "true") + line("SpecularEnable", "true") +
                  line("FullTimeFSAA", "true"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.SoftShadowEnable = false;
                  p.SoftShadowDistance = 3;
                  p.SoftShadowColor = 0x101010;
              }),
              line("SoftShadowColor", "101010"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.SoftShadowEnable = true;
                  p.SoftShadowDistance = 0;
              }),
              line("SoftShadowEnable", "true"));
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.SoftShadowEnable = true;
                  p.SoftShadowDistance = 2.125f;
              }),
              line("SoftShadowEnable", "true") + line("SoftShadowDistance", "2.12"));
}

TEST(AppletBlock, SingleFloatsAndTheirFixedValues) {
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.EdgePower = 0.5f;
                  p.BumpIntensity = 0.2f;
                  p.FieldOfView = 45;
              }),
              "");
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.EdgePower = 1.255f;
                  p.BumpIntensity = static_cast<float>(0.2 + 1e-7);
                  p.FieldOfView = 30.5f;
              }),
              line("EdgePower", "1.25") + line("BumpIntensity", "0.20") +
                  line("FieldOfView", "30"));
}

TEST(AppletBlock, ImagesAreNamedByTheirLastComponent) {
    EXPECT_EQ(linesFor([](QelParameter& p) {
                  p.TitleLogoImage = "C:\\img\\logo.gif";
                  p.BackGroundImage = "/home/u/back.jpg";
                  p.RotCtrlIcon = {"C:\\img\\rot.gif", 5, 7};
                  p.ZomCtrlIcon = {"zoom.gif", -1, 0};
                  p.PanCtrlIcon = {"", 3, 3};
                  p.RstCtrlIcon = {"img/", 3, 3}; // names no file
              }),
              line("TitleLogoImage", "./logo.gif") + line("BackImage", "./back.jpg") +
                  line("RotCtrlIcon", "rot.gif,5,7") + line("ZomCtrlIcon", "zoom.gif,-1,0"));
    EXPECT_EQ(linesFor([](QelParameter& p) { p.ProgBarPosition = -4; }),
              line("ProgBarPosition", "-4"));
}

TEST(AppletBlock, DoubleQuotesCannotEndAnAttributeEarly) {
    EXPECT_EQ(linesFor([](QelParameter& p) { p.BackGroundImage = "/x/a\"b.jpg"; }),
              line("BackImage", "./a&quot;b.jpg"));
}

TEST(AppletBlock, DecimalPointDoesNotFollowTheLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no German locale installed";
    }
    const std::string lines = linesFor([](QelParameter& p) { p.EdgePower = 1.5f; });
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(lines, line("EdgePower", "1.50"));
}

// --- The page ----------------------------------------------------------------------------------

class AppletPageTest : public ::testing::Test {
protected:
    std::string page(const std::string& pattern) {
        test::writeBytes(dir.file("t.html"), pattern);
        EXPECT_EQ(writeAppletPage(dir.file("car.html"), "car", "vtr.jar", dir.file("t.html"),
                                  silentParameters()),
                  PageStatus::Ok);
        return test::readBytes(dir.file("car.html"));
    }
    test::TempDir dir;
};

TEST_F(AppletPageTest, TemplateInsertsBlockAndNameAndKeepsItsOwnBytes) {
    EXPECT_EQ(page("<title>%2</title>\n<body>\r\n%1</body> 100%% \x82\xA0"),
              "<title>car</title>\n<body>\r\n" + kTag + kModel + kEnd + "</body> 100% \x82\xA0");
    EXPECT_EQ(page("no applet here"), "no applet here");
    // The name is page text: markup and references in it are shown, never obeyed.
    test::writeBytes(dir.file("t.html"), "<title>%2</title><h1 title=\"%2\">%2</h1>");
    ASSERT_EQ(writeAppletPage(dir.file("x.html"), "a<b>&\"c\"", "vtr.jar", dir.file("t.html"),
                              silentParameters()),
              PageStatus::Ok);
    EXPECT_EQ(test::readBytes(dir.file("x.html")),
              "<title>a&lt;b&gt;&amp;&quot;c&quot;</title><h1 title=\"a&lt;b&gt;&amp;&quot;c&quot;\">"
              "a&lt;b&gt;&amp;&quot;c&quot;</h1>");
}

TEST_F(AppletPageTest, FailuresLeaveTheOldPage) {
    test::writeBytes(dir.file("car.html"), "old");
    EXPECT_EQ(writeAppletPage(dir.file("car.html"), "car", "vtr.jar", dir.file("missing.html"),
                              silentParameters()),
              PageStatus::TemplateUnreadable);
    test::writeBytes(dir.file("empty.html"), "%0ignored");
    EXPECT_EQ(writeAppletPage(dir.file("car.html"), "car", "vtr.jar", dir.file("empty.html"),
                              silentParameters()),
              PageStatus::EmptyPage);
    test::writeBytes(dir.file("t.html"), "%1");
    EXPECT_EQ(writeAppletPage(dir.file("no-folder/car.html"), "car", "vtr.jar", dir.file("t.html"),
                              silentParameters()),
              PageStatus::CannotWrite);
    EXPECT_EQ(test::readBytes(dir.file("car.html")), "old");
}

TEST(StandalonePage, CarriesEachFileInBase64BeforeTheHeadEnds) {
    // The vectors of RFC 4648, and bytes above 0x7F.
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {std::string("\xFF\xFE\x00", 3), "//4A"}};
    for (const auto& [bytes, text] : vectors) {
        EXPECT_EQ(base64Encoded(bytes), text) << bytes;
    }
    const std::string page = "<html><HEAD><title>t</title></HEAD><body>b</body></html>";
    EXPECT_EQ(buildStandalonePage(page, {{"a&b\".jpg", "foo"}, {"m.zip", "fo"}}),
              "<html><HEAD><title>t</title>"
              "<script type=\"application/x-qel-file\" data-name=\"a&amp;b&quot;.jpg\">Zm9v"
              "</script>\r\n<script type=\"application/x-qel-file\" data-name=\"m.zip\">Zm8="
              "</script>\r\n</HEAD><body>b</body></html>");
    EXPECT_EQ(buildStandalonePage("<p>no head</p>", {}), "<p>no head</p>");

    // A "</head>" that a comment, a script, a title or an attribute holds ends no head: the
    // files go before the tag that does, or at the start of a page that has none.
    const std::string carried = "<script type=\"application/x-qel-file\" data-name=\"m.zip\">"
                                "Zm8=</script>\r\n";
    const std::string hidden = "<head><!-- </head> --><script>var s = '</head>';</script>"
                               "<title></head></title><meta content=\"</head>\">"
                               "<style>p{}</STYLE ></head ><body>";
    EXPECT_EQ(buildStandalonePage(hidden, {{"m.zip", "fo"}}),
              hidden.substr(0, hidden.rfind("</head >")) + carried + "</head ><body>");
    const std::string none = "<!-- </head> --><script>'</head>'</script><p>a < b</p>";
    EXPECT_EQ(buildStandalonePage(none, {{"m.zip", "fo"}}), carried + none);
    const std::string unclosed = "<html><!-- </head>";
    EXPECT_EQ(buildStandalonePage(unclosed, {{"m.zip", "fo"}}), carried + unclosed);
}

} // namespace
} // namespace vantor
