// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <iostream>

#include "app/MainWindow.h"
#include "app/PortWatcher.h"
#include "app/SimulatedEnvironment.h"
#include "app/Windows.h"
#include "ui/widgets/HistoryWindow.h"
#include "ui/widgets/LargeDisplayWindow.h"
#include "ui/widgets/ProgramWindow.h"

namespace vantrel::app {

namespace {

class Camera {
public:
    explicit Camera(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    void Take(QWidget* widget, const char* name) {
        QApplication::processEvents();
        const QPixmap picture = widget->grab();
        const std::filesystem::path file = m_folder / (std::string(name) + ".png");
        if (picture.isNull() || !picture.save(QString::fromStdString(file.string()))) {
            std::cerr << "vantrel: could not save " << file.string() << '\n';
            m_failed = true;
            return;
        }
        std::cout << file.string() << '\n';
    }
    bool failed() const { return m_failed; }

private:
    std::filesystem::path m_folder;
    bool m_failed = false;
};

// Lets a freshly shown window settle (layout, first paint) before it is photographed.
ListedPort ExamplePort(const std::string& name, const std::string& byId, const std::string& description) {
    ListedPort port;
    port.info.name = name;
    port.info.description = description;
    port.byIdPath = byId;
    return port;
}

// Fusion's colours as dark desktop themes give them.
QPalette DarkPalette() {
    QPalette p;
    const QColor window(0x35, 0x35, 0x35);
    const QColor text(0xf0, 0xf0, 0xf0);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    p.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Link, QColor(0x6e, 0xa8, 0xff));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return p;
}

void Settle(QWidget* window) {
    window->adjustSize();
    QApplication::processEvents();
}

}  // namespace

bool SaveMainWindowScreenshots(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::cerr << "vantrel: cannot create " << folder.string() << ": " << error.message() << '\n';
        return false;
    }
    QTemporaryDir appFolder;
    if (!appFolder.isValid()) {
        std::cerr << "vantrel: cannot create a temporary application folder\n";
        return false;
    }
    Camera camera(folder);

    {
        SplashWindow splash(300, 60000, {});
        splash.show();
        Settle(&splash);
        camera.Take(&splash, "splash");
    }

    SimulatedSetup setup;
    setup.appFolder = appFolder.path().toStdString();
    setup.fallbackAnswer = link::Answer::No;
    setup.historyFile = setup.appFolder / "history.sqlite";
    SimulatedEnvironment environment(setup);
    std::unique_ptr<MainWindow> window = environment.MakeMainWindow();
    window->resize(1280, 800);

    // Every window a command opens is photographed once, then closed as a user would.
    std::string next;
    std::function<void(QWidget*)> onWindow;
    window->SetWindowObserver([&](QWidget* shown) {
        // A copy runs, so a handler may replace or clear itself.
        if (const std::function<void(QWidget*)> handler = onWindow) handler(shown);
    });

    onWindow = [&](QWidget* shown) {
        if (shown->objectName() == "TentConn") {
            auto* test = static_cast<ConnectionTestWindow*>(shown);
            test->SetAttempt(2);
            Settle(test);
            camera.Take(test, "connection-test");
            onWindow = nullptr;
        }
    };
    window->show();
    window->LoadProgramWindow();
    camera.Take(window.get(), "main-english");
    // The programming mode shows the input and output sides, where most texts are.
    const auto photographProgramming = [&](const char* name) {
        window->form().ChooseMode(ui::Mode::Programming);
        camera.Take(window.get(), name);
        window->form().ChooseMode(ui::Mode::Measure);
    };
    photographProgramming("main-programming-english");

    const auto photographDialog = [&](const char* name, const std::function<void(QWidget*)>& before = {}) {
        onWindow = [&camera, name, before, &onWindow](QWidget* shown) {
            onWindow = nullptr;
            if (before) before(shown);
            Settle(shown);
            camera.Take(shown, name);
            if (auto* dialog = qobject_cast<QDialog*>(shown)) dialog->reject();
        };
    };

    photographDialog("language");
    window->ShowLanguage();

    // Switch to Italian through the Language window, photograph the main window, and back.
    const auto chooseLanguage = [&](const char* buttonName) {
        onWindow = [&onWindow, buttonName](QWidget* shown) {
            onWindow = nullptr;
            if (auto* button = shown->findChild<QToolButton*>(buttonName)) button->click();
            static_cast<QDialog*>(shown)->accept();
        };
        window->ShowLanguage();
    };
    chooseLanguage("LanguageItalian");
    camera.Take(window.get(), "main-italian");
    photographProgramming("main-programming-italian");
    chooseLanguage("LanguageEnglish");

    // The port window with ports as a Linux machine lists them: a built-in port and a USB
    // adapter with its stable name.
    const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KX3ZQ-if00-port0";
    environment.systemPorts() = {ExamplePort("/dev/ttyS0", {}, "ttyS0"),
                                 ExamplePort("/dev/ttyUSB0", byId, "FT232R USB UART (FTDI)")};
    window->portWatcher()->Poll();
    photographDialog("ports", [](QWidget* shown) {
        // The USB adapter shown as the choice, with its description and stable name.
        if (auto* list = shown->findChild<QComboBox*>("doorsList")) list->setCurrentIndex(1);
    });
    window->ShowPorts();
    photographDialog("serial-number");
    window->ShowSerialNumber();
    photographDialog("about");
    window->ShowAbout();

    // A measurement: the operation window while it starts, then the main window and the
    // enlarged display once values arrive; a few readings later it is stopped.
    int readings = 0;
    onWindow = [&](QWidget* shown) {
        if (shown->objectName() == "Video") {
            Settle(shown);
            camera.Take(shown, "operation");
        } else if (auto* display = qobject_cast<widgets::LargeDisplayWindow*>(shown)) {
            // As a window: a full screen picture would be as large as the screen.
            display->Open(false);
            display->resize(900, 420);
            QApplication::processEvents();
            camera.Take(display, "enlarged-display");
        }
    };
    QObject::connect(window->programWindow(), &widgets::ProgramWindow::formChanged, window.get(), [&] {
        if (window->form().display().empty() || readings < 0) return;
        if (++readings == 12) {
            camera.Take(window.get(), "main-measuring");
            window->ShowFullScreen();
            QApplication::processEvents();
        }
        if (readings >= 14) {
            readings = -1;
            window->ActionStop();
        }
    });
    window->ActionStart();
    onWindow = nullptr;
    if (window->largeDisplay()) window->largeDisplay()->close();

    // The live trend while logging: the input sweeps across the trip levels for a minute and
    // a half of simulated time, photographed in English and in Italian.
    environment.fileDialogs().names.push_back(setup.appFolder.string() + "/trend.csv");
    window->ToggleLogging();
    const auto photographTrend = [&](const char* name) {
        int shown = 0;
        environment.transmitter().setInput({sim::Quantity::Temperature, 430, 23});
        const QMetaObject::Connection sweep =
            QObject::connect(window->programWindow(), &widgets::ProgramWindow::formChanged, window.get(), [&] {
                if (window->form().display().empty() || shown < 0) return;
                const double t = ++shown * 0.1;
                const double celsius = 430 + 400 * std::sin(t / 12) + 12 * std::sin(t * 1.3);
                environment.transmitter().setInput({sim::Quantity::Temperature, celsius, 23});
                if (shown == 900) {
                    camera.Take(window.get(), name);
                    shown = -1;
                    window->ActionStop();
                }
            });
        window->ActionStart();
        QObject::disconnect(sweep);
    };
    photographTrend("trend-english");
    chooseLanguage("LanguageItalian");
    photographTrend("trend-italian");
    chooseLanguage("LanguageEnglish");
    window->ToggleLogging();

    // Guided mode in programming mode (in measure mode the walk goes straight to the action
    // button), two steps in: the input family.
    window->form().ChooseMode(ui::Mode::Programming);
    window->StartGuide();
    window->form().guide().Next();
    window->form().Changed();
    camera.Take(window.get(), "guided-mode");
    window->form().guide().Cancel();
    window->form().Changed();

    // The compare view: the form's range and filter changed against what the transmitter
    // holds, in both languages.
    window->form().ChooseMode(ui::Mode::Programming);
    window->form().TypeInputMax("800");
    window->form().LeaveInputRange();
    window->form().ClickFilter(!window->form().filter().checked);
    window->form().Changed();
    photographDialog("compare-en");
    window->CompareWithTransmitter();
    chooseLanguage("LanguageItalian");
    photographDialog("compare-it");
    window->CompareWithTransmitter();
    chooseLanguage("LanguageEnglish");

    // The history of this run, its newest entry chosen.
    photographDialog("history", [](QWidget* shown) {
        if (auto* history = qobject_cast<widgets::HistoryWindow*>(shown); history && !history->entries().empty())
            history->Select({history->entries().front().id});
    });
    window->OpenHistory();

    window->form().state().ConfigChanged = false;
    window->FileExit();
    window.reset();

    // A laptop without any serial port: text 82 answered, the form usable without a transmitter.
    {
        SimulatedSetup noPort = setup;
        noPort.simulatorAsPort = false;
        SimulatedEnvironment offline(noPort);
        std::unique_ptr<MainWindow> main = offline.MakeMainWindow();
        main->show();
        main->LoadProgramWindow();
        main->form().ChooseMode(ui::Mode::Programming);
        camera.Take(main.get(), "no-port");
        main->form().state().ConfigChanged = false;
    }

    // A dark desktop theme.
    {
        const QPalette before = QApplication::palette();
        QApplication::setPalette(DarkPalette());
        SimulatedEnvironment dark(setup);
        std::unique_ptr<MainWindow> main = dark.MakeMainWindow();
        main->resize(1280, 800);
        main->show();
        main->LoadProgramWindow();
        camera.Take(main.get(), "dark-measure");
        main->form().ChooseMode(ui::Mode::Programming);
        camera.Take(main.get(), "dark-programming");
        main->form().state().ConfigChanged = false;
        main.reset();
        QApplication::setPalette(before);
    }
    return !camera.failed();
}

}  // namespace vantrel::app
