// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of the `make bench` table: a figure, its unit, and the budget it is held to. Every
// benchmark program prints its own lines in this one format, so bench/run-bench only has to
// put them under one heading.

#include <string>
#include <vector>

namespace springcalc::bench {

enum class Unit { Microseconds, Milliseconds, Seconds, MiB, Ratio };

struct BudgetLine {
    std::string what;
    double value = 0;  // in `unit`
    Unit unit = Unit::Microseconds;
    double limit = 0;  // the figure must stay below it; 0 when the figure has no budget
};

// Prints the column heads.
void PrintHeading();
// Prints one line with its verdict; false when the figure is over its budget.
bool PrintLine(const BudgetLine& line);
// Prints every line; false when any one is over its budget.
bool PrintLines(const std::vector<BudgetLine>& lines);

// The median of the samples (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<double> samples);
// The sample below which `fraction` of them lie (nearest rank); 0 for none.
double Quantile(std::vector<double> samples, double fraction);

}  // namespace springcalc::bench
