#include "ui/qt/orbit_insight.h"

#include <QEvent>
#include <QFocusEvent>
#include <QScreen>

#include <cmath>

#include "app/panel.h"
#include "ui/qt/energy_plot.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/orbit_data_window.h"
#include "ui/qt/orbit_overlay.h"
#include "ui/qt/tool_windows.h"

namespace korvel::qt {

namespace {

// The surface warning speaks of the path drawn, second planet included, not
// of the two-body orbit: the two can disagree either way. A craft already
// below the surface keeps the figures' word for it.
void warnOfThePathDrawn(std::optional<orbit::OrbitFigures>& figures, const orbit::PredictedPath& path) {
    if (figures && figures->timeToSurface != 0.0) figures->timeToSurface = path.timeToImpact;
}

}  // namespace

OrbitInsight::OrbitInsight(KorvelWindow& window, QWidget* owner) : QObject(owner), window_(window), owner_(owner) {
    pace_.setInterval(kPaceMs);
    connect(&pace_, &QTimer::timeout, this, &OrbitInsight::onPace);
    for (std::size_t i = 0; i < burnButtons_.size(); ++i) {
        const auto burn = static_cast<orbit::Burn>(i);
        QWidget* button = window.burnButton(burn);
        burnButtons_[i] = {button, burn};
        button->installEventFilter(this);
    }
}

OrbitInsight::~OrbitInsight() = default;

QWidget* OrbitInsight::dataWindow() const { return data_; }

const Korvel& OrbitInsight::core() const { return window_.core(); }

std::optional<orbit::PredictionSettings> OrbitInsight::prediction() const {
    const auto& settings = core().settings();
    if (!settings) return std::nullopt;
    orbit::PredictionSettings p;
    p.planet.mass = settings->planetMass;
    p.timeSign = settings->timeFactor < 0 ? -1 : 1;
    p.viewRadius = settings->view.reach();
    return p;
}

std::optional<orbit::Burn> OrbitInsight::previewedBurn() const {
    if (quietAfterPress_) return std::nullopt;
    return hovered_ ? hovered_ : focused_;
}

bool OrbitInsight::anyViewShown() const { return pathShown_ || dataShown_; }

void OrbitInsight::setPathShown(bool shown) {
    pathShown_ = shown;
    predict();
    predictPreview();
    showPath();
}

void OrbitInsight::viewChanged() {
    PictureBox& picture = window_.picture();
    // Leaving the drawing itself, its overlay is kept: back in it, the same
    // path shows the very same pixels, its dashes where they were.
    if (overlayOnDrawing_ && !picture.showsDrawing() && picture.showsOverlay()) {
        keptOverlay_ = picture.overlay();
        keptLook_ = drawnLook_;
    }
    drawnLook_.reset();
    showPath();
}

void OrbitInsight::setLook(const Profile& colours, double lineWidth) {
    colours_ = colours;
    lineWidth_ = lineWidth;
    if (data_) data_->plot().setProfile(colours_);
    // An overlay kept from before is in the old colours and width.
    keptOverlay_ = QImage();
    keptLook_.reset();
    drawnLook_.reset();
    showPath();
}

void OrbitInsight::setDataShown(bool shown) {
    dataShown_ = shown;
    if (!shown) {
        if (data_) data_->hide();
        return;
    }
    if (!data_) {
        data_ = new OrbitDataWindow(owner_);
        connect(data_, &OrbitDataWindow::closed, this, [this] {
            dataShown_ = false;
            emit dataClosed();
        });
        placeBeside(data_, owner_, &window_.picture());
        data_->plot().setProfile(colours_);
    }
    predict();
    predictPreview();
    showData();
    data_->show();
    data_->raise();
}

void OrbitInsight::onEvents(const std::vector<RunEvent>& events) {
    bool changed = false;
    for (const RunEvent& event : events) {
        switch (event.kind) {
        case EventKind::RunStarted:
            // The craft back at its start and the run's clock at 0.
            heldStep_.reset();
            [[fallthrough]];
        case EventKind::RunContinued: pace_.start(); break;
        case EventKind::ImpulseFired:
            // The burn is the path now: the next one's preview would stand
            // where this one's should.
            quietAfterPress_ = true;
            break;
        case EventKind::RunCleared:
            // No run: the views go blank, as when the program starts.
            heldStep_.reset();
            pace_.stop();
            break;
        case EventKind::SecondPlanetPlaced:
        case EventKind::RunOpened:
        case EventKind::SizeChosen:
        case EventKind::None: break;
        case EventKind::RunPaused:
            // The pace shows the paused state once more by itself.
            continue;
        }
        changed = true;
    }
    if (!changed) return;
    predict();
    predictPreview();
    showPath();
    showData();
}

std::optional<double> OrbitInsight::subStepTooLong(const SimulationState& state, const orbit::Planet& planet) const {
    if (!planet.attracts()) return std::nullopt;
    const double r = std::hypot(state.posX[kCraft], state.posY[kCraft]);
    const double localTime = localOrbitalTime(r, planet.mu());
    const double step = std::abs(core().subStepLength());
    if (!(localTime > 0) || !(step > kLongestStepShare * localTime)) return std::nullopt;
    return step;
}

void OrbitInsight::onTick() {
    const auto& settings = core().settings();
    if (!settings) return;
    const SimulationState& state = core().state();
    if (const auto step = subStepTooLong(state, {settings->planetMass})) {
        heldStep_ = step;
        sinceStepTooLong_ = 0;
    } else if (heldStep_) {
        sinceStepTooLong_ += std::abs(state.tickElapsed);
        if (!(sinceStepTooLong_ < kStepWarningHold)) heldStep_.reset();
    }
}

void OrbitInsight::onPace() {
    // Paused or ended: shown once more as it stopped, then it stays.
    const bool stopping = !window_.timer().ticking();
    if (stopping) pace_.stop();
    if (anyViewShown()) {
        predict();
        predictPreview();
    }
    if (pathShown_) showPath();
    // The figures at every other pace: five times a second is as fast as
    // they can be read, and each new text lays the window out again.
    if (++paces_ % 2 == 0 || stopping) showData();
}

void OrbitInsight::predict() {
    path_ = {};
    // Orbit Data's surface warning speaks of this path too.
    if (!anyViewShown()) return;
    if (const auto p = prediction()) path_ = orbit::predictPath(core().state(), *p);
}

void OrbitInsight::predictPreview() {
    preview_.reset();
    previewVelocity_.reset();
    const auto burn = previewedBurn();
    const auto p = prediction();
    if (!anyViewShown() || !burn || !p) return;
    SimulationState after = core().state();
    // Read as the button reads it, but a box that is not a number previews
    // nothing and tells nothing.
    const auto velocity = orbit::velocityAfterBurn(after, *burn, window_.text(ControlArray::txt_masses, kBoxDirection));
    if (!velocity) return;
    after.velX[kCraft] = velocity->x;
    after.velY[kCraft] = velocity->y;
    previewVelocity_ = velocity;
    preview_ = orbit::predictPath(after, *p);
}

void OrbitInsight::showPath() {
    PictureBox& picture = window_.picture();
    const auto& settings = core().settings();
    if (!pathShown_ || !settings) {
        picture.setOverlay(QImage());
        drawnLook_.reset();
        return;
    }
    const ViewGeometry& mapping = settings->view;
    const orbit::PredictedPath* preview = preview_ ? &*preview_ : nullptr;
    // Redrawing the overlay repaints the whole drawing; a closed loop that
    // only moved its start along itself looks the same.
    OverlayLook look = overlayLook(picture, mapping, &path_, preview);
    if (look.closed && drawnLook_ == look && picture.showsOverlay()) return;
    overlayOnDrawing_ = picture.showsDrawing();
    const bool kept = overlayOnDrawing_ && look.closed && keptLook_ == look;
    drawnLook_ = std::move(look);
    picture.setOverlay(kept ? keptOverlay_ : drawOrbitOverlay(picture, mapping, &path_, preview, colours_, lineWidth_));
    if (overlayOnDrawing_) {
        keptOverlay_ = QImage();
        keptLook_.reset();
    }
}

void OrbitInsight::showData() {
    if (!dataShown_ || !data_) return;
    const SimulationState& state = core().state();
    const auto p = prediction();
    const orbit::Planet planet = p ? p->planet : orbit::Planet{};
    std::optional<orbit::OrbitFigures> now;
    std::optional<orbit::OrbitFigures> preview;
    std::optional<double> share;
    bool inside = false;
    if (p) {
        const Vec2 position{state.posX[kCraft], state.posY[kCraft]};
        const double sign = p->timeSign;
        now = orbit::orbitFigures(position, {state.velX[kCraft], state.velY[kCraft]}, planet, sign);
        warnOfThePathDrawn(now, path_);
        if (previewVelocity_ && preview_) {
            preview = orbit::orbitFigures(position, {previewVelocity_->x, previewVelocity_->y}, planet, sign);
            warnOfThePathDrawn(preview, *preview_);
        }
        share = orbit::secondPullShare(state, planet);
        inside = planet.attracts() && std::hypot(position.x, position.y) < planet.surfaceRadius();
    }
    data_->showFigures(now, preview, planet, share, state.secondPlanetOn, inside);
    std::optional<double> step = subStepTooLong(state, planet);
    if (!step) step = heldStep_;
    data_->showStepWarning(step, p ? core().settings()->timeFactor : 0);
    // A massless second planet pulls nothing: the drift still means something.
    data_->showEnergy(core().log().energy(), state.secondPlanetOn && state.secondPlanetMass > 0);
}

bool OrbitInsight::eventFilter(QObject* watched, QEvent* event) {
    std::optional<orbit::Burn> burn;
    for (const auto& [button, which] : burnButtons_)
        if (button == watched) burn = which;
    if (!burn) return false;
    switch (event->type()) {
    case QEvent::Enter:
        hovered_ = burn;
        quietAfterPress_ = false;
        break;
    case QEvent::Leave:
        if (hovered_ == burn) hovered_.reset();
        break;
    case QEvent::FocusIn: {
        focused_ = burn;
        // Moved there by the keyboard, not left there by a press.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
            quietAfterPress_ = false;
        break;
    }
    case QEvent::FocusOut:
        if (focused_ == burn) focused_.reset();
        break;
    default: return false;
    }
    if (anyViewShown()) {
        predictPreview();
        showPath();
        showData();
    }
    return false;
}

}  // namespace korvel::qt
