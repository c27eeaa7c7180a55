#include "publish/CameraFit.h"

#include "publish/ModelFile.h"

#include <algorithm>
#include <array>
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

// Calls visit(object, face, mirrored axes) for every drawn face of the shown objects: faces of
// two corners (lines) or more whose corners all exist.
template <typename Visit> void forEachDrawnFace(const QelScene& scene, Visit&& visit) {
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
            visit(object, face, axes);
        }
    }
}

// Calls visit(vertex, mirrored axes) for every drawn corner of the shown objects, once per
// corner (a vertex shared by several faces comes several times; the callers do not mind).
template <typename Visit> void forEachDrawnCorner(const QelScene& scene, Visit&& visit) {
    forEachDrawnFace(scene, [&](const QelObject& object, const QelFace& face, int axes) {
        for (const std::int32_t index : face.indices) {
            visit(object.vertices[static_cast<std::size_t>(index)], axes);
        }
    });
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

// value to the nearest hundredth, as the page keeps it.
double toHundredths(double value) {
    return std::round(value * 100.0) / 100.0;
}

// A point of the turned model seen along one of the camera's axes across the picture: its
// depth (towards the camera) and its offset across the picture in that direction.
struct Point2 {
    double depth;
    double across;
};

// The points of a model seen from one side, kept few whatever the model's size: its depth range
// is cut into slices, and of each slice only the highest and the lowest point count, moved to
// the near end of the slice. A point moved nearer the camera looks larger, so the fit may frame
// the model a hair loose but never cuts it.
class DepthSlices {
public:
    static constexpr int kSlices = 4096;

    DepthSlices(double farthest, double nearest)
        : farthest_(farthest), width_((nearest - farthest) / kSlices),
          low_(kSlices, std::numeric_limits<double>::infinity()),
          high_(kSlices, -std::numeric_limits<double>::infinity()) {}

    void add(double depth, double across) {
        const double at = width_ > 0.0 ? (depth - farthest_) / width_ : 0.0;
        const std::size_t slice = static_cast<std::size_t>(std::clamp(at, 0.0, kSlices - 1.0));
        low_[slice] = std::min(low_[slice], across);
        high_[slice] = std::max(high_[slice], across);
    }

    std::vector<Point2> points() const {
        std::vector<Point2> kept;
        for (std::size_t slice = 0; slice < low_.size(); ++slice) {
            if (low_[slice] <= high_[slice]) {
                const double nearEnd = farthest_ + width_ * static_cast<double>(slice + 1);
                kept.push_back({nearEnd, low_[slice]});
                kept.push_back({nearEnd, high_[slice]});
            }
        }
        return kept;
    }

private:
    double farthest_;
    double width_;
    std::vector<double> low_;
    std::vector<double> high_;
};

// The convex outline of a set of such points (their hull, corners in order), with the offset
// range of the set.
struct Outline {
    std::vector<Point2> corners;
    double low;
    double high;
};

double turnDirection(const Point2& o, const Point2& a, const Point2& b) {
    return (a.depth - o.depth) * (b.across - o.across) - (a.across - o.across) * (b.depth - o.depth);
}

Outline outlineOf(std::vector<Point2> points) {
    std::sort(points.begin(), points.end(), [](const Point2& a, const Point2& b) {
        return a.depth < b.depth || (a.depth == b.depth && a.across < b.across);
    });
    Outline outline{{}, std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const Point2& p : points) {
        outline.low = std::min(outline.low, p.across);
        outline.high = std::max(outline.high, p.across);
    }
    // Andrew's monotone chain: the lower chain left to right, then the upper one back.
    std::vector<Point2>& hull = outline.corners;
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t start = hull.size();
        for (const Point2& p : points) {
            while (hull.size() >= start + 2 && turnDirection(hull[hull.size() - 2], hull.back(), p) <= 0.0) {
                hull.pop_back();
            }
            hull.push_back(p);
        }
        hull.pop_back();
        std::reverse(points.begin(), points.end());
    }
    if (hull.empty() && !points.empty()) {
        hull.push_back(points.front());
    }
    return outline;
}

// Where the points of an outline show across the picture, in tangents of the angle from the
// view axis, for a camera at offset across and distance in depth: the lowest and the highest.
struct Span {
    double low;
    double high;
};

Span projectedSpan(const Outline& outline, double offset, double distance) {
    Span span{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const Point2& p : outline.corners) {
        const double t = (p.across - offset) / (distance - p.depth);
        span.low = std::min(span.low, t);
        span.high = std::max(span.high, t);
    }
    return span;
}

constexpr int kBisections = 100;

// The offset across at which the picture of the outline, seen from distance, is centred: moving
// the camera across moves every point the other way, the nearer ones more.
double centringOffset(const Outline& outline, double distance) {
    double low = outline.low;
    double high = outline.high;
    for (int i = 0; i < kBisections && low < high; ++i) {
        const double middle = (low + high) / 2.0;
        const Span span = projectedSpan(outline, middle, distance);
        (span.low + span.high > 0.0 ? low : high) = middle;
    }
    return (low + high) / 2.0;
}

// Half the width of the centred picture, in tangents.
double centredHalfSpan(const Outline& outline, double distance) {
    const Span span = projectedSpan(outline, centringOffset(outline, distance), distance);
    return (span.high - span.low) / 2.0;
}

// The largest tangents the centred picture may reach across and up.
struct FitFrame {
    double reachAcross;
    double reachUp;
};

// The least distance, not below least, at which the centred picture fits the frame in both
// directions.
double fittedDistance(const Outline& across, const Outline& up, const FitFrame& frame, double least) {
    const auto fits = [&](double distance) {
        return centredHalfSpan(across, distance) <= frame.reachAcross && centredHalfSpan(up, distance) <= frame.reachUp;
    };
    // From straight in front the picture fits where every point does; centred it fits at least
    // as well, since centring makes the larger of its two reaches the least it can be.
    double far = least;
    for (const Point2& p : across.corners) {
        far = std::max(far, p.depth + std::fabs(p.across) / frame.reachAcross);
    }
    for (const Point2& p : up.corners) {
        far = std::max(far, p.depth + std::fabs(p.across) / frame.reachUp);
    }
    double near = least;
    if (!std::isfinite(far) || fits(near)) {
        return std::isfinite(far) ? near : far;
    }
    for (int i = 0; i < kBisections && near < far; ++i) {
        const double middle = (near + far) / 2.0;
        (fits(middle) ? far : near) = middle;
    }
    return far;
}

// A camera position relative to the centre of the drawn box: across, up, and the distance in
// front of it.
struct Camera {
    double x;
    double y;
    double distance;
};

// A drawn face, or one of its mirror images, turned by the initial angles and taken from the
// centre: its corners, and the direction its front faces (nothing for a line).
struct TurnedFace {
    std::vector<std::array<double, 3>> corners;
    std::array<double, 3> front{};
    bool line = false;
};

// Whether the camera sees the face: the viewer draws only the front of a face, and lines.
bool showsTo(const TurnedFace& face, const Camera& camera) {
    if (face.line) {
        return true;
    }
    const std::array<double, 3>& p = face.corners.front();
    return (camera.x - p[0]) * face.front[0] + (camera.y - p[1]) * face.front[1] +
               (camera.distance - p[2]) * face.front[2] >
           0.0;
}

// The model's faces as the first picture shows them, turned, for the fit to go over.
class TurnedModel {
public:
    TurnedModel(const QelScene& scene, const double centre[3], const Matrix3& turn)
        : scene_(scene), centre_{centre[0], centre[1], centre[2]}, turn_(turn) {}

    // Calls visit(face) for every drawn face and each of its mirror images. A mirror image is
    // reflected with its front: the viewer turns the winding of a reflected face back.
    template <typename Visit> void forEachFace(Visit&& visit) const {
        TurnedFace turned;
        forEachDrawnFace(scene_, [&](const QelObject& object, const QelFace& face, int axes) {
            for (int subset = 0; subset <= kMirrorAxisBits; ++subset) {
                if ((subset & axes) != subset) {
                    continue;
                }
                const double sign[3] = {subset & 1 ? -1.0 : 1.0, subset & 2 ? -1.0 : 1.0, subset & 4 ? -1.0 : 1.0};
                turned.corners.clear();
                for (const std::int32_t index : face.indices) {
                    const QelVertex& v = object.vertices[static_cast<std::size_t>(index)];
                    turned.corners.push_back(turnedPoint({sign[0] * v.x - centre_[0], sign[1] * v.y - centre_[1],
                                                          sign[2] * v.z - centre_[2]}));
                }
                turned.line = face.indices.size() == 2;
                if (!turned.line) {
                    // Corners run clockwise seen from the front, so the front is against the
                    // polygon's (counter-clockwise) normal; reflect the original's front.
                    const std::array<double, 3> n = frontOf(object, face);
                    turned.front = turnedPoint({sign[0] * n[0], sign[1] * n[1], sign[2] * n[2]});
                }
                visit(static_cast<const TurnedFace&>(turned));
            }
        });
    }

private:
    std::array<double, 3> turnedPoint(const std::array<double, 3>& p) const {
        std::array<double, 3> q{};
        for (int r = 0; r < 3; ++r) {
            q[r] = turn_[r][0] * p[0] + turn_[r][1] * p[1] + turn_[r][2] * p[2];
        }
        return q;
    }

    static std::array<double, 3> frontOf(const QelObject& object, const QelFace& face) {
        std::array<double, 3> n{};
        const std::size_t count = face.indices.size();
        for (std::size_t i = 0; i < count; ++i) {
            const QelVertex& a = object.vertices[static_cast<std::size_t>(face.indices[i])];
            const QelVertex& b = object.vertices[static_cast<std::size_t>(face.indices[(i + 1) % count])];
            n[0] -= (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
            n[1] -= (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
            n[2] -= (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
        }
        return n;
    }

    const QelScene& scene_;
    double centre_[3];
    Matrix3 turn_;
};

// The unrounded camera that frames the faces for which keep(face) holds, no nearer than least;
// nothing when none is kept. Also gives the outlines the picture was centred on.
template <typename Keep>
std::optional<Camera> framing(const TurnedModel& model, Keep&& keep, const FitFrame& frame, double least,
                              Outline* acrossOut = nullptr, Outline* upOut = nullptr) {
    double farthest = std::numeric_limits<double>::infinity();
    double nearest = -farthest;
    model.forEachFace([&](const TurnedFace& face) {
        if (keep(face)) {
            for (const std::array<double, 3>& q : face.corners) {
                farthest = std::min(farthest, q[2]);
                nearest = std::max(nearest, q[2]);
            }
        }
    });
    if (!(farthest <= nearest)) {
        return std::nullopt;
    }
    DepthSlices side(farthest, nearest);
    DepthSlices above(farthest, nearest);
    model.forEachFace([&](const TurnedFace& face) {
        if (keep(face)) {
            for (const std::array<double, 3>& q : face.corners) {
                side.add(q[2], q[0]);
                above.add(q[2], q[1]);
            }
        }
    });
    const Outline across = outlineOf(side.points());
    const Outline up = outlineOf(above.points());
    const double distance = fittedDistance(across, up, frame, least);
    if (acrossOut != nullptr) {
        *acrossOut = across;
        *upOut = up;
    }
    return Camera{centringOffset(across, distance), centringOffset(up, distance), distance};
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

    // The first picture shows the fronts of faces only: a fit to every face would centre a
    // picture whose faces turned away from the camera are missing. So the model is framed
    // once whole, then again by the faces that face that camera; a model that turns only the
    // backs of its faces to the camera keeps the first framing. The camera stays outside the
    // whole model.
    const TurnedModel model(scene, centre, initialTurn(view));
    const double tanVertical = std::tan(radians(viewerFieldOfView(view.FieldOfView)) / 2.0);
    const double tanHorizontal = tanVertical * viewerSide(view.Width) / viewerSide(view.Height);
    const FitFrame frame{kFitFill * tanHorizontal, kFitFill * tanVertical};
    double nearest = -std::numeric_limits<double>::infinity();
    model.forEachFace([&](const TurnedFace& face) {
        for (const std::array<double, 3>& q : face.corners) {
            nearest = std::max(nearest, q[2]);
        }
    });
    const double least = nearest + 0.02 * radius;
    Outline across;
    Outline up;
    std::optional<Camera> camera = framing(model, [](const TurnedFace&) { return true; }, frame, least, &across, &up);
    if (!camera) {
        return std::nullopt;
    }
    const Camera whole = *camera;
    if (const std::optional<Camera> seen = framing(model, [&](const TurnedFace& face) { return showsTo(face, whole); },
                                                   frame, least, &across, &up)) {
        camera = seen;
    }
    const double distance = roundedUp(camera->distance);
    if (!std::isfinite(distance) || distance > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    // X and Y move the camera without turning it, so they shift the picture: with perspective
    // the picture of a deep or close model is not centred on the centre of its box.
    return QelFloat3{static_cast<float>(toHundredths(centringOffset(across, distance))),
                     static_cast<float>(toHundredths(centringOffset(up, distance))),
                     static_cast<float>(distance)};
}

} // namespace vantor
