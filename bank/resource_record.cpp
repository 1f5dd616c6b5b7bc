#include "bank/resource_record.h"

#include <algorithm>

namespace calyx::bank {

std::string ResourceRecord::fileName() const {
    const auto* begin = bytes.data() + fileNameOffset;
    const auto* end = std::find(begin, begin + fileNameWidth, std::uint8_t{0});
    return std::string(begin, end);
}

void ResourceRecord::setFileName(std::string_view name) {
    auto* field = bytes.data() + fileNameOffset;
    std::fill(field, field + fileNameWidth, std::uint8_t{0});
    const std::size_t n = std::min(name.size(), fileNameMax);
    std::copy_n(name.begin(), n, field);
}

}  // namespace calyx::bank
