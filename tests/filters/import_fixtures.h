#pragma once
// Inputs for the import tests made in memory: parameter records as Filter Factory lays them out,
// and minimal resource-only PE images (no code) carrying them.
#include <cstdint>
#include <string>
#include <vector>

#include "filters/parm_record.h"
#include "imaging/pe_resources.h"

namespace lumen::filters::testing {

// The 8296 bytes of `record`; texts cut to their fields, keeping a zero at the end.
std::vector<uint8_t> encodeParmRecord(const ParmRecord& record);
// A valid record with distinct texts and values: "Cat", "Title", labels "L0" ... , formulas.
ParmRecord sampleParmRecord();

struct TestResource {
    imaging::ResourceKey type;
    imaging::ResourceKey name;
    uint16_t language = 0x409;
    std::vector<uint8_t> data;
};
// A PE32 (or PE32+) DLL image with one resource section holding these resources.
std::vector<uint8_t> buildResourceImage(const std::vector<TestResource>& resources, bool pe32Plus = false);
// The usual Filter Factory plug-in: PARM 16 holding `parm`.
std::vector<uint8_t> buildFfPlugin(const std::vector<uint8_t>& parm, bool pe32Plus = false);

}  // namespace lumen::filters::testing
