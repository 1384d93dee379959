#pragma once
// The container of a help book ("Lumenforge.hlp", "Reference.hlp"), little-endian:
//   magic "LFHELP" 0x1A 0x01, u32 size of the whole file, string title,
//   u32 topic count, topics (string id, string title, u32 block count, blocks: u8 kind,
//   u32 span count, spans: u8 kind, string text, string target),
//   u32 picture count, pictures (string name, u16 width, u16 height, string JPEG stream).
// A string is a u32 byte count and the bytes. The reader believes no count or size before it
// has checked that the rest of the file can hold it, and refuses a book whose links or picture
// blocks name nothing in it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "help/help_document.h"

namespace lumen::help {

constexpr size_t kMaxTopics = 4096;
constexpr size_t kMaxBlocksPerTopic = 8192;
constexpr size_t kMaxSpansPerBlock = 4096;
constexpr size_t kMaxPictures = 1024;
constexpr size_t kMaxTextBytes = 1 << 20;
constexpr int kMaxPictureSide = 4096;

enum class HelpReadError {
    none,
    notHelpFile,      // the magic is wrong
    truncated,        // the file ends before what it declares
    sizeMismatch,     // the recorded size is not the file's size
    badCount,         // a count past its limit
    badKind,          // an unknown block or span kind
    badPicture,       // a picture's sides out of range or its stream empty
    duplicateName,    // two topics or pictures of one name
    unresolved,       // a link or picture block naming nothing in the book
    empty,            // no topic: no contents to open at
};

struct HelpReadResult {
    std::optional<HelpDocument> document;
    HelpReadError error = HelpReadError::none;
};

std::vector<uint8_t> writeHelpFile(const HelpDocument& document);
HelpReadResult readHelpFile(std::span<const uint8_t> bytes);

// What readHelpFile would refuse about a well-formed document: the first unresolved link or
// picture, a duplicate name, no topics; none when the book is whole.
HelpReadError checkReferences(const HelpDocument& document);

}  // namespace lumen::help
