#include "ui/qt/look_menus.h"

#include <QActionGroup>
#include <QMenu>

#include <algorithm>
#include <array>

#include "app/palette.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/orbit_insight.h"
#include "ui/qt/safe_file_dialog.h"
#include "ui/qt/view_tools.h"

namespace korvel::qt {

namespace {

const QString kColoursKey = QStringLiteral("view/colours");
const QString kLineWidthKey = QStringLiteral("view/lineWidth");
constexpr int kWidestLine = 3;

// One of a group's exclusive choices.
QAction* choice(QActionGroup* group, QMenu* menu, const QString& name, const QString& text, const QString& tip) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setStatusTip(tip);
    group->addAction(action);
    return action;
}

}  // namespace

void buildLookMenus(QMenu* view, DrawingView& drawing, OrbitInsight& insight, ViewTools& tools) {
    QMenu* colours = view->addMenu("&Colours");
    colours->setObjectName("menuColours");
    auto* profiles = new QActionGroup(colours);
    QAction* dark = choice(profiles, colours, "actionColoursDark", "Dark", "The drawing's own colours, on black");
    QAction* light =
        choice(profiles, colours, "actionColoursLight", "Light", "Dark lines on white, for a projector or print");

    QMenu* widths = view->addMenu("Line &Width");
    widths->setObjectName("menuLineWidth");
    auto* lines = new QActionGroup(widths);
    std::array<QAction*, kWidestLine> width{};
    for (int w = 1; w <= kWidestLine; ++w) {
        width[w - 1] = choice(lines, widths, QString("actionLineWidth%1").arg(w), QString("%1 px").arg(w),
                              QString("Lines of the view and of the predicted path %1 px wide").arg(w));
        width[w - 1]->setData(w);
    }

    const QSettings settings = programSettings();
    (settings.value(kColoursKey).toString() == "light" ? light : dark)->setChecked(true);
    width[std::clamp(settings.value(kLineWidthKey, 1).toInt(), 1, kWidestLine) - 1]->setChecked(true);

    const auto apply = [&drawing, &insight, &tools, light, lines] {
        const Profile profile = light->isChecked() ? lightProfile() : darkProfile();
        const double lineWidth = lines->checkedAction()->data().toInt();
        drawing.setLineWidth(lineWidth);
        drawing.setProfile(profile);
        insight.setLook(profile, lineWidth);
        tools.setProfile(profile);
    };
    apply();
    for (QAction* action : profiles->actions())
        QObject::connect(action, &QAction::toggled, view, [apply, light](bool on) {
            if (!on) return;
            programSettings().setValue(kColoursKey, light->isChecked() ? "light" : "dark");
            apply();
        });
    for (QAction* action : lines->actions())
        QObject::connect(action, &QAction::toggled, view, [apply, action](bool on) {
            if (!on) return;
            programSettings().setValue(kLineWidthKey, action->data().toInt());
            apply();
        });
}

}  // namespace korvel::qt
