#include "device/Families.h"

#include "math/InputCodes.h"

namespace vantrel::device {

namespace {

constexpr RangeLimits kPotentiometer{0, 100, 10, 0, 100};
constexpr RangeLimits kVoltage{-10000, 10000, 2, 0, 100};
constexpr RangeLimits kVoltageFamily2{-100, 700, 2, 0, 100};  // family 2 takes a narrower voltage input
constexpr RangeLimits kResistance{0, 2000, 10, 0, 100};
constexpr RangeLimits kCurrent{-10, 24, 2, 0, 20};

constexpr RangeLimits kCurrentOutputFamily4{0, 20, 4, 4, 20};
constexpr RangeLimits kCurrentOutputFamily3{-20, 20, 8, 4, 20};
constexpr RangeLimits kCurrentOutputFamilies1And2{4, 20, 4, 4, 20};
constexpr RangeLimits kVoltageOutputFamily4{0, 10, 1, 0, 10};
constexpr RangeLimits kVoltageOutputFamily3{-10, 10, 1, 0, 10};

}  // namespace

std::optional<RangeLimits> InputLimits(int inputCode, int deviceFamily) {
    namespace in = math::input;
    if (in::IsThermocouple(inputCode))
        return kThermocoupleLimits[static_cast<std::size_t>(inputCode - in::ThermocoupleK)];
    if (in::IsRtd(inputCode)) return kRtdLimits[static_cast<std::size_t>(inputCode - in::Pt100)];
    if (in::IsPotentiometer(inputCode)) return kPotentiometer;
    switch (inputCode) {
    case in::Voltage: return deviceFamily == 2 ? kVoltageFamily2 : kVoltage;
    case in::Current: return kCurrent;
    case in::Resistance: return kResistance;
    default: return std::nullopt;
    }
}

std::optional<RangeLimits> OutputLimits(int deviceFamily, int outputTypeIndex) {
    const bool voltage = outputTypeIndex == 1;
    switch (deviceFamily) {
    case 1:
    case 2: return voltage ? std::nullopt : std::optional(kCurrentOutputFamilies1And2);
    case 3: return voltage ? kVoltageOutputFamily3 : kCurrentOutputFamily3;
    case 4: return voltage ? kVoltageOutputFamily4 : kCurrentOutputFamily4;
    default: return std::nullopt;
    }
}

}  // namespace vantrel::device
