// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace vantrel::app {

void PumpEvents(bool acceptInput) {
    QCoreApplication::processEvents(acceptInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vantrel::app
