// Replacing a file without ever leaving it half written.
//
// The new content goes into a fresh file beside the real target (symbolic
// links are followed, so the link stays and its target is replaced), is
// flushed to disk, takes the old file's permissions and is then renamed over
// the target in one step. Until that rename the old file is untouched.
#pragma once

#include <string>
#include <string_view>

namespace calyx::platform {

// The host path that a replacement of `path` must rename onto: `path` with
// every symbolic link resolved (the target need not exist yet).
std::string replacementTarget(std::string_view path);

// Gives `host` the permission bits of `modelHost` when that exists.
void copyPermissions(const std::string& modelHost, const std::string& host);

// Moves the complete file `fromHost` onto `path` as above. When the two lie
// on different file systems the content is first copied into a temporary
// file beside the target and that one is renamed. `fromHost` is gone after
// a success and left in place after a failure.
bool moveIntoPlace(const std::string& fromHost, std::string_view path);

// Writes `contents` as the new content of `path`, safely.
bool replaceFileContents(std::string_view path, std::string_view contents);

}  // namespace calyx::platform
