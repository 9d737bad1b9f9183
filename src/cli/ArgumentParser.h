#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velk::cli {

// One option a command accepts: "--name" alone, or "--name VALUE" / "--name=VALUE" when it takes
// a value.
struct OptionRule {
    std::string name;
    bool takesValue = false;
};

// A command line the user got wrong: the string-table key of the message and the argument it is
// about. Commands report it with exit status 1.
struct UsageError {
    std::string key;
    std::string argument;
};

struct ParsedArguments {
    std::vector<std::string> positionals;
    std::map<std::string, std::string> options;              // the last value of each; flags map to ""
    std::vector<std::pair<std::string, std::string>> given;  // every option in order, repeats too

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::string value(const std::string& name) const;
    // Every value given to a repeatable option, in order.
    std::vector<std::string> values(const std::string& name) const;
};

// Splits arguments into options of `rules` and positionals; "--" ends the options, and a
// negative number ("-6", "-0.5") is a positional. Throws UsageError for an unknown option, a
// missing value, or a value given to a flag.
ParsedArguments parseArguments(const std::vector<std::string>& arguments,
                               const std::vector<OptionRule>& rules);

// Exactly the positionals `names` (as the synopsis writes them, e.g. "AMP", "FILE"): throws
// UsageError naming the first one missing, or the first argument too many.
void requirePositionals(const ParsedArguments& arguments, const std::vector<std::string>& names);

}  // namespace velk::cli
