#pragma once
// Messages that several commands show (their wording is in src/messages).

#include "platform/message.h"

namespace pictavo::msg {

inline const Message kCaption{MessageId::Caption};
inline const Message kWriteError{MessageId::WriteError};
inline const Message kAborted{MessageId::Aborted};
inline const Message kFinished{MessageId::Finished};
inline const Message kBrowserQuestion{MessageId::BrowserQuestion};

}  // namespace pictavo::msg
