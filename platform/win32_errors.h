// What a failed Win32 call means in the errno terms that the rest of the
// program (the save's reports, the messages) speaks on every system.
#pragma once

namespace calyx::platform {

// Sets errno from GetLastError(): a missing file or folder is ENOENT, a
// refusal (access, a read-only file, a file another program holds without
// sharing it) EACCES, a full disk ENOSPC, and so on; a failure without a
// counterpart is EIO.
void setErrnoFromLastError();

}  // namespace calyx::platform
