#pragma once
// Each area of the command-line tool adds its subcommands from its own file by defining
//   static const CommandRegistration registration{addMyCommands};
// A command's callback stores its exit status in CommandContext::status; errors go to stderr.
#include <CLI/CLI.hpp>

#include <string>
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

// The subcommand `name` of `parent`, created (requiring one subcommand of its own) unless an
// earlier registration made it: several files may add commands under one group.
inline CLI::App& commandGroup(CLI::App& parent, const std::string& name,
                              const std::string& description) {
    for (CLI::App* existing : parent.get_subcommands([&](CLI::App* sub) { return sub->get_name() == name; }))
        return *existing;
    CLI::App* group = parent.add_subcommand(name, description);
    group->require_subcommand(1);
    return *group;
}

}  // namespace lumen::cli
