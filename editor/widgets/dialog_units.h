// Dialog units: the editor lays out its dialogs in units of the dialog
// font's average character size (a quarter of its width across, an eighth
// of its height down), so that they keep their proportions at any screen
// resolution and font size.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace calyx::editor {

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    // The units of the font `dialog` uses.
    static DialogUnits of(const QWidget& dialog);

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QPoint point(int x, int y) const { return {toPixelsX(x), toPixelsY(y)}; }
    QSize size(int width, int height) const { return {toPixelsX(width), toPixelsY(height)}; }
    QRect rect(int x, int y, int width, int height) const { return {point(x, y), size(width, height)}; }

    // The font's average character width and its height, in pixels.
    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

private:
    int baseWidth_;
    int baseHeight_;
};

// Places `widget` at a rectangle given in dialog units.
void placeInDialogUnits(QWidget& widget, const DialogUnits& units, int x, int y, int width, int height);

}  // namespace calyx::editor
