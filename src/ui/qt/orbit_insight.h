#pragma once
// Where the craft is going: the predicted path over the drawing, the burn
// preview of the button under the pointer or the focus, and the Orbit Data
// window with the run log's energy: the path kept up ten times a second, the
// figures five. With both views off it only judges the sub-step.

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "app/korvel.h"
#include "app/palette.h"
#include "orbit/burn_preview.h"
#include "orbit/prediction.h"
#include "sim/state.h"
#include "ui/qt/orbit_overlay.h"

namespace korvel::qt {

class KorvelWindow;
class OrbitDataWindow;

class OrbitInsight : public QObject {
    Q_OBJECT
public:
    // Watches the burn buttons of `window`; the Orbit Data window opens beside `owner`.
    OrbitInsight(KorvelWindow& window, QWidget* owner);
    ~OrbitInsight() override;

    void setPathShown(bool shown);
    // The drawing's view moved: the path is drawn anew through it.
    void viewChanged();
    void setDataShown(bool shown);
    // The colours of the path, the preview and the energy graph, and the
    // width of the lines and markers over the drawing.
    void setLook(const Profile& colours, double lineWidth);
    bool pathShown() const { return pathShown_; }
    bool dataShown() const { return dataShown_; }

    const orbit::PredictedPath& path() const { return path_; }
    // The path the burn under the pointer or the focus would give, if any.
    const std::optional<orbit::PredictedPath>& preview() const { return preview_; }
    // Null until Orbit Data is first shown.
    QWidget* dataWindow() const;

    // What a handler did. Whatever changed the motion (a run started or
    // continued, an impulse, a second planet) or the burn a preview shows (a
    // size chosen) is shown at once.
    void onEvents(const std::vector<RunEvent>& events);
    // After every tick: the sub-step is judged.
    void onTick();

    // Ten times a second: the path and the figures change slowly on the
    // screen, and each redraw of the overlay repaints the whole drawing.
    static constexpr int kPaceMs = 100;

signals:
    // The operator closed the Orbit Data window.
    void dataClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Korvel& core() const;
    // What the prediction needs of the run; nothing before the first run.
    std::optional<orbit::PredictionSettings> prediction() const;
    // The burn under the pointer or the focus, unless a press came since.
    std::optional<orbit::Burn> previewedBurn() const;
    // Whether either view is on: both show the path's surface warning and a
    // burn's preview.
    bool anyViewShown() const;
    // A sub-step longer than this share of the local orbital time √(r³/μ)
    // is too long for the orbit: at exact 1 ms ticks the default orbit then
    // drifts by about 0.004 % a revolution, and a real tick that stalls
    // makes its sub-steps as many times longer.
    static constexpr double kLongestStepShare = 0.01;
    // The warning stays this long, in real seconds of ticks, after the last
    // sub-step too long: judged on one tick, it would flicker with the
    // ticks' jitter or the orbit's apsides near the threshold.
    static constexpr double kStepWarningHold = 0.5;
    // The last tick's sub-step, s, when it is too long for the orbit.
    std::optional<double> subStepTooLong(const SimulationState& state, const orbit::Planet& planet) const;
    void onPace();
    void predict();
    void predictPreview();
    void showPath();
    void showData();

    KorvelWindow& window_;
    QWidget* owner_;
    QTimer pace_;
    bool pathShown_ = false;
    bool dataShown_ = false;
    orbit::PredictedPath path_;
    std::optional<orbit::PredictedPath> preview_;
    std::optional<Vec2> previewVelocity_;
    // The buttons whose burn a preview shows.
    std::array<std::pair<QObject*, orbit::Burn>, 5> burnButtons_{};
    std::optional<orbit::Burn> hovered_;
    std::optional<orbit::Burn> focused_;
    // After a press, until the pointer comes back to a burn button or the
    // keyboard moves the focus to one.
    bool quietAfterPress_ = false;
    // The last sub-step too long for the orbit, while the warning holds, and
    // the real seconds of ticks since it.
    std::optional<double> heldStep_;
    double sinceStepTooLong_ = 0;
    QPointer<OrbitDataWindow> data_;
    unsigned paces_ = 0;
    // How the overlay shown looks, while one is shown.
    std::optional<OverlayLook> drawnLook_;
    // Whether the overlay shown was drawn over the drawing itself, and the
    // one kept while the view shows something else.
    bool overlayOnDrawing_ = false;
    QImage keptOverlay_;
    std::optional<OverlayLook> keptLook_;
    Profile colours_ = darkProfile();
    double lineWidth_ = 1;
};

}  // namespace korvel::qt
