// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel::link {

// Buttons and icons of a message box. The answers carry the values the rest of the
// program compares against (6 Yes, 7 No, 2 Cancel, ...).
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

// One message box: the text and title as shown (already in the current language), and the
// Italian text identifiers they came from (0 for texts that are not in the string table),
// so that scripted answers and command-line policies can recognise a question.
struct Message {
    int textId = 0;
    int titleId = 0;
    std::string text;
    std::string title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

// A message whose text, and title when titleId is not 0, come from the string table in the
// language of languageOffset.
Message TableMessage(int textId, int languageOffset, Buttons buttons, Icon icon, int titleId = 0);

// The box of a transmitter that does not answer: Retry or Cancel.
Message NoCommunicationMessage(int languageOffset);

// The box of a port that went away (adapter unplugged): Retry (opens it again) or Cancel.
Message PortGoneMessage(int languageOffset);

// Every message box of the program goes through here: Qt message boxes in the desktop
// program, a policy in the command-line tool, scripted answers in tests.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer Show(const Message& message) = 0;
};

}  // namespace vantrel::link
