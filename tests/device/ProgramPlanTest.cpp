// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <tuple>

#include "PlanFixtures.h"
#include "device/Families.h"
#include "device/ProgramPlan.h"
#include "math/Breakpoints.h"
#include "device/CustomTable.h"

using namespace vantrel::device;

namespace {

using vantrel::test::Form;
using vantrel::test::SampleDevice;
using vantrel::test::SampleFactory;

WorkingState Working(int family, int model) {
    WorkingState w;
    w.identity = {family, model, 5, 1};
    return w;
}

const NoiseQuestion kYes = [] { return true; };

// Every address once, below 256, the tables inside the layout and below the trims on model 10.
void ExpectSoundList(const ProgramPlan& plan, bool model10) {
    std::set<int> seen;
    const int tablesEnd = plan.Layout.T4 + 3 * plan.CjcSegmentCount + 2;
    for (const auto& w : plan.writes) {
        EXPECT_TRUE(seen.insert(w.address).second) << "address " << int(w.address) << " repeats";
        EXPECT_TRUE(w.address < cell::TablesStart || w.address >= cell::ZeroTrim || w.address <= tablesEnd) << int(w.address);
    }
    EXPECT_TRUE(!model10 || tablesEnd < cell::ZeroTrim);
    ASSERT_GE(plan.writes.size(), 13u);
    EXPECT_EQ(plan.writes[11].address, cell::OutputConfig);
}

std::size_t ExpectedSize(const ProgramPlan& plan, bool cjc, bool model10) {
    const std::size_t n = static_cast<std::size_t>(plan.SegmentCount);
    std::size_t size = 13 + 3 * (n / 2) + 3 * (n / 2 + 1) + 3 * (n + 1);
    if (cjc) size += 6 * static_cast<std::size_t>(plan.CjcSegmentCount + 1);
    if (model10) size += 11 + (plan.TripWordsUpdated ? 1 : 0);
    return size;
}

}  // namespace

TEST(ProgramPlan, TypeK0To1000WithInternalCjc_Writes223EntriesInOrder) {
    const auto plan = MakeProgramPlan(Form(1, 0, 1000, 1), Working(3, 9), SampleDevice(), kYes);
    ASSERT_EQ(plan.status, PlanStatus::Done);
    ASSERT_EQ(plan.writes.size(), 223u);  // N = 28, M = 5
    EXPECT_EQ(plan.sent, plan.writes);
    const std::vector<int> fixed = {15, 14, 9, 8, 5, 10, 11, 1, 2, 3, 4, 7, 6};
    for (std::size_t k = 0; k < fixed.size(); ++k) EXPECT_EQ(plan.writes[k].address, fixed[k]);
    EXPECT_EQ(plan.writes[4].value, 1);                 // internal compensation
    EXPECT_EQ(plan.writes[7].value, 58);                // T1
    EXPECT_EQ(plan.writes[11].value, (0xA5 & 252));     // cell 7 keeps its high bits
    EXPECT_EQ(plan.writes[13].address, 58);             // cold-junction sensor table first
    EXPECT_EQ(plan.writes.back().address, 121 + 3 * 28 + 2);
}

TEST(ProgramPlan, Model10_LimitsTheTableTo26SegmentsAndAppendsTripsAndTrims) {
    WorkingState w = Working(4, 10);
    w.TripLevels = {800, 700, 300, 200};
    w.TripDelayTicks = 20;
    w.TripFlags = 1;
    PlanRequest f = Form(1, 0, 1000, 1);
    f.OutputDirect = false;
    f.ZeroSlider = -5;
    f.SpanSlider = 12;
    const auto plan = MakeProgramPlan(f, w, SampleDevice(), kYes);
    ASSERT_EQ(plan.status, PlanStatus::Done);
    EXPECT_EQ(plan.SegmentCount, 26);
    EXPECT_EQ(plan.TripFlags, 1 | 4);  // reverse output
    // The tail: trip words from cell 223 (reverse output: level 800 of 0..1000 sits at 20 % from
    // the code of 4 mA, 800 + 520), the delay in cell 227, the trims biased by 127.
    const std::size_t t = plan.writes.size() - 11;
    for (const auto& [k, address, value] : {std::tuple{0u, 223, (800 + 520) & 0xFF}, {1u, 224, (800 + 520) >> 8},
                                            {8u, 227, 20}, {9u, 217, 122}, {10u, 218, 139}})
        EXPECT_EQ(std::pair(int(plan.writes[t + k].address), int(plan.writes[t + k].value)), std::pair(address, value));
}

TEST(ProgramPlan, LinearProgramming_Has13FixedEntriesAnd18TableBytesPlus18ForCjc) {
    PlanRequest f = Form(1, 0, 500, 0);
    f.LinearTicked = true;
    const auto plain = MakeProgramPlan(f, Working(3, 9), SampleDevice(), kYes);
    ASSERT_EQ(plain.status, PlanStatus::Done);
    EXPECT_EQ(plain.SegmentCount, 2);
    EXPECT_EQ(plain.CjcSegmentCount, 2);
    EXPECT_EQ(plain.writes.size(), 13u + 18u);
    EXPECT_EQ(plain.OptionWord & 16, 16);
    EXPECT_FLOAT_EQ(plain.BreakTemp[2], 512.5f);
    f.OptionWord = 1;
    const auto withCjc = MakeProgramPlan(f, Working(3, 9), SampleDevice(), kYes);
    EXPECT_EQ(withCjc.writes.size(), 13u + 18u + 18u);
    ExpectSoundList(withCjc, false);
    EXPECT_EQ(withCjc.writes[7].value, 19);  // T1 of N = 2, M = 2
}

TEST(ProgramPlan, FamiliesOneAndTwo_KeepCell7InTheListButDoNotSendIt) {
    for (int family : {0, 1, 2, 3, 4}) {
        const auto plan = MakeProgramPlan(Form(21, 0, 400, 1), Working(family, 9), SampleDevice(), kYes);
        ASSERT_EQ(plan.writes[11].address, cell::OutputConfig);
        std::vector<WriteEntry> expected = plan.writes;
        if (family == 1 || family == 2) expected.erase(expected.begin() + 11);
        EXPECT_EQ(plan.sent, expected) << family;
    }
}

TEST(ProgramPlan, EveryInputFamily_ProducesACompleteNonRepeatingListThatFits) {
    struct Case {
        int code;
        float min, max;
        int options;
    };
    const Case cases[] = {{1, 0, 1000, 1}, {2, 0, 700, 1},   {3, 0, 1600, 1},  {4, 0, 1600, 1},
                          {5, 600, 1700, 1}, {6, 0, 800, 1}, {7, -200, 400, 1}, {8, 0, 1200, 1},
                          {1, -200, 100, 0}, {21, 0, 400, 1}, {22, -50, 200, 2}, {23, -60, 180, 0},
                          {24, 0, 150, 1},  {36, 0, 1000, 0}, {36, -10000, 10000, 0}, {46, 4, 20, 0},
                          {51, 0, 400, 1},  {31, 0, 100, 0}, {32, 0, 100, 0}, {33, 10, 90, 0}};
    for (int model : {9, 10}) {
        for (const Case& c : cases) {
            WorkingState w = Working(4, model);
            w.TripLevels = {c.max, c.min, c.max, c.min};
            const auto plan = MakeProgramPlan(Form(c.code, c.min, c.max, c.options), w, SampleDevice(), kYes);
            SCOPED_TRACE(testing::Message() << "code " << c.code << " model " << model);
            ASSERT_EQ(plan.status, PlanStatus::Done);
            const bool cjc = c.code <= 8 && (c.options & 1) != 0;
            EXPECT_EQ(plan.writes.size(), ExpectedSize(plan, cjc, model == 10));
            ExpectSoundList(plan, model == 10);
            EXPECT_EQ(plan.SegmentCount % 2, 0);
        }
    }
}

// A narrow range asks once and a refusal writes nothing; a wide range and a potentiometer
// never ask, and a potentiometer's percent range becomes a ratio, whatever a °F bit left over.
TEST(ProgramPlan, NoiseQuestion_OnlyForNarrowRanges_PotentiometerRangeIsARatio) {
    int asked = 0;
    const NoiseQuestion no = [&] { return ++asked, false; };
    // 0..100 °C of type S is about 0.65 mV: 2.6 > S.
    const auto refused = MakeProgramPlan(Form(3, 0, 100, 1), Working(3, 9), SampleDevice(), no);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(refused.status, PlanStatus::NoisyRangeRefused);
    EXPECT_TRUE(refused.writes.empty() && refused.sent.empty());
    asked = 0;
    EXPECT_EQ(MakeProgramPlan(Form(1, 0, 1000, 1), Working(3, 9), SampleDevice(), no).status, PlanStatus::Done);
    for (const auto& [code, options] : {std::pair{31, 0}, {32, 0}, {33, 0}, {31, 8}}) {
        const auto plan = MakeProgramPlan(Form(code, 0, 100, options), Working(4, 9), SampleDevice(), no);
        ASSERT_EQ(plan.status, PlanStatus::Done);
        const DecodedRange r = DecodeRange(plan.writes[0].value, plan.writes[1].value, plan.writes[2].value,
                                           plan.writes[3].value);
        EXPECT_EQ(std::tuple(r.top, plan.BreakVolts.back(), plan.GainCode & 127), std::tuple(1.0, 1.0f, 34)) << code;
    }
    EXPECT_EQ(asked, 0);
}

TEST(ProgramPlan, FahrenheitRange_IsConvertedBeforeEncodingAndTripsConvertAlike) {
    WorkingState w = Working(4, 10);
    w.TripLevels = {572, 562, 212, 202};  // °F, inside 32..932 °F
    const auto plan = MakeProgramPlan(Form(1, 32, 932, 1 | 8), w, SampleDevice(), kYes);
    ASSERT_EQ(plan.status, PlanStatus::Done);
    const DecodedRange r = DecodeRange(plan.writes[0].value, plan.writes[1].value, plan.writes[2].value,
                                       plan.writes[3].value);
    EXPECT_NEAR(r.top, 500, 0.1);
    EXPECT_NEAR(r.bottom, 0, 0.1);
    ASSERT_TRUE(plan.TripWordsUpdated);
    // 572 °F = 300 °C: 60 % of 0..500 °C, direct output from code 800 to 3400.
    EXPECT_EQ(plan.TripWords[0], 800 + 1560);
}

TEST(ProgramPlan, TripLevelOutsideTheRange_KeepsOldWordsAndLeavesOutCell12) {
    WorkingState w = Working(4, 10);
    w.TripLevels = {1200, 700, 300, 200};
    const ProgramDeviceData device = SampleDevice();
    const auto plan = MakeProgramPlan(Form(1, 0, 1000, 1), w, device, kYes);
    ASSERT_EQ(plan.status, PlanStatus::Done);
    EXPECT_FALSE(plan.TripWordsUpdated);
    for (const auto& e : plan.writes) EXPECT_NE(e.address, cell::TripFlags);
    const std::size_t t = plan.writes.size() - 11;
    EXPECT_EQ(plan.writes[t].value + 256 * plan.writes[t + 1].value, 0x1234);
    EXPECT_EQ(std::pair(int(plan.writes[t + 4].address), int(plan.writes[t + 4].value)), std::pair(219, 0x56));
}

TEST(ProgramPlan, UnsupportedOrUncomputableInputs_AreRefusedWithNothingToSend) {
    const auto special = MakeProgramPlan(Form(56, 0, 800, 0), Working(4, 9), SampleDevice(), kYes);
    EXPECT_EQ(special.status, PlanStatus::UnsupportedInput);
    EXPECT_TRUE(special.writes.empty());
    ProgramDeviceData noFactory = SampleDevice(), zeroSpans = SampleDevice();
    noFactory.Factory.reset();
    zeroSpans.Factory->CalSpanCounts = zeroSpans.Factory->CalZeroCounts;
    // Thermocouples have defaults for everything they use; resistance and current need the block.
    for (const auto& [form, device, status] :
         {std::tuple{Form(21, 0, 400, 1), noFactory, PlanStatus::InvalidCalibration},
          {Form(46, 4, 20, 0), noFactory, PlanStatus::InvalidCalibration}, {Form(1, 0, 1000, 1), noFactory, PlanStatus::Done},
          {Form(36, -10000, 10000, 0), zeroSpans, PlanStatus::InvalidCalibration}})
        EXPECT_EQ(MakeProgramPlan(form, Working(4, 9), device, kYes).status, status) << form.InputCode;
}

TEST(ProgramPlan, CustomCurveLoadedFromFile_ProgramsWithTheAddedPoint) {
    WorkingState w = Working(4, 9);
    w.CustomActive = true;
    for (const auto& [i, physical, input] : {std::tuple{0u, 0.0f, 0.0f}, {1u, 100.0f, 4.0f}, {2u, 200.0f, 8.2f}, {3u, 400.0f, 16.4f}})
        w.PtPhysical[i] = physical, w.PtInput[i] = input;
    w.CjcPhysical = {0, 25, 50, 0, 0, 0, 0};
    w.CjcInput = {0, 1, 2, 0, 0, 0, 0};
    // Without the completing step the loaded counts do not fit a table.
    EXPECT_EQ(MakeProgramPlan(Form(1, 0, 400, 1 | 32), w, SampleDevice(), kYes).status,
              PlanStatus::InvalidCustomTable);
    ASSERT_TRUE(vantrel::device::CompleteLoadedCurve(w, 4, 3));
    const auto plan = MakeProgramPlan(Form(1, 0, 400, 1 | 32), w, SampleDevice(), kYes);
    ASSERT_EQ(plan.status, PlanStatus::Done);
    EXPECT_EQ(std::pair(plan.SegmentCount, plan.CjcSegmentCount), std::pair(4, 2));
    EXPECT_EQ(plan.OptionWord & 16, 16);
    EXPECT_FLOAT_EQ(plan.BreakTemp[4], 410.0f);  // the added point: 2.5 % beyond the last
    EXPECT_FLOAT_EQ(plan.BreakSignal[4], 16.81f);
    EXPECT_EQ(plan.writes.size(), ExpectedSize(plan, true, false));
    ExpectSoundList(plan, false);
}

// What programming writes into cell 7 reads back as the entry it was written for, on every
// family, whatever side of 0 mA the output range starts.
TEST(OutputSelect, TheCodeWrittenReadsBackAsTheChosenEntry) {
    for (int family = 1; family <= 4; ++family) {
        const Identity identity{family, 9, 0, 0};
        const FamilyTraits* traits = FindFamily(identity);
        ASSERT_TRUE(traits);
        for (std::size_t entry = 0; entry < traits->outputs.size(); ++entry)
            for (float outMin : {-5.0f, 0.0f, 4.0f}) {
                const int code = OutputSelectCode(identity, static_cast<int>(entry), outMin);
                EXPECT_EQ(OutputOfCode(identity, code), traits->outputs[entry].kind)
                    << "family " << family << " entry " << entry << " from " << outMin;
            }
    }
    EXPECT_EQ(OutputSelectCode({3, 9, 0, 0}, 0, -20), 0);  // family 3's current output below 0 mA
    EXPECT_EQ(OutputSelectCode({3, 9, 0, 0}, 0, 0), 1);
}

namespace {

// A configuration the check refuses, and the field it must name.
struct Refused {
    const char* what;
    std::function<void(PlanRequest&, WorkingState&)> spoil;
    ConfigField field;
};

}  // namespace

TEST(ConfigurationCheck, ConfigurationsNoTransmitterTakes_AreRefusedNamingTheFieldWithNothingWritten) {
    static constexpr float inf = std::numeric_limits<float>::infinity();
    static constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    const auto range = [](float min, float max) {
        return [=](PlanRequest& f, WorkingState&) { f.RangeMin = min, f.RangeMax = max; };
    };
    const std::vector<Refused> cases = {
        {"inverted range", range(1000, 0), ConfigField::InputRange},
        {"absurd range", range(-1e12f, 1e12f), ConfigField::InputRange},
        {"range beyond type K", range(0, 1400), ConfigField::InputRange},
        {"span below 100", range(0, 50), ConfigField::InputRange},
        {"not a number", range(nan, 100), ConfigField::InputRange},
        {"voltage beyond the range cells",
         [](PlanRequest& f, WorkingState&) { f.InputCode = 36, f.RangeMin = 0, f.RangeMax = 20000; },
         ConfigField::InputRange},
        {"voltage beyond family 2",
         [](PlanRequest& f, WorkingState& w) { f.InputCode = 36, f.RangeMax = 800, w.identity.DeviceFamily = 2; },
         ConfigField::InputRange},
        {"output below family 4's 0 mA", [](PlanRequest& f, WorkingState&) { f.OutMin = -4; }, ConfigField::OutputRange},
        {"output inverted", [](PlanRequest& f, WorkingState&) { f.OutMin = 20, f.OutMax = 4; }, ConfigField::OutputRange},
        {"voltage output span below 1 V",
         [](PlanRequest& f, WorkingState&) { f.OutputTypeIndex = 1, f.OutMin = 0, f.OutMax = 0.5f; },
         ConfigField::OutputRange},
        {"zero trim beyond 5 %", [](PlanRequest& f, WorkingState&) { f.AdjMax = 6; }, ConfigField::ZeroTrim},
        {"span trim not a number", [](PlanRequest& f, WorkingState&) { f.AdjMin = std::numeric_limits<double>::quiet_NaN(); }, ConfigField::SpanTrim},
        {"trip level 1e39", [](PlanRequest&, WorkingState& w) { w.TripLevels[2] = inf; }, ConfigField::TripLevels},
        {"trip delay beyond its cell", [](PlanRequest&, WorkingState& w) { w.TripDelayTicks = 300; },
         ConfigField::TripDelay},
    };
    for (const Refused& c : cases) {
        PlanRequest form = Form(1, 0, 1000, 1);
        WorkingState working = Working(4, 10);
        c.spoil(form, working);
        const auto plan = MakeProgramPlan(form, working, SampleDevice(), kYes);
        EXPECT_EQ(plan.status, PlanStatus::InvalidConfiguration) << c.what;
        EXPECT_TRUE(plan.writes.empty() && plan.sent.empty()) << c.what;
        ASSERT_TRUE(plan.problem) << c.what;
        EXPECT_EQ(plan.problem->field, c.field) << c.what;
        EXPECT_FALSE(PlanRefusalText(plan, 300).empty()) << c.what;
    }
}

TEST(ConfigurationCheck, LimitsFollowTheTypedUnit_AndTheMessageNamesFieldAndAllowedSpan) {
    // Type K in °F: -328..2498 °F is the whole type; the thermocouple span stays 100 in °F; an
    // RTD's 50 °C span is 90 °F.
    for (const auto& [code, min, max, options, status] :
         {std::tuple{1, -328.0f, 2498.0f, 1 | 8, PlanStatus::Done}, {1, 32.0f, 132.0f, 1 | 8, PlanStatus::Done},
          {21, 32.0f, 122.0f, 8, PlanStatus::Done}, {21, 32.0f, 112.0f, 8, PlanStatus::InvalidConfiguration}})
        EXPECT_EQ(MakeProgramPlan(Form(code, min, max, options), Working(4, 9), SampleDevice(), kYes).status, status)
            << code << " " << min << ".." << max;

    const auto plan = MakeProgramPlan(Form(36, 0, 20000, 0), Working(4, 9), SampleDevice(), kYes);
    ASSERT_EQ(plan.status, PlanStatus::InvalidConfiguration);
    EXPECT_EQ(PlanRefusalText(plan, 300),
              "The configuration cannot be programmed.\nInput Range: 0 to 20000 mV\n"
              "allowed from -10000 to 10000 mV, smallest span 2 mV");
}

TEST(ConfigurationCheck, CustomCurves_CountsFiniteRisingAndEncodable) {
    const auto curve = [](std::vector<float> physical, std::vector<float> input) {
        WorkingState w = Working(4, 10);
        w.CustomActive = true;
        for (std::size_t i = 0; i < physical.size(); ++i) w.PtPhysical[i] = physical[i], w.PtInput[i] = input[i];
        vantrel::device::CompleteLoadedCurve(w, static_cast<int>(physical.size()), 2);
        return w;
    };
    const PlanRequest form = Form(36, 0, 100, 32);
    EXPECT_EQ(MakeProgramPlan(form, curve({0, 50, 100}, {0, 5, 10}), SampleDevice(), kYes).status, PlanStatus::Done);
    for (const auto& [what, working] :
         {std::pair{"input not rising", curve({0, 50, 100}, {0, 5, 5})},
          {"empty range", curve({7, 50, 7}, {0, 5, 10})},
          {"beyond the range cells", curve({0, 50, 20000}, {0, 5, 10})},
          {"not a number", curve({0, std::numeric_limits<float>::quiet_NaN(), 100}, {0, 5, 10})}}) {
        const auto plan = MakeProgramPlan(form, working, SampleDevice(), kYes);
        EXPECT_EQ(plan.status, PlanStatus::InvalidConfiguration) << what;
        EXPECT_TRUE(plan.writes.empty()) << what;
    }
}

