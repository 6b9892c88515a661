#pragma once
// The designs of a check file: one CSV row each, read into the inputs of the design record,
// with every fault told by row, column, value and what was expected.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spring_design.h"

namespace springcalc::cli {

struct DesignInput {
    int row = 0;   // 1 for the first design after the header
    int line = 0;  // where its row starts in the file
    std::string name;
    std::int32_t springKind = kCompression;
    int materialNo = 0;
    int wireNo = 0;
    float meanDia = 0;
    float turns = 0;
    float freeLen = 0;  // 0 for an extension spring: the engine derives it
    float setLen = 0;
    float workLen = 0;
};

struct InputError {
    int row = 0;   // 0: the header or the file as a whole
    int line = 0;  // 0: the file as a whole
    std::string column;
    std::string value;
    std::string expected;
    std::string message;  // set instead of value and expected for faults of a whole row
};

// One line: where (file, row, line, column), the value found and what was expected.
std::string DescribeInputError(const InputError& error, std::string_view source);

struct DesignFile {
    std::vector<DesignInput> designs;
    std::vector<InputError> errors;
    bool hasNames = false;  // the header has a name column
};

// Reads every row, so that one run tells every fault at once.
DesignFile ParseDesigns(std::string_view csvText);

// The header a check file starts with.
inline constexpr std::string_view kDesignHeader =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len";

}  // namespace springcalc::cli
