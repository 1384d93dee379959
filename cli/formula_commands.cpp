// lumenforge formula check TEXT | formula tree TEXT
#include <cstdio>
#include <string>

#include "commands.h"
#include "formula/formula_format.h"
#include "formula/formula_node.h"

namespace lumen::cli {
namespace {

void addFormulaCommands(CLI::App& app, CommandContext& context) {
    CLI::App& formula = commandGroup(app, "formula", "Check, print and evaluate formulas");

    auto checkText = std::make_shared<std::string>();
    CLI::App* check = formula.add_subcommand("check", "Print the parse result: 0, 1 or 2");
    check->add_option("TEXT", *checkText, "Formula source")->required();
    check->callback([checkText] {
        const auto result = formula::compileFormula(checkText->c_str(), false);
        std::printf("%d\n", static_cast<int>(result.status));
    });

    auto treeText = std::make_shared<std::string>();
    CLI::App* tree = formula.add_subcommand("tree", "Print the syntax tree as (KIND VALUE CHILD...)");
    tree->add_option("TEXT", *treeText, "Formula source")->required();
    tree->callback([treeText, &context] {
        const auto result = formula::compileFormula(treeText->c_str(), true);
        if (result.status != formula::kCompileOk) {
            std::fprintf(stderr, "lumenforge: the formula does not parse (result %d)\n",
                         static_cast<int>(result.status));
            context.status = result.status;
            return;
        }
        std::printf("%s\n", formula::formatFormulaTree(result.root.get()).c_str());
    });
}

const CommandRegistration registration{addFormulaCommands};

}  // namespace
}  // namespace lumen::cli
