#include "publish/CameraFit.h"

#include "publish/ModelFile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace vantor {

namespace {

constexpr int kMirrorAxisBits = 7; // 1 X, 2 Y, 4 Z

// The axes an object is mirrored across, as the viewer draws it: an object that mirrors
// without naming an axis mirrors across X.
int mirroredAxes(const QelObject& object) {
    if (object.mirror == 0) {
        return 0;
    }
    const int axes = object.mirrorAxis & kMirrorAxisBits;
    return axes != 0 ? axes : 1;
}

// Calls visit(vertex, mirrored axes) for every drawn corner of the shown objects, once per
// corner (a vertex shared by several faces comes several times; the callers do not mind).
template <typename Visit> void forEachDrawnCorner(const QelScene& scene, Visit&& visit) {
    const std::size_t objectCount = writtenCount(scene.objectCount, scene.objects.size());
    for (std::size_t o = 0; o < objectCount; ++o) {
        const QelObject& object = scene.objects[o];
        if (object.visible == 0) {
            continue;
        }
        const std::size_t vertexCount = writtenCount(object.vertexCount, object.vertices.size());
        const std::size_t faceCount = writtenCount(object.faceCount, object.faces.size());
        const int axes = mirroredAxes(object);
        for (std::size_t f = 0; f < faceCount; ++f) {
            const QelFace& face = object.faces[f];
            // A face of one corner draws nothing; two corners draw a line.
            if (face.cornerCount < 2 || !isWrittenFace(face, vertexCount)) {
                continue;
            }
            for (const std::int32_t index : face.indices) {
                const QelVertex& v = object.vertices[static_cast<std::size_t>(index)];
                visit(v, axes);
            }
        }
    }
}

// Calls visit(x, y, z) for the position and each of its mirror images across the axes.
template <typename Visit> void forEachImage(const QelVertex& v, int axes, Visit&& visit) {
    for (int subset = 0; subset <= kMirrorAxisBits; ++subset) {
        if ((subset & axes) != subset) {
            continue;
        }
        visit(subset & 1 ? -v.x : v.x, subset & 2 ? -v.y : v.y, subset & 4 ? -v.z : v.z);
    }
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// The page carries the view angle as a whole number and the viewer takes only angles between
// 0 and 180 degrees, using 45 otherwise.
double viewerFieldOfView(float fieldOfView) {
    const double shown = std::nearbyint(static_cast<double>(fieldOfView));
    return shown > 0.0 && shown < 180.0 ? shown : 45.0;
}

// The page carries the initial angles truncated to whole degrees.
double viewerAngle(float degrees) {
    return std::isfinite(degrees) ? std::trunc(static_cast<double>(degrees)) : 0.0;
}

// A canvas side as the viewer takes it: 200 when the page's value is not positive.
double viewerSide(std::int32_t side) {
    return side > 0 ? side : 200.0;
}

using Matrix3 = std::array<std::array<double, 3>, 3>;

// The model's initial turn as the viewer makes it: a turn about Z by the roll, then about Y by
// the yaw, then about X by the pitch.
Matrix3 initialTurn(const QelParameter& view) {
    const double a = radians(viewerAngle(view.InitRotPitch));
    const double b = radians(viewerAngle(view.InitRotYaw));
    const double c = radians(viewerAngle(view.InitRotRoll));
    const double ca = std::cos(a), sa = std::sin(a);
    const double cb = std::cos(b), sb = std::sin(b);
    const double cc = std::cos(c), sc = std::sin(c);
    return {{
        {cb * cc, -cb * sc, sb},
        {ca * sc + sa * sb * cc, ca * cc - sa * sb * sc, -sa * cb},
        {sa * sc - ca * sb * cc, sa * cc + ca * sb * sc, ca * cb},
    }};
}

// value rounded up to three significant digits, and to the hundredths the page keeps.
double roundedUp(double value) {
    const double unit = std::max(0.01, std::pow(10.0, std::floor(std::log10(value)) - 2.0));
    return std::ceil(value / unit - 1e-9) * unit;
}

} // namespace

std::optional<DrawnBounds> drawnBounds(const QelScene& scene) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    DrawnBounds box{{kInf, kInf, kInf}, {-kInf, -kInf, -kInf}};
    bool any = false;
    forEachDrawnCorner(scene, [&](const QelVertex& v, int axes) {
        forEachImage(v, axes, [&](float x, float y, float z) {
            const float p[3] = {x, y, z};
            for (int k = 0; k < 3; ++k) {
                box.min[k] = std::min(box.min[k], p[k]);
                box.max[k] = std::max(box.max[k], p[k]);
            }
        });
        any = true;
    });
    if (!any) {
        return std::nullopt;
    }
    return box;
}

std::optional<QelFloat3> fitCameraPosition(const QelScene& scene, const QelParameter& view) {
    const std::optional<DrawnBounds> box = drawnBounds(scene);
    if (!box) {
        return std::nullopt;
    }
    double centre[3];
    double radius = 0.0;
    for (int k = 0; k < 3; ++k) {
        centre[k] = (static_cast<double>(box->min[k]) + box->max[k]) / 2.0;
        const double half = (static_cast<double>(box->max[k]) - box->min[k]) / 2.0;
        radius += half * half;
    }
    radius = std::sqrt(radius);
    if (!(radius > 0.0) || !std::isfinite(radius)) {
        return std::nullopt;
    }

    // A point at (x, y, z) from the centre, seen from (0, 0, d), lies inside the fill when
    // |x| <= fill * tan(horizontal half angle) * (d - z), and likewise for y; the camera also
    // keeps a little way off the nearest point.
    const double tanVertical = std::tan(radians(viewerFieldOfView(view.FieldOfView)) / 2.0);
    const double tanHorizontal = tanVertical * viewerSide(view.Width) / viewerSide(view.Height);
    const double reachX = kFitFill * tanHorizontal;
    const double reachY = kFitFill * tanVertical;
    const double clearance = 0.02 * radius;
    const Matrix3 turn = initialTurn(view);
    double distance = 0.0;
    forEachDrawnCorner(scene, [&](const QelVertex& v, int axes) {
        forEachImage(v, axes, [&](float px, float py, float pz) {
            const double p[3] = {px - centre[0], py - centre[1], pz - centre[2]};
            double q[3];
            for (int r = 0; r < 3; ++r) {
                q[r] = turn[r][0] * p[0] + turn[r][1] * p[1] + turn[r][2] * p[2];
            }
            distance = std::max({distance, q[2] + std::fabs(q[0]) / reachX,
                                 q[2] + std::fabs(q[1]) / reachY, q[2] + clearance});
        });
    });
    distance = roundedUp(distance);
    if (!std::isfinite(distance) || distance > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return QelFloat3{0.0f, 0.0f, static_cast<float>(distance)};
}

} // namespace vantor
