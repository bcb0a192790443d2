#pragma once
// The interface's language: the program's own texts (Japanese in the
// sources, English from the catalogue built out of translations/) and Qt's
// own texts (the Yes/No and OK buttons, the file and folder dialogs).

#include <QString>

#include "session/language.h"

class QCoreApplication;
class QTranslator;

namespace pictavo::gui {

// Installs Qt's translation of its own texts for `language` ("ja") from
// Qt's translations folder and returns it (owned by `app`); null when that
// folder has none (the texts then stay English, which is all a missing
// package costs).
QTranslator* LoadQtTranslations(QCoreApplication& app, const QString& language = QStringLiteral("ja"));

// Installs the program's English catalogue (carried in the program) and
// returns it (owned by `app`); null when it cannot be loaded.
QTranslator* LoadProgramTranslations(QCoreApplication& app, const QString& language);

// Makes `language` the interface's: installs the catalogues it needs and
// remembers it for what picks files by language (the help page).
void UseInterfaceLanguage(QCoreApplication& app, InterfaceLanguage language);

// The language UseInterfaceLanguage set; Japanese until then.
InterfaceLanguage CurrentInterfaceLanguage();

}  // namespace pictavo::gui
