#include "editor/widgets/window_settings.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

#include "editor/core/window_placement.h"

namespace calyx::editor {
namespace {

const QString geometryKey = QStringLiteral("Main Window/Geometry");
const QString stateKey = QStringLiteral("Main Window/State");
const QString columnWidthsKey = QStringLiteral("Bank Window/Column Widths");

}  // namespace

void restoreMainWindow(QMainWindow& window) {
    const QSettings settings;
    if (!window.restoreGeometry(settings.value(geometryKey).toByteArray())) {
        const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect free = screen->availableGeometry();
            const PlaceSize size = firstMainWindowSize({free.width(), free.height()});
            window.resize(size.width, size.height);
            window.move(free.center() - QPoint(size.width / 2, size.height / 2));
        }
    }
    window.restoreState(settings.value(stateKey).toByteArray());
}

void saveMainWindow(const QMainWindow& window) {
    QSettings settings;
    settings.setValue(geometryKey, window.saveGeometry());
    settings.setValue(stateKey, window.saveState());
}

void rememberColumnWidths(QHeaderView& header) {
    const QVariantList widths = QSettings().value(columnWidthsKey).toList();
    for (int column = 0; column < header.count() && column < widths.size(); ++column) {
        const int width = widths[column].toInt();
        if (width > 0) header.resizeSection(column, width);
    }
    QObject::connect(&header, &QHeaderView::sectionResized, &header, [&header] {
        QVariantList now;
        for (int column = 0; column < header.count(); ++column) now << header.sectionSize(column);
        QSettings().setValue(columnWidthsKey, now);
    });
}

}  // namespace calyx::editor
