// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one main of the test programs that need a Qt application object: Qt SQL's drivers,
// QSerialPort's notifiers, pixmaps and widgets all want it. VANTREL_TEST_GUI selects a
// QApplication (widgets, Fusion style, so pictures do not depend on the desktop),
// VANTREL_TEST_PAINT a QGuiApplication (pictures drawn without widgets), and neither a
// QCoreApplication. Tests never need a display: without a platform chosen by the caller they
// run on the offscreen one.
#include <gtest/gtest.h>

#ifdef VANTREL_TEST_GUI
#include <QApplication>
#elif defined(VANTREL_TEST_PAINT)
#include <QGuiApplication>
#else
#include <QCoreApplication>
#endif

int main(int argc, char** argv) {
#ifdef VANTREL_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
#elif defined(VANTREL_TEST_PAINT)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
