#pragma once
// Each area of the command-line tool adds its subcommands from its own file by defining
//   static const CommandRegistration registration{addMyCommands};
// A command's callback stores its exit status in CommandContext::status; errors go to stderr.
#include <CLI/CLI.hpp>

#include <vector>

namespace lumen::cli {

struct CommandContext {
    int status = 0;
};

using CommandAdder = void (*)(CLI::App& app, CommandContext& context);

std::vector<CommandAdder>& commandAdders();

struct CommandRegistration {
    explicit CommandRegistration(CommandAdder adder) { commandAdders().push_back(adder); }
};

}  // namespace lumen::cli
