#pragma once
// Timer1, the clock and the random source on Qt.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <random>

#include "app/platform.h"

namespace korvel::qt {

// Ticks every `interval` ms while enabled. Unlike a QTimer, an interval of 0
// means no ticks at all. Created enabled with interval 0, so it is idle.
class QtTimer : public QObject, public Timer {
    Q_OBJECT
public:
    explicit QtTimer(QObject* parent = nullptr);

    void setInterval(int milliseconds) override;
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }

    int interval() const { return interval_; }
    bool ticking() const { return timer_.isActive(); }
    std::uint64_t tickCount() const { return ticks_; }
    void onTick(std::function<void()> handler) { handler_ = std::move(handler); }

private:
    void apply();

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
    std::uint64_t ticks_ = 0;
    std::function<void()> handler_;
};

// Monotonic seconds since the clock was made, to the nanosecond.
class QtClock : public Clock {
public:
    QtClock() { elapsed_.start(); }
    double now() const override { return static_cast<double>(elapsed_.nsecsElapsed()) * 1e-9; }
    double timeOfDay() const override;

private:
    QElapsedTimer elapsed_;
};

class MtRandom : public RandomSource {
public:
    void seed(double value) override;
    // 24 random bits over 2^24: always below 1.
    float next() override { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 engine_;
};

}  // namespace korvel::qt
