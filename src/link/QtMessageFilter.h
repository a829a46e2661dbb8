// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's own debug, info and warning messages (a platform plugin's complaint, a serial-port
// notice) are not the user's business: they are dropped unless QT_LOGGING_RULES is set in
// the environment, in which case Qt prints as usual (debugging). Critical and fatal
// messages always reach the error stream.
namespace vantrel::link {

// Installs the filter for the whole process; call before the Qt application object is made.
void InstallQtMessageFilter();

}  // namespace vantrel::link
