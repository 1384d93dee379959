#pragma once
// Filter Factory's parameter record ("PARM" resource, 8296 bytes): what the .8bf and .afs
// imports produce, and its conversion into the working filter.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "filters/filter_definition.h"

namespace lumen::filters {

constexpr size_t kParmRecordSize = 8296;
constexpr int kParmFormulaCount = 4;

// Byte offsets and widths of the fields read here; the rest belongs to Filter Factory.
namespace parm {
constexpr size_t kRecordSizeAt = 0;
constexpr size_t kValuesAt = 8;
constexpr size_t kShowDialogAt = 40;
constexpr size_t kInUseAt = 72;
constexpr size_t kCategoryAt = 104, kCategoryWidth = 252;
constexpr size_t kProtectedAt = 356;
constexpr size_t kTitleAt = 360, kTitleWidth = 256;
constexpr size_t kLabelsAt = 2152, kLabelWidth = 256;
constexpr size_t kFormulasAt = 4200, kFormulaWidth = 1024;
}  // namespace parm

// The record's fields with each text taken up to its first zero and never past its field.
struct ParmRecord {
    int32_t recordSize = 0;
    std::array<int32_t, kControlCount> values{};
    int32_t showDialog = 0;
    std::array<int32_t, kControlCount> controlInUse{};
    std::string category;
    int32_t protectedFlag = 0;
    std::string title;
    std::array<std::string, kControlCount> controlLabel;
    std::array<std::string, kParmFormulaCount> formula;
};

// The first 8296 bytes of a resource; a shorter one reads as if padded with zeros.
ParmRecord decodeParmRecord(std::span<const uint8_t> bytes);
// What the importers accept: the record size right and no protection.
bool isImportable(const ParmRecord& record);

// Into the working filter (cleared beforehand): category, title, controls, Code0 = "0" and the
// four formulas, gradient 0. Author and copyright are left as they are.
void convertParmRecord(const ParmRecord& record, FilterDefinition& working);

// Like the C library's atoi: leading white space, an optional sign, decimal digits up to the first
// other byte; no digits give 0. Values past the 32-bit range saturate.
int32_t atoiValue(std::string_view text);

}  // namespace lumen::filters
