#pragma once
// The predicted path and the burn preview as the drawing surface shows them:
// dashed lines with their apsides, over the drawing and never in it.

#include <QColor>
#include <QImage>

#include <vector>

#include "app/palette.h"
#include "app/view/view_geometry.h"
#include "orbit/prediction.h"

namespace korvel::qt {

class PictureBox;

// The overlay for `surface`: the path, and the preview when there is one.
// Each is a dashed line with a dot at periapsis, a hollow square at apoapsis
// and a cross where it meets the surface, in the colours of `colours`; lines
// and markers grow with `lineWidth` (logical pixels, 1 to 3). Empty paths
// draw nothing.
QImage drawOrbitOverlay(PictureBox& surface, const ViewGeometry& mapping, const orbit::PredictedPath* path,
                        const orbit::PredictedPath* preview, const Profile& colours, double lineWidth = 1);

// What an overlay shows, in whole pixels: for each path how it ends, the box
// it spans and its apsides. A path that ends after a revolution is a closed
// loop that looks the same wherever along it the craft is, so while the look
// of every path stays so, the overlay need not be drawn again.
struct OverlayLook {
    std::vector<long> pixels;
    bool closed = true;
    bool operator==(const OverlayLook&) const = default;
};
OverlayLook overlayLook(const PictureBox& surface, const ViewGeometry& mapping, const orbit::PredictedPath* path,
                        const orbit::PredictedPath* preview);

}  // namespace korvel::qt
