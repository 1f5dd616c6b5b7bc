// Private converted copies of the user's WAV files: a file refused for its
// format (rate, channels, bits) may be converted to the editor's own format
// (22050 Hz, mono, 16 bit), the original left untouched. Each copy lies in a
// folder of its own under a base folder (the user's cache folder in the
// editor, the temporary folder in calyx-cli), under the original's file
// name, since a bank records that name as its sample's file. A copy lives
// until every owner that converted or adopted it has discarded it (by
// `discardAll` or its end).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "audio/wav_convert.h"

namespace calyx::editor {

struct ConvertedCopy {
    audio::ConvertResult result = audio::ConvertResult::Ok;
    std::string path;                        // the copy, when converted
    audio::SampleFormat source;              // what the original held
};

// A new folder of our own below `base` ("<base>/calyx-convert-<n>"), made
// with `base` when missing; empty when none could be made.
std::string makePrivateFolder(const std::string& base);

class ConvertedCopies {
public:
    explicit ConvertedCopies(std::string baseFolder = {}) : base_(std::move(baseFolder)) {}
    ~ConvertedCopies() { discardAll(); }
    ConvertedCopies(const ConvertedCopies&) = delete;
    ConvertedCopies& operator=(const ConvertedCopies&) = delete;

    void setBaseFolder(std::string baseFolder) { base_ = std::move(baseFolder); }
    const std::string& baseFolder() const { return base_; }
    // Converts `original`; a failure leaves nothing behind.
    ConvertedCopy convert(const std::string& original);
    // Keeps `copyPath`, a file made elsewhere alone in a folder of
    // `makePrivateFolder` (a file of a folder taken in, a sample kept for an
    // undo), as a copy of `original`: it goes as copies go.
    void keep(const std::string& copyPath, const std::string& original);
    // Keeps a copy another owner made (a sample copied from its document):
    // true when `copyPath` is such a copy and this owner did not keep it yet.
    bool adopt(const std::string& copyPath);
    // Gives up every copy this owner keeps; a copy no owner keeps any more
    // is removed with its folder.
    void discardAll();
    bool empty() const { return copies_.empty(); }

    // The original behind a copy that any owner still keeps, for showing
    // the user the file they chose.
    static std::optional<std::string> originalOf(const std::string& copyPath);

private:
    std::string base_;
    std::vector<std::string> copies_;
};

}  // namespace calyx::editor
