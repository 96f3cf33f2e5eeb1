#pragma once
// A fresh archive for a benchmark: the archive's schema in a temporary folder removed at the end,
// and `Db` open on it. `Preparazione` runs from the start of its creation, so the filling that
// follows is timed with it. On a server the folder lies in the server's own folder and the
// archive is created and filled through the server, which owns its file.
#include "bench/datalayer/ModalitaBench.h"
#include "db/FbDatabase.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

struct TArchivioBench {
    explicit TArchivioBench(const QString& nome = QStringLiteral("archivio.fdb"), const TModalitaBench& modalita = {});

    QTemporaryDir Dir;  // first in, last out: the database is closed before its folder goes
    QString Path;        // the file
    QString Connessione; // what the connection attaches: the file, or "host:file" on a server
    QElapsedTimer Preparazione;
    TFbDatabase Db;
};
