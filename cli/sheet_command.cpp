// lumenforge sheet OUT.png LABEL=IN.png... [--columns N] [--cell WxH] [--label-scale S]
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "imaging/png_io.h"
#include "tools/contact_sheet.h"

namespace lumen::cli {
namespace {

struct SheetArguments {
    std::string out;
    std::vector<std::string> items;
    int columns = 0;
    std::string cell;
    int labelScale = 1;
};

bool parseCell(const std::string& text, tools::SheetOptions& options) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    try {
        size_t usedWidth = 0, usedHeight = 0;
        options.maxCellWidth = std::stoi(text.substr(0, x), &usedWidth);
        options.maxCellHeight = std::stoi(text.substr(x + 1), &usedHeight);
        return usedWidth == x && usedHeight == text.size() - x - 1;
    } catch (...) {
        return false;
    }
}

int runSheet(const SheetArguments& arguments) {
    tools::SheetOptions options;
    options.columns = arguments.columns;
    options.labelScale = arguments.labelScale;
    if (!arguments.cell.empty() && !parseCell(arguments.cell, options)) {
        std::fprintf(stderr, "lumenforge: --cell takes WIDTHxHEIGHT\n");
        return 1;
    }
    std::vector<tools::LabelledImage> images;
    for (const std::string& item : arguments.items) {
        const size_t equals = item.find('=');
        if (equals == std::string::npos || equals + 1 == item.size()) {
            std::fprintf(stderr, "lumenforge: '%s' is not LABEL=IN.png\n", item.c_str());
            return 1;
        }
        tools::LabelledImage labelled;
        labelled.label = item.substr(0, equals);
        std::string error;
        if (!imaging::readPng(item.substr(equals + 1), labelled.image, error)) {
            std::fprintf(stderr, "lumenforge: %s\n", error.c_str());
            return 1;
        }
        images.push_back(std::move(labelled));
    }
    std::string error;
    const auto sheet = tools::composeContactSheet(images, options, error);
    if (!sheet || !imaging::writePng(arguments.out, *sheet, error)) {
        std::fprintf(stderr, "lumenforge: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

void addSheetCommand(CLI::App& app, CommandContext& context) {
    auto arguments = std::make_shared<SheetArguments>();
    CLI::App* sheet = app.add_subcommand("sheet", "Lay labelled pictures out in a grid on one PNG");
    sheet->add_option("OUT", arguments->out, "The contact sheet to write (PNG)")->required();
    sheet->add_option("ITEMS", arguments->items, "LABEL=IN.png, one per picture")->required();
    sheet->add_option("--columns", arguments->columns, "Columns (default: about as many as rows)");
    sheet->add_option("--cell", arguments->cell, "Largest picture size in a cell, WIDTHxHEIGHT (default 256x256)");
    sheet->add_option("--label-scale", arguments->labelScale, "Label size, 1 to 4");
    sheet->callback([arguments, &context] { context.status = runSheet(*arguments); });
}

const CommandRegistration registration{addSheetCommand};

}  // namespace
}  // namespace lumen::cli
