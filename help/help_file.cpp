#include "help/help_file.h"

#include <algorithm>
#include <set>

#include "imaging/byte_reader.h"

namespace lumen::help {
namespace {

constexpr uint8_t kMagic[8] = {'L', 'F', 'H', 'E', 'L', 'P', 0x1A, 0x01};
// The fewest bytes each record can take: a count is only believed when the rest can hold it.
constexpr size_t kMinString = 4;
constexpr size_t kMinTopic = 2 * kMinString + 4;
constexpr size_t kMinBlock = 1 + 4;
constexpr size_t kMinSpan = 1 + 2 * kMinString;
constexpr size_t kMinPicture = kMinString + 2 + 2 + kMinString;

void writeString(imaging::ByteWriter& out, const std::string& text) {
    out.writeU32(static_cast<uint32_t>(text.size()));
    out.writeText(text);
}

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : in_(bytes) {}

    HelpReadError error() const { return error_; }
    bool failed() const { return error_ != HelpReadError::none; }
    void fail(HelpReadError error) {
        if (!failed()) error_ = error;
    }
    imaging::ByteReader& in() { return in_; }

    bool string(std::string& text) {
        uint32_t length = 0;
        if (!in_.readU32(length)) return fail(HelpReadError::truncated), false;
        if (length > kMaxTextBytes) return fail(HelpReadError::badCount), false;
        if (!in_.readText(length, text)) return fail(HelpReadError::truncated), false;
        return true;
    }

    // A count no larger than `limit` whose records of at least `minSize` bytes fit in the rest.
    bool count(size_t limit, size_t minSize, size_t& value) {
        uint32_t read = 0;
        if (!in_.readU32(read)) return fail(HelpReadError::truncated), false;
        if (read > limit) return fail(HelpReadError::badCount), false;
        if (size_t{read} * minSize > in_.remaining()) return fail(HelpReadError::truncated), false;
        value = read;
        return true;
    }

    bool span(Span& span) {
        uint8_t kind = 0;
        if (!in_.readU8(kind)) return fail(HelpReadError::truncated), false;
        if (kind > static_cast<uint8_t>(SpanKind::link)) return fail(HelpReadError::badKind), false;
        span.kind = static_cast<SpanKind>(kind);
        return string(span.text) && string(span.target);
    }

    bool block(Block& block) {
        uint8_t kind = 0;
        if (!in_.readU8(kind)) return fail(HelpReadError::truncated), false;
        if (kind > static_cast<uint8_t>(BlockKind::picture)) return fail(HelpReadError::badKind), false;
        block.kind = static_cast<BlockKind>(kind);
        size_t spans = 0;
        if (!count(kMaxSpansPerBlock, kMinSpan, spans)) return false;
        // Code and picture blocks carry exactly one span; the viewer relies on it.
        if ((block.kind == BlockKind::code || block.kind == BlockKind::picture) && spans != 1)
            return fail(HelpReadError::badCount), false;
        block.spans.resize(spans);
        for (Span& span : block.spans)
            if (!this->span(span)) return false;
        return true;
    }

    bool topic(Topic& topic) {
        size_t blocks = 0;
        if (!string(topic.id) || !string(topic.title) || !count(kMaxBlocksPerTopic, kMinBlock, blocks)) return false;
        topic.blocks.resize(blocks);
        for (Block& block : topic.blocks)
            if (!this->block(block)) return false;
        return true;
    }

    bool picture(Picture& picture) {
        std::string stream;
        if (!string(picture.name) || !in_.readU16(picture.width) || !in_.readU16(picture.height))
            return fail(HelpReadError::truncated), false;
        if (!string(stream)) return false;
        if (picture.width < 1 || picture.width > kMaxPictureSide || picture.height < 1 ||
            picture.height > kMaxPictureSide || stream.empty())
            return fail(HelpReadError::badPicture), false;
        picture.jpeg.assign(stream.begin(), stream.end());
        return true;
    }

private:
    imaging::ByteReader in_;
    HelpReadError error_ = HelpReadError::none;
};

}  // namespace

const Topic* HelpDocument::findTopic(const std::string& id) const {
    auto found = std::find_if(topics.begin(), topics.end(), [&](const Topic& topic) { return topic.id == id; });
    return found == topics.end() ? nullptr : &*found;
}

const Picture* HelpDocument::findPicture(const std::string& name) const {
    auto found =
        std::find_if(pictures.begin(), pictures.end(), [&](const Picture& picture) { return picture.name == name; });
    return found == pictures.end() ? nullptr : &*found;
}

std::string plainText(const Topic& topic) {
    std::string text = topic.title;
    for (const Block& block : topic.blocks) {
        text += '\n';
        for (const Span& span : block.spans) text += span.text;
    }
    return text;
}

std::vector<uint8_t> writeHelpFile(const HelpDocument& document) {
    imaging::ByteWriter out;
    out.writeBytes(kMagic);
    out.writeU32(0);  // the size, filled in at the end
    writeString(out, document.title);
    out.writeU32(static_cast<uint32_t>(document.topics.size()));
    for (const Topic& topic : document.topics) {
        writeString(out, topic.id);
        writeString(out, topic.title);
        out.writeU32(static_cast<uint32_t>(topic.blocks.size()));
        for (const Block& block : topic.blocks) {
            out.writeU8(static_cast<uint8_t>(block.kind));
            out.writeU32(static_cast<uint32_t>(block.spans.size()));
            for (const Span& span : block.spans) {
                out.writeU8(static_cast<uint8_t>(span.kind));
                writeString(out, span.text);
                writeString(out, span.target);
            }
        }
    }
    out.writeU32(static_cast<uint32_t>(document.pictures.size()));
    for (const Picture& picture : document.pictures) {
        writeString(out, picture.name);
        out.writeU16(picture.width);
        out.writeU16(picture.height);
        out.writeU32(static_cast<uint32_t>(picture.jpeg.size()));
        out.writeBytes(picture.jpeg);
    }
    std::vector<uint8_t> bytes = out.take();
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) bytes[8 + i] = static_cast<uint8_t>(size >> (8 * i));
    return bytes;
}

HelpReadError checkReferences(const HelpDocument& document) {
    if (document.topics.empty()) return HelpReadError::empty;
    std::set<std::string> topicIds, pictureNames;
    for (const Topic& topic : document.topics)
        if (!topicIds.insert(topic.id).second) return HelpReadError::duplicateName;
    for (const Picture& picture : document.pictures)
        if (!pictureNames.insert(picture.name).second) return HelpReadError::duplicateName;
    for (const Topic& topic : document.topics)
        for (const Block& block : topic.blocks) {
            if (block.kind == BlockKind::picture && !pictureNames.count(block.spans.front().target))
                return HelpReadError::unresolved;
            for (const Span& span : block.spans)
                if (span.kind == SpanKind::link && !topicIds.count(span.target)) return HelpReadError::unresolved;
        }
    return HelpReadError::none;
}

HelpReadResult readHelpFile(std::span<const uint8_t> bytes) {
    Reader reader(bytes);
    imaging::ByteReader& in = reader.in();
    std::span<const uint8_t> magic;
    if (!in.readBytes(sizeof kMagic, magic) || !std::equal(magic.begin(), magic.end(), kMagic))
        return {std::nullopt, HelpReadError::notHelpFile};
    uint32_t size = 0;
    if (!in.readU32(size)) return {std::nullopt, HelpReadError::truncated};
    if (size > bytes.size()) return {std::nullopt, HelpReadError::truncated};
    if (size != bytes.size()) return {std::nullopt, HelpReadError::sizeMismatch};

    HelpDocument document;
    size_t topics = 0, pictures = 0;
    if (reader.string(document.title) && reader.count(kMaxTopics, kMinTopic, topics)) {
        document.topics.resize(topics);
        for (Topic& topic : document.topics)
            if (!reader.topic(topic)) break;
    }
    if (!reader.failed() && reader.count(kMaxPictures, kMinPicture, pictures)) {
        document.pictures.resize(pictures);
        for (Picture& picture : document.pictures)
            if (!reader.picture(picture)) break;
    }
    if (!reader.failed() && in.remaining() != 0) reader.fail(HelpReadError::sizeMismatch);
    if (reader.failed()) return {std::nullopt, reader.error()};
    if (const HelpReadError error = checkReferences(document); error != HelpReadError::none)
        return {std::nullopt, error};
    return {std::move(document), HelpReadError::none};
}

}  // namespace lumen::help
