#include "editor/widgets/dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

namespace calyx::editor {

namespace {

// Rounded `value * numerator / denominator`.
int scaled(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as dialog templates
    // measure it.
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = std::max(1, (letters / 26 + 1) / 2);
    baseHeight_ = std::max(1, metrics.height());
}

DialogUnits DialogUnits::of(const QWidget& dialog) { return DialogUnits(dialog.font()); }

int DialogUnits::toPixelsX(int units) const { return scaled(units, baseWidth_, 4); }
int DialogUnits::toPixelsY(int units) const { return scaled(units, baseHeight_, 8); }

void placeInDialogUnits(QWidget& widget, const DialogUnits& units, int x, int y, int width, int height) {
    widget.setGeometry(units.rect(x, y, width, height));
}

}  // namespace calyx::editor
