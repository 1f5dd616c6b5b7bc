#include "editor/core/game_strings.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bank/bank_stream.h"

namespace calyx::editor {

namespace {

constexpr std::array<const char*, GameStrings::columnCount> builtInColumnTitles = {
    "Name", "Volume", "File Name", "Description"};

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Hands out a file's bytes one at a time. The file is read through the
// editor's stream in pieces, so that a long run of filler between entries
// costs no system call per byte; the bytes seen are the same.
class StreamBytes {
public:
    explicit StreamBytes(std::string_view path) {
        stream_.setFileName(path);
        stream_.setAccess(true, false);
    }

    bool next(unsigned char& byte) {
        if (position_ == filled_ && !refill()) return false;
        byte = buffer_[position_++];
        return true;
    }

private:
    bool refill() {
        if (!opened_) {
            opened_ = true;
            if (!stream_.open()) return false;
            remaining_ = stream_.fileLength();
        }
        if (remaining_ <= 0) return false;
        const auto piece = std::min<std::int64_t>(remaining_, static_cast<std::int64_t>(buffer_.size()));
        if (!stream_.read(buffer_.data(), piece)) {
            remaining_ = 0;  // a failed read is the end of the file
            return false;
        }
        remaining_ -= piece;
        filled_ = static_cast<std::size_t>(piece);
        position_ = 0;
        return true;
    }

    bank::BankStream stream_;
    std::vector<unsigned char> buffer_ = std::vector<unsigned char>(4096);
    std::size_t filled_ = 0;
    std::size_t position_ = 0;
    std::int64_t remaining_ = 0;
    bool opened_ = false;
};

}  // namespace

GameStrings::GameStrings() {
    std::copy(builtInColumnTitles.begin(), builtInColumnTitles.end(), columnTitles_.begin());
}

int GameStrings::load(std::string_view path) {
    StreamBytes bytes(path);
    return parse([&bytes](unsigned char& byte) { return bytes.next(byte); });
}

int GameStrings::loadFromBytes(std::string_view text) {
    std::size_t position = 0;
    return parse([&](unsigned char& byte) {
        if (position >= text.size()) return false;
        byte = static_cast<unsigned char>(text[position++]);
        return true;
    });
}

std::optional<std::string> GameStrings::GetGameString(int id) const {
    if (!loaded_) return std::nullopt;
    const auto slot = slotFor(id);
    if (!slot) return std::nullopt;
    return slots_[*slot];
}

const std::string& GameStrings::columnTitle(int column) const {
    static const std::string none;
    if (column < 0 || column >= columnCount) return none;
    return columnTitles_[static_cast<std::size_t>(column)];
}

std::optional<std::size_t> GameStrings::slotFor(int id) {
    constexpr std::size_t block70 = 40;
    constexpr std::size_t block100 = block70 + 29;
    if (id >= 20 && id <= 37) return static_cast<std::size_t>(id - 20);
    if (id >= 40 && id <= 62) return static_cast<std::size_t>(id - 23);  // 40 shares slot 17 with 37
    if (id >= 70 && id <= 98) return block70 + static_cast<std::size_t>(id - 70);
    if (id >= 100 && id <= 153) return block100 + static_cast<std::size_t>(id - 100);
    return std::nullopt;
}

void GameStrings::place(int id, std::string text) {
    if (id >= firstColumnTitleId && id <= lastTitleLikeId) {
        // Column titles are copied over the list's titles at once; 6 and 7
        // have no column. Longer titles are ignored.
        const int column = id - firstColumnTitleId;
        if (text.size() <= maxColumnTitleLength && column < columnCount)
            columnTitles_[static_cast<std::size_t>(column)] = std::move(text);
        return;
    }
    if (const auto slot = slotFor(id)) slots_[*slot] = std::move(text);
}

int GameStrings::parse(const std::function<bool(unsigned char&)>& nextByte) {
    loaded_ = false;
    slots_.fill(std::nullopt);

    for (int entries = 0; entries < entriesInFullFile;) {
        unsigned char byte = 0;
        do {
            if (!nextByte(byte) || byte == 0) return 0;
        } while (!isDigit(byte));

        // One to three digits; the byte after them is the separator.
        int id = byte - '0';
        int digits = 1;
        unsigned char separator = 0;
        bool separatorRead = false;
        for (;;) {
            separatorRead = nextByte(separator);
            if (!separatorRead || !isDigit(separator) || digits == 3) break;
            id = id * 10 + (separator - '0');
            ++digits;
        }
        if (id == endMarker) break;  // whatever follows does not matter
        if (!separatorRead || separator != ' ' || id < 1 || id > highestId) return 0;

        if (!nextByte(byte) || byte != '"') return 0;
        std::string text;
        for (;;) {
            if (!nextByte(byte) || byte == 0) return 0;
            if (byte == '"') break;
            if (byte == '\\') {
                if (!nextByte(byte) || byte == 0) return 0;
                if (byte == 'n') {
                    text += "\r\n";
                } else if (byte == 't') {
                    text += '\t';
                } else {
                    text += '\\';
                }
            } else {
                text += static_cast<char>(byte);
            }
            if (text.size() > maxTextLength) return 0;
        }
        place(id, std::move(text));
        ++entries;
    }
    loaded_ = true;
    return 1;
}

}  // namespace calyx::editor
