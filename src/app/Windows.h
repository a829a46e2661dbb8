// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "app/PortChoice.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

// The small windows of the desktop program: splash, about, language, port selection,
// connection test and operation window. Texts come from
// the string table in the language of the offset they are given.
namespace vantrel::app {

// Shown at start-up: the banner and the probe pictures, the product name, version and
// "configuration software". Its timer fires once, runs `onFirstTick` and closes the window.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    SplashWindow(int languageOffset, int closeAfterMs, std::function<void()> onFirstTick, QWidget* parent = nullptr);

private:
    QTimer* m_timer = nullptr;
    std::function<void()> m_onFirstTick;
};

// "Info": title 179, product name, version, the application picture and "&OK".
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(int languageOffset, QWidget* parent = nullptr);
};

// The Language window: an Italian and an English picture button, a small animation that
// turns every 500 ms over pictures 6..10, and the exit button. It stays open after a choice.
class LanguageWindow : public QDialog {
    Q_OBJECT
public:
    LanguageWindow(int languageOffset, int animationMs, QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    void SetExitText(const QString& text);
    int frame() const { return m_frame; }
    QToolButton* italianButton() const { return m_italian; }
    QToolButton* englishButton() const { return m_english; }
    QPushButton* exitButton() const { return m_exit; }

signals:
    void languageChosen(int languageIndex);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ShowFrame();

    QLabel* m_animation = nullptr;
    QToolButton* m_italian = nullptr;
    QToolButton* m_english = nullptr;
    QPushButton* m_exit = nullptr;
    QTimer* m_timer = nullptr;
    int m_frame = 6;
};

// The port-selection window `doors` over PortChoiceModel: the ports that exist, the line
// settings, OK and Cancel.
class DoorsWindow : public QDialog {
    Q_OBJECT
public:
    DoorsWindow(PortChoiceModel& model, int languageOffset, QWidget* parent = nullptr);
    QComboBox* portList() const { return m_list; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    // Fills the list again from the model (its ports changed).
    void Refill();

    void accept() override;
    void reject() override;

private:
    PortChoiceModel& m_model;
    QComboBox* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// The connection-test window `TentConn`: shown anew for every attempt series, it counts the
// "MI" commands sent.
class ConnectionTestWindow : public QDialog {
    Q_OBJECT
public:
    explicit ConnectionTestWindow(int languageOffset, QWidget* parent = nullptr);
    void SetAttempt(int attempt);
    QString attemptText() const;
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    // Cancel: the operation the test belongs to stops.
    void cancelClicked();

private:
    QLabel* m_attempt = nullptr;
    QPushButton* m_cancel = nullptr;
};

// The operation window `Video`: "communication enabled", the warning not to unplug the
// cable, and two pictures swapped every 300 ms while the transmitter is busy.
class OperationWindow : public QDialog {
    Q_OBJECT
public:
    OperationWindow(int languageOffset, int animationMs, QWidget* parent = nullptr);
    int frame() const { return m_frame; }
    // Closes the window once the operation is over; the user cannot close it before.
    void Finish();
    QPushButton* cancelButton() const { return m_cancel; }

signals:
    // Cancel: the operation stops (the main window asks first once programming writes).
    void cancelClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowFrame();
    QLabel* m_picture = nullptr;
    QPushButton* m_cancel = nullptr;
    QTimer* m_timer = nullptr;
    int m_frame = 0;
    bool m_finished = false;
};

QString Tr(int italianId, int languageOffset);

}  // namespace vantrel::app
