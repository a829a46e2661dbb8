// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/QtMessageFilter.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace vantrel::link {

namespace {

QtMessageHandler g_qtHandler = nullptr;  // Qt's own, which prints the messages let through

void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    if (g_qtHandler) g_qtHandler(type, context, message);
    else std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

void InstallQtMessageFilter() {
    if (qEnvironmentVariableIsSet("QT_LOGGING_RULES")) return;
    g_qtHandler = qInstallMessageHandler(FilterQtMessage);
}

}  // namespace vantrel::link
