#include "editor/widgets/listing_printer.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

namespace calyx::editor {

PrintArea printAreaOf(const QPagedPaintDevice& device) {
    return {device.width(), device.height(), device.logicalDpiX(), device.logicalDpiY()};
}

int paintListing(QPainter& painter, QPagedPaintDevice& device, const ListingLayout& layout, int firstPage,
                 int lastPage) {
    const int first = std::max(firstPage, 1);
    const int last = lastPage <= 0 ? layout.pageCount : std::min(lastPage, layout.pageCount);
    // Lines are placed by the top of their text, as a printer's text output does.
    const int ascent = QFontMetrics(painter.font(), &device).ascent();
    int drawn = 0;
    auto line = layout.lines.begin();
    for (int page = first; page <= last; ++page) {
        if (drawn > 0 && !device.newPage()) break;
        ++drawn;
        while (line != layout.lines.end() && line->page < page) ++line;
        for (; line != layout.lines.end() && line->page == page; ++line)
            painter.drawText(line->x, line->y + ascent, QString::fromUtf8(line->utf8.data(), static_cast<qsizetype>(line->utf8.size())));
    }
    return drawn;
}

}  // namespace calyx::editor
