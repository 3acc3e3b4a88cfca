#pragma once
// Picture1: the drawing surface. It keeps its drawing in an image of its own,
// in device pixels, and paints by copying that image, so covering and
// uncovering the window loses nothing. Drawing only writes the image and marks
// a dirty area; the screen is repainted at display pace, never per point.

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

#include "app/platform.h"

class QPainter;

namespace korvel::qt {

// A colour of the program (r + 256 g + 65536 b) as an opaque QRgb.
constexpr QRgb toQRgb(Color c) { return 0xff000000u | ((c & 0xffu) << 16) | (c & 0xff00u) | ((c >> 16) & 0xffu); }
inline QColor toQColor(Color c) { return QColor::fromRgb(toQRgb(c)); }

class DrawingView;

class PictureBox : public QWidget, public Surface {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setBackColor(Color color) override;
    void setScale(double scaleHeight, double scaleWidth) override;
    void setFillStyle(int style) override;
    void setFillColor(Color color) override;
    // Radius in user units of the horizontal axis; a negative radius draws as
    // its magnitude. Centres and radii that are not finite draw nothing.
    void circle(double x, double y, double radius, Color color) override;
    void pset(double x, double y, Color color) override;

    // The drawing, in device pixels.
    const QImage& image() const { return image_; }
    // Replaces the drawing, fitted to the surface's pixels.
    void setDrawing(const QImage& drawing);
    double scaleWidth() const { return scaleWidth_; }
    double scaleHeight() const { return scaleHeight_; }
    // How many repaints were asked of Qt; lets tools see the display pace.
    quint64 repaintRequests() const { return repaintRequests_; }

    // A picture shown over the drawing and never drawn into it: transparent
    // where the drawing shows through, at the drawing's size and density
    // (start from blankOverlay()). A null image shows none.
    void setOverlay(QImage overlay);
    // A transparent image to draw the next overlay on; the one shown gives it
    // its pixels and shows no more until setOverlay.
    QImage blankOverlay();
    bool showsOverlay() const { return !overlay_.isNull(); }
    const QImage& overlay() const { return overlay_; }
    // Where a point in user units lands, in logical pixels; nothing while the
    // scale is unusable.
    std::optional<QPointF> toWidget(double x, double y) const;
    // What the surface shows: the drawing with the overlay over it, in device
    // pixels; in any view but the default one, that view.
    QImage shownImage() const;

    // The drawing keeps this size in logical pixels, whatever the widget's:
    // at another size the widget shows a view of the run instead.
    void setDrawingSize(QSize size);
    // Paints over the drawing and its overlay, on the screen and in
    // shownImage() (`forPicture` true: what child widgets show, too).
    using PainterOver = std::function<void(QPainter& painter, bool forPicture)>;
    void setPainterOver(PainterOver paint) { painterOver_ = std::move(paint); }
    // Shows `view` instead of the drawing while it is active; null for none.
    void setView(DrawingView* view) { view_ = view; }
    // Whether the widget shows the drawing itself, not a view of the run.
    bool showsDrawing() const;
    // A repaint at display pace, for what is drawn over the drawing: of the
    // whole widget, or of an area of it in logical pixels.
    void repaintSoon();
    void repaintSoon(const QRectF& area);

    static constexpr int kRepaintIntervalMs = 16;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitImage();
    void updateMapping();
    void markDirty(int left, int top, int right, int bottom);  // inclusive device pixels
    void flushDirty();
    // Fills [x0, x1] of row y, both already clipped.
    void span(int y, int x0, int x1, QRgb rgb);
    // The rows of a circle of `r` device pixels about (cx, cy), fill included.
    void discRows(double cx, double cy, double r, QRgb rim);

    // The device size an overlay is drawn at: what the widget shows.
    QSize shownSize() const;

    QImage image_;
    QImage overlay_;
    QSize drawingSize_;
    DrawingView* view_ = nullptr;
    PainterOver painterOver_;
    QRgb back_ = toQRgb(kBlack);
    // Until a user scale is set, the scale is the control's size in twips.
    bool userScale_ = false;
    double scaleWidth_ = 0;
    double scaleHeight_ = 0;
    double pxPerUnitX_ = 0;  // device pixels per user unit
    double pxPerUnitY_ = 0;
    bool mappingValid_ = false;
    bool filled_ = false;  // FillStyle 0
    QRgb fill_ = toQRgb(kBlack);

    QTimer repaintTimer_;
    bool dirty_ = false;
    int dirtyLeft_ = 0, dirtyTop_ = 0, dirtyRight_ = -1, dirtyBottom_ = -1;
    quint64 repaintRequests_ = 0;
};

}  // namespace korvel::qt
