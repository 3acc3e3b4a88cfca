// The real window on the offscreen platform: captions and texts, how they
// fit and are drawn, the focus outline and the focus order.

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>

#include "app/accessibility.h"
#include "qt_support.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/wrap_button.h"

using korvel::ControlArray;
using korvel::qt::KorvelWindow;
using namespace korvel::qt::testing;

namespace {

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

}  // namespace

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
        const QList<QPoint> inside = {{3, cy}, {4, cy}, {r - 3, cy}, {r - 4, cy},
                                      {cx, 3}, {cx, 4}, {cx, b - 3}, {cx, b - 4}};
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
        order << "cmd_stop_simulation"
              << "cmd_exit_program";
        for (int i = 0; i <= 3; ++i) order << bankName(i);
        for (int i = 4; i <= 7; ++i) order << boxName(i);
        for (int i = 4; i <= 7; ++i) order << bankName(i);
        order << "cmd_restart"
              << "cmd_apply";
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

int main(int argc, char** argv) { return runWindowSuite<TextsTest>(argc, argv); }

#include "texts_test.moc"
