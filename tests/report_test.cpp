// SPDX-License-Identifier: GPL-3.0-or-later
// Report tests: whole blocks byte for byte in code page 932 with CR LF, and appending to files
// that exist, do not exist, or cannot be written, also when the system fails a step.

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/design_runner.h"
#include "engine/samples.h"
#include "report/cp932_encoder.h"
#include "report/report_writer.h"
#include "test_support.h"

// Faults that only some systems produce, made here by standing in for the C library, which also
// counts the writes: a system without the code page 932 converter, a write that stops short (a
// signal, a full pipe) or takes nothing, and an fsync() or close() that fails (NFS reports a lost
// write there).
// Each is armed before the call under test and holds for one call.
namespace {
std::pair<std::string, int> failNext;  // the call to fail once, and its error
bool usedRefusedConverter = false;
size_t writeLimit = 0;
bool takeNothing = false;
int writes = 0;
std::function<void()> beforeTruncate;  // another program's doing, just before the next cut

bool Fails(const char* call) {
    if (failNext.first != call) {
        return false;
    }
    errno = std::exchange(failNext, {}).second;
    return true;
}
}  // namespace

extern "C" iconv_t iconv_open(const char* to, const char* from) {
    using Open = iconv_t (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Open>(::dlsym(RTLD_NEXT, "iconv_open"));
    return Fails("iconv_open") ? reinterpret_cast<iconv_t>(-1) : real(to, from);
}

// A descriptor that iconv_open refused must never be used.
extern "C" size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
    using Convert = size_t (*)(iconv_t, char**, size_t*, char**, size_t*);
    static const auto real = reinterpret_cast<Convert>(::dlsym(RTLD_NEXT, "iconv"));
    usedRefusedConverter |= cd == reinterpret_cast<iconv_t>(-1);
    return real(cd, in, inLeft, out, outLeft);
}

extern "C" ssize_t write(int fd, const void* bytes, size_t size) {
    ++writes;
    if (Fails("write")) {
        return -1;
    }
    if (std::exchange(takeNothing, false)) {
        return 0;
    }
    return ::syscall(SYS_write, fd, bytes, writeLimit != 0 ? std::min(size, writeLimit) : size);
}

extern "C" int ftruncate(int fd, off_t length) {
    if (const std::function<void()> other = std::exchange(beforeTruncate, nullptr)) {
        other();
    }
    return static_cast<int>(::syscall(SYS_ftruncate, fd, length));
}

extern "C" int fsync(int fd) {
    return Fails("fsync") ? -1 : static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int close(int fd) {
    const long result = ::syscall(SYS_close, fd);
    return Fails("close") ? -1 : static_cast<int>(result);
}

namespace springcalc {
namespace {

namespace fs = std::filesystem;
using test_support::ReadFile;
using test_support::ScratchDir;
using test_support::WriteFile;

// The whole text through one iconv call, line ends made CR LF first: what the encoder must
// write, however it splits the text and whatever it remembers.
std::optional<std::string> WholeTextThroughIconv(std::string_view utf8) {
    std::string crlf;
    for (char c : utf8) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    iconv_t converter = iconv_open("CP932", "UTF-8");
    std::string out(crlf.size() + 1, '\0');
    char* in = crlf.data();
    char* next = out.data();
    size_t inLeft = crlf.size(), outLeft = out.size();
    const bool whole = iconv(converter, &in, &inLeft, &next, &outLeft) != size_t(-1);
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return whole && inLeft == 0 ? std::optional(out) : std::nullopt;
}

// The expected file content of some lines: code page 932 with CR LF, as iconv makes it of
// the whole text in one call, apart from the encoder under test.
std::string Expected(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return WholeTextThroughIconv(text).value();
}

// Sample 1 of a kind after one Run.
TSpringDesign AnalysedSample1(int kind) {
    test_support::Calculator calc;
    calc.editor.UpDown8Click(kind, 1);
    calc.engine.AnalyseDesign();
    return calc.design;
}

const std::vector<std::string> kSample1Blocks[] = {
    {
        "   圧縮コイルばねの設計   2026年12月5日  9: 5",
        "   ",
        "材     質       SWPA         静荷重許容応力  88.00 Kg/mm^2",
        "線     径       0.70         動荷重許容応力  66.06",
        "ｺｲﾙ平均径      4.3          横弾性係数    8000.0",
        "(内径 3.60  外径 5.00)       ばね定数       0.318 kg/mm",
        "有効 巻数       9.5",
        "自 由  長       13.0 mm",
        "取 付  長       12.0        Tset  10.15    Pset  0.32",
        "作 動  長       10.0        Tact  30.44    Pact  0.95",
        "圧縮端 長       8.1        Tmax  50.23    Pmax  1.57",
        "許容圧縮長      8.1",
        "   ",
        "   ",
    },
    {
        "   引張コイルばねの設計   2026年12月5日  9: 5",
        "   ",
        "材     質       SWPA         静荷重許容応力  78.40 Kg/mm^2",
        "線     径       0.32         動荷重許容応力  78.40",
        "ｺｲﾙ平均径      4.6          横弾性係数    8000.0",
        "(内径 4.28  外径 4.92)       ばね定数       0.006 kg/mm",
        "有効 巻数       18.5",
        "自 由  長       14.8 mm                   初張力  0.02 kg",
        "取 付  長       20.0        Tset  16.38    Pset  0.05 kg",
        "作 動  長       30.0        Tact  37.20    Pact  0.10",
        "許容引張長      49.8                       Pmax  0.22 ",
        "   ",
        "   ",
    },
};

// A German or French desktop must not turn "88.00" into "88,00": the file is read back by
// other programs and by the next Save.
TEST(ReportBlock, BothKindsByteForByteAlsoUnderACommaDecimalLocale) {
    std::optional<test_support::CommaDecimalLocale> german;
    for (bool comma : {false, true}) {
        if (comma) {
            ASSERT_TRUE(german.emplace().active()) << "no comma-decimal locale could be made";
        }
        for (int kind : {kCompression, kExtension}) {
            EXPECT_EQ(EncodeReport(FormatReportBlock(AnalysedSample1(kind))).value(),
                      Expected(kSample1Blocks[kind]))
                << kind << " " << comma;
        }
    }
}

TEST(ReportEncoding, RefusesTextWithoutACodePage932FormOrWithoutAConverter) {
    EXPECT_FALSE(EncodeReport("spring \xF0\x9F\x8C\x80").has_value());  // an emoji
    failNext = {"iconv_open", EINVAL};
    EXPECT_FALSE(EncodeReport("a\n").has_value());
    EXPECT_FALSE(usedRefusedConverter);
}

// One encoder over many texts, as a long report uses it: every sample's block, and random
// mixes of the report's words, ASCII, line ends, halfwidth katakana and characters code page
// 932 has no form for, some of them texts the encoder has seen before in other company.
TEST(ReportEncoding, OneEncoderWritesWhatIconvWritesForTheWholeText) {
    std::vector<std::string> texts;
    DesignRunner runner;
    for (const auto& samples : {kCompressionSamples, kExtensionSamples}) {
        for (const DesignInput& sample : samples) {
            texts.push_back(FormatReportBlock(runner.Run(sample).record));
        }
    }
    // Among them an em dash, an emoji, a stray byte and a character cut short.
    const char* pieces[] = {"材", "質", " ", "\n",   "静荷重許容応力", "ｺｲﾙ平均径", "12.5", "(内径",
                            "年", "—",  "🌀", "\xFF", "\xE3\x81",       "~\\",       "①"};
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        std::string text;
        for (int n = random() % 12; n > 0; --n) {
            text += pieces[random() % std::size(pieces)];
        }
        texts.push_back(text);
    }
    Cp932Encoder encoder;
    size_t refused = 0;
    for (const std::string& text : texts) {
        std::string out = "kept:";
        const bool encoded = encoder.Append(text, out);
        const std::optional<std::string> expected = WholeTextThroughIconv(text);
        ASSERT_EQ(encoded, expected.has_value()) << text;
        if (encoded) {
            EXPECT_EQ(out, "kept:" + *expected) << text;
        }
        refused += encoded ? 0 : 1;
    }
    EXPECT_GT(refused, 50u);
    EXPECT_LT(refused, 350u);
}

TEST(ReportFile, FailuresAreToldAndLeaveTheFileAsItWas) {
    const ScratchDir dir;
    // A FIFO nobody reads, or one somebody does, and a device are refused at once: a report
    // goes to a plain file only, and the window must not hang on a pipe.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    const int reader = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
    const std::pair<std::string, int> failures[] = {{(dir / "no/such/r.txt").string(), ENOENT},
                                                    {dir.path().string(), EISDIR},
                                                    {"/dev/full", kNotARegularFile},
                                                    {(dir / "fifo").string(), kNotARegularFile}};
    for (const bool read : {false, true}) {
        const int opened = read ? ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK) : -1;
        for (const auto& [path, error] : failures) {
            const AppendResult result = AppendToFile(path, "block\r\n").result;
            EXPECT_TRUE(!result.ok && result.error == error) << path << ": " << result.error;
        }
        ::close(opened);
    }
    ::close(reader);

    // A read-only file is not changed. Root may write anything: take an ordinary user's rights.
    WriteFile(dir / "locked.txt", "kept\r\n");
    fs::permissions(dir / "locked.txt", fs::perms::owner_read | fs::perms::group_read);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    const AppendResult locked = AppendToFile((dir / "locked.txt").string(), "block\r\n").result;
    ASSERT_TRUE(!root || ::seteuid(0) == 0);
    EXPECT_EQ(locked.error, EACCES);
    EXPECT_EQ(ReadFile(dir / "locked.txt"), "kept\r\n");

    // A failed fsync takes the block back: an existing file keeps its length, a new one goes.
    WriteFile(dir / "kept.txt", "kept\r\n");
    for (const char* name : {"kept.txt", "made.txt"}) {
        failNext = {"fsync", EIO};
        const SaveOutcome saved = AppendToFile((dir / name).string(), "block\r\n");
        EXPECT_TRUE(!saved.result.ok && saved.takeBack.clean);
        EXPECT_EQ(saved.result.error, EIO);
    }
    // A write cut short by a signal is made again; one that takes nothing means a full device.
    failNext = {"write", EINTR};
    takeNothing = true;
    EXPECT_EQ(AppendToFile((dir / "kept.txt").string(), "block\r\n").result.error, ENOSPC);
    EXPECT_EQ(ReadFile(dir / "kept.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(dir / "made.txt"));
}

TEST(ReportFile, ShortWritesDescriptorZeroAndFilesWithoutFsyncStillWork) {
    const ScratchDir dir;
    writeLimit = 3;
    EXPECT_TRUE(AppendToFile((dir / "short.txt").string(), "block\r\n").result.ok);
    writeLimit = 0;
    failNext = {"fsync", EINVAL};  // a file system that cannot sync: the block stays
    EXPECT_TRUE(AppendToFile((dir / "short.txt").string(), "more\r\n").result.ok);
    EXPECT_EQ(ReadFile(dir / "short.txt"), "block\r\nmore\r\n");

    // Started with its standard input closed, the program gets descriptor 0 for the file.
    // An errno left over from an earlier call does not count against it.
    const int input = ::dup(0);
    ::close(0);
    errno = EEXIST;
    const bool appended = AppendToFile((dir / "zero.txt").string(), "block\r\n").result.ok;
    const bool zeroClosed = ::fcntl(0, F_GETFD) == -1;
    AppendingFile abandoned;
    const bool opened = abandoned.Open((dir / "gone.txt").string(), AppendingFile::Wait::No).ok;
    abandoned.Abandon();
    ::dup2(input, 0);
    ::close(input);
    EXPECT_TRUE(appended && zeroClosed && opened);
    EXPECT_EQ(ReadFile(dir / "zero.txt"), "block\r\n");
    EXPECT_FALSE(fs::exists(dir / "gone.txt"));
}

constexpr AppendingFile::Wait kNoWait = AppendingFile::Wait::No;

// Another program that ignores the lock may empty, append to, move or replace the report while a
// writer is at it. Whatever it did, taking back removes this writer's bytes only, never makes the
// file longer, and says what it left.
TEST(ReportFile, TakingBackRemovesOnlyThisWritersBytesWhateverAnotherProgramDid) {
    const std::string kept(5000, 'k');
    const std::string mine1 = "mine one\r\n", mine2 = "mine two\r\n", theirs = "theirs\r\n";
    enum When { Between, After, BetweenAndAfter, AtTheCut };
    struct Case {
        const char* what;
        bool existing;  // the report was there before; else the writer made it
        When when;
        void (*other)(const fs::path& report, const fs::path& aside);
        std::string report;  // what the report's name holds afterwards ("-": nothing there)
        std::string aside;   // what the moved file holds ("-": nothing there)
        TakeBackEnd end;
        off_t bytesLeft;
    };
    const auto empty = [](const fs::path& r, const fs::path&) { WriteFile(r, ""); };
    const auto append = [](const fs::path& r, const fs::path&) {
        std::FILE* f = std::fopen(r.c_str(), "ab");
        std::fputs("theirs\r\n", f);
        std::fclose(f);
    };
    const auto move = [](const fs::path& r, const fs::path& a) { fs::rename(r, a); };
    const auto replace = [](const fs::path& r, const fs::path& a) {
        fs::rename(r, a);
        WriteFile(r, "theirs\r\n");
    };
    const auto remove = [](const fs::path& r, const fs::path&) { fs::remove(r); };
    // clang-format off
    const Case cases[] = {
        {"emptied, then written on", true, Between, empty, "", "-", TakeBackEnd::Clean, 0},
        {"emptied after the writes", true, After, empty, "", "-", TakeBackEnd::Shortened, 0},
        {"emptied between the look and the cut", true, AtTheCut, empty, "", "-", TakeBackEnd::Shortened, 0},
        {"cut and written to between the look and the cut", true, AtTheCut, [](const fs::path& r, const fs::path&) { WriteFile(r, "theirs\r\n"); }, theirs, "-", TakeBackEnd::Shortened, 0},
        {"cut into the kept bytes", true, After, [](const fs::path& r, const fs::path&) { fs::resize_file(r, 100); }, kept.substr(0, 100), "-", TakeBackEnd::Shortened, 0},
        {"appended to after the writes", true, After, append, kept + mine1 + mine2 + theirs, "-", TakeBackEnd::OtherWriter, 20},
        {"appended to between the writes", true, Between, append, kept + mine1 + theirs, "-", TakeBackEnd::OtherWriter, 10},
        {"appended to between and after the writes", true, BetweenAndAfter, append, kept + mine1 + theirs + mine2 + theirs, "-", TakeBackEnd::OtherWriter, 20},
        {"a made file emptied after the writes", false, After, empty, "", "-", TakeBackEnd::Shortened, 0},
        {"a made file moved aside", false, After, move, "-", "", TakeBackEnd::Replaced, 0},
        {"a made file replaced by another's", false, After, replace, theirs, "", TakeBackEnd::Replaced, 0},
        {"a made file removed", false, After, remove, "-", "-", TakeBackEnd::Clean, 0},
        {"a kept file moved aside", true, After, move, "-", kept, TakeBackEnd::Clean, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchDir dir;
        const fs::path report = dir / "r.txt", aside = dir / "moved.txt";
        if (c.existing) {
            WriteFile(report, kept);
        }
        AppendingFile file;
        ASSERT_TRUE(file.Open(report.string(), kNoWait).ok);
        ASSERT_TRUE(file.Append(mine1).ok);
        if (c.when == Between || c.when == BetweenAndAfter) {
            c.other(report, aside);
        }
        ASSERT_TRUE(file.Append(mine2).ok);
        if (c.when == After || c.when == BetweenAndAfter) {
            c.other(report, aside);
        }
        if (c.when == AtTheCut) {
            beforeTruncate = [&] { c.other(report, aside); };
        }
        const TakeBack back = file.Abandon();
        EXPECT_EQ(back.end, c.end);
        EXPECT_EQ(back.clean, c.end == TakeBackEnd::Clean);
        EXPECT_EQ(back.bytesLeft, c.bytesLeft);
        EXPECT_EQ(fs::exists(report) ? ReadFile(report) : "-", c.report);
        EXPECT_EQ(fs::exists(aside) ? ReadFile(aside) : "-", c.aside);
    }
}

// A signal that comes between a write and the note of where it went finds the write by the
// file position: written on after the file was emptied, at its new start, or not at all.
TEST(ReportFile, ASignalBetweenAWriteAndItsNoteTakesBackWhereTheWriteWent) {
    const std::string kept(5000, 'k'), mine = "mine one\r\n", next = "mine two\r\n";
    struct Case {
        const char* what;
        bool emptied;  // another program emptied the file before the write
        bool written;  // the write got in before the signal
        std::string left;
    };
    const Case cases[] = {
        {"written on after the file was emptied", true, true, ""},
        {"not written, the file emptied", true, false, ""},
        {"written, nobody else", false, true, kept},
        {"not written, nobody else", false, false, kept},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchDir dir;
        WriteFile(dir / "r.txt", kept);
        const int fd = ::open((dir / "r.txt").c_str(), O_RDWR | O_APPEND);
        ASSERT_GE(fd, 0);
        ::lseek(fd, 0, SEEK_END);
        ASSERT_EQ(::write(fd, mine.data(), mine.size()), ssize_t(mine.size()));
        // As the signal handler sees it: the first piece noted, the second pending.
        AppendedBytes bytes{fd, nullptr, 5000, off_t(mine.size()), off_t(next.size()), 0, true};
        if (c.emptied) {
            WriteFile(dir / "r.txt", "");
        }
        if (c.written) {
            ASSERT_EQ(::write(fd, next.data(), next.size()), ssize_t(next.size()));
        }
        const TakeBack back = TakeBackAppended(bytes);
        ::close(fd);
        EXPECT_EQ(ReadFile(dir / "r.txt"), c.left);
        EXPECT_EQ(back.bytesLeft, 0);
    }
}

TEST(ReportStream, WritesLongReportsInPiecesAndKeepsNothingUnfinished) {
    const ScratchDir dir;
    const TSpringDesign design = AnalysedSample1(kCompression);
    const std::string block = EncodeReport(FormatReportBlock(design)).value();
    std::string expected = "kept\r\n";
    WriteFile(dir / "long.txt", expected);
    ReportStream stream;
    ASSERT_TRUE(stream.Open((dir / "long.txt").string(), kNoWait));
    writes = 0;
    for (int i = 0; i < 200; ++i) {  // about 100 KiB: two pieces, not one write a block
        ASSERT_TRUE(stream.Add(design)) << i;
        expected += block;
    }
    ASSERT_TRUE(stream.Finish());
    EXPECT_TRUE(writes >= 2 && writes <= 3) << writes;
    EXPECT_EQ(ReadFile(dir / "long.txt"), expected);

    // A report without a block leaves no file; one never finished takes its pieces back.
    ReportStream empty;
    ASSERT_TRUE(empty.Open((dir / "empty.txt").string(), kNoWait));
    EXPECT_TRUE(empty.Finish());
    EXPECT_FALSE(fs::exists(dir / "empty.txt"));
    // The last piece, written at the finish, can fail too: on a full device, or without a code
    // page 932 converter, which is told apart from a system error.
    ReportStream full, unconverted;
    ASSERT_TRUE(full.Open((dir / "full.txt").string(), kNoWait) && full.Add(design));
    failNext = {"write", ENOSPC};
    EXPECT_FALSE(full.Finish());
    EXPECT_TRUE(full.error() == ENOSPC && full.Abandon().clean && !fs::exists(dir / "full.txt"));
    ASSERT_TRUE(unconverted.Open((dir / "none.txt").string(), kNoWait) && unconverted.Add(design));
    failNext = {"iconv_open", EINVAL};
    EXPECT_TRUE(!unconverted.Finish() && unconverted.error() == kNoCp932Converter);
    {
        ReportStream unfinished;
        ASSERT_TRUE(unfinished.Open((dir / "long.txt").string(), kNoWait));
        for (int i = 0; i < 200; ++i) {
            unfinished.Add(design);
        }
    }
    EXPECT_EQ(ReadFile(dir / "long.txt"), expected);
}

}  // namespace
}  // namespace springcalc
