#include "command_line.h"

namespace velmora::cli
{

void SetHelpText(CLI::App& app, std::string_view help)
{
    app.formatter_fn([text = std::string(help)](
                         const CLI::App*, const std::string&, CLI::AppFormatMode) { return text; });
}

namespace
{

bool VerboseFlag = false;

} // namespace

bool Verbose()
{
    return VerboseFlag;
}

CLI::App* AddCommand(CLI::App& tool, const std::string& name, std::string_view help)
{
    CLI::App* command = tool.add_subcommand(name);
    command->add_flag("--verbose", VerboseFlag);
    // Given before the command, --verbose means the same.
    if (!tool.get_option_no_throw("--verbose"))
        tool.add_flag("--verbose", VerboseFlag);
    SetHelpText(*command, help);
    return command;
}

namespace
{

// The name of the option that a CLI11 message begins with ("--into: ..."); empty when none.
std::string OptionNamed(const std::string& message)
{
    const size_t colon = message.find(": ");
    return colon != std::string::npos && message.starts_with('-') ? message.substr(0, colon)
                                                                  : std::string();
}

} // namespace

std::string UsageProblem(const CLI::ParseError& error, const CLI::App& app)
{
    const std::string message = error.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        // The extra argument may belong to a command that encloses app.
        std::vector<std::string> extras = app.remaining();
        for (const CLI::App* outer = app.get_parent(); extras.empty() && outer;
             outer = outer->get_parent())
            extras = outer->remaining();
        const std::string first = extras.empty() ? std::string() : extras.front();
        if (first.size() > 1 && first[0] == '-')
            return "unknown option " + first;
        return (app.get_parent() ? "unexpected argument " : "unknown command ") + first;
    }
    const std::string name = OptionNamed(message);
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) && !name.empty()) {
        if (message.find("At Most") != std::string::npos)
            return "only one " + name + " can be given";
        const CLI::Option* option = app.get_option_no_throw(name);
        const std::string needs = option && !option->get_description().empty()
            ? option->get_description()
            : std::string("needs a value");
        return name + " " + needs;
    }
    return message;
}

} // namespace velmora::cli
