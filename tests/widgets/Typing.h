// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Types into a box the way a technician does: focus, select what is there, type over it.
#include <QLineEdit>
#include <QString>
#include <QTest>

namespace vantrel::widgets::test {

inline void TypeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

}  // namespace vantrel::widgets::test
