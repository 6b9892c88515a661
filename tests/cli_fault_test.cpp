// SPDX-License-Identifier: GPL-3.0-or-later
// springcalc-cli as a process, against every way its input, its options, its output and its
// report can fail: one table, each row with its input, the status and message expected, and
// what must become of the report file. The program under test is the one built here, or the
// one named by SPRINGCALC_CLI_UNDER_TEST (to replay the table against another build).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "test_support.h"

namespace springcalc {
namespace {

using test_support::ReadFile;
using test_support::ScratchDir;
namespace fs = std::filesystem;

enum class In { Text, Directory, Closed, Zero };
enum class Out { Pipe, Full, Closed, PipeClosedEarly };
enum class Report { None, Existing, New };

struct Child {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string out, err;
};

// Runs the program in `dir` through bash with its standard streams set up as asked, at most ten
// seconds, one gigabyte of memory and `fileSizeKb` of file. SIGPIPE and SIGXFSZ are left at
// their defaults: the program must cope with them itself.
Child RunProgram(const std::string& args, const fs::path& dir, In in, const std::string& input,
                 Out out, int fileSizeKb = 0, const std::string& env = "") {
    ScratchDir io;
    test_support::WriteFile(io / "in", input);
    const char* other = std::getenv("SPRINGCALC_CLI_UNDER_TEST");
    // AddressSanitizer reserves terabytes of address space up front, so no memory limit there.
#if defined(__SANITIZE_ADDRESS__)
    std::string limits = "";
#else
    std::string limits = "ulimit -v 1048576; ";
#endif
    limits += fileSizeKb > 0 ? "ulimit -f " + std::to_string(fileSizeKb) + "; " : "";
    const std::string stdinFrom[] = {"<" + (io / "in").string(), "<.", "<&-", "</dev/zero"};
    const std::string stdoutTo[] = {"| cat >", ">/dev/full #", ">&- #", "| head -c 100 >"};
    const std::string script = "set -o pipefail; cd '" + dir.string() + "' && (" + limits +
                               "exec env " + env + " timeout -s ALRM 10 " +
                               (other ? other : SPRINGCALC_CLI_PATH) + " " + args + " " +
                               stdinFrom[int(in)] + " 2>" + (io / "err").string() + ") " +
                               stdoutTo[int(out)] + (io / "out").string();
    const int status = std::system(("bash -c \"" + script + "\"").c_str());
    return {WEXITSTATUS(status), ReadFile(io / "out"), ReadFile(io / "err")};
}

const std::string kHeader = "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";
const std::string kHeaderP0 = kHeader.substr(0, kHeader.size() - 1) + ",initial_tension\n";

std::string Designs(int count) {
    std::string csv = kHeader;
    for (int i = 0; i < count; ++i) {
        csv += "d" + std::to_string(i) + ",compression,SWPA,1.20,8.8,7,23,20,18\n";
    }
    return csv;
}

struct Fault {
    const char* what;
    std::string command;  // split at blanks; REPORT stands for the report file's path
    std::string input;
    int status;
    const char* message;  // in what the program wrote, standard error or output
    Report report = Report::None;
    In in = In::Text;
    Out out = Out::Pipe;
    int fileSizeKb = 0;
};

const std::string kCheck = "check --report REPORT";
const std::string kSearch = "search --kind compression --load 1@20 --rate 0.5 ";
const std::string kKept = "kept\r\n";

TEST(CliFaults, EachGivesItsStatusAndMessageAndLeavesTheReportAsItWas) {
    const std::string C = ",compression,SWPA,0.70,4.3,9.5,13,12,10";  // a sound row
    // clang-format off
    const Fault faults[] = {
        // Reading and writing.
        {"standard input is a directory", kCheck, "", 2, "cannot read standard input: Is a directory", Report::Existing, In::Directory},
        {"standard input is closed", kCheck, "", 2, "cannot read standard input: Bad file descriptor", Report::Existing, In::Closed},
        {"input without line ends", kCheck, "", 2, "line 1: a line longer than 65536 bytes", Report::Existing, In::Zero},
        {"a file that is not there", "check missing.csv", "", 2, "cannot read missing.csv: No such file or directory"},
        {"a folder to read", "check .", "", 2, "cannot read .: Is a directory"},
        {"the report passes a file-size limit", kCheck, Designs(200), 2, "REPORT: File too large; the file is as it was", Report::Existing, In::Text, Out::Pipe, 3},
        {"a new report passes a file-size limit, as on a full disk", kCheck, Designs(200), 2, "REPORT: File too large", Report::New, In::Text, Out::Pipe, 3},
        {"standard output is a full device", kCheck, Designs(3), 2, "cannot write to standard output: No space left on device; nothing was appended to REPORT.", Report::Existing, In::Text, Out::Full},
        {"standard output is closed", "check", Designs(3), 2, "cannot write to standard output: Bad file descriptor", Report::None, In::Text, Out::Closed},
        {"the reader of the output goes away", kCheck, Designs(3000), 2, "cannot write to standard output: Broken pipe", Report::Existing, In::Text, Out::PipeClosedEarly},
        {"a folder for the diagrams that is not there", "check --plot missing --report REPORT", Designs(1), 2, "cannot write diagrams to missing: No such file or directory; nothing was checked", Report::Existing},
        {"a diagram past a file-size limit is removed", "check --plot . --report REPORT", Designs(3), 2, "cannot write ./001-d0.svg: File too large; nothing was appended to REPORT.", Report::Existing, In::Text, Out::Pipe, 3},
        // The designs in the file.
        {"unknown material", kCheck, kHeader + ",compression,SWX,0.70,4.3,9.5,13,12,10\n", 2, "standard input: row 1 (line 2), column \"material\": found \"SWX\", expected a material designation (SWB, SWC, SWPA, SWPB, SWO-A, SWOSC-V, SUS304-WPA, SUS316-WPA, SUS304-WPB) or a material number 0 to 8", Report::Existing},
        {"material number out of range", kCheck, kHeader + ",compression,9,0.70,4.3,9.5,13,12,10\n", 2, "column \"material\": found \"9\", expected a material designation", Report::Existing},
        {"wire size not in the list", kCheck, kHeader + ",compression,SWPA,0.71,4.3,9.5,13,12,10\n", 2, "column \"wire\": found \"0.71\", expected one of the 46 standard wire sizes in mm (the nearest are 0.70 and 0.80)", Report::Existing},
        {"wire size below the list", kCheck, kHeader + ",compression,SWPA,0.05,4.3,9.5,13,12,10\n", 2, "found \"0.05\", expected one of the 46 standard wire sizes in mm (the thinnest is 0.08)", Report::Existing},
        {"wire size past the list", kCheck, kHeader + ",compression,SWPA,14,4.3,9.5,13,12,10\n", 2, "found \"14\", expected one of the 46 standard wire sizes in mm (the thickest is 13.00)", Report::Existing},
        {"turns so few that the rate overflows", kCheck, kHeader + "x,compression,SWPA,1.20,8.8,1e-30,23,20,18\n", 2, "found \"1e-30\", expected a number from 0.5 to 10000", Report::Existing},
        {"a number past single precision", kCheck, kHeader + "x,compression,SWPA,1.20,3.5e38,7,23,20,18\n", 2, "found \"3.5e38\", expected a number from 0.1 to 10000", Report::Existing},
        {"a missing number", kCheck, kHeader + ",compression,SWPA,0.70,4.3,,13,12,10\n", 2, "column \"turns\": nothing found, expected a number from 0.5", Report::Existing},
        {"not a number", kCheck, kHeader + ",compression,SWPA,0.70,4.3,9.5,13,12,ten\n", 2, "column \"work_len\": found \"ten\", expected a number from 0.1 to 10000", Report::Existing},
        {"free length of an extension spring", kCheck, kHeader + ",extension,SWPA,0.32,4.6,18.5,14.8,20,30\n", 2, "column \"free_len\": found \"14.8\", expected an empty field: an extension spring's free length follows from D, n and d", Report::Existing},
        {"free length missing for a compression spring", kCheck, kHeader + ",compression,SWPA,0.70,4.3,9.5,,12,10\n", 2, "column \"free_len\": nothing found, expected a number from 0.1 to 10000", Report::Existing},
        {"unknown kind", kCheck, kHeader + ",spiral,SWPA,0.70,4.3,9.5,13,12,10\n", 2, "column \"kind\": found \"spiral\", expected \"compression\", \"extension\" or \"torsion\"\nspringcalc-cli: nothing was checked; nothing was appended to REPORT.", Report::Existing},
        {"too few values", kCheck, kHeader + ",compression,SWPA,0.70,4.3,9.5,13,12\n", 2, "row 1 (line 2): 8 values where the header has 9", Report::Existing},
        {"a name over two lines counts both", kCheck, kHeader + "\"two\nlines\"" + C + "\n,compression,SWX,0.70,4.3,9.5,13,12,10\n", 2, "row 2 (line 4), column \"material\"", Report::Existing},
        {"every bad row is told", kCheck, kHeader + C + "\n\n,compression,SWPA,0.75,4.3,9.5,13,12,10\n,extension,SWPA,0.32,4.6,-1,,20,30\n", 2, "row 3 (line 5), column \"turns\": found \"-1\", expected a number from 0.5 to 10000, such as 12.5\nspringcalc-cli: the check stopped at the first bad row; nothing was appended to REPORT.", Report::Existing},
        {"an initial tension for a compression spring", kCheck, kHeaderP0 + ",compression,SWPA,0.70,4.3,9.5,13,12,10,1.5\n", 2, "row 1 (line 2), column \"initial_tension\": found \"1.5\", expected an empty field: a compression spring has no initial tension", Report::Existing},
        {"an initial tension in pounds", kCheck, kHeaderP0 + ",extension,SWPA,0.32,4.6,18.5,,20,30,2lb\n", 2, "column \"initial_tension\": found \"2lb\", expected a load from 0 to 10000 kg (2.5, 2.5kg, 25N) or an initial stress from 0 to 500 kg/mm² (175MPa, 175N/mm2, 17.8kg/mm2)", Report::Existing},
        {"an initial tension past the range", kCheck, kHeaderP0 + ",extension,SWPA,0.32,4.6,18.5,,20,30,98067N\n", 2, "column \"initial_tension\": found \"98067N\", expected a load from 0 to 10000 kg", Report::Existing},
        {"a negative initial stress", kCheck, kHeaderP0 + ",extension,SWPA,0.32,4.6,18.5,,20,30,-5MPa\n", 2, "found \"-5MPa\", expected a load from 0 to 10000 kg", Report::Existing},
        {"an initial stress and a bad wire in one row, both told", kCheck, kHeaderP0 + ",extension,SWPA,0.33,4.6,18.5,,20,30,5000MPa\n", 2, "column \"wire\": found \"0.33\", expected one of the 46 standard wire sizes in mm (the nearest are 0.32 and 0.35)\nspringcalc-cli: standard input: row 1 (line 2), column \"initial_tension\": found \"5000MPa\"", Report::Existing},
        {"a missing column", kCheck, "kind,material,wire,mean_dia,turns,free_len,set_len\n", 2, "line 1: column \"work_len\" is missing", Report::Existing},
        {"an unknown column", kCheck, "colour," + kHeader, 2, "line 1: unknown column \"colour\"", Report::Existing},
        {"an unclosed quote", kCheck, kHeader + ",compression,\"SWPA,0.70,4.3,9.5,13,12,10\n", 2, "line 2: a quoted field is not closed", Report::Existing},
        {"empty input", kCheck, "", 2, "standard input: no header line: expected name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len", Report::Existing},
        {"a column named twice, the first of them first", kCheck, "kind,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n", 2, "line 1: column \"kind\" appears twice", Report::Existing},
        {"UTF-16 text, with its byte-order mark", kCheck, std::string("\xFF\xFEn\0a\0m\0e\0,\0", 12), 2, "line 1: this is UTF-16 text, not UTF-8; save the file as UTF-8", Report::Existing},
        {"UTF-16 text without it", kCheck, std::string("n\0a\0m\0e\0\n\0", 10), 2, "line 1: this is UTF-16 text, not UTF-8", Report::Existing},
        {"a spreadsheet (a ZIP file) is not UTF-16", kCheck, std::string("PK\x03\x04\x14\0\x06\0\x08\0\0\0!\0b\xEE\x9Dh^\x01\0\0\x90\x04\0\0\x13\0\x08\x02[Content_Types].xml", 48), 2, "line 1: this is not a CSV text file (binary data, such as a spreadsheet or ZIP file); save it as CSV in UTF-8", Report::Existing},
        {"binary bytes are not UTF-16", kCheck, std::string("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0\xA0\"\0\0", 28), 2, "line 1: this is not a CSV text file (binary data", Report::Existing},
        {"a byte-order mark half of UTF-16's", kCheck, std::string("\xFF\x01\x02\x03", 4), 2, "line 1: this is not a CSV text file", Report::Existing},
        {"lines that end in CR alone", kCheck, std::regex_replace(Designs(3), std::regex("\n"), "\r"), 2, "line 1: lines that end in a carriage return alone (as old Mac programs write them); save the file with LF or CR LF line ends", Report::Existing},
        {"a file name with control characters", "check no\x1b[2Jfile.csv", "", 2, "cannot read no\\x1B[2Jfile.csv: No such file or directory"},
        {"a report named \"-\"", "check --report -", Designs(1), 2, "--report takes a file: standard output shows the table, so \"-\" names no report"},
        {"a report that is the input", "check --report REPORT REPORT", "", 2, "cannot append the report to REPORT: it is the file the designs are read from; nothing was checked.", Report::Existing},
        {"a report that is a device", "check --report /dev/null", Designs(1), 2, "cannot append the report to /dev/null: not a regular file"},
        {"a report that is standard error", "check --report /dev/stderr", Designs(1), 2, "cannot append the report to /dev/stderr: it is standard error; nothing was checked."},
        {"a hook radius that makes no bend of the wire", "check --hook-radius 0.3 --report REPORT", kHeader + "h,extension,SWPA,0.60,4.6,18.5,,20,30\n", 2, "row 1 (line 2): --hook-radius 0.3 mm describes no bend for its 0.60 mm wire: give a radius, to the wire's centre, of more than 0.30 mm (half the wire); nothing was appended to REPORT.", Report::Existing},
        {"bidirectional overrides in names", "check", kHeader + "\"a\u202Eb\"" + C + "\n\"\u2066c\"" + C + "\n", 0, "a\\xE2\\x80\\xAEb"},
        {"control characters in names", "check", kHeader + "\"a\x1b[31mb\"" + C + "\n\"a\ab\"" + C + "\n\"a\rb\"" + C + "\n\"a\nb\"" + C + "\n" + std::string("\"a\0b\"", 5) + C + "\n", 0, "a\\x1B[31mb"},
        // check's options.
        {"an option where the report's name should be", "check --report --json", Designs(1), 2, "\"--json\" is an option"},
        {"a report without its name", "check --report", Designs(1), 2, "option \"--report\" needs a value"},
        {"units that are not known", "check --units imperial", Designs(1), 2, "--units takes \"si\" (or \"kgf\", the default), not \"imperial\""},
        {"an unknown option", "check --colour", Designs(1), 2, "check: unknown option \"--colour\""},
        {"two files", "check a.csv b.csv", Designs(1), 2, "one FILE at most, got 2"},
        {"an end condition that is not one of the five", "check --ends clamped", Designs(1), 2, "--ends takes fixed-fixed, fixed-guided, pinned-pinned, fixed-pinned or fixed-free, not \"clamped\""},
        {"an initial tension option in pounds", "check --initial-tension 3lbf", Designs(1), 2, "--initial-tension takes a load from 0 to 10000 kg (2.5, 2.5kg, 25N) or an initial stress from 0 to 500 kg/mm² (175MPa, 175N/mm2, 17.8kg/mm2), not \"3lbf\""},
        {"an initial tension option past the range", "check --initial-tension 501kg/mm2", Designs(1), 2, "not \"501kg/mm2\""},
        {"an initial tension option without its value", "check --initial-tension", Designs(1), 2, "option \"--initial-tension\" needs a value"},
        {"an unknown command", "weigh", "", 2, "unknown command \"weigh\""},
        {"no command", "", "", 2, "Usage: springcalc-cli"},
        // search's requirement and limits.
        {"no kind", "search --load 5@40 --load 10@30", "", 2, "--kind takes \"compression\", \"extension\" or \"torsion\" and is required"},
        {"an unknown kind", "search --kind coil --load 5@40 --rate 1", "", 2, "--kind takes \"compression\" or \"extension\", not \"coil\""},
        {"a load without a length", "search --kind compression --load 5at40 --rate 1", "", 2, "--load takes LOAD@LENGTH"},
        {"a load past the range", "search --kind compression --load 10000.5@40 --rate 1", "", 2, "a load from 0.001 to 10000 kg at a length from 0.1 to 10000 mm, not \"10000.5@40\""},
        {"a length beyond single precision", "search --kind compression --load 1@1e39 --rate 0.5", "", 2, "a length from 0.1 to 10000 mm, not \"1@1e39\""},
        {"a rate past the range", kSearch.substr(0, kSearch.find("--rate")) + "--rate 1000.5", "", 2, "--rate takes a spring rate in kg/mm from 0.0001 to 1000, or in N/mm with the unit (such as 2N/mm), not \"1000.5\""},
        {"three loads", "search --kind compression --load 5@40 --load 8@35 --load 10@30", "", 2, "give one --load with --rate, or two --load"},
        {"one load and no rate", "search --kind compression --load 5@40", "", 2, "with a single --load, give the spring rate with --rate"},
        {"two loads and a rate", "search --kind compression --load 5@40 --load 10@30 --rate 1", "", 2, "two --load points fix the rate already"},
        {"a compression spring that lengthens under load", "search --kind compression --load 5@30 --load 10@40", "", 2, "a compression spring carries the heavier load at the shorter length"},
        {"an extension spring that shortens under load", "search --kind extension --load 5@40 --load 10@30", "", 2, "an extension spring carries the heavier load at the longer length"},
        {"one load twice", "search --kind compression --load 5@40 --load 5@30", "", 2, "different loads at different lengths"},
        {"an unknown material", kSearch + "--materials SWPA,steel", "", 2, "--materials: \"steel\" is not a material"},
        {"no designs to show", kSearch + "--top 0", "", 2, "--top takes a whole number"},
        {"an unknown order", kSearch + "--by price", "", 2, "--by takes \"stress\" or \"mass\""},
        {"a spring index past any spring", kSearch + "--max-index 1e5", "", 2, "--max-index takes a spring index D/d (Run needs 4 or more) from 4 to 30"},
        {"a spring index past any integer", kSearch + "--max-index 1e300", "", 2, "not \"1e300\""},
        {"a frequency past the range", kSearch + "--min-frequency 1e6", "", 2, "--min-frequency takes a frequency in Hz from 1 to 100000, not \"1e6\""},
        {"a buckling limit for an extension spring", "search --kind extension --load 1@20 --rate 0.5 --no-buckling", "", 2, "--no-buckling is for compression springs"},
        {"an end condition in search that is not one of the five", kSearch + "--no-buckling --ends free", "", 2, "--ends takes fixed-fixed, fixed-guided, pinned-pinned, fixed-pinned or fixed-free, not \"free\""},
        {"buckling allowed and ruled out at once", kSearch + "--allow-buckling --no-buckling", "", 2, "--allow-buckling and --no-buckling contradict each other"},
        {"ends for a check that is turned off", kSearch + "--allow-buckling --ends fixed-free", "", 2, "--ends says how the ends are held for the buckling check, which --allow-buckling turns off"},
        {"buckling allowed for an extension spring", "search --kind extension --load 1@20 --rate 0.5 --allow-buckling", "", 2, "--allow-buckling is for compression springs"},
        {"the least rate, in newtons", "search --kind compression --load 0.00980665N@20 --rate 9.80665e-4N/mm --materials SWPA", "", 1, "Compression spring: 0.001 kg at 20.0 mm, rate 0.0001 kg/mm, each within 5.0 %."},
        {"a load of grams and the least rate as asked", "search --kind compression --load 0.003@20 --rate 0.0001 --materials SWPA", "", 1, "0.003 kg at 20.0 mm, rate 0.0001 kg/mm, each within"},
        {"a tolerance of hundredths of a percent", kSearch + "--tolerance 0.04 --materials SWPA", "", 0, "rate 0.500 kg/mm, each within 0.04 %."},
        {"fewer turns than the window takes", kSearch + "--min-turns 0.2", "", 2, "--min-turns takes a number of active turns from 0.5 to 100, not \"0.2\""},
        {"an operand", kSearch + "extra", "", 2, "search takes options only"},
        // Not faults.
        {"a report from designs none of which ran", kCheck, kHeader + ",compression,SWO-A,0.50,4.3,9.5,13,12,10\n", 1, "no design ran, so nothing was appended to REPORT.", Report::Existing},
        {"an initial tension option where only compression springs are", "check --initial-tension 2", Designs(1), 0, "1 design, 0 with warnings."},
        {"help on search", "search --help", "", 0, "--tolerance PCT"},
        {"help on check", "check -h", "", 0, "Exit status: 0 when no design"},
        {"the version, as GNU programs tell it", "--version", "", 0, "springcalc-cli " SPRINGCALC_VERSION "\n"},
    };
    // clang-format on
    for (const Fault& c : faults) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const fs::path report = dir / "report.txt";
        if (c.report == Report::Existing) {
            test_support::WriteFile(report, kKept);
        }
        const auto withReport = [&](const std::string& text) {
            return std::regex_replace(text, std::regex("REPORT"), report.string());
        };
        const Child child =
            RunProgram(withReport(c.command), dir.path(), c.in, c.input, c.out, c.fileSizeKb);
        EXPECT_EQ(child.status, c.status) << child.err;
        EXPECT_NE((child.err + child.out).find(withReport(c.message)), std::string::npos)
            << child.err;
        // Nothing raw reaches the terminal; a short input with a fault writes nothing out.
        for (const std::string& text : {child.out, child.err}) {
            EXPECT_EQ(text.find_first_of(std::string("\x1b\a\r\0", 4)), std::string::npos);
            EXPECT_EQ(text.find("\u202E"), std::string::npos);
        }
        if (c.status == 2 && c.out == Out::Pipe && c.input.size() < 4096) {
            EXPECT_EQ(child.out, "");
        }
        EXPECT_EQ(ReadFile(report), c.report == Report::Existing ? kKept : "");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()),
                  c.report == Report::Existing ? 1 : 0)
            << "no file left behind besides the report";
    }
}

// The numbers the program writes do not follow the locale's decimal comma.
TEST(CliFaults, NumbersAreTheSameUnderAGermanLocale) {
    const test_support::CommaDecimalLocale german;  // LOCPATH names it for the child too
    ASSERT_TRUE(german.active());
    const std::string input = Designs(2) + "e,extension,SWPA,0.50,5.8,17.5,,25,35\n";
    for (const char* command : {"check --units si --report r.txt", "check --json --units si",
                                "search --kind compression --load 1.3@20 --load 2.2@18"}) {
        SCOPED_TRACE(command);
        ScratchDir plainDir, commaDir;
        const Child plain = RunProgram(command, plainDir.path(), In::Text, input, Out::Pipe);
        const Child comma = RunProgram(command, commaDir.path(), In::Text, input, Out::Pipe, 0,
                                       "LC_ALL=de_DE.UTF-8");
        EXPECT_TRUE(std::regex_search(plain.out, std::regex("[0-9]\\.[0-9]"))) << plain.out;
        EXPECT_EQ(std::to_string(comma.status) + comma.out + ReadFile(commaDir / "r.txt"),
                  std::to_string(plain.status) + plain.out + ReadFile(plainDir / "r.txt"));
    }
}

}  // namespace
}  // namespace springcalc
