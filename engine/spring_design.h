// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design record and the calculation engine of the spring calculator.
//
// Units: mm, kg (kilogram-force), kg/mm^2, kg/mm. Every stored number is single precision and
// rounded once when it is stored; the arithmetic inside one formula is carried in double.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "spring_tables.h"
#include "spring_view.h"

namespace springcalc {

enum SpringKindValue : std::int32_t { kCompression = 0, kExtension = 1 };

// The whole state of the calculator. Exactly one exists, owned by the main window.
struct TSpringDesign {
    std::int32_t MaterialNo = 0;
    std::array<std::string, kMaterialCount> MaterialName{};
    std::int32_t WireNo = 0;
    std::array<float, kWireCount> WireDia{};
    // One slot more than there are sizes; the last one stays empty.
    std::array<std::string, kWireCount + 1> WireDiaText{};
    float MeanDia = 0;
    float InnerDia = 0;
    float OuterDia = 0;
    float MeanDiaAnchor = 0;
    float Turns = 0;
    float FreeLen = 0;
    float SetLen = 0;
    float WorkLen = 0;
    float SolidLen = 0;
    float FreeLenAnchor = 0;
    float SetLenAnchor = 0;
    float WorkLenAnchor = 0;
    float LimitLen = 0;
    float Tset = 0;
    float Tact = 0;
    float Tmax = 0;
    float AllowStatic = 0;
    float AllowStaticExt = 0;
    float AllowFatigue = 0;
    float InitTension = 0;
    float Pset = 0;
    float Pact = 0;
    float Pmax = 0;
    float TensileStrength = 0;
    float ShearModulus = 0;
    float SpringRate = 0;
    std::int32_t SpringKind = kCompression;
    TColor WarnColor = 0;
    std::int32_t PressActive = 0;
    std::string DateText;  // UTF-8; encoded for the report when written
};

// Fills MaterialName, WireDia and WireDiaText from the built-in tables.
void FillTables(TSpringDesign& design);

// Local date and time as the date stamp needs it.
struct LocalDateTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
};
using Clock = std::function<LocalDateTime()>;
LocalDateTime SystemLocalTime();

// "%d年%d月%d日 %2d:%2d"
std::string FormatDateStamp(const LocalDateTime& when);

// The seven warning messages, numbered 1..7.
inline constexpr std::array<const char*, 7> kWarningTexts{
    "D/dを４以上にして下さい",       // 1 spring index below 4
    "許容応力を越えています",        // 2 static allowable stress exceeded
    "圧縮端まで使えません",          // 3 reaches the allowable stress before it is solid
    "繰返荷重での使用に注意",        // 4 repeated-load allowable stress exceeded
    "線径が規格外です",              // 5 wire size not offered for the material
    "圧縮端より短い設定があります",  // 6 a length below the solid length
    "自由長より短い設定があります",  // 7 a length below the free length
};

inline constexpr const char* kCompressionTitle = "  圧縮コイルバネの設計 ";
inline constexpr const char* kExtensionTitle = "  引張コイルバネの設計 ";

// The engine operations. Each acts on the one record and shows its results through the view.
class SpringEngine {
public:
    SpringEngine(TSpringDesign& design, SpringView& view, Clock clock = SystemLocalTime);

    void LookupStrength(int materialNo);
    void UpdateDiameters();
    void CheckGeometry();
    void AnalyseDesign();
    void ClearWarnings();
    void AddWarning(int number);
    void LoadCompressionSample(int number);
    void LoadExtensionSample(int number);
    void UpdateDateStamp();
    // Results no longer match the inputs: withhold Save and Print until the next Run.
    void MarkResultsStale();

    // Brings a fresh record to its first state: tables, compression sample 1, its checks,
    // the title and the date stamp. Save and Print are left as they are.
    void StartUp();
    // Loads sample `number` of the current kind and recomputes what depends on it.
    void LoadSampleAndRefresh(int number);
    // What follows the loading of a sample: the selection spinners, the diameters, the
    // strength lookup with its checks, and stale results.
    void RefreshAfterSampleLoad();

    // Shows the material and wire texts of the current selection.
    void ShowSelection();
    // Shows a length, the turns or the mean diameter: one decimal, then three blanks.
    void ShowLength(Field field, float value);
    void ShowResult(Field field, float value);

    TSpringDesign& design() { return design_; }

    // The numbers of the warnings listed since the last check, in the order shown, repeats
    // included; and whether that check left Run offered. The same as the view was told, for
    // callers that have no window to read it from.
    const std::vector<int>& Warnings() const { return warnings_; }
    bool RunOffered() const { return runOffered_; }

private:
    float WireDiameter() const { return design_.WireDia[design_.WireNo]; }
    // The next click on the material or wire spinner steps from the current selection.
    void SyncSelectionSpinners();

    TSpringDesign& design_;
    SpringView& view_;
    Clock clock_;
    std::vector<int> warnings_;
    bool runOffered_ = true;
};

}  // namespace springcalc
