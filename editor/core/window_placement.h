// Where the editor's windows go: bank windows that open or cascade inside
// the part of the main window that shows documents, and the main window's
// first size on a screen. Sizes are in the toolkit's pixels, which already
// follow the screen's scale.
#pragma once

#include <vector>

namespace calyx::editor {

struct PlaceSize {
    int width = 0;
    int height = 0;
    bool operator==(const PlaceSize&) const = default;
};

struct Place {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Place&) const = default;
};

// A bank window's size when it opens, where the area has room for it.
inline constexpr PlaceSize bankWindowSize{660, 360};
// The main window's size where a bank window and the preview pane fit side by side.
inline constexpr PlaceSize comfortableMainWindow{1000, 700};
// Cascaded windows stay at least this large (or as large as the area).
inline constexpr PlaceSize cascadeMinimum{640, 400};

// A window of `wanted` size asked to open at (`x`, `y`) of an area of
// `area`: moved back and, only where the area is smaller, shrunk, so that
// all of it, its frame, close button and scroll bars included, can be seen.
Place fitInArea(PlaceSize area, int x, int y, PlaceSize wanted);

// `count` windows cascaded from the area's corner, each `step` pixels below
// and right of the one before (the height of a title bar): as large as the
// cascade leaves room for, never below `cascadeMinimum` (bounded by the
// area), starting again at the corner when the next would not fit.
std::vector<Place> cascadePlaces(PlaceSize area, int count, int step);

// The main window's first size, before the user chose one: most of the
// screen's free area, all of a small one.
PlaceSize firstMainWindowSize(PlaceSize screen);

}  // namespace calyx::editor
