// The real window on the offscreen platform: layout, texts, focus order,
// and runs driven through its buttons.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/accessibility.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/orbit_insight.h"
#include "ui/qt/program_font.h"
#include "ui/qt/wrap_button.h"

using korvel::ControlArray;
using korvel::qt::KorvelWindow;
using korvel::qt::MainWindow;

namespace {

int px(int twips) { return qRound(twips / 15.0); }

// A rectangle in twips as the window shows it.
QRect tw(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(left + width) - px(left), px(top + height) - px(top));
}

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

// Runs the event loop without the sleeps of QTest::qWait, so ticks come at
// their own pace.
void spin(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// What is wrong with how a button draws its caption: below 8 px, on more
// than two lines, or a line not whole (ascent and descent) in its contents.
QString captionFault(QPushButton* b) {
    const auto layout = static_cast<korvel::qt::WrapButton*>(b)->captionLayout();
    QStyleOptionButton option;
    option.initFrom(b);
    const QRect contents = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
    const QFontMetrics m(layout.font);
    const auto lines = int(layout.lines.size());
    if (QFontInfo(layout.font).pixelSize() < 8) return QString("%1 px").arg(QFontInfo(layout.font).pixelSize());
    if (lines < 1 || lines > 2) return QString("%1 lines").arg(lines);
    if (!contents.contains(layout.area)) return "drawn outside its contents";
    if ((lines - 1) * m.lineSpacing() + m.ascent() + m.descent() > layout.area.height()) return "too high";
    for (const QString& line : layout.lines)
        if (m.horizontalAdvance(line) > layout.area.width()) return line + " too wide";
    return {};
}

QStringList drawnLines(QPushButton* b) { return static_cast<korvel::qt::WrapButton*>(b)->captionLayout().lines; }

const QStringList kLabels = {"planet mass",  "planet radius", "time factor",       "screen scale",
                             "init distance", "init ang pos",  "impulse of 'burn'", "dir of impulse",
                             "clock time",   "circle radius", "realtime interval", "speed"};
const QStringList kDefaults = {"1",    "1", "1000", "3", "1.02", "0", "8000", "1.57", "", "0", "", "",
                               "second planet mass as multiple of Earth mass (Moon = .0123)",
                               "second planet dist as multiple of Earth radius (Moon = 60.2)"};
const QStringList kBank = {"forward",     "backward",   "to right",  "to left",   "impulse 1000",
                           "impulse 100", "impulse 10", "impulse 1", "2d planet", "dist 1.02"};

bool isTrail(QRgb c) {
    return c == qRgb(215, 255, 255) || c == qRgb(255, 215, 255) || c == qRgb(255, 175, 255);
}

int countTrail(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += isTrail(image.pixel(x, y));
    return n;
}

double speedReadout(KorvelWindow& w) {
    bool ok = false;
    const double v = box(w, 11)->text().toDouble(&ok);
    if (!ok) qWarning("speed readout %s", qPrintable(box(w, 11)->text()));
    return ok ? v : std::nan("");
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void windowIsFixedAtItsClientSize() {
        KorvelWindow w;
        QCOMPARE(w.objectName(), QString("Korvel"));
        QCOMPARE(w.windowTitle(), QString("Korvel Simulation"));
        QCOMPARE(w.size(), QSize(739, 560));
        QCOMPARE(w.minimumSize(), w.maximumSize());
    }

    void twipsConvertByEdges() {
        QCOMPARE(korvel::qt::twipsToRect({120, 240, 8500, 7500}), QRect(8, 16, 567, 500));
        QCOMPARE(korvel::qt::twipsToRect({8650, 1100, 650, 375}), QRect(577, 73, 43, 25));
        // Touching in twips, touching on the screen.
        const QRect upper = korvel::qt::twipsToRect({10200, 1550, 850, 450});
        const QRect lower = korvel::qt::twipsToRect({10200, 2000, 850, 450});
        QCOMPARE(upper.bottom() + 1, lower.top());
    }

    void singleControlsAtTheirPlaces() {
        KorvelWindow w;
        QCOMPARE(child(w, "Picture1")->geometry(), QRect(8, 16, 567, 500));
        QCOMPARE(child(w, "runSImulation")->geometry(), QRect(640, 8, 80, 25));
        QCOMPARE(child(w, "cmd_stop_simulation")->geometry(), QRect(608, 488, 65, 33));
        QCOMPARE(child(w, "cmd_exit_program")->geometry(), QRect(680, 488, 57, 33));
        QCOMPARE(child(w, "cmd_restart")->geometry(), QRect(608, 456, 65, 33));
        QCOMPARE(child(w, "cmd_apply")->geometry(), QRect(680, 456, 57, 33));
        QCOMPARE(child(w, "cmd_continue")->geometry(), QRect(608, 520, 65, 33));
    }

    void panelIsOnItsGrid() {
        KorvelWindow w;
        for (int r = 0; r < 12; ++r) {
            const int top = 1100 + 450 * r;
            QCOMPARE(child(w, labelName(r))->geometry(), tw(8650, top, 650, 375));
            QCOMPARE(child(w, boxName(r))->geometry(), tw(9400, top, 750, 375));
        }
        for (int r = 0; r < 10; ++r) QCOMPARE(child(w, bankName(r))->geometry(), tw(10200, 1100 + 450 * r, 850, 450));
        QCOMPARE(child(w, boxName(12))->geometry(), tw(10200, 5600, 850, 375));
        QCOMPARE(child(w, boxName(13))->geometry(), tw(10200, 6050, 850, 375));
        QCOMPARE(child(w, boxName(12))->geometry().top(), child(w, bankName(9))->geometry().bottom() + 1);
    }

    void controlsNeitherOverlapNorLeaveTheWindow() {
        KorvelWindow w;
        std::vector<QWidget*> controls;
        for (QWidget* c : w.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (c->isWindow()) continue;
            controls.push_back(c);
        }
        QCOMPARE(controls.size(), std::size_t{7 + 12 + 14 + 10});
        for (QWidget* c : controls) {
            QVERIFY2(QRect(QPoint(0, 0), w.size()).contains(c->geometry()), qPrintable(c->objectName()));
            QVERIFY2(!c->geometry().isEmpty(), qPrintable(c->objectName()));
        }
        // The six fixed buttons are stacked 15 twips over each other, one
        // pixel row; nothing else may touch another control.
        const QStringList stacked = {"cmd_stop_simulation", "cmd_exit_program", "cmd_restart",
                                     "cmd_apply",           "cmd_continue"};
        for (std::size_t i = 0; i < controls.size(); ++i)
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const QRect both = controls[i]->geometry().intersected(controls[j]->geometry());
                const bool allowed = stacked.contains(controls[i]->objectName()) &&
                                     stacked.contains(controls[j]->objectName()) && both.height() <= 1;
                QVERIFY2(both.isEmpty() || allowed,
                         qPrintable(controls[i]->objectName() + " / " + controls[j]->objectName()));
            }
    }
};

class TextsTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndDefaultTexts() {
        KorvelWindow w;
        for (int i = 0; i < 12; ++i) QCOMPARE(w.findChild<QLabel*>(labelName(i))->text(), kLabels[i]);
        for (int i = 0; i < 14; ++i) QCOMPARE(box(w, i)->text(), kDefaults[i]);
        for (int i = 0; i < 10; ++i) QCOMPARE(bank(w, i)->text(), kBank[i]);
        QCOMPARE(button(w, "runSImulation")->text(), QString("Run Simulation"));
        QCOMPARE(button(w, "cmd_stop_simulation")->text(), QString("pause simulation"));
        QCOMPARE(button(w, "cmd_exit_program")->text(), QString("Quit "));
        QCOMPARE(button(w, "cmd_restart")->text(), QString("Run (don't clear)"));
        QCOMPARE(button(w, "cmd_apply")->text(), QString("Apply Impulse"));
        QCOMPARE(button(w, "cmd_continue")->text(), QString("Continue"));
        // What the handlers read is what the widgets show.
        for (int i = 0; i < 14; ++i)
            QCOMPARE(QString::fromStdString(w.text(ControlArray::txt_masses, i)), kDefaults[i]);
    }

    void captionsFitTheirControlsWholeWords() {
        KorvelWindow w;
        for (int i = 0; i < 12; ++i) {
            auto* label = w.findChild<QLabel*>(labelName(i));
            const QRect area = label->contentsRect();
            const QRect need = label->fontMetrics().boundingRect(area, Qt::TextWordWrap, label->text());
            QVERIFY2(need.width() <= area.width() && need.height() <= area.height(), qPrintable(label->text()));
        }
        // Buttons draw every word of their captions, legibly.
        for (QPushButton* b : w.findChildren<QPushButton*>()) {
            QVERIFY2(captionFault(b).isEmpty(), qPrintable(b->text() + ": " + captionFault(b)));
            QCOMPARE(drawnLines(b).join(' '), b->text().simplified());
        }
        // Parameter boxes show their defaults in full.
        for (int i = 0; i < 12; ++i) {
            QLineEdit* b = box(w, i);
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width() - 6, qPrintable(b->text()));
        }
    }

    void distanceReadoutIsLegibleInAWideAndANarrowFont() {
        const QString caption = "dist  1.09500313630712";
        QList<int> digits;
        for (int stretch : {int(QFont::Unstretched), int(QFont::Condensed)}) {
            KorvelWindow w;
            QFont font = w.font();
            font.setStretch(stretch);
            w.setFont(font);
            w.setText(ControlArray::cmd_color, 9, caption.toStdString());
            w.flushTexts();
            QPushButton* readout = bank(w, 9);
            // What the program reads stays whole; what it draws is legible.
            QCOMPARE(readout->text(), caption);
            QVERIFY2(captionFault(readout).isEmpty(), qPrintable(captionFault(readout)));
            const QString drawn = drawnLines(readout).join(' ');
            QVERIFY2(drawn.startsWith("dist "), qPrintable(drawn));
            // Rounded, not cut, to at least 7 significant digits.
            const QString number = drawn.mid(5);
            bool ok = false;
            const double shown = number.toDouble(&ok);
            QVERIFY2(ok, qPrintable(drawn));
            const int significant = int(number.count(QRegularExpression("[0-9]")));
            QVERIFY2(significant >= 7, qPrintable(drawn));
            QVERIFY2(std::abs(shown - 1.09500313630712) <= 0.5 * std::pow(10.0, 1 - significant), qPrintable(drawn));
            digits << significant;
        }
        // DejaVu Sans, a wide font, has no room for all 15 digits; a narrower
        // one shows more.
        QVERIFY2(digits[0] < 15 && digits[1] >= digits[0], qPrintable(QString("%1, %2").arg(digits[0]).arg(digits[1])));
    }

    void longDescriptionsShowTheirStart() {
        KorvelWindow w;
        for (int i : {12, 13}) {
            QCOMPARE(box(w, i)->cursorPosition(), 0);
            QCOMPARE(box(w, i)->toolTip(), kDefaults[i]);
        }
    }

    void focusOutlineStandsOutFromTheFaceDrawn() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        QPushButton* run = button(w, "runSImulation");
        // It has the focus at start-up, and a 2 px outline that stands out
        // from its face and from the window shows it.
        QVERIFY(run->hasFocus());
        auto color = [](QRgb p) { return korvel::rgb(qRed(p), qGreen(p), qBlue(p)); };
        const korvel::Color window = color(w.palette().color(QPalette::Window).rgb());
        const QImage focused = run->grab().toImage();
        for (int y : {0, 1}) {
            const korvel::Color outline = color(focused.pixel(focused.width() / 2, y));
            QVERIFY(korvel::contrastRatio(outline, korvel::rgb(255, 128, 128)) >= 3);
            QVERIFY(korvel::contrastRatio(outline, window) >= 3);
        }
        // The chosen size shows the checked face, whatever colour the style
        // gives it; the outline stands out from the face just inside it.
        QPushButton* size = bank(w, 5);
        QTest::mouseClick(size, Qt::LeftButton);
        QVERIFY(size->isChecked());
        box(w, 0)->setFocus();
        size->setText(QString());  // the bare face
        const QImage face = size->grab().toImage();
        size->setText(kBank[5]);
        size->setFocus();
        const QImage outlined = size->grab().toImage();
        const int cx = face.width() / 2, cy = face.height() / 2, r = face.width() - 1, b = face.height() - 1;
        const QList<QPoint> edge = {{0, cy}, {1, cy}, {r, cy}, {r - 1, cy}, {cx, 0}, {cx, 1}, {cx, b}, {cx, b - 1}};
        const QList<QPoint> inside = {{3, cy}, {4, cy}, {r - 3, cy}, {r - 4, cy}, {cx, 3}, {cx, 4}, {cx, b - 3}, {cx, b - 4}};
        for (const QPoint& e : edge) {
            const korvel::Color outline = color(outlined.pixel(e));
            QVERIFY(korvel::contrastRatio(outline, window) >= 3);
            for (const QPoint& i : inside)
                QVERIFY2(korvel::contrastRatio(outline, color(face.pixel(i))) >= 3,
                         qPrintable(QString("outline %1 on face %2")
                                        .arg(QColor(outlined.pixel(e)).name(), QColor(face.pixel(i)).name())));
        }

        box(w, 0)->setFocus();
        // Most of the face, caption and border aside, is the light red.
        auto share = [](const QImage& image, QRgb colour) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
            return double(n) / (image.width() * image.height());
        };
        const QImage plain = run->grab().toImage();
        QVERIFY(share(plain, qRgb(255, 128, 128)) > 0.5);
        QCOMPARE(plain.pixel(plain.width() / 2, 1), qRgb(255, 128, 128));
        QCOMPARE(share(bank(w, 0)->grab().toImage(), qRgb(255, 128, 128)), 0.0);
    }

    void focusFollowsTheTabOrder() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        QStringList order = {"runSImulation"};
        for (int i = 0; i <= 3; ++i) order << boxName(i);
        order << "cmd_stop_simulation" << "cmd_exit_program";
        for (int i = 0; i <= 3; ++i) order << bankName(i);
        for (int i = 4; i <= 7; ++i) order << boxName(i);
        for (int i = 4; i <= 7; ++i) order << bankName(i);
        order << "cmd_restart" << "cmd_apply";
        for (int i = 8; i <= 11; ++i) order << boxName(i);
        order << bankName(8) << boxName(12) << boxName(13) << bankName(9) << "cmd_continue"
              << "runSImulation";  // and round again
        child(w, "runSImulation")->setFocus();
        QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
        }
    }
};

class BehaviourTest : public QObject {
    Q_OBJECT
private slots:
    void startsBlackAndIdle() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage& image = w.picture().image();
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7) QCOMPARE(image.pixel(x, y), qRgb(0, 0, 0));
        spin(50);
        QCOMPARE(w.tickCount(), std::uint64_t{0});
        // Without a run the interval is still 0: these start no ticks.
        click(w, "cmd_continue");
        click(w, "cmd_restart");
        spin(50);
        QCOMPARE(w.tickCount(), std::uint64_t{0});
    }

    void defaultRunDrawsSceneAndTrail() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(w, "runSImulation");
        const QImage scene = w.picture().image();
        QCOMPARE(scene.size(), QSize(567, 500));
        // Planet at the centre, a solid blue disk of one unit (about 83 px).
        QCOMPARE(scene.pixel(283, 250), qRgb(0, 0, 255));
        QCOMPARE(scene.pixel(283 + 70, 250), qRgb(0, 0, 255));
        QCOMPARE(scene.pixel(283, 250 - 70), qRgb(0, 0, 255));
        // Rings 2 to 8 cross the centre row on the right; ring 9 is off the view.
        int rings = 0;
        for (int x = 284; x < scene.width(); ++x)
            rings += scene.pixel(x, 250) == qRgb(50, 50, 50) && scene.pixel(x - 1, 250) != qRgb(50, 50, 50);
        QCOMPARE(rings, 7);
        QCOMPARE(scene.pixel(566, 250), qRgb(0, 0, 0));

        QTRY_VERIFY(countTrail(w.picture().image()) > 0);
        spin(150);
        const int early = countTrail(w.picture().image());
        spin(300);
        const int later = countTrail(w.picture().image());
        QVERIFY2(later > early, qPrintable(QString("%1 -> %2").arg(early).arg(later)));
        QVERIFY(w.tickCount() > 20);
        // The readouts reach the widgets while the run goes on.
        QVERIFY(!box(w, 8)->text().isEmpty());
        QVERIFY(!box(w, 11)->text().isEmpty());
        QVERIFY(bank(w, 9)->text().startsWith("dist "));
    }

    void refusedRunChangesNothingAndSaysWhy() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(w, "runSImulation");
        spin(50);
        click(w, "cmd_stop_simulation");
        const QImage before = w.picture().image().copy();
        const auto ticks = w.tickCount();
        // Quoted as typed: markup would size the dialog to the image.
        box(w, 3)->setText("<img width=3000 height=3000 src=x>");
        click(w, "runSImulation");
        QCOMPARE(w.picture().image(), before);
        QVERIFY(w.messageBox() && w.messageBox()->isVisible());
        QVERIFY(w.messageBox()->text().contains("screen scale"));
        QVERIFY(w.messageBox()->text().contains("<img width=3000"));
        QVERIFY(w.messageBox()->height() < 300);
        spin(30);
        QCOMPARE(w.tickCount(), ticks);
    }

    void bankButtonsChangeTheSpeedAtTheNextTick() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Ticks are driven by hand between a pause and the next click, so the
        // real time in each is tiny and gravity barely changes the speed; at a
        // time factor of 1 it stays so on a machine slowed by other work.
        box(w, 2)->setText("1");
        auto burn = [&](int sizeButton, int directionButton) {
            click(w, "cmd_stop_simulation");
            const double before = speedReadout(w);
            QTest::mouseClick(bank(w, sizeButton), Qt::LeftButton);
            QTest::mouseClick(bank(w, directionButton), Qt::LeftButton);
            click(w, "cmd_continue");
            w.tick();
            click(w, "cmd_stop_simulation");  // shows the texts, stops the ticks
            return speedReadout(w) - before;
        };
        // Simulated time as fast as real time, so gravity barely turns the
        // craft between steps however slowly the platform runs them.
        box(w, 2)->setText("1");
        click(w, "runSImulation");
        w.tick();
        QVERIFY(std::abs(burn(4, 0) - 1000) < 2);
        QVERIFY(std::abs(burn(5, 1) + 100) < 2);
        QVERIFY(std::abs(burn(6, 0) - 10) < 1);
        QVERIFY(std::abs(burn(7, 1) + 1) < 1);
        // Sideways turns the velocity: "to right" clockwise, "to left" back.
        auto heading = [&] {
            const auto& s = w.core().state();
            return std::atan2(s.velY[korvel::kCraft], s.velX[korvel::kCraft]);
        };
        const double h0 = heading();
        burn(5, 2);
        const double h1 = heading();
        QVERIFY2(h1 < h0 - 0.005 && h1 > h0 - 0.03, qPrintable(QString::number(h1 - h0)));
        burn(5, 3);
        QVERIFY(std::abs(heading() - h0) < 0.003);
    }

    void sizeButtonsShowTheChoiceAndEnterPressesAButton() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto checked = [&] {
            QList<int> on;
            for (int i = 4; i <= 7; ++i)
                if (bank(w, i)->isChecked()) on << i;
            return on;
        };
        QCOMPARE(checked(), QList<int>{});
        // Enter, from the main keys or the keypad, presses the focused button.
        bank(w, 5)->setFocus();
        QTest::keyClick(bank(w, 5), Qt::Key_Return);
        QCOMPARE(w.core().state().impulseSize, 100);
        QCOMPARE(checked(), QList<int>{5});
        button(w, "runSImulation")->setFocus();
        QTest::keyClick(button(w, "runSImulation"), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(w.timer().ticking());
        // One size at a time, and pressing it again keeps it; it stays across runs.
        QTest::mouseClick(bank(w, 7), Qt::LeftButton);
        QTest::mouseClick(bank(w, 7), Qt::LeftButton);
        QCOMPARE(checked(), QList<int>{7});
        QCOMPARE(w.core().state().impulseSize, 1);
        click(w, "runSImulation");
        QCOMPARE(checked(), QList<int>{7});
        // Enter with a modifier is not a press.
        QTest::keyClick(button(w, "cmd_stop_simulation"), Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(w.timer().ticking());
    }

    void anAcceptedStartOrContinueClosesTheMessage() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(w, "runSImulation");
        box(w, 0)->setText("heavy");
        click(w, "runSImulation");
        QVERIFY(w.messageBox() && w.messageBox()->isVisible());
        box(w, 0)->setText("1");
        click(w, "runSImulation");
        QVERIFY(!w.messageBox()->isVisible());
        // An impulse without a size says so; continuing the run closes it.
        click(w, "cmd_stop_simulation");
        QTest::mouseClick(bank(w, 0), Qt::LeftButton);
        QVERIFY(w.messageBox()->isVisible());
        QVERIFY(w.messageBox()->text().contains("impulse 1000"));
        click(w, "cmd_continue");
        QVERIFY(!w.messageBox()->isVisible());
    }

    void everyControlHasANameForAssistiveTechnology() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto accessible = [&](QWidget* widget) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
            if (!a) qWarning("no accessible interface for %s", qPrintable(widget->objectName()));
            return a;
        };
        for (int i = 0; i < 12; ++i) {
            QAccessibleInterface* a = accessible(box(w, i));
            QVERIFY(a);
            QCOMPARE(a->role(), QAccessible::EditableText);
            QCOMPARE(a->text(QAccessible::Name), kLabels[i]);
        }
        const QStringList unlabelled = {"second planet mass", "second planet dist"};
        for (int i : {12, 13}) {
            QAccessibleInterface* a = accessible(box(w, i));
            QVERIFY(a);
            QCOMPARE(a->text(QAccessible::Name), unlabelled[i - 12]);
            QCOMPARE(a->text(QAccessible::Description), kDefaults[i]);
        }
        QCOMPARE(accessible(&w)->role(), QAccessible::Window);
        QCOMPARE(accessible(&w)->text(QAccessible::Name), QString("Korvel Simulation"));
        QAccessibleInterface* picture = accessible(child(w, "Picture1"));
        QVERIFY(picture);
        QCOMPARE(picture->role(), QAccessible::Graphic);
        QVERIFY(!picture->text(QAccessible::Name).isEmpty());
        QVERIFY(picture->text(QAccessible::Description).contains("track"));
        // The size buttons expose their checked state, and their toggle
        // action, which does not click, chooses the size too.
        for (int toggled : {6, 6, 4})
            accessible(bank(w, toggled))->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(w.core().state().impulseSize, 1000);
        QTest::mouseClick(bank(w, 6), Qt::LeftButton);
        QCOMPARE(w.core().state().impulseSize, 10);
        for (int i = 4; i <= 7; ++i) {
            QAccessibleInterface* a = accessible(bank(w, i));
            QVERIFY(a);
            QCOMPARE(a->text(QAccessible::Name), kBank[i]);
            QVERIFY(a->state().checkable);
            QCOMPARE(bool(a->state().checked), i == 6);
        }
        QVERIFY(!accessible(bank(w, 0))->state().checkable);
        // Names carry no blanks of a caption, and the readout reads as one.
        QCOMPARE(accessible(button(w, "cmd_exit_program"))->text(QAccessible::Name), QString("Quit"));
        w.setText(ControlArray::cmd_color, 9, "dist  1.09500313630712");
        w.flushTexts();
        QCOMPARE(accessible(bank(w, 9))->text(QAccessible::Name), QString("distance 1.095003 planet radii"));
        QCOMPARE(bank(w, 9)->text(), QString("dist  1.09500313630712"));
    }

    void messageOpensBesideThePanelAndLeavesTheKeyboard() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        // A refused run, pressed by key: the message names the box.
        QPushButton* run = button(w, "runSImulation");
        run->setFocus();
        box(w, 3)->setText("x");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // would hang here if it ran its own loop
        QMessageBox* message = w.messageBox();
        QVERIFY(message && message->isVisible());
        QVERIFY(!message->isModal());
        QVERIFY(message->text().contains("screen scale"));
        // Assistive technology reads it as an alert, and hears of each one.
        QCOMPARE(QAccessible::queryAccessibleInterface(message)->role(), QAccessible::AlertMessage);
        QSignalSpy alerts(message, SIGNAL(alerted()));
        spin(100);
        QVERIFY(w.isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), run);
        // Over the drawing, clear of every control of the panel.
        const QWidget* picture = child(w, "Picture1");
        const QRect drawing(picture->mapToGlobal(QPoint(0, 0)), picture->size());
        const QRect opened = message->frameGeometry();
        QVERIFY2(opened.left() >= drawing.left() && opened.right() <= drawing.right(),
                 qPrintable(QString("%1,%2 %3x%4").arg(opened.x()).arg(opened.y()).arg(opened.width()).arg(opened.height())));
        for (QWidget* c : w.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (c != picture && !c->isWindow())
                QVERIFY2(!opened.intersects(QRect(c->mapToGlobal(QPoint(0, 0)), c->size())), qPrintable(c->objectName()));
        // A second message takes the same dialog, and is told again.
        w.showMessage("second");
        QCOMPARE(w.messageBox(), message);
        QCOMPARE(message->text(), QString("second"));
        QCOMPARE(w.findChildren<QMessageBox*>().size(), 1);
        QCOMPARE(alerts.size(), 1);
        // Esc in any control closes it, and goes nowhere else.
        box(w, 5)->setFocus();
        QTest::keyClick(box(w, 5), Qt::Key_Escape);
        QVERIFY(!message->isVisible());
        QCOMPARE(QApplication::focusWidget(), box(w, 5));
        // Its own OK closes it too.
        w.showMessage("third");
        QTest::mouseClick(message->button(QMessageBox::Ok), Qt::LeftButton);
        QVERIFY(!message->isVisible());
        // With the box mended, Space on the focused button runs, and closes
        // the message.
        w.showMessage("fourth");
        run->setFocus();
        box(w, 3)->setText("3");
        spin(50);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(w.timer().ticking());
        QVERIFY(!message->isVisible());
        w.showMessage("fifth");
        QCOMPARE(alerts.size(), 4);
    }

    void quitEndsTheEventLoop() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(w, "runSImulation");
        QTimer::singleShot(50, &w, [&] { QTest::mouseClick(button(w, "cmd_exit_program"), Qt::LeftButton); });
        // Tied to the window: a spare one would end every later test's loops.
        QTimer::singleShot(5000, &w, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(w.ended());
        QVERIFY(!w.isVisible());
        const auto ticks = w.tickCount();
        spin(30);
        QCOMPARE(w.tickCount(), ticks);
    }

    void closingTheWindowEndsTheEventLoop() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.showMessage("still open");
        QTimer::singleShot(50, &w, [&] { w.close(); });
        QTimer::singleShot(5000, &w, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(w.ended());
    }
};

// The menu bar over the window, the orbit drawn over the drawing, and the
// picture as saved.
class OrbitInsightTest : public QObject {
    Q_OBJECT

    static QAction* action(MainWindow& m, const char* name) {
        auto* a = m.findChild<QAction*>(name);
        if (!a) qWarning("no action %s", name);
        return a;
    }

    // A run of the panel as it stands, paused after `ms`, with the path on.
    static void runPaused(MainWindow& m, int ms) {
        action(m, "actionPredictedPath")->setChecked(true);
        click(m.korvel(), "runSImulation");
        spin(ms);
        click(m.korvel(), "cmd_stop_simulation");
    }

    static void point(QWidget* button, bool in) {
        if (in) {
            QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)));
            QApplication::sendEvent(button, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
        }
    }

    static bool samePoints(const std::vector<korvel::Vec2>& a, const std::vector<korvel::Vec2>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](auto p, auto q) { return p.x == q.x && p.y == q.y; });
    }

private slots:
    void menusCarryTheirNamesAndKeys() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QCOMPARE(m.windowTitle(), QString("Korvel Simulation"));
        QVERIFY(m.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(m.windowIcon().availableSizes().contains(QSize(256, 256)));
        // The client area keeps its size and place under the menu bar.
        QCOMPARE(m.korvel().size(), QSize(739, 560));
        QCOMPARE(m.korvel().y(), m.menuBar()->geometry().bottom() + 1);
        QCOMPARE(m.size(), QSize(739, 560 + m.menuBar()->height()));
        QCOMPARE(m.minimumSize(), m.maximumSize());

        struct Item { const char* menu; const char* name; const char* text; const char* keys; };
        const Item items[] = {
            {"menuFile", "actionSavePicture", "Save Picture\u2026", "Ctrl+S"},
            {"menuFile", "actionCopyPicture", "Copy Picture", "Ctrl+Shift+C"},
            {"menuFile", "actionQuit", "Quit", "Ctrl+Q"},
            {"menuView", "actionPredictedPath", "Predicted Path", "F2"},
            {"menuView", "actionOrbitData", "Orbit Data", "F3"},
            {"menuHelp", "actionHelp", "Korvel Simulation Help", "F1"},
            {"menuHelp", "actionShortcuts", "Keyboard Shortcuts", ""},
            {"menuHelp", "actionAbout", "About Korvel Simulation", ""},
            {"menuHelp", "actionAboutQt", "About Qt", ""},
        };
        for (const Item& item : items) {
            QAction* a = action(m, item.name);
            QVERIFY(a);
            QCOMPARE(a->text(), QString::fromUtf8(item.text));
            QCOMPARE(a->shortcut(), QKeySequence(item.keys));
            QVERIFY(m.findChild<QMenu*>(item.menu)->actions().contains(a));
            QCOMPARE(a->isChecked(), false);
        }
        QVERIFY(action(m, "actionPredictedPath")->isCheckable() && action(m, "actionOrbitData")->isCheckable());
        QCOMPARE(m.findChild<QMenu*>("menuView")->title(), QString("&View"));
        // No key that the boxes edit with.
        for (QAction* a : m.findChildren<QAction*>())
            for (const char* editing : {"Ctrl+C", "Ctrl+V", "Ctrl+X", "Ctrl+A", "Ctrl+Z", "Ctrl+Y"})
                QVERIFY2(a->shortcut() != QKeySequence(editing), qPrintable(a->text()));

        // The shortcuts window lists every key of the menus; help and About open
        // windows of their own, About with the version, the licences and Qt.
        action(m, "actionShortcuts")->trigger();
        auto* list = m.findChild<QWidget*>("shortcutsWindow");
        QVERIFY(list && list->isVisible() && list->isWindow());
        const QString keys = list->findChild<QTextBrowser*>()->toPlainText();
        for (const Item& item : items) QVERIFY2(keys.contains(item.keys), item.keys);
        action(m, "actionHelp")->trigger();
        QVERIFY(m.findChild<QWidget*>("helpWindow")->isVisible());
        QApplication::setApplicationVersion("9.8.7");
        action(m, "actionAbout")->trigger();
        auto* about = m.findChild<QMessageBox*>("aboutBox");
        QVERIFY(about && about->isVisible() && !about->isModal());
        for (const QString& part : {QString("9.8.7"), QString("MIT"), QString(qVersion()), QString("LGPL")})
            QVERIFY2(about->text().contains(part), qPrintable(part));
    }

    void keyboardReachesTheMenusOutsideTheTabOrder() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.activateWindow();
        QTRY_VERIFY(m.isActiveWindow());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("runSImulation"));
        child(m.korvel(), "cmd_continue")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("runSImulation"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QTRY_VERIFY(m.menuBar()->activeAction());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(m.menuBar(), Qt::Key_Escape);
        QTRY_VERIFY(!m.menuBar()->activeAction());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
        QTRY_VERIFY(m.menuBar()->activeAction());
    }

    void pathLiesOnTheTrailAndNeverInTheDrawing() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        action(m, "actionPredictedPath")->setChecked(true);
        QVERIFY(m.insight().path().points.empty());  // no run yet
        // An ellipse out to 2.8 units; turned half round by a negative scale.
        box(w, 2)->setText("20000");
        box(w, 6)->setText("9500");
        for (const char* scale : {"3", "-3"}) {
            box(w, 3)->setText(scale);
            runPaused(m, 1000);  // more than a revolution
            const QImage drawing = w.picture().image().copy();
            const QImage shown = w.picture().shownImage();
            QCOMPARE(w.picture().grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
            // Every pixel the path changes lies within its markers' reach of the trail.
            int changed = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    if (shown.pixel(x, y) == drawing.pixel(x, y)) continue;
                    ++changed;
                    bool near = false;
                    for (int dy = -5; dy <= 5 && !near; ++dy)
                        for (int dx = -5; dx <= 5 && !near; ++dx)
                            near = drawing.valid(x + dx, y + dy) && isTrail(drawing.pixel(x + dx, y + dy));
                    QVERIFY2(near, qPrintable(QString("scale %1 at %2, %3").arg(scale).arg(x).arg(y)));
                }
            QVERIFY(changed > 500);
            action(m, "actionPredictedPath")->setChecked(false);
            QCOMPARE(w.picture().shownImage(), drawing);
            QCOMPARE(w.picture().image(), drawing);
        }
    }

    void previewShowsABurnAndBecomesThePathWhenPressed() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        runPaused(m, 100);
        QPushButton* forward = bank(w, 0);
        point(forward, true);
        QVERIFY(!m.insight().preview());  // no size chosen: nothing, and no message
        QVERIFY(!w.messageBox() || !w.messageBox()->isVisible());
        point(forward, false);

        QTest::mouseClick(bank(w, 4), Qt::LeftButton);
        const QImage drawing = w.picture().image().copy();
        const double speed = w.core().state().velX[korvel::kCraft];
        const QImage shownBefore = w.picture().shownImage();
        point(forward, true);
        QVERIFY(m.insight().preview());
        const auto preview = m.insight().preview()->points;
        QVERIFY(!samePoints(preview, m.insight().path().points));
        QCOMPARE(w.core().state().velX[korvel::kCraft], speed);
        QCOMPARE(w.picture().image(), drawing);
        forward->click();
        QVERIFY(samePoints(m.insight().path().points, preview));
        point(forward, false);
        QVERIFY(!m.insight().preview());
        QVERIFY(w.picture().shownImage() != shownBefore);  // the new loop shows, not the old

        // "Apply Impulse" reads its direction now; one that is not a number
        // previews nothing, and a message left open stays as it is.
        QPushButton* apply = button(w, "cmd_apply");
        w.showMessage("left open");
        box(w, 7)->setText("up");
        point(apply, true);
        QVERIFY(!m.insight().preview());
        QVERIFY(w.messageBox()->isVisible());
        QCOMPARE(w.messageBox()->text(), QString("left open"));
        point(apply, false);
        // The focus previews as the pointer does.
        box(w, 7)->setText("3.14");
        m.activateWindow();
        QTRY_VERIFY(m.isActiveWindow());
        apply->setFocus();
        QVERIFY(m.insight().preview());
        box(w, 0)->setFocus();
        QVERIFY(!m.insight().preview());
        // Closing with a preview showing ends cleanly.
        apply->setFocus();
    }

    void savePictureWritesWhatTheSurfaceShows() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        runPaused(m, 300);
        const QImage shown = w.picture().shownImage();
        QVERIFY(shown != w.picture().image());
        QTemporaryDir dir;
        const QString file = dir.filePath("orbit.png");
        QVERIFY(m.savePicture(file));
        QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), shown);
        m.copyPicture();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), shown);
        // A file that cannot be written is named, with the reason.
        const QString bad = dir.filePath("no folder/orbit.png");
        QVERIFY(!m.savePicture(bad));
        QVERIFY(w.messageBox() && w.messageBox()->isVisible());
        QVERIFY2(w.messageBox()->text().contains(QDir::toNativeSeparators(bad) + "\": "), qPrintable(w.messageBox()->text()));
        QVERIFY(!QFile::exists(bad));
    }

    void quitOrCloseEndsTheProgram() {
        for (bool quit : {true, false}) {
            MainWindow m;
            m.show();
            QVERIFY(QTest::qWaitForWindowExposed(&m));
            QTimer::singleShot(50, &m, [&] { quit ? action(m, "actionQuit")->trigger() : (void)m.close(); });
            QTimer::singleShot(5000, &m, [] { QCoreApplication::exit(99); });
            QCOMPARE(QCoreApplication::exec(), 0);
            QVERIFY(m.korvel().ended());
            QVERIFY(!m.isVisible());
        }
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korvel::qt::useProgramFont();
    int status = 0;
    {
        LayoutTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TextsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        BehaviourTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        OrbitInsightTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "window_test.moc"
