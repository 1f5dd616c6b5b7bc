// Draws a bank's printed listing on a printer, a preview or a PDF writer:
// the layout comes from the widget-free listing, this only paints it.
#pragma once

#include "bank/sound_bank.h"
#include "editor/core/print_layout.h"

class QPainter;
class QPagedPaintDevice;

namespace calyx::editor {

// The device's printable area and resolution.
PrintArea printAreaOf(const QPagedPaintDevice& device);

// Paints the pages from `firstPage` to `lastPage` (from 1; 0 for "to the
// end") with the painter already begun on `device`. Pages outside the range
// are neither drawn nor started. Answers the number of pages drawn.
int paintListing(QPainter& painter, QPagedPaintDevice& device, const ListingLayout& layout, int firstPage = 1,
                 int lastPage = 0);

}  // namespace calyx::editor
