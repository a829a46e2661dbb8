// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QTranslator;

namespace vantrel::app {

// Qt's own texts (the Yes/No/Cancel/Retry buttons, the file and print dialogs) in the
// program's language: Qt's Italian catalogue (qtbase_it.qm, Debian's qt6-translations-l10n)
// while the program is in Italian, Qt's built-in English otherwise.
class QtTranslations {
public:
    // `folder`: where the catalogues are; Qt's translations folder when empty.
    explicit QtTranslations(QString folder = {});
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // 0 Italian, 1 English. False when the Italian catalogue is not installed (Qt's texts
    // then stay English; nothing else changes).
    bool Apply(int languageIndex);

private:
    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
};

}  // namespace vantrel::app
