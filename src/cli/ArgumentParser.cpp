#include "ArgumentParser.h"

#include <algorithm>
#include <cctype>

namespace velk::cli {

namespace {

bool isNegativeNumber(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-' &&
           (std::isdigit(static_cast<unsigned char>(argument[1])) || argument[1] == '.');
}

bool isOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-' && !isNegativeNumber(argument);
}

const OptionRule& findRule(const std::string& name, const std::vector<OptionRule>& rules) {
    const auto rule =
        std::find_if(rules.begin(), rules.end(), [&](const OptionRule& s) { return s.name == name; });
    if (rule == rules.end())
        throw UsageError{"Cli_Err_UnknownOption", name};
    return *rule;
}

}  // namespace

std::string ParsedArguments::value(const std::string& name) const {
    const auto option = options.find(name);
    return option == options.end() ? std::string() : option->second;
}

std::vector<std::string> ParsedArguments::values(const std::string& name) const {
    std::vector<std::string> found;
    for (const auto& [option, value] : given)
        if (option == name)
            found.push_back(value);
    return found;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const std::vector<OptionRule>& rules) {
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
        const OptionRule& rule = findRule(name, rules);
        if (!rule.takesValue && equals != std::string::npos)
            throw UsageError{"Cli_Err_UnexpectedValue", name};
        std::string value;
        if (equals != std::string::npos)
            value = argument.substr(equals + 1);
        else if (rule.takesValue && i + 1 < arguments.size())
            value = arguments[++i];
        else if (rule.takesValue)
            throw UsageError{"Cli_Err_MissingValue", name};
        parsed.options[name] = value;
        parsed.given.emplace_back(name, value);
    }
    return parsed;
}

void requirePositionals(const ParsedArguments& arguments, const std::vector<std::string>& names) {
    if (arguments.positionals.size() < names.size())
        throw UsageError{"Cli_Err_MissingArgument", names[arguments.positionals.size()]};
    if (arguments.positionals.size() > names.size())
        throw UsageError{"Cli_Err_ExtraArgument", arguments.positionals[names.size()]};
}

}  // namespace velk::cli
