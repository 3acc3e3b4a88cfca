#include "ui/qt/help_windows.h"

#include <QAction>
#include <QApplication>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>

#include "ui/qt/tool_windows.h"

namespace korvel::qt {

namespace {

// Keys that belong to no menu item; the items' own keys come from the menus.
constexpr const char* kOtherKeys[][2] = {
    {"Alt or F10", "the menus; Alt+F, Alt+V and Alt+H open one"},
    {"Tab, Shift+Tab", "the next or the previous control"},
    {"Space or Enter", "press the button with the focus"},
    {"Esc", "close the message, or the tool or help window it is pressed in; else leave full screen"},
};

QString shortcutRow(const QString& keys, const QString& what) {
    return QString("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(keys.toHtmlEscaped(), what.toHtmlEscaped());
}

const char* const kGuide = R"(
<h2>Korvel Simulation</h2>
<p>A craft moves in a plane under the gravity of a planet, and its track is drawn live.
Set a run in the boxes on the right, press <b>Run Simulation</b>, then pause, continue and
steer the craft with impulses.</p>

<h3>The boxes</h3>
<ul>
<li><b>planet mass</b>: in Earth masses. The blue disc is the planet.</li>
<li><b>planet radius</b>: only divides the distance shown on the button below "2d planet".</li>
<li><b>time factor</b>: simulated seconds per real second; a negative one runs time backwards.</li>
<li><b>screen scale</b>: half the view's height, in Earth radii (6,380 km); a negative one flips the view.</li>
<li><b>init distance</b>, <b>init ang pos</b>: where the craft starts, in Earth radii and radians.</li>
<li><b>impulse of 'burn'</b>, <b>dir of impulse</b>: the starting speed in m/s and its direction in
radians (0 is to the right, 1.57 up).</li>
<li><b>circle radius</b>: a red dotted reference circle, in Earth radii; 0 draws none.</li>
<li><b>clock time</b>, <b>realtime interval</b>, <b>speed</b>: the real seconds since the start, the
simulated minutes, and the speed in m/s.</li>
<li>The two boxes under the distance: the second planet's mass and distance, for "2d planet".</li>
</ul>
<p>The run reads its boxes when it starts; a box that does not hold what is needed is named
in a message, and nothing changes. Numbers take a decimal point: 1.5, not 1,5.</p>

<h3>Firing a burn</h3>
<p>Choose a size first: <b>impulse 1000</b>, <b>100</b>, <b>10</b> or <b>1</b> (m/s); it stays pressed.
Then <b>forward</b> and <b>backward</b> speed the craft up or slow it down along its travel,
<b>to right</b> and <b>to left</b> push it sideways, and <b>Apply Impulse</b> pushes it in the
direction typed in "dir of impulse". Forward at the nearest point raises the farthest, and the other way round.</p>

<h3>Seeing the orbit</h3>
<p><b>View &gt; Predicted Path</b> (F2) draws, dashed in orange, the path the craft will follow from
where it is: one revolution, or out of the view if it escapes. The dot marks its nearest point to the
planet (periapsis), the square its farthest (apoapsis), and a cross where it would hit the planet.
It includes the second planet's pull. While it is on and a size is chosen, pointing at or tabbing to a
burn button shows in yellow the path that burn would give, before you press it.</p>
<p>The planet pulls as a point at its centre and does not stop the craft: a craft that goes below the
surface flies on through the planet, as the physics has it. The path ends with its cross at the surface,
and while the craft is inside, Orbit Data says so.</p>
<p><b>View &gt; Orbit Data</b> (F3) lists the orbit about the planet alone: nearest and farthest
distance, size, eccentricity, period, time to each, energy and speeds, and beside them those of the
burn being previewed. Its graph shows the kinetic, potential and total energy as the run goes on; a
burn is a step in the total.</p>
<h3>Looking closer</h3>
<p>The wheel zooms about the pointer (<b>Ctrl++</b> and <b>Ctrl+&minus;</b> about the middle), a drag
with the left button pans, and once a click gave the drawing the focus the arrow keys pan too.
<b>View &gt; Fit Orbit</b> (Ctrl+9) shows the whole trail and the predicted path, <b>Reset View</b>
(Ctrl+0) the typed scale again, and <b>Follow Craft</b> keeps the craft in view. A larger window shows
more; F11 fills the screen. A scale bar gives a round length, and pointing at the trail shows that
moment of the run.</p>
<h3>For the projector and the lab bench</h3>
<p><b>View &gt; Colours</b> switches between Dark, the drawing's own colours, and Light, dark lines on
white for a projector or print; <b>Line Width</b> draws 1, 2 or 3 px wide. <b>Grid</b> (Ctrl+G) lays
lines at a round spacing, <b>Measuring Tape</b> (Ctrl+T) reads the distance between its two ends (drag
them; they snap to the planet, the craft, the apsides and the trail) and the flight time between two
points of the trail, and the <b>Velocity</b> and <b>Gravity Arrows</b> show the craft's velocity and
the pulls on it to a scale tied to the grid. A scenario can keep all of these, zoom included.</p>
<h3>Units</h3>
<p>%1</p>
<h3>Scenarios</h3>
<p><b>File &gt; Open Scenario</b> (Ctrl+O) opens a <i>.korvel</i> file as a fresh start: any run
ends, the drawing is cleared, the second planet is off and no impulse size is chosen, as when the
program starts; then its texts go into the boxes as if typed. Press "Run Simulation" to start. A scenario saved during a run also keeps the run: it comes
back paused, exactly where it was, with its drawing, readouts, second planet and impulse size, and
"Continue" goes on from there. <b>Save Scenario</b> (Ctrl+S) keeps the boxes, and the run so far once
one has started; its dialog also takes a title and a description, so a teacher can write a task into
the file (a title left empty takes the file's name). <b>Open Recent</b> lists the last eight files;
<b>Examples</b> has ready set-ups, each with a note on what to try. A file can also be dropped on the
window, or named on the command line. A file that cannot be opened is named with its fault, and
nothing changes.</p>
<p>A scenario with a description shows its title and description as it opens in <b>View &gt; About
This Scenario</b> (F4), a window beside the main one, so that a task can be read while it is done. Esc
closes it, as it closes Orbit Data and the help windows.</p>
<p><b>File &gt; Save Picture</b> (Ctrl+Shift+S) saves what the drawing shows, path included, as a PNG;
<b>Copy Picture</b> puts it on the clipboard. <b>Export Data</b> (Ctrl+E) writes the run so far as CSV
for a spreadsheet: time, position, velocity, distance, speed, the energies per kilogram and what
happened, with commas, or with semicolons and decimal commas.</p>
)";

QWidget* textWindow(QWidget* parent, const char* name, const QString& title, const QString& html, QSize size) {
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(name);
    window->setWindowTitle(title);
    auto* text = new QTextBrowser(window);
    text->setHtml(html);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    window->resize(size);
    closeOnEscape(window);
    return window;
}

}  // namespace

QString unitsNote() {
    return "Gravity: \u03bc = 9.8 m/s\u00b2 \u00d7 (6,380 km)\u00b2 = 3.989e14 m\u00b3/s\u00b2 per Earth mass. "
           "The \"dist\" button divides by 6,400 km.";
}

QWidget* makeGuideWindow(QWidget* parent) {
    // The guide holds no other place marker: its note on units goes in whole.
    const QString units = "The length unit is 6,380 km, the Earth's radius. " + unitsNote() +
                          " \u03bc is 0.16 % above the textbook 3.986e14.";
    return textWindow(parent, "helpWindow", "Korvel Simulation Help", QString(kGuide).arg(units.toHtmlEscaped()),
                      QSize(520, 560));
}

QWidget* makeShortcutsWindow(QWidget* parent, const QList<QAction*>& actions) {
    QString html = "<table cellpadding=\"3\">";
    for (const QAction* action : actions) {
        if (action->shortcut().isEmpty()) continue;
        // What the item does, in more words than its text where it has them.
        QString what = action->statusTip();
        if (what.isEmpty()) what = action->text().remove('&');
        html += shortcutRow(action->shortcut().toString(QKeySequence::NativeText), what);
    }
    for (const auto& [keys, what] : kOtherKeys) html += shortcutRow(keys, what);
    html += "</table>";
    QWidget* window = textWindow(parent, "shortcutsWindow", "Keyboard Shortcuts", html, QSize());
    // Sized to its table, so that every row shows without a scroll bar;
    // measured apart, as the browser's own document takes the browser's width.
    auto* text = window->findChild<QTextBrowser*>();
    QTextDocument table;
    table.setDefaultFont(text->document()->defaultFont());
    table.setHtml(html);
    table.setTextWidth(-1);
    const int slack = 2 * text->frameWidth() + 2;
    window->resize(static_cast<int>(std::ceil(table.size().width())) + slack,
                   static_cast<int>(std::ceil(table.size().height())) + slack);
    return window;
}

QString aboutText() {
    return QString(
               "Korvel Simulation %1\n\n"
               "A craft in orbit about a planet, drawn live.\n\n"
               "Released under the MIT licence.\n\n"
               "Built with Qt %2, running on Qt %3. Qt is used under the GNU Lesser General Public "
               "License, version 3 (LGPL-3); you may replace the Qt libraries with your own build "
               "of them.")
        .arg(QApplication::applicationVersion(), QT_VERSION_STR, qVersion());
}

}  // namespace korvel::qt
