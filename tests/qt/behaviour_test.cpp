// The real window on the offscreen platform: runs driven through its buttons
// and keys, its messages, what assistive technology reads, and its end.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

#include "qt_support.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/korvel_window.h"

using korvel::ControlArray;
using korvel::qt::KorvelWindow;
using namespace korvel::qt::testing;

namespace {

double speedReadout(KorvelWindow& w) {
    bool ok = false;
    const double v = box(w, 11)->text().toDouble(&ok);
    if (!ok) qWarning("speed readout %s", qPrintable(box(w, 11)->text()));
    return ok ? v : std::nan("");
}

// The message over the drawing, clear of every control of the panel.
void verifyOverTheDrawingClearOfThePanel(KorvelWindow& w, const QMessageBox* message) {
    const QWidget* picture = child(w, "Picture1");
    const QRect drawing(picture->mapToGlobal(QPoint(0, 0)), picture->size());
    const QRect opened = message->frameGeometry();
    QVERIFY2(
        opened.left() >= drawing.left() && opened.right() <= drawing.right(),
        qPrintable(QString("%1,%2 %3x%4").arg(opened.x()).arg(opened.y()).arg(opened.width()).arg(opened.height())));
    for (QWidget* c : w.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (c != picture && !c->isWindow())
            QVERIFY2(!opened.intersects(QRect(c->mapToGlobal(QPoint(0, 0)), c->size())), qPrintable(c->objectName()));
}

}  // namespace

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

    void theViewZoomsReadsTheTrailAndResetsToTheDrawing() {
        KorvelWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        click(w, "runSImulation");
        spin(300);
        // A zoom shows a view of the run with its scale; Reset View brings
        // back the drawing itself, pixel for pixel.
        click(w, "cmd_stop_simulation");
        spin(50);
        const auto shown = [&w] { return w.picture().grab().toImage().convertToFormat(QImage::Format_RGB32); };
        const QImage before = shown();
        QCOMPARE(before, w.picture().image());
        const QLabel* scale = w.picture().findChild<QLabel*>("scaleBar");
        QVERIFY(scale && !scale->isVisible());
        w.view().zoomIn();
        spin(50);
        QVERIFY(shown() != before);
        QVERIFY(scale->isVisible() && scale->text().endsWith(" km"));
        QCOMPARE(scale->accessibleName(), QString("scale bar"));
        w.view().reset();
        spin(50);
        QCOMPARE(shown(), before);
        QVERIFY(!scale->isVisible());

        // The wheel zooms about the pointer, and pointing at the trail reads
        // that moment of the run.
        const korvel::SimulationState& s = w.core().state();
        const korvel::Vec2 craft{s.posX[korvel::kCraft], s.posY[korvel::kCraft]};
        const QPointF at = *w.view().toWidget(craft);
        QWheelEvent wheel(at, w.picture().mapToGlobal(at), {}, {0, 3 * 120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(&w.picture(), &wheel);
        QVERIFY(w.view().active());
        QVERIFY((*w.view().toWidget(craft) - at).manhattanLength() < 1);
        QHelpEvent tip(QEvent::ToolTip, at.toPoint(), w.picture().mapToGlobal(at.toPoint()));
        QApplication::sendEvent(&w.picture(), &tip);
        QTRY_VERIFY(QToolTip::text().contains("speed") && QToolTip::text().contains("MJ/kg"));

        // A scale beyond any screen's pixels, zoomed to either limit: the view
        // still draws, and Reset View still brings back the drawing.
        box(w, 3)->setText("1e300");
        click(w, "runSImulation");
        click(w, "cmd_stop_simulation");
        for (const bool in : {true, false}) {
            for (int i = 0; i < 45; ++i) in ? w.view().zoomIn() : w.view().zoomOut();
            QVERIFY(!w.picture().grab().isNull());
        }
        w.view().reset();
        QVERIFY(!w.view().active());
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
        verifyOverTheDrawingClearOfThePanel(w, message);
        if (QTest::currentTestFailed()) return;
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

    // Said before its window shows and is placed (a scenario named on the
    // command line), a message still opens over the drawing once the window
    // does.
    void messageSaidBeforeTheWindowShowsOpensOverTheDrawing() {
        KorvelWindow early;
        early.showMessage("early");
        early.move(300, 90);
        early.show();
        QVERIFY(QTest::qWaitForWindowExposed(&early));
        const QWidget* earlyDrawing = child(early, "Picture1");
        QTRY_VERIFY(early.messageBox()->frameGeometry().left() >= earlyDrawing->mapToGlobal(QPoint(0, 0)).x());
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

int main(int argc, char** argv) { return runWindowSuite<BehaviourTest>(argc, argv); }

#include "behaviour_test.moc"
