// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "device/WorkingState.h"
#include "link/Dialogs.h"
#include "ui/model/TripsForm.h"
#include "ui/model/FormHost.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantrel::widgets {

class TripDiagram;

// The trips form over ui::TripsForm: per trip a Max/Min choice, a threshold and a
// hysteresis box and a small switching diagram; the input range it works on; the common
// delay. Levels are recomputed when a trip's box loses the focus or an option is clicked.
//
// The programming form's host opens it from OpenTripsForm:
//   TripsDialog::Run(session.working, request, dialogs, mainWindow);
class TripsDialog : public QDialog {
    Q_OBJECT
public:
    // Opens the model over the working trip values, runs the form modally; true on OK.
    static bool Run(device::WorkingState& working, const ui::TripsFormRequest& request, link::Dialogs& dialogs,
                    QWidget* parent = nullptr);

    // The form over a model already opened (TripsForm::Open) by the caller.
    // `working` holds the levels the diagrams draw.
    TripsDialog(ui::TripsForm& form, const device::WorkingState& working, const ui::TripsFormRequest& request,
                link::Dialogs& dialogs, QWidget* parent = nullptr);

    QLineEdit* thresholdBox(int trip) const { return m_trip[Index(trip)].threshold; }
    QLineEdit* hysteresisBox(int trip) const { return m_trip[Index(trip)].hysteresis; }
    QRadioButton* maxOption(int trip) const { return m_trip[Index(trip)].max; }
    QRadioButton* minOption(int trip) const { return m_trip[Index(trip)].min; }
    QLineEdit* delayBox() const { return m_delay; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Recompute(n) as the focus leaving a box or an option click runs it.
    void Recompute(int trip);

    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TripWidgets {
        QRadioButton* max = nullptr;
        QRadioButton* min = nullptr;
        QLineEdit* threshold = nullptr;
        QLineEdit* hysteresis = nullptr;
        TripDiagram* diagram = nullptr;
    };
    static std::size_t Index(int trip) { return trip == 2 ? 1 : 0; }
    QWidget* BuildTrip(int trip);
    void ShowMessage(const ui::TripsMessage& message);
    void LoadBoxes(int trip);

    ui::TripsForm& m_form;
    const device::WorkingState& m_working;
    link::Dialogs& m_dialogs;
    int m_language;
    bool m_messageOpen = false;
    TripWidgets m_trip[2];
    QLineEdit* m_delay = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace vantrel::widgets
