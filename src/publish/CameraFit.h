#pragma once
// Framing a model: the box of what the viewer draws, and the camera position at which the
// viewer's first picture shows the whole model, centred, filling most of the canvas.
//
// The viewer turns the model about the centre of that box and places the camera relative to
// it, so both sides must agree on the box: the corners of the faces of two or more corners in
// the shown objects (visible not 0), with the mirrored halves of mirrored objects.

#include "model/QelScene.h"
#include "publish/QelParameter.h"

#include <optional>

namespace vantor {

struct DrawnBounds {
    QelFloat3 min;
    QelFloat3 max;
};

// The box of everything the viewer draws of scene; nothing when it draws nothing.
std::optional<DrawnBounds> drawnBounds(const QelScene& scene);

// The part of the canvas the model may fill in its narrower direction at the fitted position.
inline constexpr float kFitFill = 0.85f;

// The camera position (x, y, d) at which the model, turned by the record's initial angles and
// seen with its field of view on its canvas, shows centred and just fits kFitFill of the canvas
// in both directions, with the camera outside the model. x and y shift the picture without
// turning the camera: with perspective the nearer parts of a deep or close model look larger,
// so its picture is not centred on its box. The picture is that of the faces whose fronts face
// the camera (the viewer draws no backs), unless the model shows none. d is rounded up to three
// significant digits, x and y to hundredths.
// Nothing for a scene that draws nothing, a model without extent, or a distance the viewer
// cannot be given.
std::optional<QelFloat3> fitCameraPosition(const QelScene& scene, const QelParameter& view);

} // namespace vantor
