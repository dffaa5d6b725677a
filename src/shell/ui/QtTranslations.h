// Qt's own texts in Polish: the file dialogs' "Szukaj w:", "Anuluj", the context menus of the edit
// boxes. Every other text of the program is written in Polish in the code itself.
#pragma once

#include <QString>

class QCoreApplication;

namespace kibic {

// Installs Qt's Polish translation (qtbase_pl.qm from Qt's translations folder, or from folder when it
// is given) into the application and makes Polish the default locale. Returns false when the
// translation file is missing or unreadable; Qt's dialogs then stay in English, which is no reason to
// stop the program.
bool InstallQtTranslations(QCoreApplication& application, const QString& folder = QString());

} // namespace kibic
