// info, list and check: reading a bank without changing it.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "editor/core/ui_text.h"
#include "platform/file.h"

namespace calyx::cli {
namespace {

using Json = nlohmann::ordered_json;
using editor::latin1ToUtf8;

const char* flavourName(const bank::SoundBank& bank) {
    return bank.flavor() == bank::BankFlavor::K7TQ ? "K7TQ" : "TQ2";
}

// The columns of `list --json` and `list --csv`, in order.
Json resourceRow(std::size_t index, const bank::SoundResource& r) {
    const auto& rec = r.record();
    Json row;
    row["index"] = index;
    row["id"] = rec.id();
    row["kind"] = rec.kind();
    row["stored"] = rec.stored();
    row["external"] = rec.external();
    row["looping"] = rec.looping();
    row["loopStart"] = rec.loopStart();
    row["loopEnd"] = rec.loopEnd();
    row["dataSize"] = rec.dataSize();
    row["dataOffset"] = rec.dataOffset();
    row["volume"] = r.volume();
    row["padMode"] = rec.padMode();
    row["fileName"] = latin1ToUtf8(rec.fileName());
    row["name"] = latin1ToUtf8(r.name());
    row["comment"] = latin1ToUtf8(r.comment());
    return row;
}

std::string csvField(const Json& value) {
    if (!value.is_string()) return value.dump();
    const std::string text = value.get<std::string>();
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string kindText(std::uint32_t kind) {
    switch (kind) {
    case 0: return "empty";
    case 1: return "sample";
    case 3: return "cd";
    default: return "kind" + std::to_string(kind);
    }
}

void printList(bank::SoundBank& bank, bool json, bool csv) {
    Json rows = Json::array();
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) rows.push_back(resourceRow(i, *bank.resourceAt(i)));
    if (json) {
        std::cout << rows.dump(2) << '\n';
        return;
    }
    if (csv) {
        // The header names the columns of a row, in the row's order.
        const bank::SoundResource blank;
        bool first = true;
        const Json columns = resourceRow(0, blank);
        for (auto it = columns.begin(); it != columns.end(); ++it) {
            std::cout << (first ? "" : ",") << it.key();
            first = false;
        }
        std::cout << '\n';
        for (const auto& row : rows) {
            first = true;
            for (const auto& value : row) {
                std::cout << (first ? "" : ",") << csvField(value);
                first = false;
            }
            std::cout << '\n';
        }
        return;
    }
    std::printf("%5s %10s %-16s %6s %10s  %-12s  %-19s  %s\n", "INDEX", "ID", "KIND", "VOLUME", "SIZE",
                "FILE", "NAME", "DESCRIPTION");
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        const auto& r = *bank.resourceAt(i);
        std::string flags;
        if (r.isLooping()) flags += " loop";
        if (r.isExternal()) flags += " ext";
        std::printf("%5zu %10u %-16s %6s %10u  %-12s  %-19s  %s\n", i, r.record().id(),
                    (kindText(r.kind()) + flags).c_str(), r.volumeText().c_str(), r.dataSize(),
                    latin1ToUtf8(r.listFileName()).c_str(), latin1ToUtf8(r.name()).c_str(),
                    latin1ToUtf8(r.comment()).c_str());
    }
}

void printInfo(const std::string& path, bank::SoundBank& bank, bool json) {
    Json header = Json::array();
    for (auto word : bank.header()) header.push_back(word);
    if (json) {
        Json info;
        info["flavour"] = flavourName(bank);
        info["header"] = header;
        info["auxRecords"] = bank.auxRecordCount();
        info["resources"] = bank.resourceCount();
        std::cout << info.dump(2) << '\n';
        return;
    }
    std::size_t samples = 0, cd = 0, empty = 0;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        const auto k = bank.resourceAt(i)->kind();
        samples += k == 1;
        cd += k == 3;
        empty += k == 0;
    }
    std::printf("bank:        %s\n", path.c_str());
    std::printf("flavour:     %s (%u-byte header)\n", flavourName(bank), bank.headerLength());
    for (std::size_t i = 0; i < header.size(); ++i)
        std::printf("h%-2zu         0x%08X  %u\n", i, bank.header()[i], bank.header()[i]);
    std::printf("aux records: %zu\n", bank.auxRecordCount());
    std::printf("resources:   %zu (%zu samples, %zu CD tracks, %zu empty)\n", bank.resourceCount(), samples, cd,
                empty);
}

struct Range {
    std::uint64_t begin, end;
    std::size_t index;
};

// Problems of a bank as it lies on disk: header words that disagree with the
// layout, samples that reach outside their area, samples that overlap.
std::vector<std::string> checkBank(const std::string& path, bank::SoundBank& bank) {
    std::vector<std::string> problems;
    platform::File file;
    const std::int64_t fileLength = file.open(path, platform::File::Mode::Read) ? file.length() : -1;
    const auto& h = bank.header();
    const bool k7 = bank.flavor() == bank::BankFlavor::K7TQ;
    const std::uint64_t dataStart = std::uint64_t{bank.headerLength()} + 32ull * bank.auxRecordCount() +
                                    92ull * bank.resourceCount();
    auto problem = [&problems](std::string text) { problems.push_back(std::move(text)); };
    for (int w : {5, 6, 7})
        if (h[w] != dataStart)
            problem("header word h" + std::to_string(w) + " is " + std::to_string(h[w]) +
                    ", the records end at " + std::to_string(dataStart));
    const std::uint64_t mainEnd = k7 ? h[10] : h[9];
    const std::uint64_t end = h[10];
    if (!k7 && h[8] != h[9]) problem("header words h8 and h9 differ (" + std::to_string(h[8]) + ", " + std::to_string(h[9]) + ")");
    if (mainEnd < h[7]) problem("the data areas end before they start");
    if (static_cast<std::int64_t>(end) > fileLength)
        problem("the header says the data ends at " + std::to_string(end) + " but the file has " +
                std::to_string(fileLength) + " bytes");

    std::vector<Range> ranges;
    for (std::size_t i = 0; i < bank.resourceCount(); ++i) {
        const auto& r = *bank.resourceAt(i);
        if (!r.isStored()) continue;
        const bool externalArea = !k7 && r.isExternal();
        const std::uint64_t begin =
            externalArea ? r.record().dataOffset() : std::uint64_t{bank.mainAreaStart()} + r.record().dataOffset();
        const std::uint64_t stop = begin + r.record().dataSize();
        const std::uint64_t areaBegin = externalArea ? bank.externalAreaStart() : bank.mainAreaStart();
        const std::uint64_t areaEnd = externalArea ? end : mainEnd;
        if (begin < areaBegin || stop > areaEnd)
            problem("resource " + std::to_string(i) + ": its " + std::to_string(r.record().dataSize()) +
                    " bytes at " + std::to_string(begin) + " lie outside its data area (" +
                    std::to_string(areaBegin) + " to " + std::to_string(areaEnd) + ")");
        if (static_cast<std::int64_t>(stop) > fileLength)
            problem("resource " + std::to_string(i) + ": its data ends at " + std::to_string(stop) +
                    ", past the end of the file");
        if (stop > begin) ranges.push_back({begin, stop, i});
    }
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        const Range& a = ranges[i - 1];
        const Range& b = ranges[i];
        // Two samples may share one copy of the same bytes; a partial
        // overlap mixes two sounds.
        if (b.begin < a.end && !(a.begin == b.begin && a.end == b.end))
            problem("resources " + std::to_string(a.index) + " and " + std::to_string(b.index) + " overlap");
    }
    return problems;
}

}  // namespace

void addListingCommands(CLI::App& app, Context& context) {
    auto bankPath = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    auto csv = std::make_shared<bool>(false);

    auto* info = app.add_subcommand("info", "show a bank's flavour, its 11 header words and its counts");
    info->add_option("BANK", *bankPath, "the bank (.bnm)")->required();
    info->add_flag("--json", *json, "print JSON");
    info->callback([&context, bankPath, json] {
        const std::string path = context.userPath(*bankPath, "the bank");
        context.startUp();
        auto document = context.openDocument(path);
        printInfo(*bankPath, document->bank(), *json);
    });

    auto* list = app.add_subcommand("list", "list a bank's resources, one row each, in file order");
    list->add_option("BANK", *bankPath, "the bank (.bnm)")->required();
    auto* jsonFlag = list->add_flag("--json", *json, "print a JSON array");
    list->add_flag("--csv", *csv, "print CSV with a header line")->excludes(jsonFlag);
    list->callback([&context, bankPath, json, csv] {
        const std::string path = context.userPath(*bankPath, "the bank");
        context.startUp();
        auto document = context.openDocument(path);
        printList(document->bank(), *json, *csv);
    });

    auto* check = app.add_subcommand(
        "check", "check the header words and every sample's place in the file; exit 1 on a problem");
    check->add_option("BANK", *bankPath, "the bank (.bnm)")->required();
    check->callback([&context, bankPath] {
        const std::string path = context.userPath(*bankPath, "the bank");
        context.startUp();
        auto document = context.openDocument(path);
        bank::SoundBank& bank = document->bank();
        const auto problems = checkBank(path, bank);
        for (const auto& p : problems) std::cout << *bankPath << ": " << p << '\n';
        if (!problems.empty()) throw CommandFailure{*bankPath + ": " + std::to_string(problems.size()) + " problem(s)"};
        std::cout << *bankPath << ": OK (" << bank.resourceCount() << " resources)\n";
    });
}

}  // namespace calyx::cli
