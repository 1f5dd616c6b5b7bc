// Whether the patcher may put a file in place, on Linux.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "patcher/file_replacement.h"
#include "platform/path.h"

namespace calyx::patcher {

// A file without any write permission bit is read-only, as Wine shows a
// file with the read-only attribute. The bits are checked as well as
// access(): the superuser may write anything, but a rename would replace a
// read-only game file even for anyone who may write its folder.
bool destinationWritable(std::string_view destination) {
    const std::string host = platform::toHostPath(destination);
    std::string folder(platform::directoryPart(host));
    if (folder.empty()) folder = "/";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if (::stat(host.c_str(), &st) != 0) return ::access(folder.c_str(), W_OK) == 0;
    if (!S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(host.c_str(), W_OK) == 0;
}

}  // namespace calyx::patcher
