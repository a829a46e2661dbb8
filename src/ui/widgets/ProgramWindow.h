// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <array>
#include <vector>
#include <optional>

#include "link/Dialogs.h"
#include "measure/MeasureLoop.h"
#include "measure/MeasurementLog.h"
#include "ui/model/ProgramForm.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;

namespace vantrel::widgets {

class Lamp;
class MeasurementPanel;
class RangeControlWidget;
class TrendChart;

// The programming window (`Program`) bound to ui::ProgramForm: input side, output side,
// mode and action, the measurement display, the summary and the model box, and the guide
// panel with its blinking markers. Every user event calls the form's handler; the window
// redraws itself from the form whenever the form reports a change.
//
// The window takes the form's change listener (ProgramForm::SetChangeListener) for its
// lifetime: connect to formChanged() to follow the form (menus and toolbar in form.commands()).
// Its texts are rendered from the form's language offset, so after ui::ChooseLanguage /
// ui::ApplyLanguage (which report a change) it is already in the new language.
//
// Child widgets carry object names that say what they are ("inputFamilies", "thermocoupleTypes",
// "rtdSensors", "wirings", "unitButton", "inputRange", "outputTypes", "outputRange",
// "zeroTrim", "zeroSlider", "tripsButton", "measureOption", "programmingOption",
// "actionButton", "stopButton", "display", "summary", "guidePanel", "guideMarker0".., and so
// on), for findChild in tests and tools.
//
// It also observes a running measurement (measure::MeasureObserver): the operation window
// passes it to MeasureLoop so the display, bar graph, range lamps, trip lamps and state lamp
// follow the stream.
class ProgramWindow : public QWidget, public measure::MeasureObserver {
    Q_OBJECT
public:
    ProgramWindow(ui::ProgramForm& form, link::Dialogs& dialogs, QWidget* parent = nullptr);
    ~ProgramWindow() override;

    // Redraws every control from the form (also run on every change the form reports).
    void Refresh();
    // The picture box beside the device name (picture resource 4); empty hides it.
    void SetPicture(const QPixmap& picture);

    // Measurement observer.
    void Started(const measure::Scale& scale) override;
    void Show(const measure::Reading& reading) override;
    void Stopped() override;

    // Where the trend takes the time of each reading from (the system clock by default).
    void SetTimeSource(measure::TimeSource source);
    // An operation runs: the stop button is offered only then.
    void SetOperationRunning(bool running);
    // Greys the value when the last reading is older than measure::kStaleSeconds (run by a
    // timer while measuring; tests call it after moving the clock).
    void RefreshStaleness();
    bool valueStale() const;
    // The logging button's caption and the file it names: "Start logging..." when off,
    // "Stop logging" with "Logging to: FILE" while on.
    void SetLogging(bool active, const QString& path = {});
    TrendChart* trendChart() const;
    QPushButton* logButton() const;

    RangeControlWidget* rangeIn() const { return m_rangeIn; }
    RangeControlWidget* rangeOut() const { return m_rangeOut; }
    // The widget a guided step points at (its marker sits beside it, it gets the focus).
    QWidget* GuideTargetWidget(ui::GuideTarget target) const;

signals:
    void formChanged();     // after the window has redrawn itself from a change of the form
    void displayClicked();  // the measurement display was clicked while it shows a value
    void loggingClicked();  // the logging button: start or stop logging
    void previewRequested();  // the Preview button beside the summary: show the linearisation preview
    void staleChanged(bool stale);  // the shown value became stale, or fresh again

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildDevicePanel();
    QWidget* BuildInput();
    QWidget* BuildOutput();
    QWidget* BuildModePanel();
    QWidget* BuildSummary();
    void BuildGuide();
    void Connect();
    void RefreshTexts();
    void RefreshInput();
    void RefreshOutput();
    void RefreshMode();
    void RefreshGuide();
    void PlaceGuide();
    QSize SizeGuideTo(int panelWidth);
    QRect GuideRectBeside(QWidget* target);
    int CoveredArea(const QRect& panel) const;
    // The labels whose texts guided steps change: the panel never stands over them.
    std::vector<QWidget*> GuideKeepClear() const;
    QString T(int id) const;
    QString R(const ui::TextRef& ref) const;

    ui::ProgramForm& m_form;
    link::Dialogs& m_dialogs;
    bool m_refreshing = false;
    bool m_refreshAgain = false;
    int m_focusedStep = -1;  // the guided step whose control last got the focus

    // Device panel
    QGroupBox* m_devicePanel = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_modelText = nullptr;
    QLabel* m_commLabel = nullptr;
    Lamp* m_txLamp = nullptr;
    Lamp* m_rxLamp = nullptr;
    QProgressBar* m_progress = nullptr;

    // Input side
    QWidget* m_configurationFrame = nullptr;  // cont_tot
    QWidget* m_inputOutputRow = nullptr;
    QGroupBox* m_inputBox = nullptr;
    QWidget* m_inputFrame = nullptr;
    QLabel* m_inputTypeLabel = nullptr;
    QComboBox* m_inputFamilies = nullptr;
    QComboBox* m_thermocoupleTypes = nullptr;
    QComboBox* m_rtdSensors = nullptr;
    QComboBox* m_wirings = nullptr;
    QComboBox* m_potRanges = nullptr;
    QLabel* m_inputOptionsLabel = nullptr;
    QCheckBox* m_internalCjc = nullptr;
    QCheckBox* m_linear = nullptr;
    QCheckBox* m_custom = nullptr;
    QPushButton* m_unitButton = nullptr;
    QLabel* m_unitLabel = nullptr;
    RangeControlWidget* m_rangeIn = nullptr;

    // Output side
    QGroupBox* m_outputBox = nullptr;
    QWidget* m_outputTypesFrame = nullptr;
    QLabel* m_outputTypeLabel = nullptr;
    QComboBox* m_outputTypes = nullptr;
    RangeControlWidget* m_rangeOut = nullptr;
    QGroupBox* m_optionsBox = nullptr;
    QPushButton* m_burnoutButton = nullptr;
    QLabel* m_burnoutLabel = nullptr;
    QPushButton* m_directionButton = nullptr;
    QLabel* m_directionLabel = nullptr;
    QCheckBox* m_filterBox = nullptr;
    QGroupBox* m_ranges = nullptr;
    QLineEdit* m_adjMax = nullptr;
    QSlider* m_zeroSlider = nullptr;
    QLineEdit* m_adjMin = nullptr;
    QSlider* m_spanSlider = nullptr;
    QGroupBox* m_tripsFrame = nullptr;
    QPushButton* m_tripsButton = nullptr;
    QLabel* m_tripLevel1 = nullptr;
    QLabel* m_tripLevel2 = nullptr;

    // Mode and action
    QGroupBox* m_modeBox = nullptr;
    QRadioButton* m_measureOption = nullptr;
    QRadioButton* m_programmingOption = nullptr;
    QPushButton* m_actionButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QCheckBox* m_verify = nullptr;

    // Measurement page
    MeasurementPanel* m_measurePanel = nullptr;
    bool m_operationRunning = false;

    // Summary
    QGroupBox* m_summaryBox = nullptr;
    QPlainTextEdit* m_summary = nullptr;
    QPushButton* m_preview = nullptr;

    // Guided mode
    QFrame* m_guidePanel = nullptr;
    QLabel* m_guideText = nullptr;
    QPushButton* m_guideOk = nullptr;
    QPushButton* m_guideCancel = nullptr;
    std::array<QWidget*, ui::kGuideSteps> m_guideMarkers{};
    QTimer* m_guideTimer = nullptr;
};

}  // namespace vantrel::widgets
