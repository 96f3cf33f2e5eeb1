#pragma once
// The embedded database engine made ready on a worker thread while the main window is created.
#include <QFuture>
#include <QString>

// Opens the user database that `fileIni` locates once and closes it again, on a worker thread:
// the first connection of the process loads the client's plugins, the engine and its Unicode
// support, and that no longer delays the start-up's own steps. Nothing is kept and every failure
// is silent: the start-up opens its connections and reports its errors as it always does. Only a
// database on this machine is opened; for one on a server the future is finished at once.
QFuture<void> PreparaMotoreDatabase(const QString& fileIni);
