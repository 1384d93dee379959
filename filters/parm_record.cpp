#include "filters/parm_record.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lumen::filters {

namespace {

int32_t int32At(std::span<const uint8_t, kParmRecordSize> record, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | record[at + size_t(i)];
    return static_cast<int32_t>(value);
}

std::string textAt(std::span<const uint8_t, kParmRecordSize> record, size_t at, size_t width) {
    const auto field = record.subspan(at, width);
    const auto end = std::find(field.begin(), field.end(), uint8_t{0});
    return std::string(field.begin(), end);
}

}  // namespace

ParmRecord decodeParmRecord(std::span<const uint8_t> bytes) {
    std::array<uint8_t, kParmRecordSize> raw{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), raw.size()), raw.begin());
    const std::span<const uint8_t, kParmRecordSize> record(raw);

    ParmRecord result;
    result.recordSize = int32At(record, parm::kRecordSizeAt);
    result.showDialog = int32At(record, parm::kShowDialogAt);
    result.protectedFlag = int32At(record, parm::kProtectedAt);
    for (size_t i = 0; i < kControlCount; ++i) {
        result.values[i] = int32At(record, parm::kValuesAt + i * 4);
        result.controlInUse[i] = int32At(record, parm::kInUseAt + i * 4);
        result.controlLabel[i] = textAt(record, parm::kLabelsAt + i * parm::kLabelWidth, parm::kLabelWidth);
    }
    result.category = textAt(record, parm::kCategoryAt, parm::kCategoryWidth);
    result.title = textAt(record, parm::kTitleAt, parm::kTitleWidth);
    for (size_t k = 0; k < kParmFormulaCount; ++k)
        result.formula[k] = textAt(record, parm::kFormulasAt + k * parm::kFormulaWidth, parm::kFormulaWidth);
    return result;
}

bool isImportable(const ParmRecord& record) {
    return record.recordSize == int32_t(kParmRecordSize) && record.protectedFlag == 0;
}

void convertParmRecord(const ParmRecord& record, FilterDefinition& working) {
    working.category = record.category;
    working.title = record.title;
    for (size_t i = 0; i < kControlCount; ++i) {
        working.controlValue[i] = record.values[i];
        working.controlDefault[i] = record.values[i];
        working.controlLabel[i] = record.controlLabel[i];
        working.controlEnabled[i] = record.controlInUse[i] != 0 ? 1 : 0;
    }
    working.code[0].assign(1, '0');  // not = "0": GCC 12 inlines that into a false -Wrestrict warning
    for (size_t k = 0; k < kParmFormulaCount; ++k) working.code[k + 1] = record.formula[k];
    working.gradientIndex = 0;
    working.gradientDefault = 0;
}

int32_t atoiValue(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        magnitude = std::min(kLimit, magnitude * 10 + (text[at] - '0'));
    const int64_t value = negative ? -magnitude : magnitude;
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace lumen::filters
