// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The transmitter's command frames and reply shapes, shared by the application's protocol
// engine and by the simulated transmitter so both sides agree byte for byte.
//
// Every command ends with one CR. Addresses and data travel as raw characters (so any of
// them may be 13 and look like a CR): "$R", "$W" and "$V" are therefore fixed 6-byte frames.
// Replies are recognised by their first character, their length and their line ending
// (CR LF; measurement frames of model 10 end in a CR alone).
namespace vantrel::link::frames {

inline constexpr char kCr = '\r';
inline constexpr char kLf = '\n';

// Text commands, terminator included.
inline constexpr std::string_view kStopStream = "SM\r";       // also the first command of every exchange
inline constexpr std::string_view kProgrammingMode = "PR\r";  // second command of every exchange
inline constexpr std::string_view kStartStream = "MI\r";      // starts the measurement stream
inline constexpr std::string_view kEndProgramming = "$FPxx\r";  // ends an exchange; recovery before a retry
// The serial-number write enters programming mode without the CR.
inline constexpr std::string_view kProgrammingModeNoCr = "PR";

// Fixed-length frames: "$", letter, address, address, data, CR.
inline constexpr std::size_t kFixedFrameLength = 6;
inline constexpr char kReadLetter = 'R';
inline constexpr char kWriteLetter = 'W';
inline constexpr char kVersionLetter = 'V';
inline constexpr char kEndLetter = 'F';

inline std::string FixedFrame(char letter, std::uint8_t address, std::uint8_t data) {
    std::string frame = "$";
    frame += letter;
    frame += static_cast<char>(address);
    frame += static_cast<char>(address);
    frame += static_cast<char>(data);
    frame += kCr;
    return frame;
}
inline std::string ReadFrame(std::uint8_t address) { return FixedFrame(kReadLetter, address, 0); }
inline std::string WriteFrame(std::uint8_t address, std::uint8_t data) {
    return FixedFrame(kWriteLetter, address, data);
}
inline std::string VersionFrame() { return FixedFrame(kVersionLetter, 0, 0); }

// Reply patterns: the first character is literal, the rest only gives the length
// (line ending included).
inline constexpr std::string_view kByteReplyPattern = "*#####";      // "*", 2 fillers, data, CR, LF
inline constexpr std::string_view kVersionReplyPattern = "*######";  // "*", 4 characters, CR, LF
inline constexpr std::string_view kFramePattern = "A######";         // measurement frame

// Position of the data byte in a "$R" reply and of the identity values in a "$V" reply
// (0-based character positions).
inline constexpr std::size_t kByteReplyDataPos = 3;
inline constexpr std::size_t kVersionFirmwarePos = 1;
inline constexpr std::size_t kVersionReleasePos = 2;
inline constexpr std::size_t kVersionFamilyPos = 3;
inline constexpr std::size_t kVersionModelPos = 4;

// The model whose measurement frames end in a CR alone and carry the trip states.
inline constexpr int kCrOnlyModel = 10;

inline std::string ByteReply(std::uint8_t filler1, std::uint8_t filler2, std::uint8_t data) {
    std::string reply = "*";
    reply += static_cast<char>(filler1);
    reply += static_cast<char>(filler2);
    reply += static_cast<char>(data);
    reply += kCr;
    reply += kLf;
    return reply;
}

inline std::string VersionReply(std::uint8_t firmware, std::uint8_t release, std::uint8_t family,
                                std::uint8_t model) {
    std::string reply = "*";
    reply += static_cast<char>(firmware);
    reply += static_cast<char>(release);
    reply += static_cast<char>(family);
    reply += static_cast<char>(model);
    reply += kCr;
    reply += kLf;
    return reply;
}

// A measurement frame: "A", a status byte, the output code as word high, word low and
// exponent byte (the Float24 bytes +1, +0, +2), then on model 10 the trip bits and a CR,
// on the other models CR LF.
struct FrameFields {
    std::uint8_t status = 0;
    std::uint8_t wordHigh = 0;
    std::uint8_t wordLow = 0;
    std::uint8_t exponent = 0;
    std::uint8_t tripBits = 0;  // model 10 only
};

inline std::string MeasurementFrame(const FrameFields& f, bool crOnly) {
    std::string frame = "A";
    frame += static_cast<char>(f.status);
    frame += static_cast<char>(f.wordHigh);
    frame += static_cast<char>(f.wordLow);
    frame += static_cast<char>(f.exponent);
    if (crOnly) {
        frame += static_cast<char>(f.tripBits);
        frame += kCr;
    } else {
        frame += kCr;
        frame += kLf;
    }
    return frame;
}

// Trip bits of a model-10 frame: red = the trip is active; yellow = the threshold is
// crossed and the delay is running.
namespace trip {
inline constexpr std::uint8_t Trip1Active = 1;
inline constexpr std::uint8_t Trip2Active = 2;
inline constexpr std::uint8_t Trip1Pending = 16;
inline constexpr std::uint8_t Trip2Pending = 32;
}  // namespace trip

// Line settings of the link.
inline constexpr std::string_view kProbeSettings = "9600,N,8,1";
inline constexpr std::string_view kWorkSettings = "9600,n,8,1";
inline constexpr int kBaudRate = 9600;
// 1 start bit, 8 data bits, 1 stop bit.
inline constexpr double kSecondsPerByte = 10.0 / kBaudRate;

}  // namespace vantrel::link::frames
