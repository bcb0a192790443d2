#include "message_text.h"

#include <QCoreApplication>

#include "message_table.h"

namespace pictavo {

QString MessageText(const Message& message) {
  const char* text = MessageTemplate(message.id);
  const QString translated = QCoreApplication::translate("Message", text ? text : "");
  return QString::fromStdString(SubstituteArguments(translated.toStdString(), message.args));
}

}  // namespace pictavo
