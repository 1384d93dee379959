#pragma once
// Builds the default database from its readable sources: every source parsed and compiled,
// one .ffx file per filter with preset thumbnails rendered from the preview picture, and the
// index written by opening the finished directory as a database.
#include <optional>
#include <string>
#include <vector>

#include "filter_source.h"
#include "filters/filter_definition.h"
#include "imaging/png_io.h"
#include "render_tables.h"

namespace lumen::tools {

struct NamedSource {
    std::string path;
    FilterSource source;
};

// Every *.txt file below `directory`, in path order. The first fault fails the whole load.
std::optional<std::vector<NamedSource>> loadFilterSources(const std::string& directory, std::string& error);

// All five codes must compile; the message names the first that does not.
bool checkFilterCompiles(const FilterSource& source, std::string& error);

filters::FilterDefinition toFilterDefinition(const FilterSource& source);

// The picture filtered with the given settings; its alpha is kept as the filter leaves it.
std::optional<imaging::RgbaImage> renderFilterSource(const FilterSource& source, const std::array<int32_t, 8>& controls,
                                                     int32_t gradient, const imaging::RgbaImage& picture,
                                                     const RenderTables& tables, std::string& error);

// Writes the database into `directory` (created when missing); .ffx files and the index left
// there by an earlier build are replaced. `preview` is what preset thumbnails are made from.
bool buildDatabase(const std::vector<NamedSource>& sources, const std::string& directory,
                   const imaging::RgbaImage& preview, const RenderTables& tables, std::string& error);

}  // namespace lumen::tools
