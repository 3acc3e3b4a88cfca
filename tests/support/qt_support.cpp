#include "qt_support.h"

#include <QAction>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "ui/qt/main_window.h"

namespace korvel::qt::testing {

QString boxName(int i) { return QString("txt_masses(%1)").arg(i); }
QString labelName(int i) { return QString("lbl_mass_id(%1)").arg(i); }
QString bankName(int i) { return QString("cmd_color(%1)").arg(i); }

QWidget* child(KorvelWindow& w, const QString& name) {
    auto* found = w.findChild<QWidget*>(name);
    if (!found) qWarning("no control %s", qPrintable(name));
    return found;
}
QLineEdit* box(KorvelWindow& w, int i) { return w.findChild<QLineEdit*>(boxName(i)); }
QPushButton* button(KorvelWindow& w, const QString& name) { return w.findChild<QPushButton*>(name); }
QPushButton* bank(KorvelWindow& w, int i) { return button(w, bankName(i)); }

void click(KorvelWindow& w, const QString& name) {
    QPushButton* b = button(w, name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
}

QAction* action(MainWindow& m, const char* name) {
    auto* a = m.findChild<QAction*>(name);
    if (!a) qWarning("no action %s", name);
    return a;
}

void runPaused(MainWindow& m, int ms) {
    action(m, "actionPredictedPath")->setChecked(true);
    click(m.korvel(), "runSImulation");
    spin(ms);
    click(m.korvel(), "cmd_stop_simulation");
}

void spin(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

const QStringList kLabels = {"planet mass",   "planet radius", "time factor",       "screen scale",
                             "init distance", "init ang pos",  "impulse of 'burn'", "dir of impulse",
                             "clock time",    "circle radius", "realtime interval", "speed"};
const QStringList kDefaults = {"1",
                               "1",
                               "1000",
                               "3",
                               "1.02",
                               "0",
                               "8000",
                               "1.57",
                               "",
                               "0",
                               "",
                               "",
                               "second planet mass as multiple of Earth mass (Moon = .0123)",
                               "second planet dist as multiple of Earth radius (Moon = 60.2)"};
const QStringList kBank = {"forward",     "backward",   "to right",  "to left",   "impulse 1000",
                           "impulse 100", "impulse 10", "impulse 1", "2d planet", "dist 1.02"};

bool isTrail(QRgb c) { return c == qRgb(215, 255, 255) || c == qRgb(255, 215, 255) || c == qRgb(255, 175, 255); }

int countTrail(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += isTrail(image.pixel(x, y));
    return n;
}

}  // namespace korvel::qt::testing
