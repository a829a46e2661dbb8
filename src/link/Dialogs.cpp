// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Dialogs.h"

#include "resources/StringTable.h"

namespace vantrel::link {

namespace {


}  // namespace

Message TableMessage(int textId, int languageOffset, Buttons buttons, Icon icon, int titleId) {
    Message message;
    message.textId = textId;
    message.titleId = titleId;
    message.text = resources::Text(textId, languageOffset);
    if (titleId != 0) message.title = resources::Text(titleId, languageOffset);
    message.buttons = buttons;
    message.icon = icon;
    return message;
}

Message NoCommunicationMessage(int languageOffset) {
    return TableMessage(resources::text::kNoCommunication, languageOffset, Buttons::RetryCancel, Icon::Critical,
                        resources::text::kCommunicationErrorTitle);
}

Message PortGoneMessage(int languageOffset) {
    return TableMessage(resources::text::kPortDisappeared, languageOffset, Buttons::RetryCancel, Icon::Critical,
                        resources::text::kCommunicationErrorTitle);
}

}  // namespace vantrel::link
