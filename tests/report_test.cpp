// Report tests: whole blocks byte for byte in code page 932 with CR LF, and appending to files
// that exist, do not exist, or cannot be written.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "comma_locale.h"
#include "recording_view.h"
#include "report_writer.h"
#include "spring_design.h"

namespace springcalc {
namespace {

namespace fs = std::filesystem;

// Code page 932 bytes of every non-ASCII character the reports use, as an oracle independent
// of the converter under test.
const std::map<std::string, std::string> kCp932 = {
    {"ね", "\x82\xCB"}, {"の", "\x82\xCC"}, {"ば", "\x82\xCE"}, {"イ", "\x83\x43"},
    {"コ", "\x83\x52"}, {"ル", "\x83\x8B"}, {"付", "\x95\x74"}, {"作", "\x8D\xEC"},
    {"係", "\x8C\x57"}, {"内", "\x93\xE0"}, {"初", "\x8F\x89"}, {"力", "\x97\xCD"},
    {"効", "\x8C\xF8"}, {"動", "\x93\xAE"}, {"取", "\x8E\xE6"}, {"圧", "\x88\xB3"},
    {"均", "\x8B\xCF"}, {"外", "\x8A\x4F"}, {"定", "\x92\xE8"}, {"容", "\x97\x65"},
    {"巻", "\x8A\xAA"}, {"平", "\x95\xBD"}, {"年", "\x94\x4E"}, {"引", "\x88\xF8"},
    {"張", "\x92\xA3"}, {"弾", "\x92\x65"}, {"径", "\x8C\x61"}, {"応", "\x89\x9E"},
    {"性", "\x90\xAB"}, {"数", "\x90\x94"}, {"日", "\x93\xFA"}, {"月", "\x8C\x8E"},
    {"有", "\x97\x4C"}, {"材", "\x8D\xDE"}, {"横", "\x89\xA1"}, {"由", "\x97\x52"},
    {"端", "\x92\x5B"}, {"線", "\x90\xFC"}, {"縮", "\x8F\x6B"}, {"自", "\x8E\xA9"},
    {"荷", "\x89\xD7"}, {"計", "\x8C\x76"}, {"設", "\x90\xDD"}, {"許", "\x8B\x96"},
    {"質", "\x8E\xBF"}, {"重", "\x8F\x64"}, {"長", "\x92\xB7"}, {"静", "\x90\xC3"},
    {"ｲ", "\xB2"},      {"ｺ", "\xBA"},      {"ﾙ", "\xD9"},
};

// The expected file content of some lines: ASCII kept, known characters mapped, CR LF added.
std::string Expected(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        for (size_t i = 0; i < line.size();) {
            const unsigned char lead = static_cast<unsigned char>(line[i]);
            const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            const std::string character = line.substr(i, length);
            out += length == 1 ? character : kCp932.at(character);
            i += length;
        }
        out += "\r\n";
    }
    return out;
}

LocalDateTime FixedClock() {
    return {2026, 12, 5, 9, 5};
}

// Sample 1 of a kind after one Run.
TSpringDesign AnalysedSample1(int kind) {
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine(design, view, FixedClock);
    engine.StartUp();
    design.SpringKind = kind;
    engine.LoadSampleAndRefresh(1);
    engine.AnalyseDesign();
    return design;
}

std::string Report(const TSpringDesign& design) {
    return EncodeReport(FormatReportBlock(design)).value();
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::string> kCompressionSample1 = {
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
};

const std::vector<std::string> kExtensionSample1 = {
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
};

TEST(ReportBlock, CompressionByteForByte) {
    const std::string block = Report(AnalysedSample1(kCompression));
    EXPECT_EQ(block, Expected(kCompressionSample1));
    // The half-width katakana take one byte each.
    EXPECT_NE(block.find("\r\n\xBA\xB2\xD9"
                         "\x95\xBD\x8B\xCF\x8C\x61      4.3"),
              std::string::npos);
}

TEST(ReportBlock, ExtensionByteForByte) {
    EXPECT_EQ(Report(AnalysedSample1(kExtension)), Expected(kExtensionSample1));
}

TEST(ReportBlock, LineCountsAndLineEnds) {
    for (int kind : {kCompression, kExtension}) {
        const std::string block = Report(AnalysedSample1(kind));
        size_t lines = 0;
        for (size_t i = 0; i < block.size(); ++i) {
            if (block[i] == '\n') {
                ++lines;
                EXPECT_EQ(block[i - 1], '\r');
            } else if (block[i] == '\r') {
                EXPECT_EQ(block[i + 1], '\n');
            }
        }
        EXPECT_EQ(lines, kind == kCompression ? 14u : 13u);
        EXPECT_EQ(block.substr(block.size() - 10), "   \r\n   \r\n");
    }
}

TEST(ReportBlock, BeforeAnyRunCarriesZeroResultsAndKeepsMaterialBlanks) {
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine(design, view, FixedClock);
    engine.StartUp();
    design.MaterialNo = 0;  // "       SWB"
    engine.LookupStrength(0);
    const std::string block = FormatReportBlock(design);
    EXPECT_NE(block.find("材     質        SWB         静荷重許容応力  "), std::string::npos);
    EXPECT_NE(block.find("取 付  長       12.0        Tset  0.00    Pset  0.00\n"),
              std::string::npos);
}

// A German or French desktop must not turn "88.00" into "88,00": the file is read back by
// other programs and by the next Save.
TEST(ReportBlock, NumbersKeepTheirPointUnderACommaDecimalLocale) {
    const testing::CommaDecimalLocale german;
    ASSERT_TRUE(german.active()) << "no comma-decimal locale could be made";
    EXPECT_EQ(Report(AnalysedSample1(kCompression)), Expected(kCompressionSample1));
    EXPECT_EQ(Report(AnalysedSample1(kExtension)), Expected(kExtensionSample1));
}

class ReportFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("springcalc-report-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, ignored);
        fs::remove_all(dir_, ignored);
    }
    fs::path dir_;
};

TEST_F(ReportFile, AppendsWholeBlocksAndKeepsWhatWasThere) {
    const fs::path file = dir_ / "springs.txt";
    {
        std::ofstream other(file, std::ios::binary);
        other << "other content\r\n";
    }
    const std::string block = Report(AnalysedSample1(kCompression));
    const std::string extension = Report(AnalysedSample1(kExtension));
    ASSERT_TRUE(AppendToFile(file.string(), block).ok);
    ASSERT_TRUE(AppendToFile(file.string(), extension).ok);
    EXPECT_EQ(ReadFile(file), "other content\r\n" + block + extension);

    const fs::path fresh = dir_ / "new.txt";
    ASSERT_TRUE(AppendToFile(fresh.string(), block).ok);
    ASSERT_TRUE(AppendToFile(fresh.string(), block).ok);
    EXPECT_EQ(ReadFile(fresh), block + block);
}

TEST_F(ReportFile, FailuresAreToldAndLeaveTheFileAsItWas) {
    const std::string block = Report(AnalysedSample1(kCompression));

    const AppendResult missing = AppendToFile((dir_ / "no" / "such" / "r.txt").string(), block);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(DescribeAppendError(missing.error), "フォルダが見つかりません。");
    EXPECT_FALSE(fs::exists(dir_ / "no"));

    const AppendResult folder = AppendToFile(dir_.string(), block);
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, EISDIR);

    const AppendResult full = AppendToFile("/dev/full", block);
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.error, ENOSPC);
    EXPECT_EQ(DescribeAppendError(full.error), "ディスクに空きがありません。");
}

TEST_F(ReportFile, ReadOnlyFileIsNotChanged) {
    const fs::path file = dir_ / "locked.txt";
    {
        std::ofstream out(file, std::ios::binary);
        out << "kept\r\n";
    }
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    // Root may write anything; take the rights of an ordinary user for the attempt.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const AppendResult result = AppendToFile(file.string(), "block\r\n");
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, EACCES);
    EXPECT_EQ(ReadFile(file), "kept\r\n");
}

TEST(ReportEncoding, RefusesTextWithoutACodePage932Form) {
    EXPECT_FALSE(EncodeReport("spring \xF0\x9F\x8C\x80").has_value());  // an emoji
    EXPECT_EQ(EncodeReport("a\nb\n").value(), "a\r\nb\r\n");
}

}  // namespace
}  // namespace springcalc
