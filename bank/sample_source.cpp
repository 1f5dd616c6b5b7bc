#include "bank/sample_source.h"

#include "platform/path.h"

namespace calyx::bank {
namespace {

constexpr std::uint32_t padModeEight = 2;

}  // namespace

std::uint32_t paddedSizeOf(std::uint32_t size, std::uint32_t padMode) {
    const std::uint64_t n = size;
    const std::uint64_t padded = padMode == padModeEight ? (n & ~std::uint64_t{7}) + 8 : (n + 3) & ~std::uint64_t{3};
    return padded > UINT32_MAX ? size : static_cast<std::uint32_t>(padded);
}

bool sameBytes(const SampleSource& a, const SampleSource& b) {
    if (a.kind != b.kind || a.ownSize != b.ownSize) return false;
    switch (a.kind) {
    case SourceKind::Wav:
    case SourceKind::GameFile: return platform::toLower(a.fileName) == platform::toLower(b.fileName);
    case SourceKind::OtherBank:
        if (a.linkKey != b.linkKey) return false;
        break;
    case SourceKind::OwnBank: break;
    }
    return a.area == b.area && a.offset == b.offset;
}

}  // namespace calyx::bank
