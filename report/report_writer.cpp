// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_writer.h"

#include <fcntl.h>
#include <fmt/compile.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

#include "engine/spring_tables.h"
#include "engine/words.h"
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
    fmt::format_to(out, FMT_COMPILE(Words("report.heading")),
                   compression ? Words("report.compression") : Words("report.extension"),
                   s.DateText);
    fmt::format_to(out, FMT_COMPILE(Words("report.material")), s.MaterialName[s.MaterialNo],
                   StaticAllowable(s));
    fmt::format_to(out, FMT_COMPILE(Words("report.wire")), s.WireDiaText[s.WireNo],
                   double(s.AllowFatigue));
    fmt::format_to(out, FMT_COMPILE(Words("report.meanDiameter")), double(s.MeanDia),
                   double(s.ShearModulus));
    fmt::format_to(out, FMT_COMPILE(Words("report.diameters")), double(s.InnerDia),
                   double(s.OuterDia), double(s.SpringRate));
    fmt::format_to(out, FMT_COMPILE(Words("report.turns")), double(s.Turns));
    if (compression) {
        fmt::format_to(out, FMT_COMPILE(Words("report.free")), double(s.FreeLen));
        fmt::format_to(out, FMT_COMPILE(Words("report.installed")), double(s.SetLen),
                       double(s.Tset), double(s.Pset));
        fmt::format_to(out, FMT_COMPILE(Words("report.operating")), double(s.WorkLen),
                       double(s.Tact), double(s.Pact));
        fmt::format_to(out, FMT_COMPILE(Words("report.solid")), double(s.SolidLen), double(s.Tmax),
                       double(s.Pmax));
        fmt::format_to(out, FMT_COMPILE(Words("report.compressionLimit")), double(s.LimitLen));
    } else {
        fmt::format_to(out, FMT_COMPILE(Words("report.freeTension")), double(s.FreeLen),
                       double(s.InitTension));
        fmt::format_to(out, FMT_COMPILE(Words("report.installedKg")), double(s.SetLen),
                       double(s.Tset), double(s.Pset));
        fmt::format_to(out, FMT_COMPILE(Words("report.operating")), double(s.WorkLen),
                       double(s.Tact), double(s.Pact));
        fmt::format_to(out, FMT_COMPILE(Words("report.extensionLimit")), double(s.LimitLen),
                       double(s.Pmax));
    }
    block += "   \n   \n";
    return block;
}

std::string FormatTorsionReportBlock(const TorsionInput& t, const TorsionResult& r,
                                     std::string_view dateText, bool repeated) {
    std::string block;
    block.reserve(1024);
    auto out = std::back_inserter(block);
    const TorsionPoint& first = r.points[0];
    const TorsionPoint& second = r.points[1];
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionHeading")), dateText);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionMaterial")), kMaterials[t.materialNo].name,
                   r.allowableStress);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionWire")), kWires[t.wireNo].text,
                   r.tensileStrength);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionMeanDiameter")), t.meanDia,
                   double(kMaterials[t.materialNo].elasticModulus));
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionDiameters")), r.innerDiameterFree,
                   r.outerDiameterFree, r.ratePerDegree);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionTurns")), t.bodyTurns, r.activeTurns, r.q);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionLegs")), t.leg1, t.leg2, t.freeAngle);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionInstalled")), first.angle, first.stress,
                   first.moment);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionOperating")), second.angle, second.stress,
                   second.moment);
    fmt::format_to(out, FMT_COMPILE(Words("report.torsionLimit")), r.allowableAngle,
                   r.allowableMoment);
    if (t.mandrel > 0.0) {
        fmt::format_to(out, FMT_COMPILE(Words("report.torsionMandrel")), t.mandrel,
                       std::fmin(first.innerDiameter, second.innerDiameter));
    }
    if (repeated && r.fatigueSafety) {
        fmt::format_to(out, FMT_COMPILE(Words("report.torsionFatigue")), *r.fatigueSafety,
                       r.endurance == &kPeened ? Words("report.peened") : Words("report.unpeened"));
    } else if (repeated) {
        block += Words("report.torsionNoFatigue");
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
    return Append(FormatReportBlock(design));
}

bool ReportStream::Add(const TorsionInput& input, const TorsionResult& result,
                       std::string_view dateText, bool repeated) {
    return Append(FormatTorsionReportBlock(input, result, dateText, repeated));
}

bool ReportStream::Append(const std::string& block) {
    text_ += block;
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
            return Words("errorNoFolder");
        case EACCES:
        case EPERM:
            return Words("errorNoPermission");
        case EROFS:
            return Words("errorReadOnly");
        case EISDIR:
            return Words("errorIsFolder");
        case ENOSPC:
        case EDQUOT:
            return Words("errorDiskFull");
        case ENAMETOOLONG:
            return Words("errorNameTooLong");
        case ENOTDIR:
            return Words("errorNotFolder");
        case EIO:
            return Words("errorIo");
        case kNotARegularFile:
            return Words("errorNotFile");
        case kFileBusy:
            return Words("errorBusy");
        case ENOMEM:
            return Words("errorNoMemory");
        default:
            return std::strerror(error);
    }
}

}  // namespace springcalc
