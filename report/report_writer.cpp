// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_writer.h"

#include <fcntl.h>
#include <fmt/compile.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <utility>

#include "files/write_all.h"
#include "report/cp932_encoder.h"

namespace springcalc {

std::string FormatReportBlock(const TSpringDesign& s) {
    const bool compression = s.SpringKind == kCompression;
    std::string block;
    block.reserve(768);  // a block of either kind is under 700 bytes of UTF-8
    auto out = std::back_inserter(block);
    // The formats are parsed at compile time: a conversion that does not fit its argument is a
    // build error, and no locale takes part, so the numbers keep their decimal point whatever
    // the window's setlocale() chose. Widths say '>' because fmt puts "inf" and "nan" at the left
    // of their width by default, and the file has always had printf's " inf".
    fmt::format_to(out, FMT_COMPILE("   {}コイルばねの設計   {}\n   \n"),
                   compression ? "圧縮" : "引張", s.DateText);
    fmt::format_to(out, FMT_COMPILE("材     質 {}         静荷重許容応力  {:>4.2f} Kg/mm^2\n"),
                   s.MaterialName[s.MaterialNo], StaticAllowable(s));
    fmt::format_to(out, FMT_COMPILE("線     径 {}        動荷重許容応力  {:>4.2f}\n"),
                   s.WireDiaText[s.WireNo], double(s.AllowFatigue));
    fmt::format_to(out, FMT_COMPILE("ｺｲﾙ平均径      {:>3.1f}          横弾性係数    {:.1f}\n"),
                   double(s.MeanDia), double(s.ShearModulus));
    fmt::format_to(out,
                   FMT_COMPILE("(内径 {:.2f}  外径 {:.2f})       ばね定数       {:>3.3f} kg/mm\n"),
                   double(s.InnerDia), double(s.OuterDia), double(s.SpringRate));
    fmt::format_to(out, FMT_COMPILE("有効 巻数       {:>3.1f}\n"), double(s.Turns));
    if (compression) {
        fmt::format_to(out, FMT_COMPILE("自 由  長       {:>3.1f} mm\n"), double(s.FreeLen));
        fmt::format_to(
            out, FMT_COMPILE("取 付  長       {:>3.1f}        Tset  {:>3.2f}    Pset  {:>3.2f}\n"),
            double(s.SetLen), double(s.Tset), double(s.Pset));
        fmt::format_to(
            out, FMT_COMPILE("作 動  長       {:>3.1f}        Tact  {:>3.2f}    Pact  {:>3.2f}\n"),
            double(s.WorkLen), double(s.Tact), double(s.Pact));
        fmt::format_to(
            out, FMT_COMPILE("圧縮端 長       {:>3.1f}        Tmax  {:>3.2f}    Pmax  {:>3.2f}\n"),
            double(s.SolidLen), double(s.Tmax), double(s.Pmax));
        fmt::format_to(out, FMT_COMPILE("許容圧縮長      {:>3.1f}\n"), double(s.LimitLen));
    } else {
        fmt::format_to(
            out, FMT_COMPILE("自 由  長       {:>3.1f} mm                   初張力  {:.2f} kg\n"),
            double(s.FreeLen), double(s.InitTension));
        fmt::format_to(
            out,
            FMT_COMPILE("取 付  長       {:>3.1f}        Tset  {:>3.2f}    Pset  {:>3.2f} kg\n"),
            double(s.SetLen), double(s.Tset), double(s.Pset));
        fmt::format_to(
            out, FMT_COMPILE("作 動  長       {:>3.1f}        Tact  {:>3.2f}    Pact  {:>3.2f}\n"),
            double(s.WorkLen), double(s.Tact), double(s.Pact));
        fmt::format_to(
            out, FMT_COMPILE("許容引張長      {:>3.1f}                       Pmax  {:>3.2f} \n"),
            double(s.LimitLen), double(s.Pmax));
    }
    block += "   \n   \n";
    return block;
}

std::optional<std::string> EncodeReport(std::string_view utf8) {
    std::string out;
    if (!Cp932Encoder().Append(utf8, out)) {
        return std::nullopt;
    }
    return out;
}

SaveOutcome AppendToFile(const std::string& path, std::string_view bytes) {
    AppendingFile file;
    SaveOutcome outcome{file.Open(path, AppendingFile::Wait::No), {}};
    if (outcome.result.ok) {
        outcome.result = file.Append(bytes);
    }
    if (outcome.result.ok) {
        outcome.result = file.Commit();
    }
    if (!outcome.result.ok) {
        outcome.takeBack = file.Abandon();
    }
    return outcome;
}

bool ReportStream::Open(const std::string& path, AppendingFile::Wait wait) {
    const AppendResult opened = appender_.Open(path, wait);
    error_ = opened.error;
    return opened.ok;
}

bool ReportStream::Add(const TSpringDesign& design) {
    text_ += FormatReportBlock(design);
    // Pieces of this size keep both the memory and the number of writes small.
    return text_.size() < (1u << 16) || Flush();
}

bool ReportStream::Flush() {
    bytes_.clear();
    // A converter that could not be had is told as such, not as text without a form.
    AppendResult result{encoder_.Append(text_, bytes_), 0};
    if (encoder_.error() != 0) {
        result.error = encoder_.error() == ENOMEM ? ENOMEM : kNoCp932Converter;
    }
    if (result.ok && !bytes_.empty()) {
        result = appender_.Append(bytes_);
        appended_ = true;
    }
    text_.clear();
    error_ = result.error;
    return result.ok;
}

bool ReportStream::Finish() {
    if (!Flush()) {
        return false;
    }
    if (!appended_) {
        (void)appender_.Abandon();
        return true;
    }
    const AppendResult committed = appender_.Commit();
    error_ = committed.error;
    return committed.ok;
}

std::string DescribeAppendError(int error) {
    switch (error) {
        case ENOENT:
            return "フォルダが見つかりません。";
        case EACCES:
        case EPERM:
            return "このファイルに書き込む許可がありません。";
        case EROFS:
            return "読み取り専用の場所には書き込めません。";
        case EISDIR:
            return "フォルダには書き込めません。ファイル名を指定してください。";
        case ENOSPC:
        case EDQUOT:
            return "ディスクに空きがありません。";
        case ENAMETOOLONG:
            return "ファイル名が長すぎます。";
        case ENOTDIR:
            return "パスの途中にフォルダではないものがあります。";
        case EIO:
            return "書き込み中に入出力エラーが起きました。";
        case kNotARegularFile:
            return "通常のファイルではありません（名前付きパイプや装置には保存できません）。";
        case kFileBusy:
            return "ほかのプログラムがこのファイルに書き込み中です。しばらくしてからもう一度保存し"
                   "てください。";
        case ENOMEM:
            return "メモリが足りません。";
        default:
            return std::strerror(error);
    }
}

}  // namespace springcalc
