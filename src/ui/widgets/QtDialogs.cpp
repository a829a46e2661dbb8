// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace vantrel::widgets {

namespace {

QMessageBox::Icon ToQt(link::Icon icon) {
    switch (icon) {
    case link::Icon::Critical: return QMessageBox::Critical;
    case link::Icon::Question: return QMessageBox::Question;
    case link::Icon::Exclamation: return QMessageBox::Warning;
    case link::Icon::Information: return QMessageBox::Information;
    case link::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
};

ButtonSet ToQt(link::Buttons buttons) {
    switch (buttons) {
    case link::Buttons::Ok: return {QMessageBox::Ok, QMessageBox::Ok};
    case link::Buttons::OkCancel: return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
    case link::Buttons::YesNo: return {QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    case link::Buttons::YesNoCancel:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel};
    case link::Buttons::RetryCancel: return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok, QMessageBox::Ok};
}

link::Answer FromQt(int button) {
    switch (button) {
    case QMessageBox::Ok: return link::Answer::Ok;
    case QMessageBox::Yes: return link::Answer::Yes;
    case QMessageBox::No: return link::Answer::No;
    case QMessageBox::Retry: return link::Answer::Retry;
    default: return link::Answer::Cancel;
    }
}

QWidget* ParentOr(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }

// The first pattern of the first filter ("*.D70") names the extension a typed name gets.
QString FirstExtension(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    if (parts.size() < 2) return {};
    const QString pattern = parts[1].split(';').value(0).trimmed();
    if (!pattern.startsWith("*.") || pattern.mid(2).contains('*')) return {};
    return pattern.mid(1);
}

}  // namespace

link::Answer QtDialogs::Show(const link::Message& message) {
    const ButtonSet set = ToQt(message.buttons);
    QMessageBox box(ToQt(message.icon), QString::fromStdString(message.title), QString::fromStdString(message.text),
                    set.buttons, ParentOr(m_parent));
    box.setEscapeButton(set.escape);
    // An empty title would show the platform's default (the program name): keep it empty.
    if (message.title.empty()) box.setWindowTitle(QStringLiteral(" "));
    return FromQt(box.exec());
}

QStringList ConvertFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty()) continue;
        patterns.replace(';', ' ');
        if (description.contains('(') && description.endsWith(')'))
            out << description.left(description.indexOf('(')).trimmed() + " (" + patterns + ")";
        else
            out << description + " (" + patterns + ")";
    }
    return out;
}

QString QtFileDialogs::StartFolder(const ui::FileDialogRequest& request) const {
    if (!request.initialFolder.empty() || !m_startFolder) return QString::fromStdString(request.initialFolder.string());
    return m_startFolder();
}

std::string QtFileDialogs::Chosen(const QString& name) const {
    if (!name.isEmpty() && m_folderChosen) m_folderChosen(QFileInfo(name).absolutePath());
    return name.toStdString();
}

std::string QtFileDialogs::OpenFileName(const ui::FileDialogRequest& request) {
    const QString name =
        QFileDialog::getOpenFileName(ParentOr(m_parent), QString::fromStdString(request.title), StartFolder(request),
                                     ConvertFileFilter(request.filter).join(";;"));
    return Chosen(name);
}

std::string QtFileDialogs::SaveFileName(const ui::FileDialogRequest& request) {
    QFileDialog dialog(ParentOr(m_parent), QString::fromStdString(request.title), StartFolder(request));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(ConvertFileFilter(request.filter));
    const QString extension = FirstExtension(request.filter);
    if (!extension.isEmpty()) dialog.setDefaultSuffix(extension.mid(1));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    // Option 2 asks before an existing file is replaced; without it the dialog does not ask.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.options & 2) == 0);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return Chosen(dialog.selectedFiles().front());
}

}  // namespace vantrel::widgets
