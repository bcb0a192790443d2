#pragma once
// A core message as the window shows it: the shared table's wording through
// Qt's translation (context "Message"), then the arguments.

#include <QString>

#include "platform/message.h"

namespace pictavo {

QString MessageText(const Message& message);

}  // namespace pictavo
