// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Splits a command's arguments into options and operands: "--name value", "--name=value",
// flags, "-h" for "--help", and "--" before operands that start with a dash.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace springcalc::cli {

struct OptionSpec {
    std::string_view name;  // without the dashes
    bool takesValue = false;
    bool repeatable = false;
};

class ScannedOptions {
public:
    bool Has(std::string_view name) const { return values_.contains(std::string(name)); }
    // The value of a single-valued option.
    std::optional<std::string> Value(std::string_view name) const;
    const std::vector<std::string>& Values(std::string_view name) const;
    const std::vector<std::string>& operands() const { return operands_; }
    // Empty when the arguments were understood.
    const std::string& error() const { return error_; }

private:
    friend ScannedOptions ScanOptions(const std::vector<std::string>&,
                                      const std::vector<OptionSpec>&);
    std::map<std::string, std::vector<std::string>, std::less<>> values_;
    std::vector<std::string> operands_;
    std::string error_;
};

ScannedOptions ScanOptions(const std::vector<std::string>& args,
                           const std::vector<OptionSpec>& specs);

}  // namespace springcalc::cli
