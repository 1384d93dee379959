// lumenforge: the command-line tool over the core libraries.
#include <cstdio>
#include <exception>

#include "commands.h"
#include "resources/embedded_resources.h"

namespace lumen::cli {
std::vector<CommandAdder>& commandAdders() {
    static std::vector<CommandAdder> adders;
    return adders;
}
}  // namespace lumen::cli

int main(int argc, char** argv) {
    using namespace lumen::cli;
    CLI::App app{"Lumenforge core tool: formulas, filter files, databases, rendering"};
    app.require_subcommand(1);
    CommandContext context;
    // Renders read the textures and gradients the plug-in carries as resources.
    lumen::imaging::useEmbeddedResources(lumen::resources::embeddedResources());
    try {
        for (CommandAdder add : commandAdders()) add(app, context);
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumenforge: %s\n", error.what());
        return 1;
    }
    return context.status;
}
