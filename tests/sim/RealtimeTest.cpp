// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Through a real pseudo-terminal: the vantrel-sim program on one side, the QSerialPort
// transport and the protocol engine on the real clock on the other.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "link/Frames.h"
#include "link/Protocol.h"
#include "link/QtSerialTransport.h"
#include "link/ScriptedDialogs.h"
#include "resources/StringTable.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"
#include "sim/Transmitter.h"

namespace vantrel::sim {
namespace {

namespace frames = link::frames;
namespace fs = std::filesystem;

// A running vantrel-sim; stopped with SIGTERM by stop() or, failing that, killed.
class SimProcess {
public:
    explicit SimProcess(const std::string& profile, const std::string& dump) {
        int out[2];
        if (pipe(out) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl(VANTREL_SIM_PATH, VANTREL_SIM_PATH, "--profile", profile.c_str(), "--dump", dump.c_str(), nullptr);
            _exit(127);
        }
        close(out[1]);
        m_out = fdopen(out[0], "r");
        char line[256] = {};
        if (m_out && fgets(line, sizeof line, m_out)) {
            m_path = line;
            while (!m_path.empty() && (m_path.back() == '\n' || m_path.back() == '\r')) m_path.pop_back();
        }
    }
    ~SimProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out) fclose(m_out);
    }
    const std::string& path() const { return m_path; }
    // The exit status after SIGTERM.
    int stop() {
        int status = -1;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    FILE* m_out = nullptr;
    std::string m_path;
};

struct Realtime : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("vantrel_rt_" + std::to_string(getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    std::string WriteProfile(const std::string& faults = "") {
        std::string json = ProfileJson(MakeDefaultProfile());
        if (!faults.empty()) json.insert(json.rfind('}'), ", \"faults\": " + faults + "\n");
        const std::string path = (dir / "profile.json").string();
        std::ofstream(path) << json;
        return path;
    }
};

TEST_F(Realtime, IdentifyReadProgramMeasureThenDump) {
    const std::string dump = (dir / "dump.json").string();
    SimProcess sim(WriteProfile(), dump);
    ASSERT_FALSE(sim.path().empty());

    link::QtSerialTransport port;
    ASSERT_TRUE(port.open(sim.path(), {}).ok());
    link::RealClock clock;
    link::ScriptedDialogs dialogs;
    link::Protocol protocol(port, clock, dialogs);

    const link::ByteResult version = protocol.ReadVersion();
    ASSERT_FALSE(version.cancelled());
    EXPECT_EQ(version[1], 4);
    EXPECT_EQ(version[2], 10);
    const link::ByteResult cells = protocol.ReadBlock(10, 2);
    ASSERT_FALSE(cells.cancelled());
    EXPECT_EQ(cells[1], 1);  // type K
    EXPECT_EQ(cells[2], 1);  // internal compensation

    protocol.Send(frames::kProgrammingMode);
    protocol.Wait(0.1);
    protocol.Send(frames::WriteFrame(217, 13));  // a data byte equal to CR
    protocol.Wait(0.04);
    protocol.Send(frames::kEndProgramming);
    protocol.Wait(0.1);

    protocol.Send(frames::kStartStream);
    protocol.Wait(0.1);
    const link::ByteResult frame = protocol.ReadMeasurementFrame();
    ASSERT_FALSE(frame.cancelled());
    Transmitter reference(DeviceIdentity{}, MakeDefaultProfile().memory);
    const double code = device::Float24DecodeWord(frame[2] * 256u + frame[3], frame[4]);
    EXPECT_NEAR(code, *reference.OutputCode(), 0.1);  // 25 °C
    protocol.Send(frames::kStopStream);
    EXPECT_TRUE(dialogs.shown().empty());
    port.close();

    EXPECT_EQ(sim.stop(), 0);
    const ProfileResult dumped = LoadProfile(dump);
    ASSERT_TRUE(dumped.profile) << dumped.error;
    EXPECT_EQ(dumped.profile->memory.read(217), 13);
}

TEST_F(Realtime, MissingPortAndMalformedProfileAreReported) {
    link::QtSerialTransport port;
    const link::OpenResult missing = port.open((dir / "no-such-port").string(), {});
    EXPECT_EQ(missing.error, link::OpenError::NoSuchPort) << missing.detail;
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("SM\r"));
    EXPECT_EQ(port.readAll(), "");

    const std::string bad = (dir / "bad.json").string();
    std::ofstream(bad) << "{\"family\": 4, \"model\": 10, \"memory\": \"00\"}";
    SimProcess sim(bad, (dir / "dump.json").string());
    EXPECT_TRUE(sim.path().empty());  // nothing served
}

TEST_F(Realtime, CablePulledMidRead_ThePortIsSeenGoneAtOnce) {
    // SM, PR and the first "$R" arrive; then the line is gone.
    SimProcess sim(WriteProfile(R"({"closeLineAfterCommands": 3})"), (dir / "dump.json").string());
    ASSERT_FALSE(sim.path().empty());
    link::QtSerialTransport port;
    ASSERT_TRUE(port.open(sim.path(), {}).ok());
    link::RealClock clock;
    link::ScriptedDialogs dialogs;
    link::Protocol protocol(port, clock, dialogs);
    link::QtSerialTransport second;
    const link::OpenResult busy = second.open(sim.path(), {});
    EXPECT_EQ(busy.error, link::OpenError::PortInUse) << busy.detail;
    const double start = clock.now();
    const link::ByteResult r = protocol.ReadBlock(0, 3);
    EXPECT_TRUE(r.cancelled());
    EXPECT_EQ(dialogs.countShown(resources::text::kPortDisappeared), 1);
    EXPECT_EQ(dialogs.countShown(85), 0);
    EXPECT_LT(clock.now() - start, link::timing::kReplyTimeout);  // no time-out waited out
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
}  // namespace vantrel::sim
