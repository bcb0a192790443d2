#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pictavo::gui {
namespace {

InterfaceLanguage g_language = InterfaceLanguage::Japanese;

}  // namespace

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

QTranslator* LoadProgramTranslations(QCoreApplication& app, const QString& language) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral(":/i18n/pictavo_") + language + QStringLiteral(".qm"))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

void UseInterfaceLanguage(QCoreApplication& app, InterfaceLanguage language) {
  g_language = language;
  if (language == InterfaceLanguage::Japanese) {
    // The sources are Japanese; only Qt's own texts need a catalogue.
    LoadQtTranslations(app, QStringLiteral("ja"));
  } else {
    // Qt's own texts are English already.
    LoadProgramTranslations(app, QString::fromLatin1(LanguageCode(language)));
  }
}

InterfaceLanguage CurrentInterfaceLanguage() { return g_language; }

}  // namespace pictavo::gui
