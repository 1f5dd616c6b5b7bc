#include "bank/bank_file_name.h"

#include "platform/path.h"

namespace calyx::bank {

bool isBankFileName(std::string_view path) {
    const std::string_view last = platform::lastComponent(path);
    return last.size() >= bankExtension.size() &&
           platform::equalsNoCase(last.substr(last.size() - bankExtension.size()), bankExtension);
}

}  // namespace calyx::bank
