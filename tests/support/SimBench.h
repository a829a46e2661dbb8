// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A bench for flow tests: one session against the in-process simulated transmitter on the
// virtual clock, with scripted message boxes and a transport that records every frame the
// program sends. Shared by the session, measurement and programming flow tests.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/Identify.h"
#include "link/Clock.h"
#include "link/ScriptedDialogs.h"
#include "session/Flows.h"
#include "session/Operations.h"
#include "session/Session.h"
#include "sim/DefaultProfile.h"
#include "sim/SimTransport.h"
#include "sim/Transmitter.h"
#include "ui/model/FormHost.h"

namespace vantrel::test {

// The line as the program sees it, with a log of what went out. open() can be made to fail
// as a missing or busy port does.
class RecordingTransport final : public link::Transport {
public:
    explicit RecordingTransport(link::Transport& line) : m_line(line) {}

    std::optional<link::OpenResult> openFailure;
    std::vector<std::string> sent;
    std::function<void(const std::string&)> onWrite;  // after each write reached the line

    link::OpenResult open(const std::string& port, const link::LineSettings& settings) override {
        if (openFailure) return *openFailure;
        return m_line.open(port, settings);
    }
    void close() override { m_line.close(); }
    bool isOpen() const override { return m_line.isOpen(); }
    bool write(std::string_view bytes) override {
        sent.emplace_back(bytes);
        const bool written = m_line.write(bytes);
        if (onWrite) onWrite(sent.back());
        return written;
    }
    std::string readAll() override { return m_line.readAll(); }
    void discardInput() override { m_line.discardInput(); }
    std::size_t bytesAvailable() override { return m_line.bytesAvailable(); }
    bool vanished() const override { return m_line.vanished(); }

    // Frames sent since the given index whose text starts with prefix.
    int Count(const std::string& prefix, std::size_t from = 0) const {
        int n = 0;
        for (std::size_t i = from; i < sent.size(); ++i) n += sent[i].rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }

private:
    link::Transport& m_line;
};

// A readable name for a "$R"/"$W" frame's address.
inline int FrameAddress(const std::string& frame) { return static_cast<unsigned char>(frame[2]); }

struct SimBench {
    explicit SimBench(sim::Profile p = sim::MakeDefaultProfile(), int languageOffset = 300)
        : profile(std::move(p)),
          transmitter(profile.identity, profile.memory),
          line(transmitter, clock),
          recorder(line),
          session(recorder, clock, dialogs, host) {
        transmitter.setInput(profile.input);
        transmitter.faults() = profile.faults;
        session.port = "sim";
        session.state.SetLanguageOffset(languageOffset);
        session.state.SetLanguageIndex(languageOffset == 0 ? 0 : 1);
        session.SyncProtocol();
    }

    session::LoadOutcome Load() { return session::LoadProgramWindow(session, view); }

    // Sets the thermocouple K, internal compensation, min..max °C and the current output
    // 4..20 mA on the form.
    void ChooseThermocoupleK(const std::string& min, const std::string& max) { ChooseThermocouple(0, min, max); }
    // typeIndex: 0 K, 1 J, 2 S, ...
    void ChooseThermocouple(int typeIndex, const std::string& min, const std::string& max) {
        session.form.ChooseFamily(device::family::Thermocouple);
        session.form.ChooseTcType(typeIndex);
        session.form.SetInternalCjc(true);
        SetInputRange(min, max);
        session.form.ChooseOutputType(0);
        SetOutputRange("4", "20");
    }
    void SetInputRange(const std::string& min, const std::string& max) {
        session.form.TypeInputMin(min);
        session.form.TypeInputMax(max);
        session.form.LeaveInputRange();
    }
    void SetOutputRange(const std::string& min, const std::string& max) {
        session.form.TypeOutputMin(min);
        session.form.TypeOutputMax(max);
        session.form.LeaveOutputRange();
    }

    session::ProgramOutcome Program() { return session::ProgramAndReadBack(session, view, session.form.EncodeInput()); }

    // The transmitter's memory cell.
    int Cell(int address) const { return transmitter.memory().read(static_cast<std::uint8_t>(address)); }

    sim::Profile profile;
    sim::Transmitter transmitter;
    link::VirtualClock clock;
    sim::SimTransport line;
    RecordingTransport recorder;
    link::ScriptedDialogs dialogs;
    ui::NoWindowsHost host;
    session::SessionView view;
    session::Session session;
};

}  // namespace vantrel::test
