#pragma once
// A help book in memory: topics made of blocks (headings, paragraphs, list items, code,
// pictures), paragraphs made of spans (plain text, code, links to other topics), and the
// pictures the topics show, kept as JPEG streams. The first topic is the book's contents.
#include <cstdint>
#include <string>
#include <vector>

namespace lumen::help {

enum class SpanKind : uint8_t { text = 0, code = 1, link = 2 };

struct Span {
    SpanKind kind = SpanKind::text;
    std::string text;
    std::string target;  // links: the id of the topic they open
    bool operator==(const Span&) const = default;
};

enum class BlockKind : uint8_t { heading = 0, paragraph = 1, listItem = 2, code = 3, picture = 4 };

struct Block {
    BlockKind kind = BlockKind::paragraph;
    // Code blocks: one text span of lines joined by '\n'. Pictures: one text span holding the
    // caption, its target naming the picture.
    std::vector<Span> spans;
    bool operator==(const Block&) const = default;
};

struct Topic {
    std::string id;
    std::string title;
    std::vector<Block> blocks;
    bool operator==(const Topic&) const = default;
};

struct Picture {
    std::string name;
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> jpeg;
    bool operator==(const Picture&) const = default;
};

struct HelpDocument {
    std::string title;
    std::vector<Topic> topics;
    std::vector<Picture> pictures;
    bool operator==(const HelpDocument&) const = default;

    const Topic* findTopic(const std::string& id) const;
    const Picture* findPicture(const std::string& name) const;
};

// Everything a topic's text says, for searching it: the title, then each block's text.
std::string plainText(const Topic& topic);

}  // namespace lumen::help
