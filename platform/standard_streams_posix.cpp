#include "platform/standard_streams.h"

namespace calyx::platform {

// Linux writes bytes as they are.
void writeStandardStreamsAsBytes() {}

}  // namespace calyx::platform
