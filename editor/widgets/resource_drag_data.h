// What travels when a row of a resource list is dragged: the editor's
// private format, naming the source view's drag link by its address in the
// running editor, beside that editor's identity. Only the editor that
// started the drag can read it back; data from another running editor, or
// from any other program, is refused.
#pragma once

#include <QByteArray>
#include <memory>
#include <optional>

class QMimeData;

namespace calyx::bank {
class SoundBank;
}

namespace calyx::editor {

// The private format's name, used as the drag's MIME type.
inline constexpr const char* resourceLinkFormat = "QK_Ornwick Calyx BnmRes Link";

// Held by each list view: the bank and the index of the row it drags.
// A link is known to the drag machinery from its construction to its
// destruction, so a stale address is never followed.
class DragLink {
public:
    DragLink();
    ~DragLink();
    DragLink(const DragLink&) = delete;
    DragLink& operator=(const DragLink&) = delete;

    bank::SoundBank* bank = nullptr;
    int index = -1;
};

// The drag data for `link` (the caller hands it to the drag).
std::unique_ptr<QMimeData> makeResourceDragData(const DragLink& link);
// True when `data` offers the private format (from whichever program).
bool offersResourceLink(const QMimeData& data);
// The link behind `data`: nothing when the format is missing, the data is
// malformed, it comes from another process, or its link no longer exists.
const DragLink* readResourceDragData(const QMimeData& data);
// Whether `link` is still a live link of this process (its view has not
// closed); never follows the address.
bool isLiveDragLink(const DragLink* link);

// This running editor's identity as the drag data carries it.
QByteArray processIdentity();

}  // namespace calyx::editor
