#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts (file and print dialogs, message box buttons, the context
// menus of text boxes) in simplified Chinese, as the rest of the window is,
// whatever the machine's locale. The catalogues come with the platform's Qt
// (Debian: qt6-translations-l10n); without them the dialogs stay in English.
// The installed catalogue (owned by app), or null when none was found.
QTranslator* installQtTranslations(QCoreApplication& app);
