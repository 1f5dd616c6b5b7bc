// Temporary files: a fresh file under the first free name of a numbered
// series, created exclusively so that two programs (or two saves) never
// write into one file.
//
// The search for a free name is kept apart from the way one name is taken,
// so that another way of taking a name (giving a file made without a name
// its name at the end) shares the same series, retries and result.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace calyx::platform {

// The names a temporary file may take: `nameFor(0)` … `nameFor(count - 1)`.
struct TempNames {
    std::function<std::string(int)> nameFor;
    int count = 0;
};

// "<folder>/<stem><n><suffix>" (no separator added after one that ends the
// folder); an empty folder is the current one.
TempNames numberedNames(std::string_view folder, std::string_view stem, std::string_view suffix, int count);

// Hidden names in the folder of `targetHost` (a host path whose links are
// already resolved): ".<target name>.<tag><n>".
TempNames namesBeside(std::string_view targetHost, std::string_view tag, int count = 100);

// What one try at a name found.
enum class NameTry { Taken, Claimed, Failed };

// Why no name could be had.
enum class TempFileError {
    None,
    AllNamesTaken,  // every name of the series exists already
    CannotCreate,   // the system refused for another reason (no folder, no right to write, disk full)
};

struct TempFileResult {
    TempFileError error = TempFileError::None;
    // The name claimed; after a failure, the last name tried.
    std::string path;
    explicit operator bool() const { return error == TempFileError::None; }
};

// What a refusal other than "the name exists" does to the search: end it
// (the usual choice: the next name of the same folder fares no better), or
// go on with the next name.
enum class OnRefusal { Stop, TryNextName };

// Tries the names in order with `tryName` until one is claimed.
TempFileResult claimFreeName(const TempNames& names, const std::function<NameTry(const std::string&)>& tryName,
                             OnRefusal onRefusal = OnRefusal::Stop);

// Creates the first free name exclusively and leaves it open in `file` for
// reading and writing.
TempFileResult createTempFile(File& file, const TempNames& names, OnRefusal onRefusal = OnRefusal::Stop);

}  // namespace calyx::platform
