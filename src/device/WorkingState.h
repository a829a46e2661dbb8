// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantrel::device {

// Working tables hold at most 30 sensor points (indices 0..29) and 7 cold-junction points.
inline constexpr int kWorkingPoints = 30;
inline constexpr int kWorkingPointsCjc = 7;

// What identification learnt about the connected transmitter. Without a transmitter the
// defaults stand: family 4, model 10 (the model with trips), firmware 0/0.
struct Identity {
    int DeviceFamily = 4;
    int DeviceModel = 10;
    int FirmwareVersion = 0;
    int FirmwareRelease = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

inline constexpr int kModelWithTrips = 10;

enum class Language { Italian = 0, English = 1 };
// The distance between an Italian text and its English twin in the string table.
inline constexpr int kEnglishOffset = 300;

// The shared working values that the programming form, the points editor, the trips form,
// programming and the programming file work on. One per session.
struct WorkingState {
    // Not saved in a file (a new or read configuration, or an edited one): leaving asks.
    bool ConfigChanged = false;
    // Edited by the user since it was opened, read, saved or programmed: anything that would
    // replace it (open, connect, a port change, a read) asks first.
    bool EditedSinceLoad = false;
    void MarkEdited() { ConfigChanged = EditedSinceLoad = true; }
    std::string CurrentFile;
    // The one language of the session: English until the settings or the user say Italian.
    Language language = Language::English;
    int LanguageIndex() const { return static_cast<int>(language); }
    // Every text is fetched at the language offset plus its Italian identifier.
    int LanguageOffset() const { return language == Language::Italian ? 0 : kEnglishOffset; }
    void SetLanguageIndex(int index) { language = index == 0 ? Language::Italian : Language::English; }
    void SetLanguageOffset(int offset) { SetLanguageIndex(offset == 0 ? 0 : 1); }
    bool ForceSaveAs = false;

    bool CustomActive = false;
    int SensorPoints = 0;
    bool PointExtra = false;
    int CjcPoints = 0;
    std::array<float, kWorkingPoints> PtPhysical{};
    std::array<float, kWorkingPoints> PtInput{};
    std::array<float, kWorkingPointsCjc> CjcPhysical{};
    std::array<float, kWorkingPointsCjc> CjcInput{};
    // Segment counts that the points editor leaves for programming.
    int SegmentCount = 0;
    int CjcSegmentCount = 0;

    std::array<float, 4> TripLevels{};  // trip 1 high, trip 1 low, trip 2 high, trip 2 low
    float TripDelayTicks = 0;
    std::uint8_t TripFlags = 0;

    Identity identity;

    bool HasTrips() const { return identity.DeviceModel == kModelWithTrips; }
};

}  // namespace vantrel::device
