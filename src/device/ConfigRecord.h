// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace vantrel::device {

// 16-bit Boolean kinds of the record: a Flag stores true as -1, a Tick (check box) as 1.
inline constexpr std::int16_t kFlagTrue = -1;
inline constexpr std::int16_t kFlagFalse = 0;
inline constexpr std::int16_t kTickOn = 1;
inline constexpr std::int16_t kTickOff = 0;

inline constexpr std::int16_t ToFlag(bool value) { return value ? kFlagTrue : kFlagFalse; }
inline constexpr std::int16_t ToTick(bool value) { return value ? kTickOn : kTickOff; }
inline constexpr bool FromFlag(std::int16_t value) { return value != 0; }

// A point of a custom linearisation table: the physical value it stands for and the
// electrical input value.
struct Point {
    double physical = 0;
    double input = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

inline constexpr int kRecordPoints = 30;
inline constexpr int kRecordPointsCjc = 7;

// One complete transmitter configuration as the programming form holds it: the image of a
// programming file, field for field in stored order.
struct ConfigRecord {
    std::int16_t InputType = 0;    // 0 thermocouple, 1 RTD, 2 potentiometer, 3 voltage, 4 resistance, 5 current
    std::int16_t TcType = 0;       // 0 K, 1 J, 2 S, 3 R, 4 B, 5 E, 6 T, 7 N
    std::int16_t RtdSensor = 0;    // 0 Pt100, 1 Pt1000, 2 Ni100, 3 Ni1000
    std::int16_t Wires = 0;        // 0 two, 1 three, 2 four wires
    std::int16_t PotRange = 0;
    std::int16_t Spare1 = 0;
    std::int16_t Spare2 = 0;
    float InRangeMax = 0;
    float InRangeMin = 0;
    std::int16_t CjcInternal = 0;  // Tick
    std::int16_t Spare3 = 0;
    std::int16_t LinearOn = 0;     // Tick
    std::int16_t LangOffset = 0;   // 0 or 300, written, never read back
    std::int16_t UnitCelsius = 0;  // Flag
    std::int16_t ZeroAdjust = 0;   // slider position -50..50
    std::int16_t SpanAdjust = 0;   // slider position -50..50
    std::int16_t CustomOn = 0;     // Flag
    std::int16_t PointCount = 0;
    std::int16_t PointCountCjc = 0;
    std::array<Point, kRecordPoints> Points{};
    std::array<Point, kRecordPointsCjc> PointsCjc{};
    std::int16_t BurnoutDown = 0;  // Flag
    std::int16_t OutputDirect = 0; // Flag
    float OutRangeMax = 0;
    float OutRangeMin = 0;
    std::int16_t OutputType = 0;   // Flag: second entry of the output-type list
    std::int16_t FilterOn = 0;     // Flag
    float Trip1High = 0;
    float Trip1Low = 0;
    float Trip2High = 0;
    float Trip2Low = 0;
    float TripDelay = 0;           // 0.05-second steps
    std::uint8_t TripMode = 0;     // bit 1: trip 1 is a minimum trip; bit 0: trip 2

    friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;
};

}  // namespace vantrel::device
