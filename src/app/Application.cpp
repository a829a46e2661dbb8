// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include <QApplication>
#include <QDesktopServices>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTimer>
#include <QUrl>

#include <clocale>
#include <iostream>
#include <memory>
#include <optional>

#include "app/AppOptions.h"
#include "app/DisplayCheck.h"
#include "app/MainWindow.h"
#include "app/PortWatcher.h"
#include "app/Preferences.h"
#include "app/QtTranslations.h"
#include "app/RoutingTransport.h"
#include "app/StartupSequence.h"
#include "app/Windows.h"
#include "files/AppFolder.h"
#include "link/QtMessageFilter.h"
#include "link/QtSerialTransport.h"
#include "session/Startup.h"
#include "sim/DefaultProfile.h"
#include "sim/Profile.h"
#include "sim/SimTransport.h"
#include "sim/Transmitter.h"
#include "ui/widgets/QtDialogs.h"

namespace vantrel::app {

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}

std::vector<std::string> Arguments(const QStringList& list) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < list.size(); ++i) args.push_back(list[i].toStdString());
    return args;
}

// The simulated transmitter of --simulator: the given profile, or the one built in.
std::optional<sim::Profile> SimulatorProfile(const AppOptions& options) {
    if (!options.simulatorProfile) return sim::MakeDefaultProfile();
    sim::ProfileResult loaded = sim::LoadProfile(*options.simulatorProfile);
    if (!loaded.profile) {
        std::cerr << "vantrel: " << loaded.error << '\n';
        return std::nullopt;
    }
    return loaded.profile;
}

// The user's configuration folder for Vantrel ($XDG_CONFIG_HOME/vantrel, ~/.config/vantrel).
std::filesystem::path UserConfigFolder() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty()) return files::UserSettingsFolder();
    return std::filesystem::path(config.toStdString()) / "vantrel";
}

// The history connection chosen in Options is kept beside the user's settings (the settings
// file itself keeps its six bytes).
QString HistorySettingsFile() {
    return QString::fromStdString((files::UserSettingsFolder() / "vantrel.conf").string());
}
constexpr const char* kHistoryKey = "history/connection";

// --history, else the choice kept from Options, else the local SQLite file; --no-history:
// none. Empty with a message when the connection named is not one.
bool ChooseHistory(const AppOptions& options, AppServices& services) {
    services.saveHistoryConnection = [](const std::string& chosen) {
        QSettings settings(HistorySettingsFile(), QSettings::IniFormat);
        settings.setValue(kHistoryKey, QString::fromStdString(chosen));
    };
    if (options.noHistory) return true;
    const QSettings kept(HistorySettingsFile(), QSettings::IniFormat);
    const std::string text = options.history.value_or(kept.value(kHistoryKey).toString().toStdString());
    std::string problem;
    const std::optional<history::Connection> connection = history::ParseConnection(text, problem);
    if (!connection) {
        std::cerr << "vantrel: history " << text << ": " << problem << '\n';
        // A bad choice kept from an earlier run falls back to the local file; a bad option is an error.
        if (options.history) return false;
        services.history = history::RecorderSettings{history::DefaultConnection(), {}, {}};
        return true;
    }
    services.history = history::RecorderSettings{*connection, {}, {}};
    services.historyConnection = text;
    return true;
}


}  // namespace

void SetUpLook(QApplication& application) {
    // No display name: the platform would add it to every title ("Vantrel — Vantrel", a
    // message box's " — Vantrel"); the windows name themselves.
    QApplication::setApplicationName("Vantrel");
    QApplication::setOrganizationName("Vantrel");
    // One look on every desktop: the form was laid out for it.
    if (QStyle* style = QStyleFactory::create("Fusion")) application.setStyle(style);
}

bool NamesQtPlatform(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (arg == "-platform" || arg == "--platform" || arg.rfind("-platform=", 0) == 0) return true;
    return false;
}

int RunApplication(int argc, char** argv) {
    const std::vector<std::string> raw = Arguments(argc, argv);
    for (const std::string& arg : raw) {
        if (arg == "-h" || arg == "--help") {
            std::cout << UsageText();
            return 0;
        }
        if (arg == "--version") {
            std::cout << VersionText();
            return 0;
        }
    }
    link::InstallQtMessageFilter();
    // Qt ends the process when it finds no display; say so plainly instead.
    if (!DisplayAvailable() && !NamesQtPlatform(raw)) {
        std::cerr << NoDisplayMessage();
        return 1;
    }

    QApplication application(argc, argv);
    // Qt hands the C library the user's locale; files and logs keep "." in their numbers (the
    // code does not rely on this alone).
    std::setlocale(LC_NUMERIC, "C");
    SetUpLook(application);
    const ParsedOptions parsed = ParseAppOptions(Arguments(QCoreApplication::arguments()));
    if (!parsed.ok()) {
        std::cerr << "vantrel: " << parsed.error << "; try 'vantrel --help'\n";
        return 2;
    }
    const AppOptions& options = parsed.options;

    std::optional<sim::Profile> profile;
    if (options.simulator) {
        profile = SimulatorProfile(options);
        if (!profile) return 2;
    }

    // A build tree keeps its settings beside the program; an installed program in the user's
    // configuration folder (never in PREFIX/bin, which every user would read).
    const files::ProgramPlaces program = files::ThisProgram();
    const std::filesystem::path appFolder = files::ResolveAppFolder(options.appDir, program);
    const files::SettingsPlaces places = files::SettingsPlacesFor(appFolder, UserConfigFolder());
    Preferences preferences(files::PreferencesFile(places));
    // File dialogs start in the last folder used, else the application folder of a build
    // tree, else the user's documents; new configurations are named after that folder's files.
    const std::filesystem::path documents =
        appFolder.empty() ? std::filesystem::path(DocumentsFolder().toStdString()) : appFolder;
    const std::filesystem::path dialogFolder =
        preferences.startFolder(QString::fromStdString(documents.string())).toStdString();
    device::WorkingState startState;
    const session::StartupResult startup = session::StartUp(places, startState, dialogFolder);
    QtTranslations qtTranslations;
    qtTranslations.Apply(startState.LanguageIndex());

    link::RealClock clock;
    link::QtSerialTransport serial;
    std::unique_ptr<sim::Transmitter> transmitter;
    std::unique_ptr<sim::SimTransport> simulatorLine;
    if (profile) {
        transmitter = std::make_unique<sim::Transmitter>(profile->identity, profile->memory);
        transmitter->setInput(profile->input);
        transmitter->faults() = profile->faults;
        simulatorLine = std::make_unique<sim::SimTransport>(*transmitter, clock);
    }
    RoutingTransport line(serial, simulatorLine.get(), kSimulatorPortName);
    widgets::QtDialogs dialogs;
    widgets::QtFileDialogs fileDialogs;
    ui::DiskProgramFileStore fileStore;

    AppServices services;
    services.places = places;
    if (!ChooseHistory(options, services)) return 2;
    services.preferences = &preferences;
    services.documentsFolder = documents;
    services.setQtLanguage = [&qtTranslations](int languageIndex) { qtTranslations.Apply(languageIndex); };
    services.listPorts = SystemPorts;
    const std::vector<std::string> systemPorts = link::ListSystemPorts();
    if (options.port) {
        services.initialPort = link::ResolvePortName(*options.port, systemPorts);
        if (services.initialPort.empty()) {
            std::cerr << "vantrel: there is no serial port number " << *options.port << " on this machine ("
                      << systemPorts.size() << " listed)\n";
            return 2;
        }
    }
    // The ports the system lists, none of them opened: the one remembered by its path, else
    // the saved number, else the first. A port named on the command line was taken above;
    // otherwise the simulator. Without any port the window loads without a transmitter
    // (text 82) and "connect" looks for ports again.
    services.ports = ListedPortTable(SystemPorts(), preferences.portPath().toStdString(), startup.settings.SavedPort);
    if (!options.port) {
        if (profile) {
            services.initialPort = kSimulatorPortName;
        } else if (const link::PortEntry* current = services.ports.find(services.ports.currentPort)) {
            services.initialPort = current->name;
        }
    }

    services.transport = &line;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.fileDialogs = &fileDialogs;
    services.fileStore = &fileStore;
    services.installEventPump = [&clock](link::EventPump pump) { clock.setEventPump(std::move(pump)); };
    if (profile) services.simulatorPort = kSimulatorPortName;
    services.helpFolders = files::HelpFolders(program);
    services.openDocument = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    services.beep = [] { QApplication::beep(); };

    MainWindow window(services, startup, startState);
    dialogs.SetParent(&window);
    fileDialogs = widgets::QtFileDialogs(&window);
    fileDialogs.SetFolderMemory(
        [&preferences, documents] { return preferences.startFolder(QString::fromStdString(documents.string())); },
        [&preferences](const QString& folder) { preferences.setLastFolder(folder); });
    StartMainWindow(window, startState.LanguageOffset(), services.timings.splashMs, [&window, &options] {
        if (options.fileToOpen) window.OpenFile(*options.fileToOpen);
    });
    const int code = application.exec();
    clock.setEventPump({});
    return code;
}

}  // namespace vantrel::app
