#include "editor/core/window_placement.h"

#include <algorithm>

namespace calyx::editor {

Place fitInArea(PlaceSize area, int x, int y, PlaceSize wanted) {
    Place place;
    place.width = std::max(0, std::min(wanted.width, area.width));
    place.height = std::max(0, std::min(wanted.height, area.height));
    place.x = std::clamp(x, 0, area.width - place.width);
    place.y = std::clamp(y, 0, area.height - place.height);
    return place;
}

std::vector<Place> cascadePlaces(PlaceSize area, int count, int step) {
    std::vector<Place> places;
    if (count <= 0) return places;
    step = std::max(step, 1);
    const PlaceSize smallest{std::min(cascadeMinimum.width, area.width), std::min(cascadeMinimum.height, area.height)};
    const PlaceSize size{std::max(smallest.width, area.width - step * (count - 1)),
                         std::max(smallest.height, area.height - step * (count - 1))};
    // How many steps fit before a window would cross the area's edge.
    const int room = std::min(area.width - size.width, area.height - size.height) / step + 1;
    for (int i = 0; i < count; ++i) {
        const int offset = step * (i % std::max(room, 1));
        places.push_back(Place{offset, offset, size.width, size.height});
    }
    return places;
}

PlaceSize firstMainWindowSize(PlaceSize screen) {
    // Four fifths of each side leave room to see the desktop; a small or
    // scaled screen is taken up to a size where a bank window and the
    // preview pane both fit.
    return PlaceSize{std::min(screen.width, std::max(screen.width * 4 / 5, comfortableMainWindow.width)),
                     std::min(screen.height, std::max(screen.height * 4 / 5, comfortableMainWindow.height))};
}

}  // namespace calyx::editor
