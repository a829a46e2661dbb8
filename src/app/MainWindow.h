// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "files/Settings.h"
#include "device/exchange/VerifyWrites.h"
#include "measure/MeasureLoop.h"
#include "measure/MeasurementLog.h"
#include "session/Operations.h"
#include "session/Session.h"
#include "session/Startup.h"
#include "ui/model/ConfigReport.h"
#include "ui/model/Language.h"
#include "ui/model/ProgramFileCommands.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QToolBar;

namespace vantrel::widgets {
class LargeDisplayWindow;
class OperationBar;
class ProgramWindow;
}  // namespace vantrel::widgets

namespace vantrel::app {

class DoorsWindow;
class PortChoiceModel;
class PortWatcher;
class ConnectionTestWindow;
class LanguageWindow;
class OperationWindow;

// The main window: menus, toolbar and status bar around the programming window, and the
// windows the commands open. It owns the transmitter's session and is the form's host (points
// editor, trips form, operation window) and the flows' view (connection test, reading
// progress).
//
//   MainWindow window(services, startup, startState);
//   window.show();
//   window.LoadProgramWindow();      // connect, identify, read: the configuration on screen
//
// Menu items and toolbar keys carry the names the texts are applied by ("apri", "salva",
// "salvacome", "esci", "start", "stoppa", "caratteri", "porte", "lingua", "serial",
// "fullscreen", "taratura", "progmisura", "guida", "info", "registra"; keys "apri", "salva", "start",
// "stop", "txrx", "connect", "Wiz", "exit").
class MainWindow : public QMainWindow, private ui::FormHost, private session::SessionView {
    Q_OBJECT
public:
    // `startup` and `startState` are what start-up decided (settings, language, the new
    // configuration's name).
    MainWindow(AppServices services, const session::StartupResult& startup, const device::WorkingState& startState,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Loads the programming window: port, connection test, identification, defaults and,
    // with a transmitter, its configuration. Start-up, the "connect" key and a port change
    // run it.
    void LoadProgramWindow();
    // "connect": asks about unsaved edits, then loads.
    void Connect();
    // Opens a programming file as File > Open does, without the dialog (file manager start,
    // a recent file, a file dropped on the window).
    bool OpenFile(const std::string& path);

    // The system's port list changed (an adapter plugged in or out): the port list follows,
    // a current port that vanished is said at once.
    void PortsChanged();
    PortWatcher* portWatcher() const { return m_portWatcher; }
    QMenu* recentFilesMenu() const { return m_recentMenu; }
    // A size that fits a 1366x768 laptop screen (the panel and the title bar included).
    static QSize DefaultSize();

    // Commands, as the menus and the toolbar run them.
    void FileOpen();
    void FileSave();
    void FileSaveAs();
    void FilePrint();       // the configuration report on the printer
    void FileExportPdf();   // the configuration report as a PDF file
    void CompareWithTransmitter();
    void FileExit();
    void ActionStart();
    // The Stop key and menu item: ends a running measurement, stops any other operation.
    void ActionStop();
    // The Cancel button of the running operation (status bar, connection test and operation
    // windows): stops it at the next pause of the protocol. Once programming has begun to
    // write, asks first, since the transmitter would keep a partial configuration.
    void CancelOperation();
    void NotAvailable();
    void ShowPorts();
    void ShowLanguage();
    void ShowSerialNumber();
    void ShowFullScreen();
    // The programming window's Preview: the linearisation preview of the current form.
    void ShowPreview();
    void ToggleProgrammingMeasure();
    void ShowHelp();
    void ShowAbout();
    void StartGuide();
    // Action > Start logging / Stop logging and the measurement page's logging button: asks
    // for a CSV file (offered only while no exchange runs) and logs every shown reading of
    // the measurements that follow until Stop logging; stopping is always possible.
    void ToggleLogging();
    const measure::MeasurementLog* measurementLog() const { return m_log.get(); }
    // Options > History: the entries recorded so far; an entry's configuration can be loaded
    // into the form from there, then programmed as usual.
    void OpenHistory();
    // Options > History database: the connection (empty: the local SQLite file).
    void ChooseHistoryDatabase();
    // Pushes a past configuration into the form as Open does; false (with a message) when the
    // connected transmitter does not offer its choices.
    bool RestoreConfiguration(const device::ConfigRecord& record);
    history::HistoryRecorder* historyRecorder() const { return m_history.get(); }
    // The status bar's word on the transmitter just read: when it was last seen, and whether
    // its configuration changed since.
    QLabel* historyNote() const { return m_historyNote; }

    session::Session& session() { return *m_session; }
    ui::ProgramForm& form();
    widgets::ProgramWindow* programWindow() const { return m_program; }
    QAction* toolKey(const QString& key) const;
    QAction* menuItem(const QString& name) const;
    QMenu* menu(const QString& name) const;
    QLabel* statusLabel() const { return m_statusLabel; }
    // The running operation's progress: step, bar, time left and Cancel.
    widgets::OperationBar* operationBar() const { return m_operationBar; }
    QProgressBar* progressBar() const;
    widgets::LargeDisplayWindow* largeDisplay() const;
    // The splash shown over the window at start-up: windows the loading opens meanwhile
    // (the connection test) wait until it has closed.
    void SetSplash(QDialog* splash);
    const files::AppSettings& settings() const { return m_settings; }
    const std::string& currentPort() const;
    // True while an exchange with the transmitter runs (loading, measuring, programming).
    bool deviceBusy() const { return m_busy > 0; }
    // The help document of the current language and where it was looked for.
    std::optional<std::filesystem::path> HelpDocument() const;

    // Called (queued, once the window is on screen) for every window the commands open:
    // the language, ports, serial number, about, connection test, operation and enlarged
    // display windows, and the splash. Tests answer modal windows through it; the
    // screenshot tool photographs them.
    void SetWindowObserver(std::function<void(QWidget*)> observer) { m_windowObserver = std::move(observer); }

signals:
    void loadFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ui::FormHost
    ui::PointsEditorResult OpenPointsEditor(const ui::PointsEditorRequest& request) override;
    void OpenTripsForm(const ui::TripsFormRequest& request) override;
    void RunMeasurement() override;
    void RunProgramming(const ui::InputEncoding& encoding) override;
    void StopMeasurement() override;

    // session::SessionView
    void ConnectionSeriesStarted() override;
    void ConnectionAttempt(int attempt) override;
    void ConnectionSeriesEnded() override;

    class MeasureRelay;
    class BusyScope;

    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    QAction* AddAction(const QString& name, int textId, int iconId, const QKeySequence& shortcut,
                       void (MainWindow::*slot)());
    void ApplyTexts(const std::vector<ui::TextAssignment>& texts);
    void RefreshCommands();
    void RefreshCaption();
    void StartLogging();
    void StopLogging();
    void LogReading(const measure::Reading& reading);
    void RefreshLogging();
    void RunOperation(const std::function<void()>& work);
    void WaitForDispatch();
    void ObserveWindow(QWidget* window);
    void ShowMessage(int textId, const std::string& literal, link::Buttons buttons, link::Icon icon, int titleId = 0);
    bool ExitAllowed();
    ui::ConfigReport CurrentReport();
    bool ConfigurationReportable();
    void ShowVerification(const device::VerifyResult& verify);
    void AskToReadAgain();
    void AfterOperation();
    void NoteLastSeen();
    void StartRecorder();
    void EndApplication(bool writeSettings);
    void FollowProgress(const link::ProgressMeter& meter);
    void ShowProgrammingEnd(const session::ProgramOutcome& outcome);
    void ShowWhenSplashGone(QWidget* window);
    // Ends the operation in progress on the way out (Exit, closing the window); false when the
    // user chose to let programming finish.
    bool StopForExit();
    QString T(int id) const;
    // Before a load: without a port at all, the system's list is looked at again; still none
    // gives text 82 and a load without a transmitter.
    void FindPortBeforeLoad();
    void RefreshPortTable();
    void FileUsed();
    void RefreshRecentFiles();
    void OpenRecent(const QString& path);
    void RestoreWindowGeometry();

    AppServices m_services;
    files::AppSettings m_settings;
    std::unique_ptr<history::HistoryRecorder> m_history;  // outlives the session reporting to it
    std::unique_ptr<session::Session> m_session;
    std::unique_ptr<ui::ProgramFileCommands> m_fileCommands;
    widgets::ProgramWindow* m_program = nullptr;
    QScrollArea* m_scroll = nullptr;

    std::map<QString, QAction*> m_items;
    std::map<QString, QAction*> m_keys;
    std::map<QString, QMenu*> m_menus;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_statusLabel = nullptr;
    widgets::OperationBar* m_operationBar = nullptr;
    QLabel* m_historyNote = nullptr;

    QPointer<ConnectionTestWindow> m_connectionWindow;
    QPointer<OperationWindow> m_operationWindow;
    QPointer<LanguageWindow> m_languageWindow;
    QPointer<widgets::LargeDisplayWindow> m_largeDisplay;
    QPointer<QDialog> m_splash;
    // The last reading of the running measurement (none: nothing measured).
    std::optional<measure::Reading> m_lastReading;
    QPointer<DoorsWindow> m_doors;
    PortChoiceModel* m_doorsModel = nullptr;
    PortWatcher* m_portWatcher = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::function<void(QWidget*)> m_windowObserver;

    // The measurement log and the clock-anchored wall time shared by the log and the trend.
    std::unique_ptr<measure::MeasurementLog> m_log;
    measure::TimeSource m_timeSource;

    int m_busy = 0;
    bool m_cancelAsked = false;  // the question before stopping the writes is up
    bool m_stopRequested = false;
    bool m_measuring = false;
    enum class Pending { None, Exit, Close };
    Pending m_pending = Pending::None;
    bool m_ending = false;
};

}  // namespace vantrel::app
