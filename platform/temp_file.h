// Temporary files: a fresh file under the first free name of a numbered
// series, created exclusively so that two programs (or two saves) never
// write into one file.
//
// Where the file system allows it, a file is better written without a name
// and named only once it is complete: a program killed while writing it
// then leaves nothing behind. Both ways take their name from the same
// search for a free name, with the same series, retries and result.
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
// reading and writing. After a failure, errno is the system's answer to the
// last creation tried.
TempFileResult createTempFile(File& file, const TempNames& names, OnRefusal onRefusal = OnRefusal::Stop);

// Opens in `file`, for reading and writing, a new file without a name in the
// folder of `names`, which nameTempFile() later gives one of them. False
// where the system or the file system has no such files: createTempFile()
// then serves.
bool createUnnamedTempFile(File& file, const TempNames& names);

// Gives the file that createUnnamedTempFile() opened the first free name of
// `names`, exclusively as createTempFile() would: a name that exists in any
// form is never touched.
TempFileResult nameTempFile(File& file, const TempNames& names, OnRefusal onRefusal = OnRefusal::Stop);

}  // namespace calyx::platform
