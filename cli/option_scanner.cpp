// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/option_scanner.h"

#include <algorithm>

namespace springcalc::cli {

std::optional<std::string> ScannedOptions::Value(std::string_view name) const {
    const auto it = values_.find(name);
    if (it == values_.end() || it->second.empty()) {
        return std::nullopt;
    }
    return it->second.back();
}

const std::vector<std::string>& ScannedOptions::Values(std::string_view name) const {
    static const std::vector<std::string> none;
    const auto it = values_.find(name);
    return it == values_.end() ? none : it->second;
}

ScannedOptions ScanOptions(const std::vector<std::string>& args,
                           const std::vector<OptionSpec>& specs) {
    ScannedOptions scanned;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            scanned.operands_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h") {
            scanned.values_["help"];
            continue;
        }
        if (!arg.starts_with("--")) {
            scanned.error_ = "unknown option \"" + arg + "\"";
            return scanned;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
        const auto spec = std::find_if(specs.begin(), specs.end(),
                                       [&](const OptionSpec& s) { return s.name == name; });
        if (spec == specs.end()) {
            scanned.error_ = "unknown option \"--" + name + "\"";
            return scanned;
        }
        std::vector<std::string>& values = scanned.values_[name];
        if (!spec->takesValue) {
            if (equals != std::string::npos) {
                scanned.error_ = "option \"--" + name + "\" takes no value";
                return scanned;
            }
            continue;
        }
        if (!values.empty() && !spec->repeatable) {
            scanned.error_ = "option \"--" + name + "\" is given twice";
            return scanned;
        }
        if (equals != std::string::npos) {
            values.push_back(arg.substr(equals + 1));
        } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
            values.push_back(args[++i]);
        } else if (i + 1 < args.size()) {
            scanned.error_ = "option \"--" + name + "\" needs a value, and \"" + args[i + 1] +
                             "\" is an option (write --" + name + "=" + args[i + 1] +
                             " to mean it as the value)";
            return scanned;
        } else {
            scanned.error_ = "option \"--" + name + "\" needs a value";
            return scanned;
        }
    }
    return scanned;
}

}  // namespace springcalc::cli
