// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

#include "link/Dialogs.h"
#include "ui/model/SerialNumberWindow.h"

class QLineEdit;
class QPushButton;
class QLabel;

namespace vantrel::widgets {

// The serial-number window (`serial`) over ui::SerialNumberWindow: the customer, year, order
// and progressive fields (read-only while the model's editing flag is off) and the read
// button, which runs `readSerial` (the session's ReadSerialNumber) and shows the new record,
// or zeros when the read failed. The write button exists but stays hidden unless the model
// says otherwise.
//
//   ui::SerialNumberWindow model(session.serial);
//   SerialNumberDialog dialog(model, dialogs, [&] { return ReadSerialNumber(...); }, offset, this);
//   dialog.exec();
class SerialNumberDialog : public QDialog {
    Q_OBJECT
public:
    SerialNumberDialog(ui::SerialNumberWindow& model, link::Dialogs& dialogs, std::function<bool()> readSerial,
                       int languageOffset, QWidget* parent = nullptr);

    QLineEdit* field(ui::SerialField which) const;
    QPushButton* readButton() const { return m_read; }

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    void Read();

    ui::SerialNumberWindow& m_model;
    link::Dialogs& m_dialogs;
    std::function<bool()> m_readSerial;
    QLineEdit* m_fields[4] = {};
    QPushButton* m_read = nullptr;
    QPushButton* m_write = nullptr;
};

}  // namespace vantrel::widgets
