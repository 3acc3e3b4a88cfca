#pragma once
// One font everywhere: DejaVu Sans for the window, its messages, tooltips and
// any other window of the program, on every platform.

namespace korvel::qt {

// Makes DejaVu Sans the application's font, at the platform's size, loading
// the copy compiled into the program where there is one (the Windows build),
// else the one installed. False, and the platform's font kept, when neither
// is there. Needs the QApplication.
bool useProgramFont();

}  // namespace korvel::qt
