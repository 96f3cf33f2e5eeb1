#pragma once
// The program entry's start-up: the main window after its checks, or the start-up error box.
#include <QFuture>
#include <QStringList>
#include <functional>
#include <memory>

class TFormMain;

// Creates the main window and runs its checks. On failure shows "Esecuzione non consentita:" with
// the message and returns nullptr: the window is destroyed without ever being shown.
// The database engine is made ready on a worker meanwhile (PreparaMotoreDatabase); with `motore`
// the caller has started that already, earlier in the start-up.
std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni);
std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni, QFuture<void> motore);

// Runs the start-up checks; any error they raise, of whatever type, ends in the error box
// "Esecuzione non consentita:" with its message, and the result is false.
bool EseguiControlliAvvio(const std::function<void()>& controlli);
