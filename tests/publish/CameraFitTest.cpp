#include "publish/CameraFit.h"

#include "PublishTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace vantor {
namespace {

using test::addObject;
using test::face;

// A box of the given corner and size as one object of eight vertices and its six quads.
QelObject& addBox(QelScene& scene, QelVertex low, QelVertex size) {
    QelObject& o = addObject(scene, "box", 0,
                             {face(0, {0, 1, 3, 2}), face(0, {4, 6, 7, 5}), face(0, {0, 4, 5, 1}),
                              face(0, {2, 3, 7, 6}), face(0, {0, 2, 6, 4}), face(0, {1, 5, 7, 3})});
    for (int i = 0; i < 8; ++i) {
        o.vertices.push_back({low.x + (i & 1 ? size.x : 0), low.y + (i & 2 ? size.y : 0),
                              low.z + (i & 4 ? size.z : 0)});
    }
    o.vertexCount = 8;
    return o;
}

QelParameter view(std::int32_t width, std::int32_t height, float fieldOfView) {
    QelParameter p = editorStartupParameters();
    p.Width = width;
    p.Height = height;
    p.FieldOfView = fieldOfView;
    return p;
}

// The largest share of the half canvas, across and up, that a corner of the box (as seen
// from (0, 0, d) in front of its centre) reaches.
double filledShare(QelVertex size, double d, const QelParameter& p) {
    const double tanUp = std::tan(p.FieldOfView * 3.14159265358979 / 360.0);
    const double tanAcross = tanUp * p.Width / p.Height;
    double share = 0.0;
    for (int i = 0; i < 8; ++i) {
        const double x = (i & 1 ? 0.5 : -0.5) * size.x;
        const double y = (i & 2 ? 0.5 : -0.5) * size.y;
        const double z = (i & 4 ? 0.5 : -0.5) * size.z;
        share = std::max({share, std::fabs(x) / (d - z) / tanAcross, std::fabs(y) / (d - z) / tanUp});
    }
    return share;
}

TEST(CameraFit, TheDrawnBoxHoldsShownFacesAndMirrorImagesOnly) {
    QelScene scene;
    EXPECT_FALSE(drawnBounds(scene));
    QelObject& shown = addObject(scene, "shown", 0, {face(0, {0, 1, 2}), face(0, {3}), face(0, {0, 9})});
    shown.vertices = {{1, 0, 0}, {2, 1, 0}, {3, 0, 1}, {50, 50, 50}};
    shown.vertexCount = 4;
    shown.mirror = 2; // no axis named: across X
    QelObject& hidden = addObject(scene, "hidden", 0, {face(0, {0, 1})});
    hidden.vertices = {{-100, -100, -100}, {100, 100, 100}};
    hidden.vertexCount = 2;
    hidden.visible = 0;
    const std::optional<DrawnBounds> box = drawnBounds(scene);
    ASSERT_TRUE(box);
    // The one-corner face, the face with a corner out of range and the hidden object count
    // for nothing; the mirror image across X does.
    EXPECT_EQ(box->min, (QelFloat3{-3, 0, 0}));
    EXPECT_EQ(box->max, (QelFloat3{3, 1, 1}));
    scene.objects[0].mirrorAxis = 4;
    EXPECT_EQ(drawnBounds(scene)->min, (QelFloat3{1, 0, -1}));
    scene.objects[0].mirrorAxis = 3; // the X, Y and XY copies, as the viewer draws them
    EXPECT_EQ(drawnBounds(scene)->min, (QelFloat3{-3, -1, 0}));
    EXPECT_EQ(drawnBounds(scene)->max, (QelFloat3{3, 1, 1}));
}

TEST(CameraFit, TheModelJustFitsItsCanvasWhereverAndHoweverLargeItIs) {
    struct Case {
        QelVertex low, size;
        QelParameter view;
    };
    const Case cases[] = {
        {{900, 400, -350}, {200, 200, 100}, view(200, 200, 45)}, // far off the origin
        {{-1, 0, -1}, {2, 2, 2}, view(200, 200, 45)},            // two units wide
        {{0, 0, 0}, {6000, 300, 900}, view(200, 200, 45)},       // several thousand
        {{0, 0, 0}, {100, 100, 10}, view(480, 120, 30)},         // a wide canvas
        {{0, 0, 0}, {10, 10, 400}, view(200, 200, 89)},          // long towards the camera
    };
    for (const Case& c : cases) {
        QelScene scene;
        addBox(scene, c.low, c.size);
        const std::optional<QelFloat3> position = fitCameraPosition(scene, c.view);
        ASSERT_TRUE(position);
        EXPECT_EQ((*position)[0], 0.0f);
        EXPECT_EQ((*position)[1], 0.0f);
        const double d = (*position)[2];
        EXPECT_GT(d, c.size.z / 2) << "the camera stays outside the model";
        const double share = filledShare(c.size, d, c.view);
        EXPECT_GE(share, kFitFill * 0.985) << c.size.x;
        EXPECT_LE(share, kFitFill) << c.size.x;
    }
}

// Where the vertices of shown show from the camera at position (relative to the centre of the
// drawn box of scene), as shares of the half canvas: lowest and highest across, then up.
std::array<double, 4> pictureOf(const QelScene& scene, QelFloat3 position, const QelParameter& p,
                                const QelScene* shown = nullptr) {
    const DrawnBounds box = *drawnBounds(scene);
    const double tanUp = std::tan(p.FieldOfView * 3.14159265358979 / 360.0);
    const double tanAcross = tanUp * p.Width / p.Height;
    std::array<double, 4> picture{1e9, -1e9, 1e9, -1e9};
    for (const QelObject& o : (shown != nullptr ? *shown : scene).objects) {
        for (const QelVertex& v : o.vertices) {
            const double depth = position[2] - (v.z - (box.min[2] + box.max[2]) / 2);
            const double x = (v.x - (box.min[0] + box.max[0]) / 2 - position[0]) / depth / tanAcross;
            const double y = (v.y - (box.min[1] + box.max[1]) / 2 - position[1]) / depth / tanUp;
            picture = {std::min(picture[0], x), std::max(picture[1], x), std::min(picture[2], y), std::max(picture[3], y)};
        }
    }
    return picture;
}

TEST(CameraFit, DeepAndCloseModelsAreCentredInThePictureNotJustInTheBox) {
    // A low block near the camera and a high one far behind it, on a wide canvas; a wide plate
    // near the camera with a post far behind it, seen close with a wide angle: the nearer part
    // looks larger, so centring the box leaves the picture low.
    QelScene steps;
    addBox(steps, {-50, 0, 100}, {100, 50, 100});
    addBox(steps, {-50, 50, -200}, {100, 50, 100});
    QelScene plate;
    addBox(plate, {0, 0, 200}, {300, 20, 100});
    addBox(plate, {140, 0, 0}, {20, 150, 20});
    for (const auto& [scene, p] : {std::pair{&steps, view(300, 200, 45)}, std::pair{&plate, view(200, 200, 60)}}) {
        const std::optional<QelFloat3> position = fitCameraPosition(*scene, p);
        ASSERT_TRUE(position);
        EXPECT_LT((*position)[1], 0.0f) << "the camera moves down from the box's centre";
        const auto [left, right, bottom, top] = pictureOf(*scene, *position, p);
        EXPECT_NEAR(left + right, 0.0, 0.01) << left << " " << right;
        EXPECT_NEAR(bottom + top, 0.0, 0.01) << bottom << " " << top;
        const double share = std::max(right - left, top - bottom) / 2;
        EXPECT_GE(share, kFitFill * 0.985);
        EXPECT_LE(share, kFitFill * 1.001);
    }
}

TEST(CameraFit, OnlyWhatTheCameraSeesIsFramedFacesTurnedAwayAreNot) {
    // A plate facing the camera, and beside it a wider one that turns its back to it: the
    // viewer draws only the first, which the picture centres and fills.
    QelScene scene;
    QelObject& facing = addObject(scene, "facing", 0, {face(0, {0, 1, 2, 3})});
    facing.vertices = {{-100, 50, 0}, {0, 50, 0}, {0, -50, 0}, {-100, -50, 0}};
    facing.vertexCount = 4;
    QelScene shown = scene;
    QelObject& away = addObject(scene, "away", 0, {face(0, {3, 2, 1, 0})});
    away.vertices = {{0, 50, 0}, {300, 50, 0}, {300, -50, 0}, {0, -50, 0}};
    away.vertexCount = 4;
    const QelParameter p = view(200, 200, 45);
    const std::optional<QelFloat3> position = fitCameraPosition(scene, p);
    ASSERT_TRUE(position);
    const auto [left, right, bottom, top] = pictureOf(scene, *position, p, &shown);
    EXPECT_NEAR(left + right, 0.0, 0.01) << left << " " << right;
    EXPECT_GE(right - left, 2 * kFitFill * 0.985);
    EXPECT_LE(right - left, 2 * kFitFill * 1.001);
    // A model that shows only the backs of its faces is framed whole.
    scene.objects.erase(scene.objects.begin());
    scene.objectCount = 1;
    EXPECT_TRUE(fitCameraPosition(scene, p));
}

TEST(CameraFit, TheInitialAnglesTurnTheModelBeforeItIsFitted) {
    QelScene scene;
    addBox(scene, {0, 0, 0}, {400, 10, 10}); // a rod across the view
    QelParameter p = view(200, 200, 45);
    const float across = (*fitCameraPosition(scene, p))[2];
    p.InitRotYaw = 90.0f; // now it points at the camera, and only its end needs to fit
    const float endOn = (*fitCameraPosition(scene, p))[2];
    EXPECT_LT(endOn, across / 2);
    EXPECT_GT(endOn, 200.0f);
}

TEST(CameraFit, ModelsWithoutExtentOrBeyondNumbersGiveNothing) {
    QelScene point;
    QelObject& o = addObject(point, "point", 0, {face(0, {0, 1, 2})});
    o.vertices = {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}};
    o.vertexCount = 3;
    EXPECT_FALSE(fitCameraPosition(point, view(200, 200, 45)));
    QelScene huge;
    addBox(huge, {-3e38f, 0, 0}, {3e38f, 3e38f, 3e38f});
    EXPECT_FALSE(fitCameraPosition(huge, view(200, 200, 45)));
}

} // namespace
} // namespace vantor
