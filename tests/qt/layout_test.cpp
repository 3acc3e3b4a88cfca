// The real window on the offscreen platform: its size, and every control at
// its place in twips.

#include <QAction>
#include <QMessageBox>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <vector>

#include "qt_support.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"

using korvel::qt::KorvelWindow;
using korvel::qt::MainWindow;
using namespace korvel::qt::testing;

namespace {

int px(int twips) { return qRound(twips / 15.0); }

// A rectangle in twips as the window shows it.
QRect tw(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(left + width) - px(left), px(top + height) - px(top));
}

// Whether Picture1 grew by `extra` and every other control moved right by its width.
using Places = std::vector<std::pair<QWidget*, QRect>>;
Places placesOf(KorvelWindow& w) {
    Places places;
    for (QWidget* c : w.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!c->isWindow()) places.emplace_back(c, c->geometry());
    return places;
}
bool grownBy(const Places& atStart, QSize extra) {
    for (const auto& [c, was] : atStart)
        if (c->geometry() != (c->objectName() == "Picture1" ? QRect(was.topLeft(), was.size() + extra)
                                                            : was.translated(extra.width(), 0)))
            return false;
    return true;
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void windowStartsAtItsClientSizeAndNeverShrinks() {
        KorvelWindow w;
        QCOMPARE(w.objectName(), QString("Korvel"));
        QCOMPARE(w.windowTitle(), QString("Korvel Simulation"));
        QCOMPARE(w.size(), QSize(739, 560));
        QCOMPARE(w.minimumSize(), QSize(739, 560));
    }

    // Full screen, the panel keeps its size and distance from the right edge and the drawing
    // takes the rest; Esc leaves once an open message has closed, and so does F11.
    void theWindowGoesFullScreenAndBackNeverSmaller() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        const QSize start = m.size();
        const Places atStart = placesOf(w);
        m.resize(start - QSize(100, 50));
        QTRY_COMPARE(m.size(), start);
        QAction* full = m.findChild<QAction*>("actionFullScreen");
        QTest::keyClick(&m, Qt::Key_F11);
        QTRY_COMPARE(m.size(), m.screen()->geometry().size());
        QVERIFY(m.isFullScreen() && full->isChecked());
        QVERIFY(grownBy(atStart, w.size() - QSize(739, 560)));
        w.showMessage("a message");
        QWidget* box = w.findChild<QWidget*>("txt_masses(5)");
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!w.messageBox()->isVisible() && m.isFullScreen());
        QTest::keyClick(box, Qt::Key_Escape);
        QTRY_COMPARE(m.size(), start);
        QVERIFY(!m.isFullScreen() && !full->isChecked() && grownBy(atStart, {0, 0}));
        QTest::keyClick(&m, Qt::Key_F11);
        QTRY_VERIFY(m.isFullScreen());
        QTest::keyClick(&m, Qt::Key_F11);
        QTRY_COMPARE(m.size(), start);
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
        const QStringList stacked = {"cmd_stop_simulation", "cmd_exit_program", "cmd_restart", "cmd_apply",
                                     "cmd_continue"};
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

int main(int argc, char** argv) { return runWindowSuite<LayoutTest>(argc, argv); }

#include "layout_test.moc"
