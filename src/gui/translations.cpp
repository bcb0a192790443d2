#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pictavo::gui {

QTranslator* LoadQtTranslations(QCoreApplication& app, const QString& language) {
  // Owned by the application, so it lives as long as the texts are shown.
  auto* translator = new QTranslator(&app);
  // "qt_<lang>" gathers qtbase and the other modules' catalogues.
  if (!translator->load(QStringLiteral("qt_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

}  // namespace pictavo::gui
