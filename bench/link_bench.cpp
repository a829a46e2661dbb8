// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// A full read and a full programming (with its read-back) against vantrel-sim through a
// pseudo-terminal at 9600 baud, and the same read on the virtual clock. Prints the sum of the
// protocol's waits, the wire time of the bytes, the wall time, their ratio and the process's
// processor time. Figures only; nothing is asserted.
//
//   link_bench [path/to/vantrel-sim]
#include <sys/resource.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Processes.h"
#include "device/Identify.h"
#include "link/QtSerialTransport.h"
#include "link/ScriptedDialogs.h"
#include "session/Flows.h"
#include "session/Operations.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"
#include "sim/SimTransport.h"

namespace {

using namespace vantrel;

// The real clock, adding up the waits the protocol asks for.
class CountingClock final : public link::Clock {
public:
    double now() override { return m_real.now(); }
    void wait(double seconds) override {
        m_waits += seconds;
        m_real.wait(seconds);
    }
    void replyPause() override { m_real.replyPause(); }
    double waits() const { return m_waits; }
    void reset() { m_waits = 0; }

private:
    link::RealClock m_real;
    double m_waits = 0;
};

// Counts the bytes on the line both ways.
class CountingTransport final : public link::Transport {
public:
    explicit CountingTransport(link::Transport& line) : m_line(line) {}
    link::OpenResult open(const std::string& port, const link::LineSettings& s) override { return m_line.open(port, s); }
    void close() override { m_line.close(); }
    bool isOpen() const override { return m_line.isOpen(); }
    bool write(std::string_view bytes) override {
        bytes_ += bytes.size();
        return m_line.write(bytes);
    }
    std::string readAll() override {
        std::string text = m_line.readAll();
        bytes_ += text.size();
        return text;
    }
    void discardInput() override { m_line.discardInput(); }
    std::size_t bytesAvailable() override { return m_line.bytesAvailable(); }
    std::size_t bytes_ = 0;

private:
    link::Transport& m_line;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Report(const char* what, double waits, std::size_t bytes, double wall, double cpu) {
    const double wire = static_cast<double>(bytes) * 10 / 9600;
    std::printf("%-28s waits %7.3f s  wire %6.3f s (%zu bytes)  wall %7.3f s  wall/waits %.4f  cpu %.2f %%\n", what,
                waits, wire, bytes, wall, wall / waits, 100 * cpu / wall);
}

template <typename Flow>
void Measure(const char* what, CountingClock& clock, CountingTransport& line, Flow flow) {
    clock.reset();
    line.bytes_ = 0;
    const double cpu0 = CpuSeconds();
    const double wall0 = WallSeconds();
    const bool ok = flow();
    const double wall = WallSeconds() - wall0;
    const double cpu = CpuSeconds() - cpu0;
    Report(what, clock.waits(), line.bytes_, wall, cpu);
    if (!ok) std::printf("  (%s did not complete)\n", what);
}

void VirtualRead() {
    const sim::Profile profile = sim::MakeDefaultProfile();
    sim::Transmitter transmitter(profile.identity, profile.memory);
    link::VirtualClock clock;
    sim::SimTransport line(transmitter, clock);
    link::ScriptedDialogs dialogs;
    ui::NoWindowsHost host;
    session::Session s(line, clock, dialogs, host);
    line.open("sim", {});
    const double start = clock.now();
    const double wall0 = WallSeconds();
    const bool ok = session::ReadAndDescribe(s, *std::make_unique<session::SessionView>());
    std::printf("%-28s simulated %.3f s  wall %.2f ms%s\n", "read, virtual clock", clock.now() - start,
                (WallSeconds() - wall0) * 1000, ok ? "" : "  (failed)");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string simPath = argc > 1 ? argv[1] : VANTREL_SIM_PATH;
    const auto dir = std::filesystem::temp_directory_path() / ("vantrel_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string profile = (dir / "profile.json").string();
    std::ofstream(profile) << sim::ProfileJson(sim::MakeDefaultProfile());

    VirtualRead();
    {
        test::SimProcess simulator(simPath, profile, (dir / "dump.json").string(), "");
        if (simulator.path().empty()) {
            std::fprintf(stderr, "link_bench: vantrel-sim did not start\n");
            return 1;
        }
        link::QtSerialTransport port;
        CountingTransport line(port);
        CountingClock clock;
        link::ScriptedDialogs dialogs;
        ui::NoWindowsHost host;
        session::SessionView view;
        session::Session s(line, clock, dialogs, host);
        s.port = simulator.path();
        if (!session::ConnectAndIdentify(s, view)) {
            std::fprintf(stderr, "link_bench: no transmitter on %s\n", s.port.c_str());
            return 1;
        }
        s.form.Load(s.state.identity);
        Measure("read, pseudo-terminal", clock, line, [&] { return session::ReadAndDescribe(s, view); });
        Measure("program + read-back, pty", clock, line, [&] {
            return session::ProgramAndReadBack(s, view, s.form.EncodeInput()).result.status == device::ProgramStatus::Done;
        });
        if (!dialogs.shown().empty()) std::printf("  (%zu message boxes shown)\n", dialogs.shown().size());
        simulator.Stop();
    }
    std::filesystem::remove_all(dir);
    return 0;
}
