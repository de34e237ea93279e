// SPDX-License-Identifier: MIT
#pragma once
#include <QLocale>

class QTranslator;

namespace pelmoravan {

// Installs Qt's own translation for `locale` (the buttons of the question, the name prompt and
// the save dialog), as Debian ships it. Returns the installed translator, owned by the
// application, or nullptr when there is none for that language. The game's own texts never go
// through it: they come from the language tables.
QTranslator* InstallQtTranslations(const QLocale& locale);

} // namespace pelmoravan
