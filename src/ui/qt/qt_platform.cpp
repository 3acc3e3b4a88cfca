#include "ui/qt/qt_platform.h"

#include <QTime>

#include <bit>

namespace korvel::qt {

QtTimer::QtTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        ++ticks_;
        if (handler_) handler_();
    });
}

void QtTimer::setInterval(int milliseconds) {
    interval_ = milliseconds < 0 ? 0 : milliseconds;
    apply();
}

void QtTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    apply();
}

void QtTimer::apply() {
    if (!enabled_ || interval_ <= 0) {
        timer_.stop();
        return;
    }
    // A running timer keeps its rhythm when nothing changes.
    if (timer_.isActive() && timer_.interval() == interval_) return;
    timer_.start(interval_);
}

double QtClock::timeOfDay() const { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

void MtRandom::seed(double value) {
    // Every bit of the reading counts, so starts a millisecond apart differ.
    const auto bits = std::bit_cast<std::uint64_t>(value);
    std::seed_seq seq{static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
    engine_.seed(seq);
}

}  // namespace korvel::qt
