#pragma once
// The texts of the main dialog's status line.
#include <cstddef>
#include <string>

namespace lumen::ui::model {

// The database directory's own name, cut before the first ".db" (whole when there is none).
// The path may end in a separator.
std::string databaseDisplayName(const std::string& databasePath);
// Every entry of the database counts, category placeholders too.
std::string filterCountText(size_t entryCount);

}  // namespace lumen::ui::model
