// Pause, continue and quit. Whether the run is paused is read off the timer:
// only a pause (or a motion out of range) switches it off.

#include "app/korvel.h"

namespace korvel {

void Korvel::cmd_stop_simulation_Click() {
    // A second pause keeps the first one's start, so the whole pause is excluded.
    if (paused()) return;
    p_.timer.setEnabled(false);
    state_.pauseStart = p_.clock.now();
    happened(EventKind::RunPaused);
}

void Korvel::cmd_continue_Click() {
    if (!paused()) return;
    p_.controls.closeMessage();
    const double pause = p_.clock.now() - state_.pauseStart;
    state_.runStartTime += pause;
    state_.lastTickTime += pause;
    p_.timer.setEnabled(true);
    happened(EventKind::RunContinued);
}

void Korvel::cmd_exit_program_Click() { p_.controls.endProgram(); }

}  // namespace korvel
