// Whether the patcher may put a file in place, on Windows: the folder exists
// and the file, when there, is neither a folder nor read-only.
#include <string>

#include "patcher/file_replacement.h"
#include "platform/path.h"
#include "platform/win32.h"

namespace calyx::patcher {

bool destinationWritable(std::string_view destination) {
    const std::string path(destination);
    const std::string folder(platform::directoryPart(path));
    const DWORD folderAttributes = ::GetFileAttributesA(folder.empty() ? "." : folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

}  // namespace calyx::patcher
