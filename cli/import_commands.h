#pragma once
// The import side of `lumenforge db`: the operations run on an open database without dialogs.
#include <string>
#include <vector>

#include "filters/filter_database.h"

namespace lumen::cli {

// The import command with the files given: every library entry picked, failures reported on
// standard error and the import continued. False when any file failed. With `replace` copied
// .ffx files replace filters of their name.
bool importFiles(filters::FilterDatabase& database, const std::vector<std::string>& paths, bool replace);
// A new database NAME.db beside the open one, which becomes the open one.
bool createDatabaseBeside(filters::FilterDatabase& database, const std::string& name);
// The filters named by file name copied into the database TARGET beside the open one.
bool copyFiltersBeside(filters::FilterDatabase& database, const std::string& target,
                       const std::vector<std::string>& fileNames);

}  // namespace lumen::cli
