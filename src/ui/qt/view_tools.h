#pragma once
// The lab bench's tools over Picture1: a grid at a round spacing, a measuring
// tape and the craft's velocity and gravity arrows. They are painted over the
// drawing and whatever lies over it, in every view through the view's own
// mapping, never into the drawing or the view's cached image; Save Picture
// and Copy Picture show them as the screen does.
//
// The tape's ends are dragged with the left button (a press near an end takes
// it; anywhere else the drag pans), or, with the drawing focused, "[" and "]"
// choose an end and Shift with an arrow key moves it.

#include <QLineF>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

#include "app/korvel.h"
#include "app/palette.h"
#include "app/view/view_tools.h"

class QLabel;
class QPainter;

namespace korvel::qt {

class DrawingView;
class OrbitInsight;
class PictureBox;

class ViewTools : public QObject {
    Q_OBJECT
public:
    ViewTools(PictureBox& picture, DrawingView& view, const Korvel& core, const OrbitInsight& insight);

    void setGridShown(bool shown);
    void setTapeShown(bool shown);
    void setVelocityArrowShown(bool shown);
    void setGravityArrowShown(bool shown);
    // The colours of the profile in force: the grid in the graph's grid and
    // axes, the tape in the preview's colour, arrows and labels in the scale
    // bar's, all at least 3:1 against either ground.
    void setProfile(const Profile& profile);

    // The tape's ends, and the one the keyboard moves.
    const SnapTarget& tapeEnd(int end) const { return ends_.at(static_cast<std::size_t>(end)); }
    // Puts the ends at world points, m, as a scenario keeps them; an end on
    // a point of the trail is that point, with its time.
    void setTapeEnds(Vec2 first, Vec2 second);
    // Puts an end at a point of the widget, snapped to what lies near it.
    void moveTapeEnd(int end, QPointF widget, double reachPixels);
    // Paints the tools; for a picture (`withLabels`), their labels too.
    void paint(QPainter& painter, bool withLabels) const;

    // How near an end a press takes it, and how far a key moves it, pixels.
    static constexpr double kGrabPixels = 8;
    static constexpr double kKeyStepPixels = 8;
    // A keyboard step snaps only this near, or an end would never leave a target.
    static constexpr double kKeySnapPixels = 3;

public slots:
    void onTick();
    // The view moved or resized: the labels follow.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<SnapTarget> targets() const;
    void placeTape();
    void updateLabels();
    void updateArrowScales();
    bool onMouse(QEvent* event);
    bool onKey(int key, Qt::KeyboardModifiers modifiers);
    void paintGrid(QPainter& painter) const;
    void paintTape(QPainter& painter) const;
    // An arrow as drawn: its shaft, its head (none when the tip is out of
    // view), and its value's text where it is written, in widget pixels.
    struct ArrowShape {
        QLineF shaft;
        std::vector<QLineF> head;
        QRectF label;
        QString text;
    };
    std::vector<ArrowShape> arrowShapes() const;
    void addArrow(std::vector<ArrowShape>& shapes, Vec2 from, Vec2 value, double perSquare, const QString& text) const;
    // What the arrows cover, their pens included.
    static QRectF area(const std::vector<ArrowShape>& shapes);
    void paintArrows(QPainter& painter) const;
    // How far outside the view a line is clipped, pixels: its ends stay finite.
    static constexpr double kClipMarginPixels = 20;
    // Ten times a second while an arrow is on: the arrows follow the craft.
    void arrowsMoved();
    void paintLabels(QPainter& painter) const;
    Vec2 craft() const;
    // The velocity and the pulls on the craft (the second planet's while it is on).
    std::vector<Vec2> pulls() const;

    PictureBox& picture_;
    DrawingView& view_;
    const Korvel& core_;
    // The window lets the path go first as it closes.
    QPointer<const OrbitInsight> insight_;
    Profile profile_ = darkProfile();
    bool grid_ = false;
    bool tape_ = false;
    bool velocity_ = false;
    bool gravity_ = false;
    bool tapePlaced_ = false;
    std::array<SnapTarget, 2> ends_{};
    int chosenEnd_ = 1;
    std::optional<int> dragging_;
    // What one grid square stands for, kept while the arrows read well.
    std::optional<double> speedPerSquare_;
    std::optional<double> pullPerSquare_;
    QTimer pace_;
    // The arrows as last placed: painted so until the next pace.
    std::vector<ArrowShape> arrows_;
    QLabel* gridLabel_ = nullptr;
    QLabel* tapeReading_ = nullptr;
    QLabel* arrowScale_ = nullptr;
};

}  // namespace korvel::qt
