// Standard output and error written byte for byte: on Windows the C runtime
// would turn every "\n" into "\r\n", so a script reading a program's output
// would see other bytes there than on Linux. Call first thing in main.
#pragma once

namespace calyx::platform {

void writeStandardStreamsAsBytes();

}  // namespace calyx::platform
