#include "platform/host_name.h"
#include "platform/path.h"

namespace calyx::platform {

// The programs' names are in the system's 8-bit code page already.
GameFileName gameFileName(std::string_view hostPath) { return {std::string(lastComponent(hostPath)), false}; }

}  // namespace calyx::platform
