// Keeping the panel and the run as a scenario, and bringing them back.

#include "app/korvel.h"
#include "app/panel.h"
#include "app/view/window_layout.h"
#include "sim/numbers.h"

namespace korvel {

Scenario Korvel::scenario() const {
    Scenario scenario;
    scenario.title = scenarioTitle_;
    scenario.description = scenarioDescription_;
    for (int box : kScenarioBoxes) scenario.panel[box] = boxText(box);
    if (!settings_) return scenario;
    SavedRun& run = scenario.run.emplace();
    run.state = state_;
    const double now = paused() ? state_.pauseStart : p_.clock.now();
    run.runClock = now - state_.runStartTime;
    run.sinceLastTick = now - state_.lastTickTime;
    run.subSteps = subStepsRun_;
    run.pictureScale = pictureScale_;
    run.clockTime = boxText(kBoxClockTime);
    run.realtimeInterval = boxText(kBoxRealtimeInterval);
    run.speed = boxText(kBoxSpeed);
    run.distanceCaption = p_.controls.text(ControlArray::cmd_color, kBankDistance);
    // A run without a window keeps no rows, and so no log to keep.
    if (!log_.history().rows().empty()) run.log = log_.kept();
    return scenario;
}

void Korvel::startAfresh() {
    // As at start: enabled with no interval, so it never ticks and
    // "Continue" has no pause to end.
    p_.timer.setInterval(0);
    p_.timer.setEnabled(true);
    state_ = SimulationState{};
    settings_.reset();
    pictureScale_.reset();
    subStepsRun_ = 0;
    // The drawing as a new window has it: clear, at its own size in twips,
    // circles hollow.
    p_.picture.setBackColor(kBlack);
    p_.picture.setScale(kPictureRect.height, kPictureRect.width);
    p_.picture.setFillStyle(kFillHollow);
    p_.picture.setFillColor(kBlack);
    for (int box : {kBoxClockTime, kBoxRealtimeInterval, kBoxSpeed})
        p_.controls.setText(ControlArray::txt_masses, box, kDefaultTexts[box]);
    p_.controls.setText(ControlArray::cmd_color, kBankDistance, kDistancePrefix + boxText(kBoxInitDistance));
    happened(EventKind::RunCleared);
}

void Korvel::describeScenario(std::string title, std::string description) {
    scenarioTitle_ = std::move(title);
    scenarioDescription_ = std::move(description);
}

void Korvel::openScenario(const Scenario& scenario) {
    p_.controls.closeMessage();
    describeScenario(scenario.title, scenario.description);
    for (int box : kScenarioBoxes) p_.controls.setText(ControlArray::txt_masses, box, scenario.panel[box]);
    if (!scenario.run) {
        // Whatever was done before (a second planet placed, a size chosen),
        // the scenario means what it says.
        startAfresh();
        return;
    }
    const SavedRun& run = *scenario.run;
    p_.timer.setEnabled(false);
    p_.timer.setInterval(1);

    state_ = run.state;
    // Paused now, with the run's clock where it was kept.
    const double now = p_.clock.now();
    state_.pauseStart = now;
    state_.runStartTime = now - run.runClock;
    state_.lastTickTime = now - run.sinceLastTick;
    state_.tickElapsed = 0;
    subStepsRun_ = run.subSteps;
    settings_ = RunSettings{*snapshotNumber(state_.planetMass), *snapshotNumber(state_.timeFactor),
                            ViewGeometry(*snapshotNumber(state_.screenScale)),
                            // The kept drawing's circle is the one its box asks for.
                            leadingNumber(scenario.panel[kBoxCircleRadius]).value_or(0)};
    pictureScale_ = run.pictureScale;
    if (pictureScale_) {
        const ViewGeometry view(*pictureScale_);
        p_.picture.setScale(view.height(), view.width());
    }

    p_.controls.setText(ControlArray::txt_masses, kBoxClockTime, run.clockTime);
    p_.controls.setText(ControlArray::txt_masses, kBoxRealtimeInterval, run.realtimeInterval);
    p_.controls.setText(ControlArray::txt_masses, kBoxSpeed, run.speed);
    p_.controls.setText(ControlArray::cmd_color, kBankDistance, run.distanceCaption);
    happened(EventKind::RunOpened);
    if (run.log) log_.restore(*run.log);
}

}  // namespace korvel
