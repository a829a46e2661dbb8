// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the widget tests and the screenshots share: the form-model fakes (scripted message
// boxes, a host that records what the form opened), typing the way a technician does, and
// the type K preview of the render tests.
#include <QLineEdit>
#include <QString>
#include <QTest>

#include <memory>

#include "Fakes.h"
#include "TypeKPreview.h"
#include "ui/model/PointsEditor.h"
#include "ui/widgets/PointsEditorDialog.h"

namespace vantrel::widgets::test {

using ui::test::FormFixture;
using ui::test::ScriptedDialogs;
using vantrel::test::TypeKPreview;

// Focus, select what is there, type over it.
inline void TypeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// Shows a window and waits until it has the focus, as the user would see it.
inline bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The points editor dialog for a request, over a fresh working state, on show.
struct EditorWindow {
    device::WorkingState working;
    ScriptedDialogs dialogs;
    std::unique_ptr<ui::PointsEditor> editor;
    std::unique_ptr<PointsEditorDialog> dialog;

    EditorWindow(const ui::PointsEditorRequest& request, int model, int languageOffset) {
        working.SetLanguageOffset(languageOffset);
        working.identity.DeviceModel = model;
        editor = std::make_unique<ui::PointsEditor>(working, request.coldJunctionPage, request.encoding.optionFlags);
        editor->Open();
        dialog = std::make_unique<PointsEditorDialog>(*editor, request, dialogs, languageOffset);
        active = ShowActive(*dialog);
    }
    QLineEdit* Box(int row, ui::PointsBox box) const { return dialog->valueBox(ui::PointsPage::Sensor, row, box); }
    bool active = false;
};

}  // namespace vantrel::widgets::test
