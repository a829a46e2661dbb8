// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QScreen>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <iostream>

#include "app/EventPump.h"
#include "app/PortChoice.h"
#include "app/PortWatcher.h"
#include "app/Preferences.h"
#include "app/Windows.h"
#include "device/exchange/ConfigurationReader.h"
#include "history/Store.h"
#include "link/Frames.h"
#include "resources/StringTable.h"
#include "resources/icons/ResourceIcons.h"
#include "session/Flows.h"
#include "session/Operations.h"
#include "session/Records.h"
#include "session/Reports.h"
#include "ui/widgets/CompareDialog.h"
#include "ui/widgets/LargeDisplayWindow.h"
#include "ui/widgets/OperationBar.h"
#include "session/Preview.h"
#include "ui/model/SerialNumberWindow.h"
#include "ui/widgets/PointsEditorDialog.h"
#include "ui/widgets/PreviewDialog.h"
#include "ui/widgets/ProgramWindow.h"
#include "ui/widgets/SerialNumberDialog.h"
#include "ui/widgets/TripsDialog.h"

namespace vantrel::app {

namespace {

namespace res = vantrel::resources;

constexpr int kNotAvailableTextId = 0;  // a fixed text, the same in both languages
constexpr const char* kNotAvailableText = "In questa versione non è disponibile";
// How long a word about a port plugged in or out stays in the status bar.
constexpr int kPortNewsMs = 15000;
constexpr const char* kHelpItalian = "MT_ITA_VANTREL30300.pdf";
constexpr const char* kHelpEnglish = "MT_ENG_VANTREL30300.pdf";
// The operation window's status indicator while the work runs.
constexpr ui::Rgb kLightGreen{128, 255, 128};

}  // namespace

// Counts the exchanges in progress; while one runs the commands that would start another
// one (or open a modal window that would hold the exchange up) are disabled. A close or exit
// asked for meanwhile is carried out when the last exchange ends.
// The outermost scope is the operation: a fresh stop request, the progress indicator, and
// the stop button offered; when it ends, a word in the status bar if it was cancelled.
class MainWindow::BusyScope {
public:
    explicit BusyScope(MainWindow& window) : m_window(window) {
        if (m_window.m_busy++ == 0) {
            m_window.m_session->cancel.Reset();
            m_window.m_operationBar->End();
            m_window.m_statusLabel->clear();
            m_window.m_program->SetOperationRunning(true);
        }
        m_window.RefreshCommands();
    }
    ~BusyScope() {
        if (--m_window.m_busy == 0) {
            m_window.m_operationBar->End();
            m_window.m_program->SetOperationRunning(false);
            if (m_window.m_session->cancel.cancelled())
                m_window.m_statusLabel->setText(m_window.T(res::text::kOperationCancelled));
        }
        m_window.RefreshCommands();
        if (m_window.m_busy == 0 && m_window.m_pending != Pending::None) {
            const Pending pending = std::exchange(m_window.m_pending, Pending::None);
            QPointer<MainWindow> window(&m_window);
            QTimer::singleShot(0, &m_window, [window, pending] {
                if (!window) return;
                if (pending == Pending::Exit)
                    window->FileExit();
                else
                    window->close();
            });
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    MainWindow& m_window;
};

// Passes every reading to the programming window and the enlarged display; the first value
// shown hides the operation window and the progress indicator, so the stop button can be reached.
class MainWindow::MeasureRelay final : public measure::MeasureObserver {
public:
    explicit MeasureRelay(MainWindow& window) : m_window(window) {}

    void Started(const measure::Scale& scale) override { m_window.m_program->Started(scale); }

    void Show(const measure::Reading& reading) override {
        if (!reading.valueText.empty() && m_window.m_operationWindow && m_window.m_operationWindow->isVisible())
            m_window.m_operationWindow->hide();
        // The start has ended with the first value: the stream runs until Stop, with no
        // progress of its own to show.
        if (!m_window.m_operationBar->isHidden()) m_window.m_operationBar->End();
        m_window.m_lastReading = reading;
        m_window.LogReading(reading);
        m_window.m_program->Show(reading);
        if (m_window.m_largeDisplay && m_window.m_largeDisplay->isVisible()) m_window.m_largeDisplay->Show(reading);
    }

    void Stopped() override { m_window.m_program->Stopped(); }

private:
    MainWindow& m_window;
};

// ---- Construction ----------------------------------------------------------------------

MainWindow::MainWindow(AppServices services, const session::StartupResult& startup,
                       const device::WorkingState& startState, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)), m_settings(startup.settings) {
    setObjectName("MainWindow");
    m_session = std::make_unique<session::Session>(*m_services.transport, *m_services.clock, *m_services.dialogs,
                                                   static_cast<ui::FormHost&>(*this));
    m_session->state = startState;
    m_session->testAtStart = m_settings.TestAtStart != 0;
    m_session->modeIndex = m_settings.ModeIndex;
    m_session->port = m_services.initialPort;
    m_session->SyncProtocol();
    StartRecorder();
    // No folder: the file dialogs start in the last folder used (or the documents folder).
    m_fileCommands = std::make_unique<ui::ProgramFileCommands>(m_session->form, *m_services.fileDialogs,
                                                               *m_services.fileStore);
    // While an operation runs its Cancel and Stop buttons must answer at once, also while a
    // reply is awaited: the commands that would start a second exchange are disabled then.
    if (m_services.installEventPump)
        m_services.installEventPump([this](bool acceptInput) { PumpEvents(acceptInput || deviceBusy()); });

    setWindowIcon(res::ResourceIcon(res::kIconApplication));
    m_program = new widgets::ProgramWindow(m_session->form, *m_services.dialogs);
    m_timeSource = measure::ClockAnchoredTimeSource(*m_services.clock);
    m_program->SetTimeSource(m_timeSource);
    m_program->SetPicture(res::ResourcePixmap(res::kPictureProgramming, QSize(72, 72), devicePixelRatioF()));
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName("ProgramArea");
    m_scroll->setWidget(m_program);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_scroll);

    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    connect(m_program, &widgets::ProgramWindow::formChanged, this, &MainWindow::RefreshCommands);
    connect(m_program, &widgets::ProgramWindow::displayClicked, this, &MainWindow::ShowFullScreen);
    connect(m_program, &widgets::ProgramWindow::loggingClicked, this, &MainWindow::ToggleLogging);
    connect(m_program, &widgets::ProgramWindow::previewRequested, this, &MainWindow::ShowPreview);
    connect(m_program, &widgets::ProgramWindow::staleChanged, this, [this](bool stale) {
        if (m_largeDisplay) m_largeDisplay->SetStale(stale);
    });
    m_session->progress.SetListener([this](const link::ProgressMeter& meter) { FollowProgress(meter); });

    if (m_services.listPorts) {
        m_portWatcher = new PortWatcher(m_services.listPorts, m_services.timings.portPollMs, this);
        connect(m_portWatcher, &PortWatcher::changed, this, &MainWindow::PortsChanged);
    }
    setAcceptDrops(true);

    ApplyTexts(ui::ApplyLanguage(m_session->form));
    RefreshCaption();
    RefreshCommands();
    RestoreWindowGeometry();
}

QSize MainWindow::DefaultSize() { return {1280, 680}; }

// The geometry of the last run; else the default size, never more than the screen offers.
void MainWindow::RestoreWindowGeometry() {
    if (m_services.preferences && !m_services.preferences->geometry().isEmpty() &&
        restoreGeometry(m_services.preferences->geometry()))
        return;
    QSize size = DefaultSize();
    if (const QScreen* s = screen()) size = size.boundedTo(s->availableGeometry().size());
    resize(size);
}

MainWindow::~MainWindow() {
    // The programming window works on the session's form: it goes before the session does
    // (child widgets would otherwise outlive the members).
    delete takeCentralWidget();
    m_program = nullptr;
}

ui::ProgramForm& MainWindow::form() { return m_session->form; }

const std::string& MainWindow::currentPort() const { return m_session->port; }

widgets::LargeDisplayWindow* MainWindow::largeDisplay() const { return m_largeDisplay.data(); }

QProgressBar* MainWindow::progressBar() const { return m_operationBar->bar(); }

QString MainWindow::T(int id) const { return Tr(id, m_session->state.LanguageOffset()); }

QAction* MainWindow::AddAction(const QString& name, int textId, int iconId, const QKeySequence& shortcut,
                               void (MainWindow::*slot)()) {
    auto* action = new QAction(this);
    action->setObjectName("mnu_" + name);
    if (textId != 0) action->setText(T(textId));
    if (iconId != 0) action->setIcon(res::ResourceIcon(iconId));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, slot);
    m_items[name] = action;
    return action;
}

void MainWindow::BuildActions() {
    AddAction("apri", 59, res::kIconOpen, QKeySequence::Open, &MainWindow::FileOpen);
    AddAction("salva", 60, res::kIconSave, QKeySequence::Save, &MainWindow::FileSave);
    AddAction("salvacome", 61, 0, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &MainWindow::FileSaveAs);
    AddAction("stampa", 62, 0, QKeySequence::Print, &MainWindow::FilePrint);
    AddAction("esportapdf", res::text::kExportPdfMenu, 0, {}, &MainWindow::FileExportPdf);
    AddAction("confronta", res::text::kCompareMenu, 0, {}, &MainWindow::CompareWithTransmitter);
    AddAction("esci", 63, res::kIconExit, QKeySequence(Qt::CTRL | Qt::Key_Q), &MainWindow::FileExit);
    AddAction("start", 65, res::kIconStart, QKeySequence(Qt::Key_F5), &MainWindow::ActionStart);
    AddAction("stoppa", 66, res::kIconStop, QKeySequence(Qt::Key_F6), &MainWindow::ActionStop);
    AddAction("registra", res::text::kStartLogging, 0, QKeySequence(Qt::CTRL | Qt::Key_L), &MainWindow::ToggleLogging);
    AddAction("caratteri", 71, 0, {}, &MainWindow::NotAvailable);
    AddAction("porte", 72, 0, {}, &MainWindow::ShowPorts);
    AddAction("lingua", 73, 0, {}, &MainWindow::ShowLanguage);
    AddAction("serial", res::text::kSerialNumberMenu, 0, {}, &MainWindow::ShowSerialNumber);
    AddAction("storico", res::text::kHistoryMenu, 0, QKeySequence(Qt::CTRL | Qt::Key_H), &MainWindow::OpenHistory);
    AddAction("archivio", res::text::kHistoryDatabaseMenu, 0, {}, &MainWindow::ChooseHistoryDatabase);
    AddAction("fullscreen", 77, res::kIconFullScreen, QKeySequence(Qt::Key_F11), &MainWindow::ShowFullScreen);
    AddAction("taratura", 74, 0, {}, &MainWindow::NotAvailable);
    AddAction("progmisura", 143, 0, QKeySequence(Qt::CTRL | Qt::Key_M), &MainWindow::ToggleProgrammingMeasure);
    AddAction("guida", 81, 0, QKeySequence::HelpContents, &MainWindow::ShowHelp);
    AddAction("info", 80, 0, {}, &MainWindow::ShowAbout);
}

void MainWindow::BuildMenus() {
    const auto add = [this](const QString& name, int textId, std::initializer_list<const char*> items) {
        QMenu* m = menuBar()->addMenu(T(textId));
        m->setObjectName(name);
        for (const char* item : items) {
            if (std::string_view(item) == "-")
                m->addSeparator();
            else
                m->addAction(m_items.at(item));
        }
        m_menus[name] = m;
    };
    add("f", 58, {"apri", "salva", "salvacome", "-", "stampa", "esportapdf", "-", "esci"});
    m_recentMenu = new QMenu(T(res::text::kRecentFiles), this);
    m_recentMenu->setObjectName("recenti");
    menu("f")->insertMenu(m_items.at("salva"), m_recentMenu);
    RefreshRecentFiles();
    add("azioni", 64, {"start", "stoppa", "-", "registra", "-", "confronta"});
    add("opzioni", 67, {"caratteri", "porte", "lingua", "-", "serial", "-", "storico", "archivio"});
    add("visual", 76, {"fullscreen"});
    add("finestre", 78, {"taratura", "progmisura"});
    add("help", 79, {"guida", "-", "info"});
}

void MainWindow::BuildToolBar() {
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName("Toolbar1");
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const auto key = [this](const QString& name, int iconId, void (MainWindow::*slot)()) {
        auto* action = m_toolBar->addAction(res::ResourceIcon(iconId), QString());
        action->setObjectName("key_" + name);
        connect(action, &QAction::triggered, this, slot);
        m_keys[name] = action;
    };
    key("apri", res::kIconOpen, &MainWindow::FileOpen);
    key("salva", res::kIconSave, &MainWindow::FileSave);
    m_toolBar->addSeparator();
    key("start", res::kIconStart, &MainWindow::ActionStart);
    key("stop", res::kIconStop, &MainWindow::ActionStop);
    key("txrx", res::kIconFullScreen, &MainWindow::ShowFullScreen);
    m_toolBar->addSeparator();
    key("connect", res::kIconConnect, &MainWindow::Connect);
    key("Wiz", res::kIconWizard, &MainWindow::StartGuide);
    m_toolBar->addSeparator();
    key("exit", res::kIconExit, &MainWindow::FileExit);
}

// The status text and the history note on the left; the running operation's progress on
// the right, in its own places (a permanent widget: a hint shown in the bar never hides it).
void MainWindow::BuildStatusBar() {
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName("StatusLabel");
    statusBar()->addWidget(m_statusLabel, 1);
    m_historyNote = new QLabel(this);
    m_historyNote->setObjectName("HistoryNote");
    statusBar()->addWidget(m_historyNote);
    m_operationBar = new widgets::OperationBar(this);
    m_operationBar->SetBusyPicture(
        res::ResourcePixmap(res::kPictureTransferReceive, QSize(30, 20), devicePixelRatioF()));
    m_operationBar->SetLanguage(m_session->state.LanguageOffset());
    connect(m_operationBar, &widgets::OperationBar::cancelClicked, this, &MainWindow::CancelOperation);
    statusBar()->addPermanentWidget(m_operationBar);
}

// ---- Texts and command states ----------------------------------------------------------

void MainWindow::ApplyTexts(const std::vector<ui::TextAssignment>& texts) {
    for (const ui::TextAssignment& a : texts) {
        const QString target = QString::fromStdString(a.target);
        const QString text = QString::fromStdString(a.text);
        const QStringList parts = target.split('.');
        if (parts.size() == 3 && parts[0] == "Toolbar") {
            if (QAction* key = toolKey(parts[1])) {
                key->setToolTip(text);
                key->setStatusTip(text);
                key->setText(text);
            }
        } else if (parts.size() == 2 && parts[0] == "Menu") {
            if (QMenu* m = menu(parts[1]))
                m->setTitle("&" + text);  // a mnemonic on the first letter: Alt opens the menus
            else if (QAction* item = menuItem(parts[1]))
                item->setText(text);
        } else if (target == "Language.Caption" && m_languageWindow) {
            m_languageWindow->SetCaption(text);
        } else if (target == "Language.Exit" && m_languageWindow) {
            m_languageWindow->SetExitText(text);
        }
    }
    // Texts of this program's own that the language table does not list.
    if (QAction* serial = menuItem("serial")) serial->setText(T(res::text::kSerialNumberMenu));
    if (QAction* print = menuItem("stampa")) print->setText(T(resources::text::kPrint) + QStringLiteral("..."));
    if (QAction* pdf = menuItem("esportapdf")) pdf->setText(T(res::text::kExportPdfMenu));
    if (QAction* compare = menuItem("confronta")) compare->setText(T(res::text::kCompareMenu));
    if (QAction* history = menuItem("storico")) history->setText(T(res::text::kHistoryMenu));
    if (QAction* database = menuItem("archivio")) database->setText(T(res::text::kHistoryDatabaseMenu));
    RefreshRecentFiles();
    RefreshLogging();
    if (m_largeDisplay) m_largeDisplay->SetLanguage(m_session->state.LanguageOffset());
    if (m_operationBar) m_operationBar->SetLanguage(m_session->state.LanguageOffset());
    if (m_statusLabel) m_statusLabel->clear();
}

void MainWindow::RefreshCaption() {
    const std::string& caption = form().commands().caption;
    setWindowTitle(caption.empty() ? T(resources::text::kProductName) : QString::fromStdString(caption));
}

// The form model decides what its operations switch on and off; on top of that nothing that
// starts a second exchange, or a modal window that would hold a running one up, is offered
// while an exchange runs.
void MainWindow::RefreshCommands() {
    const ui::MainCommands& m = form().commands();
    const bool idle = !deviceBusy();
    for (auto& [name, menuPtr] : m_menus) menuPtr->menuAction()->setEnabled(m.menusEnabled);

    const auto item = [this](const char* name, bool enabled, bool visible = true) {
        QAction* action = m_items.at(name);
        action->setEnabled(enabled);
        action->setVisible(visible);
    };
    item("apri", idle);
    if (m_recentMenu) m_recentMenu->setEnabled(idle && !m_recentMenu->actions().isEmpty());
    item("salva", idle);
    item("salvacome", idle);
    item("esci", true);
    item("stampa", idle);
    item("esportapdf", idle);
    item("confronta", idle && m_session->connected());
    item("start", m.start.enabled && m.start.visible && idle);
    // Stop is offered only while something runs: it ends a measurement, cancels the rest.
    item("stoppa", m.stop.enabled && !idle);
    item("caratteri", idle);
    item("porte", idle);
    item("lingua", m.language.enabled && idle);
    item("serial", idle, m_session->serialMenuVisible);
    item("storico", idle && m_history != nullptr);
    item("archivio", idle);
    item("fullscreen", m.fullscreen.enabled && m_lastReading.has_value());
    item("taratura", idle);
    item("progmisura", true);
    item("guida", true);
    item("info", idle);
    item("registra", m_log != nullptr || idle);
    m_program->logButton()->setEnabled(m_log != nullptr || idle);

    const bool bar = m.toolbarEnabled;
    const auto key = [this](const char* name, bool enabled, bool visible = true) {
        QAction* action = m_keys.at(name);
        action->setEnabled(enabled);
        action->setVisible(visible);
    };
    key("apri", bar && idle);
    key("salva", bar && idle);
    key("start", bar && m.toolStart.enabled && idle, m.toolStart.visible);
    key("stop", bar && m.toolStop.enabled && !idle, m.toolStop.visible);
    // Nothing measured, nothing to enlarge.
    key("txrx", bar && m.toolDisplay.enabled && m_lastReading.has_value(), m.toolDisplay.visible);
    key("connect", bar && m.toolConnect.enabled && idle, m.toolConnect.visible);
    key("Wiz", bar && m.toolGuide.enabled && idle, m.toolGuide.visible);
    key("exit", bar);
    RefreshCaption();
}

QAction* MainWindow::toolKey(const QString& key) const {
    const auto it = m_keys.find(key);
    return it == m_keys.end() ? nullptr : it->second;
}

QAction* MainWindow::menuItem(const QString& name) const {
    const auto it = m_items.find(name);
    return it == m_items.end() ? nullptr : it->second;
}

QMenu* MainWindow::menu(const QString& name) const {
    const auto it = m_menus.find(name);
    return it == m_menus.end() ? nullptr : it->second;
}

void MainWindow::ObserveWindow(QWidget* window) {
    if (!m_windowObserver) return;
    QPointer<QWidget> guarded(window);
    QTimer::singleShot(0, this, [this, guarded] {
        if (guarded && guarded->isVisible() && m_windowObserver) m_windowObserver(guarded);
    });
}

void MainWindow::ShowMessage(int textId, const std::string& literal, link::Buttons buttons, link::Icon icon,
                             int titleId) {
    link::Message message = link::TableMessage(textId, m_session->state.LanguageOffset(), buttons, icon, titleId);
    message.text = textId != 0 ? message.text + literal : literal;
    m_services.dialogs->Show(message);
}

// ---- Loading ---------------------------------------------------------------------------

void MainWindow::LoadProgramWindow() {
    if (deviceBusy()) return;
    FindPortBeforeLoad();
    BusyScope busy(*this);
    // A new load starts from a closed line, so a replugged adapter is opened afresh.
    if (m_session->transport.isOpen()) m_session->transport.close();
    m_program->setEnabled(false);
    session::LoadProgramWindow(*m_session, *this);
    m_program->setEnabled(true);
    RefreshCaption();
    AfterOperation();
    emit loadFinished();
}

void MainWindow::Connect() {
    if (deviceBusy() || !m_fileCommands->MayReplaceConfiguration()) return;
    LoadProgramWindow();
}

bool MainWindow::OpenFile(const std::string& path) {
    if (deviceBusy()) return false;
    const bool opened = m_fileCommands->OpenPath(path);
    if (opened) FileUsed();
    RefreshCommands();
    return opened;
}

// ---- Ports plugged in and out ------------------------------------------------------------

void MainWindow::RefreshPortTable() {
    if (!m_portWatcher) return;
    const std::string& current = m_session->port;
    const std::string remembered = !current.empty() && current != m_services.simulatorPort
                                       ? current
                                       : (m_services.preferences ? m_services.preferences->portPath().toStdString()
                                                                 : std::string());
    m_services.ports = ListedPortTable(m_portWatcher->ports(), remembered, m_settings.SavedPort);
}

namespace {

bool Listed(const link::PortTable& table, const std::string& name) {
    for (const link::PortEntry& entry : table.entries)
        if (entry.exists && entry.name == name) return true;
    return false;
}

}  // namespace

void MainWindow::PortsChanged() {
    const std::string current = m_session->port;
    const bool wasListed = Listed(m_services.ports, current);
    RefreshPortTable();
    if (!current.empty() && current != m_services.simulatorPort && wasListed && !Listed(m_services.ports, current)) {
        // The adapter of the current port was pulled: said at once, in the status bar, and in
        // a message unless an exchange runs (it reports the lost line itself).
        statusBar()->showMessage(T(res::text::kPortVanished) + " " + QString::fromStdString(current), kPortNewsMs);
        if (!deviceBusy())
            ShowMessage(res::text::kPortVanished, "\n" + current, link::Buttons::Ok, link::Icon::Exclamation);
    } else if (current.empty()) {
        if (const link::PortEntry* entry = m_services.ports.find(m_services.ports.currentPort)) {
            // The first port of a machine that had none: "connect" will use it.
            m_session->port = entry->name;
            statusBar()->showMessage(T(res::text::kPortAppeared) + " " + QString::fromStdString(entry->name),
                                     kPortNewsMs);
        }
    }
    if (m_doors && m_doorsModel) {
        m_doorsModel->SetChoices(BuildPortChoices(
            m_services.ports, m_services.simulatorPort,
            res::Text(res::text::kSimulatorPort, m_session->state.LanguageOffset())));
        m_doors->Refill();
    }
}

void MainWindow::FindPortBeforeLoad() {
    if (!m_session->port.empty()) return;
    if (m_portWatcher) {
        m_portWatcher->Poll();
        RefreshPortTable();
        if (m_session->port.empty())
            if (const link::PortEntry* entry = m_services.ports.find(m_services.ports.currentPort))
                m_session->port = entry->name;
    }
    if (!m_session->port.empty()) {
        statusBar()->clearMessage();
        return;
    }
    // No port at all: said as ever (text 82), and the window stays, without a transmitter.
    ShowMessage(resources::text::kNoPort, {}, link::Buttons::Ok, link::Icon::None);
    statusBar()->showMessage(T(res::text::kNoPortWorkOffline));
}

// ---- Recent files, dropped files, the window's geometry ------------------------------------

void MainWindow::FileUsed() {
    Preferences* preferences = m_services.preferences;
    if (!preferences) return;
    const QFileInfo file(QString::fromStdString(m_session->state.CurrentFile));
    preferences->addRecentFile(file.absoluteFilePath());
    preferences->setLastFolder(file.absolutePath());
    RefreshRecentFiles();
}

void MainWindow::RefreshRecentFiles() {
    if (!m_recentMenu) return;
    m_recentMenu->setTitle(T(res::text::kRecentFiles));
    m_recentMenu->clear();
    const QStringList files = m_services.preferences ? m_services.preferences->recentFiles() : QStringList();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& path = files[i];
        // "&1 name.D70" opens with Alt+1; the whole path in the tooltip and the status bar.
        QAction* action = m_recentMenu->addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        action->setStatusTip(path);
        connect(action, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    if (!files.isEmpty()) {
        m_recentMenu->addSeparator();
        QAction* clear = m_recentMenu->addAction(T(res::text::kClearRecentFiles));
        clear->setObjectName("clearRecent");
        connect(clear, &QAction::triggered, this, [this] {
            Preferences* preferences = m_services.preferences;
            for (const QString& path : preferences->recentFiles()) preferences->removeRecentFile(path);
            RefreshRecentFiles();
        });
    }
    m_recentMenu->setEnabled(!files.isEmpty() && !deviceBusy());
}

void MainWindow::OpenRecent(const QString& path) {
    if (deviceBusy()) return;
    if (!QFileInfo(path).isFile()) {
        ShowMessage(res::text::kFileGone, "\n" + path.toStdString(), link::Buttons::Ok, link::Icon::Exclamation);
        m_services.preferences->removeRecentFile(path);
        RefreshRecentFiles();
        return;
    }
    OpenFile(path.toStdString());
}

namespace {

// The programming file of a drag: one local file ending in .D70 (any case).
QString DroppedProgrammingFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".d70"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!deviceBusy() && !DroppedProgrammingFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedProgrammingFile(event->mimeData());
    if (path.isEmpty() || deviceBusy()) return;
    event->acceptProposedAction();
    // Opened once the drop has ended: the file manager is not kept waiting on a message box.
    QTimer::singleShot(0, this, [this, path] { OpenFile(path.toStdString()); });
}

void MainWindow::ConnectionSeriesStarted() {
    // Each series has a window of its own: the previous one goes.
    if (m_connectionWindow) {
        m_connectionWindow->hide();
        m_connectionWindow->deleteLater();
    }
    m_connectionWindow = new ConnectionTestWindow(m_session->state.LanguageOffset(), this);
    m_connectionWindow->setWindowModality(Qt::ApplicationModal);
    connect(m_connectionWindow, &ConnectionTestWindow::cancelClicked, this, &MainWindow::CancelOperation);
    ShowWhenSplashGone(m_connectionWindow);
}

void MainWindow::SetSplash(QDialog* splash) { m_splash = splash; }

// Start-up loads while the splash is up: a window the loading opens meanwhile comes when the
// splash has gone, so the splash stays on top for its time.
void MainWindow::ShowWhenSplashGone(QWidget* window) {
    if (!m_splash || !m_splash->isVisible()) {
        window->show();
        ObserveWindow(window);
        return;
    }
    QPointer<QWidget> guarded(window);
    connect(m_splash, &QDialog::finished, window, [this, guarded] {
        if (!guarded) return;
        guarded->show();
        ObserveWindow(guarded);
    });
}

void MainWindow::ConnectionAttempt(int attempt) {
    if (m_connectionWindow) m_connectionWindow->SetAttempt(attempt);
}

void MainWindow::ConnectionSeriesEnded() {
    if (!m_connectionWindow) return;
    m_connectionWindow->hide();
    m_connectionWindow->deleteLater();
    m_connectionWindow = nullptr;
}

void MainWindow::FollowProgress(const link::ProgressMeter& meter) {
    if (deviceBusy()) m_operationBar->Follow(meter);
}

void MainWindow::CancelOperation() {
    if (!deviceBusy() || m_cancelAsked || m_session->cancel.cancelled()) return;
    if (m_session->cancel.writesStarted()) {
        // Once the writes have begun a stop leaves a partial configuration: ask first. The
        // writes wait meanwhile (the question holds the pause they are in).
        m_cancelAsked = true;
        const link::Message question = link::TableMessage(res::text::kStopWritingQuestion, m_session->state.LanguageOffset(),
                                                          link::Buttons::YesNo, link::Icon::Question);
        const bool stop = m_services.dialogs->Show(question) == link::Answer::Yes;
        m_cancelAsked = false;
        if (!stop) return;
    }
    m_session->cancel.Cancel();
    m_operationBar->cancelButton()->setEnabled(false);
}

// ---- The form's windows ----------------------------------------------------------------

ui::PointsEditorResult MainWindow::OpenPointsEditor(const ui::PointsEditorRequest& request) {
    return widgets::PointsEditorDialog::Run(m_session->state, request, *m_services.dialogs, this);
}

void MainWindow::OpenTripsForm(const ui::TripsFormRequest& request) {
    widgets::TripsDialog::Run(m_session->state, request, *m_services.dialogs, this);
}

// The operation window's dispatch timer: the work starts once the window is on screen.
void MainWindow::WaitForDispatch() {
    QEventLoop loop;
    QTimer::singleShot(m_services.timings.dispatchMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::RunOperation(const std::function<void()>& work) {
    BusyScope busy(*this);
    auto* window = new OperationWindow(m_session->state.LanguageOffset(), m_services.timings.operationAnimationMs, this);
    m_operationWindow = window;
    connect(window, &OperationWindow::cancelClicked, this, &MainWindow::CancelOperation);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    ObserveWindow(window);
    WaitForDispatch();
    form().SetStateLamp(kLightGreen);
    work();
    // Whatever the outcome, the operation window goes: a window left open after a failed
    // run would keep the whole program blocked behind it.
    window->Finish();
    window->deleteLater();
    m_operationWindow = nullptr;
}

void MainWindow::RunMeasurement() {
    if (deviceBusy()) return;
    m_stopRequested = false;
    m_measuring = true;
    m_lastReading.reset();
    RunOperation([this] {
        MeasureRelay relay(*this);
        const measure::MeasureResult result =
            session::Measure(*m_session, relay, [this] { return m_stopRequested; });
        // Stopped, or cancelled before the stream: the start is offered again as before.
        if (result == measure::MeasureResult::Stopped || result == measure::MeasureResult::Cancelled) {
            form().OfferAction();
        }
        if (result != measure::MeasureResult::Stopped) m_program->Stopped();
    });
    m_measuring = false;
    m_lastReading.reset();
    if (m_largeDisplay) m_largeDisplay->Clear();
    form().Changed();
}

void MainWindow::RunProgramming(const ui::InputEncoding& encoding) {
    if (deviceBusy()) return;
    session::ProgramOutcome outcome;
    RunOperation([this, &encoding, &outcome] {
        const session::ProgramOptions options{form().verifyBox().checked};
        outcome = session::ProgramAndReadBack(*m_session, *this, encoding, options);
    });
    form().Changed();
    ShowProgrammingEnd(outcome);
    AfterOperation();
    if (outcome.NotConfirmed()) AskToReadAgain();
}

// Programming always ends with a word: done, the verification's result, not done (nothing
// written), or (below, through AskToReadAgain) written but not confirmed. A refusal or a
// differing read-back has said so in its own box already.
void MainWindow::ShowProgrammingEnd(const session::ProgramOutcome& outcome) {
    if (outcome.verify) ShowVerification(*outcome.verify);
    if (outcome.NotConfirmed()) return;
    switch (outcome.result.status) {
        case device::ProgramStatus::Done:
            if (!outcome.verify && outcome.Confirmed())
                ShowMessage(res::text::kProgrammingDone, {}, link::Buttons::Ok, link::Icon::Information);
            break;
        case device::ProgramStatus::NotWritten:
        case device::ProgramStatus::NoisyRangeRefused:
        case device::ProgramStatus::Interrupted:
            ShowMessage(res::text::kProgrammingNotDone, {}, link::Buttons::Ok, link::Icon::Exclamation);
            break;
        case device::ProgramStatus::Refused:
        case device::ProgramStatus::InvalidConfiguration: break;
    }
}

// Writes went out but nothing confirmed them: the transmitter may hold any mix of the old
// and the new configuration, so the user is offered a fresh read (the whole loading, which
// opens the port afresh) rather than being left with a summary that means nothing.
void MainWindow::AskToReadAgain() {
    const int offset = m_session->state.LanguageOffset();
    link::Message message = link::TableMessage(res::text::kNotConfirmed, offset, link::Buttons::YesNo,
                                               link::Icon::Question, resources::text::kCommunicationErrorTitle);
    message.text += "\n" + res::Text(res::text::kReadAgainQuestion, offset);
    if (m_services.dialogs->Show(message) == link::Answer::Yes) Connect();
}

void MainWindow::StopMeasurement() {
    m_stopRequested = true;
    // Before the first value the stream has not started: stopping is cancelling the start.
    if (m_measuring && !m_lastReading) CancelOperation();
}

void MainWindow::ShowPreview() {
    if (deviceBusy()) return;
    session::PreviewOutcome outcome;
    {
        BusyScope busy(*this);
        m_program->setEnabled(false);
        outcome = session::PreviewProgramming(*m_session, form().EncodeInput());
        m_program->setEnabled(true);
    }
    if (outcome.cancelled) return;
    widgets::PreviewDialog dialog(outcome.preview, m_session->state.LanguageOffset(), this);
    ObserveWindow(&dialog);
    dialog.exec();
}

// ---- Commands --------------------------------------------------------------------------

void MainWindow::FileOpen() {
    if (deviceBusy()) return;
    if (m_fileCommands->Open()) FileUsed();
    RefreshCommands();
}

void MainWindow::FileSave() {
    if (deviceBusy()) return;
    if (m_fileCommands->Save()) FileUsed();
    RefreshCommands();
}

void MainWindow::FileSaveAs() {
    if (deviceBusy()) return;
    if (m_fileCommands->SaveAs()) FileUsed();
    RefreshCommands();
}

// The transmitter is read into a scratch session, so the form keeps what the user has on it;
// the file side is the configuration on the form, as Save would write it.
void MainWindow::CompareWithTransmitter() {
    if (deviceBusy()) return;
    if (!m_session->connected()) {
        ShowMessage(res::text::kNoTransmitter, {}, link::Buttons::Ok, link::Icon::Exclamation);
        return;
    }
    std::optional<ui::Comparison> comparison;
    {
        BusyScope busy(*this);
        const device::ConfigRecord file = session::FormRecord(*m_session);
        comparison = session::CompareWithDevice(*m_session, file);
    }
    form().Changed();
    AfterOperation();
    if (!comparison) return;
    widgets::CompareDialog dialog(*comparison, m_session->state.LanguageOffset(), this);
    ObserveWindow(&dialog);
    dialog.exec();
}

// File > Exit and the "exit" key: ask about unsaved changes; the settings are not written
// (only closing the window through its frame writes them).
void MainWindow::FileExit() {
    if (deviceBusy()) {
        if (StopForExit()) m_pending = Pending::Exit;
        return;
    }
    if (!ExitAllowed()) return;
    EndApplication(false);
    close();
}

bool MainWindow::ExitAllowed() { return m_fileCommands->AskSaveChanges() != ui::ProgramFileCommands::kCancelled; }

void MainWindow::EndApplication(bool writeSettings) {
    if (writeSettings) {
        // At the very end there is no window left to tell; the error stream says why.
        const files::WriteResult written = files::WriteSettings(m_services.places, m_settings);
        if (!written.ok())
            std::cerr << "vantrel: " << files::kSettingsFileName << ": "
                      << files::FileErrorText(written.problem, m_session->state.LanguageOffset()) << '\n';
    }
    if (m_services.preferences) {
        m_services.preferences->setGeometry(saveGeometry());
        m_services.preferences->sync();
    }
    m_ending = true;
    if (m_largeDisplay) m_largeDisplay->close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    if (deviceBusy()) {
        // Closing in the middle of an exchange: stop it, close when it has ended.
        event->ignore();
        if (StopForExit()) m_pending = Pending::Close;
        return;
    }
    if (!ExitAllowed()) {
        event->ignore();
        return;
    }
    EndApplication(true);
    event->accept();
}

void MainWindow::ActionStart() {
    if (deviceBusy()) return;
    ui::ProgramForm& f = form();
    if (!f.actionButton().enabled || !f.actionButton().visible) return;
    f.PressAction();
    RefreshCommands();
}

bool MainWindow::StopForExit() {
    m_stopRequested = true;
    CancelOperation();
    return m_session->cancel.cancelled() || m_measuring;
}

void MainWindow::ActionStop() {
    if (!deviceBusy()) return;
    if (m_measuring)
        form().PressStop();
    else
        CancelOperation();
}

// Characters and Calibration are not part of this version.
void MainWindow::NotAvailable() {
    if (m_services.beep) m_services.beep();
    ShowMessage(kNotAvailableTextId, kNotAvailableText, link::Buttons::Ok, link::Icon::None);
}

void MainWindow::ShowPorts() {
    if (deviceBusy()) return;
    if (m_portWatcher) m_portWatcher->Poll();
    PortChoiceModel model(BuildPortChoices(m_services.ports, m_services.simulatorPort,
                                           res::Text(res::text::kSimulatorPort, m_session->state.LanguageOffset())),
                          m_session->port);
    DoorsWindow window(model, m_session->state.LanguageOffset(), this);
    m_doors = &window;
    m_doorsModel = &model;
    ObserveWindow(&window);
    const int answer = window.exec();
    m_doors = nullptr;
    m_doorsModel = nullptr;
    if (answer != QDialog::Accepted) return;
    const std::optional<std::string> port = model.Accept();
    if (!port || !m_fileCommands->MayReplaceConfiguration()) return;
    const std::string previous = m_session->port;
    const bool wasOpen = m_session->transport.isOpen();
    m_session->transport.close();
    m_session->port = *port;
    // Remembered by its path (the by-id link of a USB adapter), not by its place in the list.
    if (m_services.preferences && *port != m_services.simulatorPort)
        m_services.preferences->setPortPath(QString::fromStdString(
            RememberedPath(m_portWatcher ? m_portWatcher->ports() : std::vector<ListedPort>{}, *port)));
    LoadProgramWindow();
    // A cancelled change of port goes back to the port the form belongs to.
    if (m_session->cancel.cancelled() && *port != previous) {
        m_session->transport.close();
        m_session->port = previous;
        if (wasOpen) m_session->transport.open(previous, session::WorkSettings());
    }
}

void MainWindow::ShowLanguage() {
    if (deviceBusy() || !form().commands().language.enabled) return;
    LanguageWindow window(m_session->state.LanguageOffset(), m_services.timings.languageAnimationMs, this);
    m_languageWindow = &window;
    connect(&window, &LanguageWindow::languageChosen, this, [this](int languageIndex) {
        if (m_services.setQtLanguage) m_services.setQtLanguage(languageIndex);
        ApplyTexts(ui::ChooseLanguage(form(), languageIndex));
        m_settings.LanguageChoice = static_cast<std::int16_t>(languageIndex);
        m_session->SyncProtocol();
        RefreshCommands();
    });
    ObserveWindow(&window);
    window.exec();
    m_languageWindow = nullptr;
}

void MainWindow::ShowSerialNumber() {
    if (deviceBusy()) return;
    ui::SerialNumberWindow model(m_session->serial);
    const auto readSerial = [this] {
        BusyScope busy(*this);
        return session::ReadSerial(*m_session).has_value();
    };
    widgets::SerialNumberDialog dialog(model, *m_services.dialogs, readSerial, m_session->state.LanguageOffset(), this);
    ObserveWindow(&dialog);
    dialog.exec();
    RefreshCommands();
    AfterOperation();
}

// The enlarged display of the running measurement, filling the screen; with nothing measured
// there is nothing to show, and no empty panel opens.
void MainWindow::ShowFullScreen() {
    if (!m_lastReading) return;
    if (!m_largeDisplay) m_largeDisplay = new widgets::LargeDisplayWindow(m_session->state.LanguageOffset(), this);
    m_largeDisplay->Show(*m_lastReading);
    m_largeDisplay->SetStale(m_program->valueStale());
    m_largeDisplay->Open(true);
    ObserveWindow(m_largeDisplay);
}

// Windows > Programming/Measure: the input options and the measurement display swap places.
void MainWindow::ToggleProgrammingMeasure() {
    // While a measurement runs the configuration stays out of reach.
    if (m_measuring) return;
    form().ToggleOptionsPage();
}

std::optional<std::filesystem::path> MainWindow::HelpDocument() const {
    const char* name = m_session->state.LanguageIndex() == 0 ? kHelpItalian : kHelpEnglish;
    for (const std::filesystem::path& folder : m_services.helpFolders) {
        std::error_code error;
        const std::filesystem::path candidate = folder / name;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return std::nullopt;
}

void MainWindow::ShowHelp() {
    const char* name = m_session->state.LanguageIndex() == 0 ? kHelpItalian : kHelpEnglish;
    const std::optional<std::filesystem::path> document = HelpDocument();
    if (!document) {
        std::string where = "\n\n" + res::Text(res::text::kHelpLookedIn, m_session->state.LanguageOffset());
        for (const std::filesystem::path& folder : m_services.helpFolders) where += "\n" + folder.string();
        ShowMessage(res::text::kHelpNotFound, std::string("\n") + name + where, link::Buttons::Ok,
                    link::Icon::Exclamation);
        return;
    }
    const QString path = QString::fromStdString(document->string());
    if (!m_services.openDocument || !m_services.openDocument(path))
        ShowMessage(res::text::kHelpNotOpened, "\n" + document->string(), link::Buttons::Ok,
                    link::Icon::Exclamation);
}

void MainWindow::ShowAbout() {
    AboutWindow window(m_session->state.LanguageOffset(), this);
    ObserveWindow(&window);
    window.exec();
}

void MainWindow::StartGuide() {
    if (deviceBusy() || !form().commands().toolGuide.enabled) return;
    form().guide().Start();
    RefreshCommands();
}

}  // namespace vantrel::app
