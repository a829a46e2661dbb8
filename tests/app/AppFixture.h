// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real main window offscreen over the in-process simulator on the virtual clock, with
// what the tests look at: the form's children, the windows it opened, the summary.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/SimulatedEnvironment.h"
#include "ui/widgets/ProgramWindow.h"

namespace vantrel::app::test {

class AppTest : public ::testing::Test {
public:
    // prepare runs on the environment before the window is made (ports, dialogs).
    void Start(SimulatedSetup setup = {}, const std::function<void(SimulatedEnvironment&)>& prepare = {}) {
        setup.appFolder = AppFolder();
        env = std::make_unique<SimulatedEnvironment>(setup);
        if (prepare) prepare(*env);
        window = env->MakeMainWindow();
        window->SetWindowObserver([this](QWidget* shown) {
            seen.push_back(shown->objectName());
            if (const std::function<void(QWidget*)> handler = onWindow) handler(shown);
        });
        window->show();
    }
    void TearDown() override {
        window.reset();
        env.reset();
    }

    std::filesystem::path AppFolder() const { return folder.path().toStdString(); }
    template <class T = QWidget>
    T* Child(const char* name) const {
        T* child = window->programWindow()->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    void Click(const char* name) const { QTest::mouseClick(Child<QAbstractButton>(name), Qt::LeftButton); }
    std::string Summary() const { return Child<QPlainTextEdit>("summary")->toPlainText().toStdString(); }
    std::string ModelBox() const { return Child("modelText")->property("text").toString().toStdString(); }
    int Seen(const QString& name) const { return static_cast<int>(std::count(seen.begin(), seen.end(), name)); }
    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    QTemporaryDir folder;
    std::unique_ptr<SimulatedEnvironment> env;
    std::unique_ptr<MainWindow> window;
    std::vector<QString> seen;                 // the object names of the windows shown, in order
    std::function<void(QWidget*)> onWindow;    // runs on each window shown
};

}  // namespace vantrel::app::test
