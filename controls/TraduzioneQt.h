#pragma once
// Qt's own texts (the standard buttons of every box, the text fields' context menu) in Italian,
// from Qt's translation files (on Debian the package qt6-translations-l10n).
class QCoreApplication;

// Installs the translation on `app`; false when Qt's Italian file is not found.
bool CaricaTraduzioneQt(QCoreApplication& app);
