// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "link/Dialogs.h"
#include "ui/model/ProgramFileCommands.h"

class QWidget;

namespace vantrel::widgets {

// Message boxes of the desktop program: QMessageBox with the buttons, icon, title and text of
// the message, modal over `parent` (the active window when null).
class QtDialogs final : public link::Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    link::Answer Show(const link::Message& message) override;

private:
    QWidget* m_parent;
};

// Open and save dialogs with QFileDialog. Save dialogs ask before replacing a file when the
// request's options carry 2; the default extension is added to a name typed without one.
// A request without a folder starts where `startFolder` says (the last folder used), and the
// folder of every chosen file is handed to `folderChosen`.
class QtFileDialogs final : public ui::FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetFolderMemory(std::function<QString()> startFolder, std::function<void(const QString&)> folderChosen) {
        m_startFolder = std::move(startFolder);
        m_folderChosen = std::move(folderChosen);
    }
    std::string OpenFileName(const ui::FileDialogRequest& request) override;
    std::string SaveFileName(const ui::FileDialogRequest& request) override;

private:
    QString StartFolder(const ui::FileDialogRequest& request) const;
    std::string Chosen(const QString& name) const;

    QWidget* m_parent;
    std::function<QString()> m_startFolder;
    std::function<void(const QString&)> m_folderChosen;
};

// "desc|pattern|desc|pattern|" -> {"desc (pattern)", ...}; several patterns in one entry
// ("*.D70;*.d70") become space-separated. A description that already names its pattern in
// parentheses is kept as it is.
QStringList ConvertFileFilter(const std::string& filter);

}  // namespace vantrel::widgets
