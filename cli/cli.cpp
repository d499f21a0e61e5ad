#include "cli/cli.h"

#include "cli/command_line.h"
#include "cli/replies.h"

int RunCli(const std::vector<std::string>& args, CliServices& services) {
    std::string error;
    const std::optional<Command> command = ParseCommandLine(args, &error);
    if (!command) {
        return Usage(services.console, error);
    }
    return command->run(services, *command);
}
