// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program as a technician meets it: the real main window, offscreen, on the
// built-in simulated transmitter in real time (as `vantrel --simulator` runs it), through
// start-up, a read (the "connect" key), a programming and a minute of measurement. For each
// phase it prints the wall time, the protocol's own pauses (the waits the exchanges ask for:
// the least time the line allows), their ratio, and the longest gap between two turns of the
// event loop (a 1 ms timer that cannot fire while the window is busy). Start-up is measured
// from the launch of the process to the summary on screen; the measurement from "start" to
// the first value. Figures only; nothing is asserted.
//
//   window_bench [SECONDS_OF_MEASUREMENT]      (60 by default)
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/AppOptions.h"
#include "app/MainWindow.h"
#include "app/RoutingTransport.h"
#include "app/Windows.h"
#include "link/Clock.h"
#include "link/ScriptedDialogs.h"
#include "link/ScriptedTransport.h"
#include "sim/DefaultProfile.h"
#include "sim/SimTransport.h"
#include "sim/Transmitter.h"
#include "ui/widgets/ProgramWindow.h"

#if __has_include("app/StartupSequence.h")
#include "app/StartupSequence.h"
#define VANTREL_BENCH_STARTUP_SEQUENCE 1
#endif

namespace {

using namespace vantrel;

// Seconds since the process was started (the kernel's start time of this process), so the
// start-up figure includes loading the program and its libraries.
double SecondsSinceLaunch() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    std::istringstream fields(close == std::string::npos ? std::string() : text.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22) startTicks = std::strtoull(field.c_str(), nullptr, 10);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return startTicks > 0 && ticks > 0 ? uptime - static_cast<double>(startTicks) / ticks : 0;
}

// The real clock, adding up the pauses the protocol asks for.
class PauseCountingClock final : public link::Clock {
public:
    double now() override { return m_real.now(); }
    void wait(double seconds) override {
        m_pauses += seconds;
        m_real.wait(seconds);
    }
    void replyPause() override { m_real.replyPause(); }
#ifdef VANTREL_BENCH_STARTUP_SEQUENCE
    void waitUnlessCancelled(double seconds, const link::CancelToken& token) override {
        m_pauses += seconds;
        m_real.waitUnlessCancelled(seconds, token);
    }
#endif
    double pauses() const { return m_pauses; }
    link::RealClock& real() { return m_real; }

private:
    link::RealClock m_real;
    double m_pauses = 0;
};

// The longest time between two firings of a 1 ms timer: how long the event loop was held.
class LoopWatch {
public:
    LoopWatch() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_last >= 0) m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void Restart() {
        m_longest = 0;
        m_last = -1;
    }
    double longestMs() const { return static_cast<double>(m_longest) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = -1;
    qint64 m_longest = 0;
};

class NoFileDialogs final : public ui::FileDialogs {
public:
    std::string OpenFileName(const ui::FileDialogRequest&) override { return {}; }
    std::string SaveFileName(const ui::FileDialogRequest&) override { return {}; }
};

struct Phase {
    const char* name;
    double seconds = 0;
    double pauses = 0;
    double longestGapMs = 0;
};

void Print(const Phase& p) {
    if (p.pauses > 0)
        std::printf("  %-26s %8.2f s  pauses %7.2f s  ratio %6.3f  longest loop gap %6.1f ms\n", p.name, p.seconds,
                    p.pauses, p.seconds / p.pauses, p.longestGapMs);
    else
        std::printf("  %-26s %8.2f s  %36s longest loop gap %6.1f ms\n", p.name, p.seconds, "", p.longestGapMs);
}

}  // namespace

int main(int argc, char** argv) {
    const double launchedAgo = SecondsSinceLaunch();
    QElapsedTimer sinceMain;
    sinceMain.start();
    const double measureSeconds = argc > 1 ? std::atof(argv[1]) : 60;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const auto sinceLaunch = [&] { return launchedAgo + static_cast<double>(sinceMain.nsecsElapsed()) / 1e9; };

    QTemporaryDir folder;
    const sim::Profile profile = sim::MakeDefaultProfile();
    sim::Transmitter transmitter(profile.identity, profile.memory);
    transmitter.setInput(profile.input);
    PauseCountingClock clock;
    sim::SimTransport simulatorLine(transmitter, clock);
    link::ScriptedTransport serial;
    app::RoutingTransport line(serial, &simulatorLine, app::kSimulatorPortName);
    link::ScriptedDialogs dialogs(link::Answer::Yes);
    NoFileDialogs fileDialogs;
    ui::DiskProgramFileStore store;

    app::AppServices services;
    services.transport = &line;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.fileDialogs = &fileDialogs;
    services.fileStore = &store;
    services.installEventPump = [&clock](link::EventPump pump) { clock.real().setEventPump(std::move(pump)); };
    services.places = {folder.path().toStdString(), {}};
    services.initialPort = app::kSimulatorPortName;
    services.simulatorPort = app::kSimulatorPortName;

    device::WorkingState startState;
    const session::StartupResult startup = session::StartUp(services.places, startState);
    LoopWatch watch;
    std::vector<Phase> phases;
    double summaryAt = 0;
    double startupPauses = 0;
    double firstValueRatio = 0;
    bool described = false;

    app::MainWindow window(services, startup, startState);
    window.resize(1280, 800);
    auto* summary = window.programWindow()->findChild<QPlainTextEdit*>("summary");
    QObject::connect(summary, &QPlainTextEdit::textChanged, [&] {
        if (described || !summary->toPlainText().contains("Thermocouple")) return;
        described = true;
        summaryAt = sinceLaunch();
        startupPauses = clock.pauses();
    });

    // A phase: the work, its time, its pauses and the loop's longest gap meanwhile.
    const auto run = [&](const char* name, const std::function<void()>& work) {
        QApplication::processEvents();
        watch.Restart();
        const double pausesBefore = clock.pauses();
        QElapsedTimer wall;
        wall.start();
        work();
        phases.push_back({name, static_cast<double>(wall.nsecsElapsed()) / 1e9, clock.pauses() - pausesBefore,
                          watch.longestMs()});
    };
    const auto click = [&](const char* name) {
        if (auto* button = window.programWindow()->findChild<QAbstractButton*>(name)) button->click();
    };

    const auto afterStartup = [&] {
        phases.push_back({"start-up (window loading)", 0, 0, watch.longestMs()});
        run("read (connect key)", [&] { window.toolKey("connect")->trigger(); });
        run("programming", [&] {
            click("programmingOption");
            click("actionButton");
        });
        click("measureOption");
        QApplication::processEvents();
        double firstValueAt = 0;
        double pausesAtStart = 0;
        QElapsedTimer sinceStart;
        const QMetaObject::Connection first =
            QObject::connect(window.programWindow(), &widgets::ProgramWindow::formChanged, [&] {
                if (firstValueAt > 0 || window.form().display().empty()) return;
                firstValueAt = static_cast<double>(sinceStart.nsecsElapsed()) / 1e9;
                firstValueRatio = firstValueAt / (clock.pauses() - pausesAtStart);
                QTimer::singleShot(static_cast<int>(measureSeconds * 1000), [&] { click("stopButton"); });
            });
        run("measurement", [&] {
            pausesAtStart = clock.pauses();
            sinceStart.start();
            click("actionButton");
        });
        QObject::disconnect(first);
        phases.back().pauses = 0;
        std::printf("vantrel main window on the simulator in real time (offscreen)\n");
        if (summaryAt > 0)
            std::printf("  launch to summary          %8.2f s  pauses %7.2f s  ratio %6.3f\n", summaryAt, startupPauses,
                        summaryAt / startupPauses);
        for (const Phase& p : phases) Print(p);
        if (firstValueRatio > 0)
            std::printf("  start to first value       %8.2f s  ratio to its pauses %6.3f\n", firstValueAt,
                        firstValueRatio);
        window.form().state().ConfigChanged = false;
        QApplication::quit();
    };

    watch.Restart();  // from the first turn of the loop: the window is built by then
#ifdef VANTREL_BENCH_STARTUP_SEQUENCE
    app::StartMainWindow(window, startState.LanguageOffset(), services.timings.splashMs, afterStartup);
#else
    {
        app::SplashWindow splash(startState.LanguageOffset(), services.timings.splashMs, {});
        splash.exec();
    }
    window.show();
    QTimer::singleShot(0, &window, [&] {
        window.LoadProgramWindow();
        afterStartup();
    });
#endif
    const int code = application.exec();
    clock.real().setEventPump({});
    return code;
}
