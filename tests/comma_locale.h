#pragma once
// Puts a comma-decimal locale (de_DE.UTF-8) in force for the whole process, as QApplication
// does on a German desktop. Where the machine has no such locale, one is compiled with
// localedef into a scratch folder that LOCPATH names, so the test runs everywhere.

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace springcalc::testing {

class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
        if (Use()) {
            return;
        }
        scratch_ = std::filesystem::temp_directory_path() /
                   ("springcalc-locale-" + std::to_string(::getpid()));
        std::filesystem::create_directories(scratch_);
        const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                    (scratch_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        // localedef warns (status 1) about harmless details of the source; the locale is made.
        (void)std::system(command.c_str());
        ::setenv("LOCPATH", scratch_.c_str(), 1);
        Use();
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_ALL, "C");
        if (!scratch_.empty()) {
            ::unsetenv("LOCPATH");
            std::error_code ignored;
            std::filesystem::remove_all(scratch_, ignored);
        }
    }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    // True once "%.2f" really writes a comma.
    bool active() const {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.2f", 88.0);
        return std::string(buffer) == "88,00";
    }

private:
    bool Use() { return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr && active(); }

    std::filesystem::path scratch_;
};

}  // namespace springcalc::testing
