// springcalc-cli as a process, against every way its input, its output and its report can
// fail: one table, each row with its input, the status and message expected, and what must
// become of the report file. The program under test is the one built here, or the one named by
// SPRINGCALC_CLI_UNDER_TEST (to replay the table against another build).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "utf8_text.h"

namespace springcalc {
namespace {

namespace fs = std::filesystem;

enum class In { Text, Directory, Closed, Zero };
enum class Out { Pipe, Full, Closed, PipeClosedEarly };
enum class Report { None, Existing, New };

struct Child {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

struct Scratch {
    Scratch() {
        path = fs::temp_directory_path() /
               ("springcalc_fault_" + std::to_string(::getpid()) + "_" + std::to_string(count++));
        fs::create_directories(path);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    static inline int count = 0;
    fs::path path;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Program() {
    const char* other = std::getenv("SPRINGCALC_CLI_UNDER_TEST");
    return other ? other : SPRINGCALC_CLI_PATH;
}

// Runs the program in `dir` with its standard streams set up as asked, at most ten seconds and
// one gigabyte of memory.
Child RunProgram(const std::vector<std::string>& args, const fs::path& dir, In in,
                 const std::string& input, Out out, rlim_t fileSizeLimit = 0,
                 const std::vector<std::string>& env = {}) {
    std::ofstream(dir / "stdin.txt", std::ios::binary) << input;
    int outPipe[2];
    int errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        (void)::chdir(dir.c_str());
        const rlimit memory{1u << 30, 1u << 30};
        ::setrlimit(RLIMIT_AS, &memory);
        if (fileSizeLimit > 0) {
            const rlimit size{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        }
        ::signal(SIGPIPE, SIG_DFL);
        ::signal(SIGXFSZ, SIG_DFL);
        const int inFd = in == In::Text        ? ::open("stdin.txt", O_RDONLY)
                         : in == In::Directory ? ::open(".", O_RDONLY)
                         : in == In::Zero      ? ::open("/dev/zero", O_RDONLY)
                                               : -1;
        inFd >= 0 ? ::dup2(inFd, 0) : ::close(0);
        if (out == Out::Full) {
            ::dup2(::open("/dev/full", O_WRONLY), 1);
        } else if (out == Out::Closed) {
            ::close(1);
        } else {
            ::dup2(outPipe[1], 1);
        }
        ::dup2(errPipe[1], 2);
        for (int fd = 3; fd < 64; ++fd) {
            ::close(fd);
        }
        for (const std::string& setting : env) {
            ::putenv(const_cast<char*>(setting.c_str()));
        }
        std::string program = Program();
        std::vector<char*> argv{program.data()};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    Child child;
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int open = 2; open > 0 && std::chrono::steady_clock::now() < deadline;) {
        if (::poll(fds, 2, 100) <= 0) {
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            char buffer[1 << 16];
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) {
                continue;
            }
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            std::string& text = i == 0 ? child.out : child.err;
            text.append(buffer, n > 0 ? static_cast<size_t>(n) : 0);
            // A reader that has seen enough, as `head -c 100` is.
            if (n <= 0 || (i == 0 && out == Out::PipeClosedEarly && text.size() >= 100)) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    ::kill(pid, SIGKILL);  // still running at the deadline
    int status = 0;
    ::waitpid(pid, &status, 0);
    for (const pollfd& fd : fds) {
        if (fd.fd >= 0) {
            ::close(fd.fd);
        }
    }
    child.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return child;
}

constexpr const char* kHeader =
    "name,kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n";

std::string Designs(int count) {
    std::string csv = kHeader;
    for (int i = 0; i < count; ++i) {
        csv += "d" + std::to_string(i) + ",compression,SWPA,1.20,8.8,7,23,20,18\n";
    }
    return csv;
}

struct FaultCase {
    const char* what;
    std::vector<std::string> args;  // "REPORT" stands for the report file's path
    In in;
    std::string input;
    Out out;
    rlim_t fileSizeLimit;
    int status;
    std::string message;  // in what the program wrote, standard error or output
    Report report;
};

const std::string kKept = "kept\r\n";

TEST(CliFaults, EachGivesItsStatusAndMessageAndLeavesTheReportAsItWas) {
    const FaultCase cases[] = {
        {"standard input is a directory",
         {"check", "--report", "REPORT"},
         In::Directory,
         "",
         Out::Pipe,
         0,
         2,
         "cannot read standard input: Is a directory",
         Report::Existing},
        {"standard input is closed",
         {"check", "--report", "REPORT"},
         In::Closed,
         "",
         Out::Pipe,
         0,
         2,
         "cannot read standard input: Bad file descriptor",
         Report::Existing},
        {"the report passes a file-size limit",
         {"check", "--report", "REPORT"},
         In::Text,
         Designs(200),
         Out::Pipe,
         2560,
         2,
         "REPORT: File too large; the file is as it was",
         Report::Existing},
        {"a new report passes a file-size limit, as on a full disk",
         {"check", "--report", "REPORT"},
         In::Text,
         Designs(200),
         Out::Pipe,
         2560,
         2,
         "REPORT: File too large",
         Report::New},
        {"standard output is a full device",
         {"check", "--report", "REPORT"},
         In::Text,
         Designs(3),
         Out::Full,
         0,
         2,
         "cannot write to standard output: No space left on device; nothing was appended to "
         "REPORT.",
         Report::Existing},
        {"standard output is closed",
         {"check"},
         In::Text,
         Designs(3),
         Out::Closed,
         0,
         2,
         "cannot write to standard output: Bad file descriptor",
         Report::None},
        {"the reader of the output goes away",
         {"check", "--report", "REPORT"},
         In::Text,
         Designs(3000),
         Out::PipeClosedEarly,
         0,
         2,
         "cannot write to standard output: Broken pipe",
         Report::Existing},
        {"a spring index past any spring",
         {"search", "--kind", "compression", "--load", "1@20", "--rate", "0.5", "--max-index",
          "1e5"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "--max-index takes a spring index D/d (Run needs 4 or more) from 4 to 30",
         Report::None},
        {"a spring index past any integer",
         {"search", "--kind", "compression", "--load", "1@20", "--rate", "0.5", "--max-index",
          "1e300"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "not \"1e300\"",
         Report::None},
        {"control characters in names",
         {"check"},
         In::Text,
         std::string(kHeader) + "\"a\x1b[31mb\",compression,SWPA,1.20,8.8,7,23,20,18\n" +
             "\"a\ab\",compression,SWPA,1.20,8.8,7,23,20,18\n" +
             "\"a\rb\",compression,SWPA,1.20,8.8,7,23,20,18\n" +
             "\"a\nb\",compression,SWPA,1.20,8.8,7,23,20,18\n" + std::string("\"a\0b\"", 5) +
             ",compression,SWPA,1.20,8.8,7,23,20,18\n",
         Out::Pipe,
         0,
         0,
         "a\\x1B[31mb",
         Report::None},
        {"input without line ends",
         {"check", "--report", "REPORT"},
         In::Zero,
         "",
         Out::Pipe,
         0,
         2,
         "line 1: a line longer than 65536 bytes",
         Report::Existing},
        {"an option where the report's name should be",
         {"check", "--report", "--json"},
         In::Text,
         Designs(1),
         Out::Pipe,
         0,
         2,
         "\"--json\" is an option",
         Report::None},
        {"a length beyond single precision",
         {"search", "--kind", "compression", "--load", "1@1e39", "--rate", "0.5"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "a length from 0.1 to 10000 mm, not \"1@1e39\"",
         Report::None},
        {"turns so few that the rate overflows",
         {"check"},
         In::Text,
         std::string(kHeader) + "x,compression,SWPA,1.20,8.8,1e-30,23,20,18\n",
         Out::Pipe,
         0,
         2,
         "column \"turns\": found \"1e-30\", expected a number from 0.5 to 10000",
         Report::None},
        {"an end condition that is not one of the five",
         {"check", "--ends", "clamped"},
         In::Text,
         Designs(1),
         Out::Pipe,
         0,
         2,
         "--ends takes fixed-fixed, fixed-guided, pinned-pinned, fixed-pinned or fixed-free, "
         "not \"clamped\"",
         Report::None},
        {"a folder for the diagrams that is not there",
         {"check", "--plot", "missing", "--report", "REPORT"},
         In::Text,
         Designs(1),
         Out::Pipe,
         0,
         2,
         "cannot write diagrams to missing: No such file or directory; nothing was checked",
         Report::Existing},
        {"a diagram past a file-size limit is removed",
         {"check", "--plot", ".", "--report", "REPORT"},
         In::Text,
         Designs(3),
         Out::Pipe,
         2560,
         2,
         "cannot write ./001-d0.svg: File too large; nothing was appended to REPORT.",
         Report::Existing},
        {"a slenderness below any spring",
         {"search", "--kind", "compression", "--load", "1@20", "--rate", "0.5", "--max-slenderness",
          "0.4"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "--max-slenderness takes a slenderness free length / D from 0.5 to 100, not \"0.4\"",
         Report::None},
        {"a frequency past the range",
         {"search", "--kind", "compression", "--load", "1@20", "--rate", "0.5", "--min-frequency",
          "1e6"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "--min-frequency takes a frequency in Hz from 1 to 100000, not \"1e6\"",
         Report::None},
        {"a buckling limit for an extension spring",
         {"search", "--kind", "extension", "--load", "1@20", "--rate", "0.5", "--no-buckling"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "--no-buckling is for compression springs",
         Report::None},
        {"an end condition in search that is not one of the five",
         {"search", "--kind", "compression", "--load", "1@20", "--rate", "0.5", "--no-buckling",
          "--ends", "free"},
         In::Text,
         "",
         Out::Pipe,
         0,
         2,
         "--ends takes fixed-fixed, fixed-guided, pinned-pinned, fixed-pinned or fixed-free, "
         "not \"free\"",
         Report::None},
        {"a number past single precision",
         {"check"},
         In::Text,
         std::string(kHeader) + "x,compression,SWPA,1.20,3.5e38,7,23,20,18\n",
         Out::Pipe,
         0,
         2,
         "found \"3.5e38\", expected a number from 0.1 to 10000",
         Report::None},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch dir;
        const fs::path report = dir.path / "report.txt";
        if (c.report == Report::Existing) {
            std::ofstream(report, std::ios::binary) << kKept;
        }
        std::vector<std::string> args = c.args;
        for (std::string& arg : args) {
            arg = arg == "REPORT" ? report.string() : arg;
        }
        std::string message = c.message;
        if (const size_t at = message.find("REPORT"); at != std::string::npos) {
            message.replace(at, 6, report.string());
        }
        const Child child = RunProgram(args, dir.path, c.in, c.input, c.out, c.fileSizeLimit);
        EXPECT_EQ(child.status, c.status) << child.err;
        EXPECT_NE((child.err + child.out).find(message), std::string::npos) << child.err;
        // Nothing raw reaches the terminal.
        EXPECT_EQ(child.out.find_first_of(std::string("\x1b\a\r\0", 4)), std::string::npos);
        if (c.report == Report::Existing) {
            EXPECT_EQ(ReadAll(report), kKept);
        }
        if (c.report == Report::New) {
            EXPECT_FALSE(fs::exists(report));
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()),
                  c.report == Report::Existing ? 2 : 1)
            << "no file left behind besides the input and the report";
    }
}

// Names of every width keep the table's columns where the header has them.
TEST(CliFaults, WideAndCombiningCharactersKeepTheTableAligned) {
    Scratch dir;
    const std::string input = std::string(kHeader) +
                              "😀 emoji,compression,SWPA,1.20,8.8,7,23,20,18\n"
                              "e\xCC\x81t\xC3\xA9,compression,SWPA,1.20,8.8,7,23,20,18\n"
                              "ばね,compression,SWPA,1.20,8.8,7,23,20,18\n";
    const Child child = RunProgram({"check"}, dir.path, In::Text, input, Out::Pipe);
    ASSERT_EQ(child.status, 0) << child.err;
    std::istringstream lines(child.out);
    std::vector<int> kindColumns;
    for (std::string line; std::getline(lines, line) && !line.empty();) {
        const size_t at = line.find(kindColumns.empty() ? "kind" : "compression");
        if (at != std::string::npos) {
            kindColumns.push_back(cli::DisplayWidth(line.substr(0, at)));
        }
    }
    EXPECT_EQ(kindColumns, std::vector<int>(4, kindColumns.at(0))) << child.out;
}

// The numbers the program writes do not follow the locale's decimal comma.
TEST(CliFaults, NumbersAreTheSameUnderAGermanLocale) {
    Scratch dir;
    const fs::path locales = dir.path / "locales";
    fs::create_directories(locales);
    const std::string make = "localedef -i de_DE -f UTF-8 " + (locales / "de_DE.UTF-8").string();
    ASSERT_EQ(std::system((make + " 2>/dev/null").c_str()), 0) << make;
    // The locale is real: it writes 1,5 for one and a half.
    ASSERT_EQ(::setenv("LOCPATH", locales.c_str(), 1), 0);
    const locale_t german = ::newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
    ASSERT_NE(german, nullptr);
    EXPECT_STREQ(::nl_langinfo_l(RADIXCHAR, german), ",");
    ::freelocale(german);
    ::unsetenv("LOCPATH");

    const std::vector<std::string> env = {"LOCPATH=" + locales.string(), "LC_ALL=de_DE.UTF-8"};
    const std::string input = Designs(2) + "e,extension,SWPA,0.50,5.8,17.5,,25,35\n";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", "--units", "si", "--report", "r.txt"},
          {"check", "--json", "--units", "si"},
          {"search", "--kind", "compression", "--load", "1.3@20", "--load", "2.2@18"}}) {
        SCOPED_TRACE(args.at(1));
        const Child plain = RunProgram(args, dir.path, In::Text, input, Out::Pipe);
        const std::string plainReport = ReadAll(dir.path / "r.txt");
        fs::remove(dir.path / "r.txt");
        const Child german = RunProgram(args, dir.path, In::Text, input, Out::Pipe, 0, env);
        EXPECT_EQ(german.status, plain.status) << german.err;
        EXPECT_TRUE(std::regex_search(plain.out, std::regex("[0-9]\\.[0-9]"))) << plain.out;
        EXPECT_EQ(german.out, plain.out);
        EXPECT_EQ(ReadAll(dir.path / "r.txt"), plainReport);
        fs::remove(dir.path / "r.txt");
    }
}

}  // namespace
}  // namespace springcalc
