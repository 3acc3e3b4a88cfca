#include "ui/qt/orbit_insight.h"

#include <QEvent>
#include <QScreen>

#include <cmath>

#include "sim/numbers.h"
#include "ui/panel.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/orbit_data_window.h"
#include "ui/qt/orbit_overlay.h"


namespace korvel::qt {

namespace {

bool sameBody(const SimulationState& a, const SimulationState& b, int body) {
    return a.posX[body] == b.posX[body] && a.posY[body] == b.posY[body] && a.velX[body] == b.velX[body] &&
           a.velY[body] == b.velY[body];
}

}  // namespace

OrbitInsight::OrbitInsight(KorvelWindow& window, QWidget* owner) : QObject(owner), window_(window), owner_(owner) {
    pace_.setInterval(kPaceMs);
    connect(&pace_, &QTimer::timeout, this, &OrbitInsight::onPace);
    const std::pair<const char*, orbit::Burn> buttons[] = {
        {"cmd_color(0)", orbit::Burn::Forward}, {"cmd_color(1)", orbit::Burn::Backward},
        {"cmd_color(2)", orbit::Burn::ToRight}, {"cmd_color(3)", orbit::Burn::ToLeft},
        {"cmd_apply", orbit::Burn::Apply}};
    for (std::size_t i = 0; i < burnButtons_.size(); ++i) {
        QWidget* button = window.findChild<QWidget*>(buttons[i].first);
        burnButtons_[i] = {button, buttons[i].second};
        if (button) button->installEventFilter(this);
    }
}

OrbitInsight::~OrbitInsight() = default;

QWidget* OrbitInsight::dataWindow() const { return data_; }

std::optional<OrbitInsight::Settings> OrbitInsight::settings() const {
    const SimulationState& state = window_.core().state();
    // The snapshots are empty until the first run.
    if (state.planetMass.empty() || state.planetRadius <= 0) return std::nullopt;
    const auto mass = snapshotNumber(state.planetMass);
    const auto timeFactor = snapshotNumber(state.timeFactor);
    const auto screenScale = snapshotNumber(state.screenScale);
    if (!mass || !timeFactor || !screenScale) return std::nullopt;
    Settings s;
    s.planet.mass = *mass;
    s.timeFactor = *timeFactor;
    s.screenScale = *screenScale;
    s.prediction.planet = s.planet;
    s.prediction.timeSign = *timeFactor < 0 ? -1 : 1;
    // The view is 170 s / 75 units wide and 2 s high: its half-diagonal.
    s.prediction.viewRadius = std::abs(*screenScale) * std::hypot(85.0 / 75.0, 1.0) * state.planetRadius;
    return s;
}

// As the "realtime interval" readout counts it; a pause stops it.
double OrbitInsight::simulatedTime(double timeFactor) const {
    const SimulationState& state = window_.core().state();
    const double now = window_.timer().enabled() ? window_.clock().now() : state.pauseStart;
    return (now - state.runStartTime) * timeFactor;
}

std::optional<orbit::Burn> OrbitInsight::previewedBurn() const { return hovered_ ? hovered_ : focused_; }

void OrbitInsight::setPathShown(bool shown) {
    pathShown_ = shown;
    predict();
    predictPreview();
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
        // Beside the main window, where the screen has room.
        const QRect frame = owner_->frameGeometry();
        const QRect screen = owner_->screen() ? owner_->screen()->availableGeometry() : QRect();
        QPoint at = frame.topRight() + QPoint(8, 0);
        if (!screen.isEmpty() && at.x() + data_->sizeHint().width() > screen.right())
            at.setX(std::max(screen.left(), screen.right() - data_->sizeHint().width()));
        data_->move(at);
    }
    showData();
    data_->show();
    data_->raise();
}

void OrbitInsight::acted(const SimulationState& before) {
    const SimulationState& now = window_.core().state();
    const bool started = now.runStartTime != before.runStartTime;
    const bool moved = !sameBody(before, now, kCraft) || now.secondPlanetOn != before.secondPlanetOn ||
                       (now.secondPlanetOn && !sameBody(before, now, kSecondPlanet));
    if (!started && !moved && now.impulseSize == before.impulseSize) return;
    if (const auto s = settings(); s && (started || moved)) {
        const double t = simulatedTime(s->timeFactor);
        const auto& samples = energy_.samples();
        if (started) {
            // A new start puts the craft back and the run's clock to 0; a
            // continued run goes on where it was.
            if (moved || (!samples.empty() && std::abs(t) < std::abs(samples.back().time))) energy_.clear();
            sampleEnergy();
            pace_.start();
        } else {
            const auto energyBefore = orbit::energyOf(before, s->planet, t);
            const auto energyAfter = orbit::energyOf(now, s->planet, t);
            if (energyBefore && energyAfter) energy_.addImpulse(*energyBefore, *energyAfter);
        }
    }
    predict();
    predictPreview();
    showPath();
    showData();
}

void OrbitInsight::onPace() {
    // Paused or ended: shown once more as it stopped, then it stays.
    const bool stopping = !window_.timer().ticking();
    if (stopping) pace_.stop();
    sampleEnergy();
    if (pathShown_) {
        predict();
        predictPreview();
        showPath();
    }
    // The figures at every other pace: five times a second is as fast as
    // they can be read, and each new text lays the window out again.
    if (++paces_ % 2 == 0 || stopping) showData();
}

void OrbitInsight::predict() {
    path_ = {};
    if (!pathShown_) return;
    if (const auto s = settings()) path_ = orbit::predictPath(window_.core().state(), s->prediction);
}

void OrbitInsight::predictPreview() {
    preview_.reset();
    previewVelocity_.reset();
    const auto burn = previewedBurn();
    const auto s = settings();
    if (!pathShown_ || !burn || !s) return;
    SimulationState after = window_.core().state();
    // Read as the button reads it, but a box that is not a number previews
    // nothing and tells nothing.
    const auto velocity = orbit::velocityAfterBurn(after, *burn, window_.text(ControlArray::txt_masses, kBoxDirection));
    if (!velocity) return;
    after.velX[kCraft] = velocity->x;
    after.velY[kCraft] = velocity->y;
    previewVelocity_ = velocity;
    preview_ = orbit::predictPath(after, s->prediction);
}

void OrbitInsight::sampleEnergy() {
    const auto s = settings();
    if (!s) return;
    if (const auto sample = orbit::energyOf(window_.core().state(), s->planet, simulatedTime(s->timeFactor)))
        energy_.add(*sample);
}

void OrbitInsight::showPath() {
    PictureBox& picture = window_.picture();
    const auto s = settings();
    if (!pathShown_ || !s) {
        picture.setOverlay(QImage());
        drawnLook_.reset();
        return;
    }
    const WorldMapping mapping{s->screenScale, static_cast<double>(window_.core().state().planetRadius)};
    const orbit::PredictedPath* preview = preview_ ? &*preview_ : nullptr;
    // Redrawing the overlay repaints the whole drawing; a closed loop that
    // only moved its start along itself looks the same.
    OverlayLook look = overlayLook(picture, mapping, &path_, preview);
    if (look.closed && drawnLook_ == look && picture.showsOverlay()) return;
    drawnLook_ = std::move(look);
    picture.setOverlay(drawOrbitOverlay(picture, mapping, &path_, preview));
}

void OrbitInsight::showData() {
    if (!dataShown_ || !data_) return;
    const SimulationState& state = window_.core().state();
    const auto s = settings();
    const orbit::Planet planet = s ? s->planet : orbit::Planet{};
    std::optional<orbit::OrbitFigures> now;
    std::optional<orbit::OrbitFigures> preview;
    std::optional<double> share;
    if (s) {
        const orbit::Vec2 position{state.posX[kCraft], state.posY[kCraft]};
        const double sign = s->prediction.timeSign;
        now = orbit::orbitFigures(position, {state.velX[kCraft], state.velY[kCraft]}, planet, sign);
        if (previewVelocity_)
            preview = orbit::orbitFigures(position, {previewVelocity_->x, previewVelocity_->y}, planet, sign);
        share = orbit::secondPullShare(state, planet);
    }
    data_->showFigures(now, preview, planet, share, state.secondPlanetOn);
    data_->showEnergy(energy_, state.secondPlanetOn);
}

bool OrbitInsight::eventFilter(QObject* watched, QEvent* event) {
    std::optional<orbit::Burn> burn;
    for (const auto& [button, which] : burnButtons_)
        if (button == watched) burn = which;
    if (!burn) return false;
    switch (event->type()) {
    case QEvent::Enter: hovered_ = burn; break;
    case QEvent::Leave: if (hovered_ == burn) hovered_.reset(); break;
    case QEvent::FocusIn: focused_ = burn; break;
    case QEvent::FocusOut: if (focused_ == burn) focused_.reset(); break;
    default: return false;
    }
    if (pathShown_) {
        predictPreview();
        showPath();
        showData();
    }
    return false;
}

}  // namespace korvel::qt
