// The drawing surface, timer, clock and random source on their own.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/qt/picture_box.h"
#include "ui/qt/qt_platform.h"

using korvel::rgb;
using korvel::qt::PictureBox;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const korvel::Color kRed = rgb(255, 0, 0);
const korvel::Color kBlue = rgb(0, 0, 255);
const korvel::Color kGrey = rgb(50, 50, 50);

QRgb opaque(int r, int g, int b) { return qRgb(r, g, b); }

QRgb at(const PictureBox& box, int x, int y) { return box.image().pixel(x, y); }

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

int countDifferences(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

class SurfaceTest : public QObject {
    Q_OBJECT

    // A 100 x 80 surface on which one user unit is one device pixel.
    void unitScale(PictureBox& box) {
        box.resize(100, 80);
        box.setBackColor(korvel::kBlack);
        QCOMPARE(box.image().size(), QSize(100, 80) * box.devicePixelRatioF());
        box.setScale(box.image().height(), box.image().width());
    }

private slots:
    void initTestCase() {
        // The pixel expectations below are in device pixels of density 1.
        QCOMPARE(PictureBox().devicePixelRatioF(), 1.0);
    }

    void backColourFillsAndErases() {
        PictureBox box;
        unitScale(box);
        box.pset(3, 4, kRed);
        box.circle(50, 40, 10, kRed);
        box.setBackColor(kGrey);
        QCOMPARE(countColour(box.image(), opaque(50, 50, 50)), 100 * 80);
        QCOMPARE(box.image().format(), QImage::Format_RGB32);
    }

    void scaleDefaultsToTwipsOfTheControl() {
        PictureBox box;
        box.resize(100, 80);
        box.setBackColor(korvel::kBlack);
        QCOMPARE(box.scaleWidth(), 1500.0);
        QCOMPARE(box.scaleHeight(), 1200.0);
        box.pset(15 * 10 + 1, 15 * 20 + 1, kRed);
        QCOMPARE(at(box, 10, 20), opaque(255, 0, 0));
    }

    void userScaleMapsPointsToPixels() {
        PictureBox box;
        box.resize(100, 80);
        box.setBackColor(korvel::kBlack);
        box.setScale(8, 10);  // height 8, width 10 units: 10 pixels per unit
        box.pset(2.55, 4.12, kRed);
        QCOMPARE(at(box, 25, 41), opaque(255, 0, 0));
        box.pset(0, 0, kBlue);
        QCOMPARE(at(box, 0, 0), opaque(0, 0, 255));
        box.pset(9.99, 7.99, kBlue);
        QCOMPARE(at(box, 99, 79), opaque(0, 0, 255));
        // The far edges and anything beyond are off the surface.
        const QImage before = box.image();
        box.pset(10, 4, kRed);
        box.pset(4, 8, kRed);
        box.pset(-0.01, 4, kRed);
        box.pset(4, -0.01, kRed);
        QCOMPARE(countDifferences(before, box.image()), 0);
    }

    void negativeScaleFlipsTheAxes() {
        PictureBox box;
        box.resize(100, 80);
        box.setBackColor(korvel::kBlack);
        box.setScale(-8, -10);
        box.pset(-2.55, -4.12, kRed);
        QCOMPARE(at(box, 25, 41), opaque(255, 0, 0));
        const QImage before = box.image();
        box.pset(2.55, 4.12, kRed);
        QCOMPARE(countDifferences(before, box.image()), 0);
        // A circle centred in the flipped system lands in the middle.
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        box.circle(-5, -4, 0.5, kRed);
        QCOMPARE(at(box, 50, 40), opaque(0, 0, 255));
    }

    void colourComponentsAreUnpacked() {
        PictureBox box;
        unitScale(box);
        box.pset(1, 1, rgb(215, 175, 35));
        QCOMPARE(at(box, 1, 1), opaque(215, 175, 35));
    }

    void filledCircleHasRimAndInside() {
        PictureBox box;
        unitScale(box);
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        box.circle(50, 40, 20, kRed);
        QCOMPARE(at(box, 50, 40), opaque(0, 0, 255));
        QCOMPARE(at(box, 60, 40), opaque(0, 0, 255));
        QCOMPARE(at(box, 69, 40), opaque(255, 0, 0));  // pixel centre 19.5 away
        QCOMPARE(at(box, 30, 40), opaque(255, 0, 0));
        QCOMPARE(at(box, 50, 20), opaque(255, 0, 0));
        QCOMPARE(at(box, 50, 59), opaque(255, 0, 0));
        QCOMPARE(at(box, 71, 40), opaque(0, 0, 0));
        QCOMPARE(at(box, 34, 25), opaque(0, 0, 0));  // outside, near the diagonal
        // A one-pixel rim: about the circumference, closed on every row.
        const int rim = countColour(box.image(), opaque(255, 0, 0));
        QVERIFY2(rim > 100 && rim < 170, qPrintable(QString::number(rim)));
        for (int y = 20; y < 60; ++y) {
            int onRow = 0;
            for (int x = 0; x < 100; ++x) onRow += at(box, x, y) == opaque(255, 0, 0);
            QVERIFY2(onRow >= 2, qPrintable(QString("row %1").arg(y)));
        }
        // The inside is solid: everything inside the rim took the fill.
        const int inside = countColour(box.image(), opaque(0, 0, 255));
        QVERIFY(std::abs(inside + rim - 3.14159265 * 400) < 40);
    }

    void hollowCircleLeavesTheInside() {
        PictureBox box;
        unitScale(box);
        box.pset(50, 40, kGrey);
        box.setFillColor(kBlue);
        box.setFillStyle(1);
        box.circle(50, 40, 20, kRed);
        QCOMPARE(at(box, 50, 40), opaque(50, 50, 50));
        QCOMPARE(at(box, 69, 40), opaque(255, 0, 0));
        QCOMPARE(countColour(box.image(), opaque(0, 0, 255)), 0);
    }

    void fillSettingsAreTakenWhenDrawn() {
        PictureBox box;
        unitScale(box);
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        box.circle(25, 40, 10, kRed);
        box.setFillColor(kGrey);
        box.circle(75, 40, 10, kRed);
        QCOMPARE(at(box, 25, 40), opaque(0, 0, 255));
        QCOMPARE(at(box, 75, 40), opaque(50, 50, 50));
    }

    void smallZeroAndNegativeRadii() {
        PictureBox box;
        unitScale(box);
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        // However small, a circle marks its centre pixel in its colour.
        box.circle(10.5, 10.5, 1e-9, kRed);
        box.circle(30.2, 30.7, 0, kRed);
        QCOMPARE(at(box, 10, 10), opaque(255, 0, 0));
        QCOMPARE(at(box, 30, 30), opaque(255, 0, 0));
        QCOMPARE(countColour(box.image(), opaque(255, 0, 0)), 2);
        // A negative radius draws as its magnitude.
        PictureBox other;
        unitScale(other);
        other.setFillStyle(0);
        other.setFillColor(kBlue);
        box.circle(50, 40, 12, kRed);
        other.circle(10.5, 10.5, 1e-9, kRed);
        other.circle(30.2, 30.7, 0, kRed);
        other.circle(50, 40, -12, kRed);
        QCOMPARE(countDifferences(box.image(), other.image()), 0);
    }

    void farOffAndHugeFiguresAreClipped() {
        PictureBox box;
        unitScale(box);
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        const QImage blank = box.image();
        box.circle(1e30, 1e30, 5, kRed);
        box.circle(-1e30, 40, 1e20, kRed);
        box.circle(50, 1e30, 1e29, kRed);
        box.pset(1e30, 1, kRed);
        box.pset(1, -1e30, kRed);
        QCOMPARE(countDifferences(blank, box.image()), 0);
        // A circle far larger than the surface: its rim is off, its inside covers all.
        box.circle(50, 40, 1e30, kRed);
        QCOMPARE(countColour(box.image(), opaque(0, 0, 255)), 100 * 80);
        // A rim crossing the surface from a centre far away still draws, clipped.
        box.setBackColor(korvel::kBlack);
        box.setFillStyle(1);
        box.circle(50, 40 + 1e6, 1e6, kRed);
        QVERIFY(countColour(box.image(), opaque(255, 0, 0)) >= 100);
        QCOMPARE(countColour(box.image(), opaque(255, 0, 0)) % 100, 0);  // whole rows
    }

    void nonFiniteInputsDrawNothing() {
        PictureBox box;
        unitScale(box);
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        const QImage blank = box.image();
        for (double bad : {kNaN, kInf, -kInf}) {
            box.pset(bad, 10, kRed);
            box.pset(10, bad, kRed);
            box.circle(bad, 10, 5, kRed);
            box.circle(10, bad, 5, kRed);
            box.circle(10, 10, bad, kRed);
        }
        QCOMPARE(countDifferences(blank, box.image()), 0);
    }

    void degenerateScaleDrawsNothing() {
        PictureBox box;
        unitScale(box);
        const QImage blank = box.image();
        for (auto [h, w] : {std::pair{0.0, 10.0}, {8.0, 0.0}, {kNaN, 10.0}, {8.0, kInf}, {1e-320, 10.0}}) {
            box.setScale(h, w);
            box.pset(0, 0, kRed);
            box.pset(1, 1, kRed);
            box.circle(0, 0, 3, kRed);
        }
        QCOMPARE(countDifferences(blank, box.image()), 0);
        box.setScale(8, 10);
        box.pset(1, 1, kRed);
        QCOMPARE(at(box, 10, 10), opaque(255, 0, 0));
    }

    void paintingShowsTheImage() {
        PictureBox box;
        unitScale(box);
        box.setFillStyle(0);
        box.setFillColor(kBlue);
        box.circle(50, 40, 15, kRed);
        box.pset(3, 3, kGrey);
        const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), box.image().size());
        QCOMPARE(countDifferences(shown, box.image()), 0);

        // An overlay shows over the drawing, which shows through where the
        // overlay is clear, and never changes it.
        const QImage drawing = box.image().copy();
        QImage overlay = box.blankOverlay();
        overlay.setPixel(20, 10, qRgb(255, 150, 0));
        box.setOverlay(overlay);
        QCOMPARE(box.image(), drawing);
        const QImage over = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(over, box.shownImage());
        QCOMPARE(countDifferences(over, drawing), 1);
        QCOMPARE(over.pixel(20, 10), qRgb(255, 150, 0));
        box.setOverlay(QImage());
        QCOMPARE(box.shownImage(), drawing);
    }

    void repaintsAtDisplayPaceNotPerPoint() {
        PictureBox box;
        unitScale(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::qWait(3 * PictureBox::kRepaintIntervalMs);
        const quint64 before = box.repaintRequests();
        for (int i = 0; i < 10000; ++i) box.pset(i % 100, (i / 100) % 80, kRed);
        box.circle(50, 40, 10, kRed);
        QCOMPARE(box.repaintRequests(), before);
        QTRY_COMPARE_WITH_TIMEOUT(box.repaintRequests(), before + 1, 2000);
        QTest::qWait(5 * PictureBox::kRepaintIntervalMs);
        QCOMPARE(box.repaintRequests(), before + 1);
    }
};

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void timerIsIdleAtIntervalZero() {
        korvel::qt::QtTimer timer;
        QVERIFY(timer.enabled());
        QCOMPARE(timer.interval(), 0);
        timer.setEnabled(true);
        timer.setInterval(0);
        QTest::qWait(50);
        QCOMPARE(timer.tickCount(), std::uint64_t{0});
        timer.setInterval(-5);
        QTest::qWait(20);
        QCOMPARE(timer.tickCount(), std::uint64_t{0});
    }

    void timerTicksOnlyWhileEnabledWithAnInterval() {
        korvel::qt::QtTimer timer;
        int handled = 0;
        timer.onTick([&] { ++handled; });
        timer.setEnabled(false);
        timer.setInterval(1);
        QTest::qWait(30);
        QCOMPARE(timer.tickCount(), std::uint64_t{0});
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(timer.tickCount() >= 10, 2000);
        QCOMPARE(static_cast<std::uint64_t>(handled), timer.tickCount());
        timer.setEnabled(false);
        const auto stopped = timer.tickCount();
        QTest::qWait(30);
        QCOMPARE(timer.tickCount(), stopped);
        // Back to interval 0 while enabled: silent again.
        timer.setEnabled(true);
        timer.setInterval(0);
        const auto idle = timer.tickCount();
        QTest::qWait(30);
        QCOMPARE(timer.tickCount(), idle);
    }

    void clockIsMonotonicAndFine() {
        korvel::qt::QtClock clock;
        double last = clock.now();
        double finest = 1;
        for (int i = 0; i < 100000; ++i) {
            const double t = clock.now();
            QVERIFY(t >= last);
            if (t > last) finest = std::min(finest, t - last);
            last = t;
        }
        // Resolution well under a microsecond.
        QVERIFY2(finest < 1e-6, qPrintable(QString::number(finest)));
        const double day = clock.timeOfDay();
        QVERIFY(day >= 0 && day < 86400);
    }

    void randomIsUniformBelowOneAndSeeded() {
        korvel::qt::MtRandom a, b;
        a.seed(43210.125);
        b.seed(43210.125);
        double sum = 0;
        int low = 0;
        constexpr int n = 200000;
        for (int i = 0; i < n; ++i) {
            const float v = a.next();
            QCOMPARE(v, b.next());
            QVERIFY(v >= 0.0f && v < 1.0f);
            sum += v;
            low += v < 0.04f;
        }
        QVERIFY(std::abs(sum / n - 0.5) < 0.01);
        QVERIFY(std::abs(low / double(n) - 0.04) < 0.005);
        // Seeds a millisecond apart give different sequences.
        a.seed(43210.125);
        b.seed(43210.126);
        int same = 0;
        for (int i = 0; i < 20; ++i) same += a.next() == b.next();
        QVERIFY(same < 3);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        SurfaceTest surface;
        status |= QTest::qExec(&surface, argc, argv);
    }
    {
        PlatformTest platform;
        status |= QTest::qExec(&platform, argc, argv);
    }
    return status;
}

#include "surface_test.moc"
