#include "platform/host_name.h"
#include "platform/path.h"

namespace calyx::platform {

// Linux file names are UTF-8.
GameFileName gameFileName(std::string_view hostPath) { return latin1FromUtf8(lastComponent(hostPath)); }

}  // namespace calyx::platform
