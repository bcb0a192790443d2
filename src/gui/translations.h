#pragma once
// Qt's own texts (the Yes/No and OK buttons, the file and folder dialogs)
// in the interface's language. The program's own texts are Japanese.

#include <QString>

class QCoreApplication;
class QTranslator;

namespace pictavo::gui {

// Installs Qt's translation of its own texts for `language` ("ja") from
// Qt's translations folder and returns it (owned by `app`); null when that
// folder has none (the texts then stay English, which is all a missing
// package costs).
QTranslator* LoadQtTranslations(QCoreApplication& app, const QString& language = QStringLiteral("ja"));

}  // namespace pictavo::gui
