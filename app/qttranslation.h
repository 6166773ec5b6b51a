#pragma once

#include <QLibraryInfo>
#include <QString>

class QTranslator;

namespace VornaLumeto {

// Loads Qt's own Russian translation of its standard dialogs (file, print and
// input dialogs, message box buttons) and installs it; the translator must
// outlive the application's use of it. Our own texts are Russian as written.
// False, with no message, when the translation is not there: the dialogs then
// stay in English.
bool installQtTranslation(QTranslator& translator,
                          const QString& directory = QLibraryInfo::location(QLibraryInfo::TranslationsPath));

} // namespace VornaLumeto
