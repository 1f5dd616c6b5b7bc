#include "editor/core/startup.h"

namespace calyx::editor {

int LoadGameStrings(GameStrings& strings, Installation& installation) {
    ReadInstallation(installation);
    return strings.load(gameStringsPath(installation));
}

}  // namespace calyx::editor
