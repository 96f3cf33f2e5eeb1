#pragma once
// The program entry's start-up: the main window after its checks, or the start-up error box.
#include <QStringList>
#include <functional>
#include <memory>

class TAvvio;
class TFormMain;

// Creates the main window and runs its checks. On failure shows "Esecuzione non consentita:" with
// the message and returns nullptr: the window is destroyed without ever being shown.
// The checks run on a worker while the window is created; `avvio` may have started them already.
std::unique_ptr<TFormMain> AvviaFormMain(const QStringList& argomenti, const QString& fileIni);
std::unique_ptr<TFormMain> AvviaFormMain(std::unique_ptr<TAvvio> avvio);

// Runs the start-up checks; any error they raise, of whatever type, ends in the error box
// "Esecuzione non consentita:" with its message, and the result is false.
bool EseguiControlliAvvio(const std::function<void()>& controlli);
