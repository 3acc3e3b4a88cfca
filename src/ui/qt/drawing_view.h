#pragma once
// Picture1 as a view of the run: at any zoom, pan or size but the typed one,
// the drawing is drawn from the run log through the view's mapping, while the
// drawing itself is kept up to date behind it. A tick adds only its new
// segment to the view's cached image; a change of view redraws from the log,
// and while the wheel or a drag moves, the cached image is shown scaled.

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QTimer>

#include <optional>
#include <utility>
#include <vector>

#include "app/korvel.h"
#include "app/palette.h"
#include "app/run_events.h"
#include "app/view/view_transform.h"

class QLabel;
class QPainter;

namespace korvel::qt {

class PictureBox;

class DrawingView : public QObject {
    Q_OBJECT
public:
    DrawingView(PictureBox& picture, const Korvel& core);

    // Any view but the default one (the typed scale, unpanned, at the
    // drawing's own size, in the drawing's own colours).
    bool active() const;
    const ViewTransform& transform() const { return transform_; }
    // Where a world point lands on the widget, logical pixels.
    std::optional<QPointF> toWidget(Vec2 world) const;
    // Paints the view; the picture's overlay goes over it.
    void paint(QPainter& painter);
    // The view as shown, at device pixels.
    QImage image();

    void zoomIn();
    void zoomOut();
    // The trail so far and `path` (the predicted path, if shown) fill the view.
    void fit(const std::vector<Vec2>& path);
    void reset();
    // A kept zoom and centre. Before any run they wait, too, for the run's
    // typed scale: the first run would otherwise reset them.
    void setZoomAndCentre(double zoom, Vec2 centre);
    void setFollowCraft(bool follow);
    // Stroke width of the trail, logical pixels.
    void setLineWidth(double width);
    // The colours the view is drawn in; any but the drawing's own show a view
    // even at the default one.
    void setProfile(const Profile& profile);
    const Profile& profile() const { return profile_; }

    void onEvents(const std::vector<RunEvent>& events);
    void onTick();

    // The most a scale bar is long, as a share of the drawing's width.
    static constexpr double kScaleBarShare = 0.25;

signals:
    // The mapping changed: what is drawn over the drawing is drawn anew.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // After the operator moved the view: the cached image, scaled, until
    // the moving stops and a redraw follows.
    void moved();
    void redraw();
    void redrawSoon();
    void drawNewSegment();
    void syncScale();
    void showScaleBar();
    bool showTip(const QPoint& at) const;
    // Where the second planet's disc is drawn now, while it is on and shows.
    std::optional<QRectF> secondPlanetDisc() const;

    PictureBox& picture_;
    const Korvel& core_;
    ViewTransform transform_;
    // The image drawn from the log, and the view it was drawn in.
    QImage cache_;
    ViewTransform cacheTransform_;
    bool cacheValid_ = false;
    QTimer settle_;
    QLabel* scaleBar_ = nullptr;
    std::optional<QPointF> dragFrom_;
    bool follow_ = false;
    double lineWidth_ = 1;
    Profile profile_ = darkProfile();
    // Where the trail was last drawn to in the cache, m; none after a break.
    std::optional<Vec2> lastDrawn_;
    // The trail's rows when the cache last took its new segments.
    std::size_t trailRowsDrawn_ = 0;
    std::optional<QRectF> secondPlanetShown_;
    // A kept zoom and centre waiting for the first run's typed scale.
    std::optional<std::pair<double, Vec2>> waiting_;
};

}  // namespace korvel::qt
