// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceContext.h"

#include <atomic>
#include <csignal>
#include <ostream>

#include "cli/Commands.h"
#include "cli/History.h"
#include "cli/Progress.h"
#include "link/PortTable.h"
#include "link/QtSerialTransport.h"
#include "resources/StringTable.h"
#include "session/Flows.h"
#include "sim/SimTransport.h"

namespace vantrel::cli {

namespace {

// Ctrl-C and SIGTERM cancel the operation in progress: it stops at the protocol's next pause
// and leaves the transmitter in working mode, instead of the process dying mid-exchange.
std::atomic<link::CancelToken*> g_interruptToken{nullptr};

extern "C" void CancelOnSignal(int) {
    if (link::CancelToken* token = g_interruptToken.load()) token->Cancel();
}

}  // namespace

std::unique_ptr<DeviceContext> DeviceContext::Create(Context& context, bool acceptNoisyRange, int& exitCode) {
    const GlobalOptions& options = context.invocation.global;
    std::unique_ptr<DeviceContext> device(new DeviceContext());
    device->m_err = &context.err;
    device->m_languageOffset = context.languageOffset();
    device->m_recorder = OpenRecorder(context, exitCode);
    if (exitCode != kExitDone) return nullptr;
    std::string port;
    if (options.device) {
        sim::ProfileResult loaded = sim::LoadProfile(*options.device, context.languageOffset());
        if (!loaded.profile) {
            context.err << "vantrel-cli: " << loaded.error << '\n';
            exitCode = kExitUsage;
            return nullptr;
        }
        device->m_profile = *loaded.profile;
        device->m_transmitter = std::make_unique<sim::Transmitter>(loaded.profile->identity, loaded.profile->memory);
        device->m_transmitter->setInput(loaded.profile->input);
        device->m_transmitter->faults() = loaded.profile->faults;
        device->m_watch = context.simulatorWatch;
        if (device->m_watch && device->m_watch->started) device->m_watch->started(*device->m_transmitter);
        if (options.realtime) device->m_clock = std::make_unique<link::RealClock>();
        else device->m_clock = std::make_unique<link::VirtualClock>();
        device->m_transport = std::make_unique<sim::SimTransport>(*device->m_transmitter, *device->m_clock);
        port = "simulator";
    } else if (options.port) {
        port = link::ResolvePortName(*options.port, link::SortPortNames(link::ListSystemPorts()));
        if (port.empty()) {
            context.err << "vantrel-cli: no serial port " << *options.port << '\n';
            exitCode = kExitUsage;
            return nullptr;
        }
        device->m_clock = std::make_unique<link::RealClock>();
        device->m_transport = std::make_unique<link::QtSerialTransport>();
    } else {
        context.err << "vantrel-cli: this command needs --port PATH or --device PROFILE.json\n";
        exitCode = kExitUsage;
        return nullptr;
    }
    device->m_dialogs = std::make_unique<HeadlessDialogs>(context.err, options.retries, acceptNoisyRange);
    device->m_host = std::make_unique<ui::NoWindowsHost>();
    device->m_session = std::make_unique<session::Session>(*device->m_transport, *device->m_clock,
                                                           *device->m_dialogs, *device->m_host);
    session::Session& s = *device->m_session;
    s.port = port;
    s.recorder = device->m_recorder.get();
    s.state.SetLanguageIndex(options.languageIndex);
    s.state.SetLanguageOffset(context.languageOffset());
    s.SyncProtocol();
    g_interruptToken = &s.cancel;
    std::signal(SIGINT, CancelOnSignal);
    std::signal(SIGTERM, CancelOnSignal);
    return device;
}

DeviceContext::~DeviceContext() {
    if (m_session && g_interruptToken.load() == &m_session->cancel) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        g_interruptToken = nullptr;
    }
    if (m_session) m_session->transport.close();
    if (m_transmitter && m_watch && m_watch->ended) m_watch->ended(*m_transmitter);
    if (m_recorder) FinishRecording(*m_err, m_languageOffset, *m_recorder);
}

int DeviceContext::SaveDevice(Context& context) {
    const auto& target = context.invocation.global.saveDevice;
    if (!target) return kExitDone;
    if (!m_transmitter || !m_profile) {
        context.err << "vantrel-cli: --save-device needs --device\n";
        return kExitUsage;
    }
    sim::Profile profile = *m_profile;
    profile.memory = m_transmitter->memory();
    profile.input = m_transmitter->input();
    return WriteOutputFile(context, *target, sim::ProfileJson(profile));
}

int Finish(Context& context, DeviceContext& device, int exitCode) {
    // A stop that was not the normal end of the command (a measurement's is) is said once.
    if (exitCode != kExitDone && device.session().cancel.cancelled())
        context.err << "vantrel-cli: " << resources::Text(resources::text::kOperationCancelled, context.languageOffset())
                    << '\n';
    const int saved = device.SaveDevice(context);
    return exitCode == kExitDone ? saved : exitCode;
}

std::unique_ptr<DeviceContext> OpenDevice(Context& context, bool acceptNoisyRange, DeviceReach reach, int& exitCode) {
    auto device = DeviceContext::Create(context, acceptNoisyRange, exitCode);
    if (!device) return nullptr;
    session::Session& s = device->session();
    TerminalProgress progress(context, s.progress);
    const bool reached = reach == DeviceReach::Identified
                             ? session::ConnectAndIdentify(s, progress)
                             : session::LoadProgramWindow(s, progress) == session::LoadOutcome::Connected;
    progress.Clear();
    if (reached) return device;
    if (!s.cancel.cancelled()) context.err << resources::Text(resources::text::kNoTransmitter, context.languageOffset()) << '\n';
    exitCode = Finish(context, *device, kExitCommunication);
    return nullptr;
}

}  // namespace vantrel::cli
