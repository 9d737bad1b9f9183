#include "ArgumentParser.h"

#include <algorithm>

namespace velk::cli {

namespace {

bool isOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

const OptionSpec& findSpec(const std::string& name, const std::vector<OptionSpec>& specs) {
    const auto spec =
        std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& s) { return s.name == name; });
    if (spec == specs.end())
        throw UsageError{"Cli_Err_UnknownOption", name};
    return *spec;
}

}  // namespace

std::string ParsedArguments::value(const std::string& name) const {
    const auto option = options.find(name);
    return option == options.end() ? std::string() : option->second;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const std::vector<OptionSpec>& specs) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !isOption(argument)) {
            parsed.positionals.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionSpec& spec = findSpec(name, specs);
        if (!spec.takesValue && equals != std::string::npos)
            throw UsageError{"Cli_Err_UnexpectedValue", name};
        if (!spec.takesValue)
            parsed.options[name] = "";
        else if (equals != std::string::npos)
            parsed.options[name] = argument.substr(equals + 1);
        else if (i + 1 < arguments.size())
            parsed.options[name] = arguments[++i];
        else
            throw UsageError{"Cli_Err_MissingValue", name};
    }
    return parsed;
}

}  // namespace velk::cli
