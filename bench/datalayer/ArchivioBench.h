#pragma once
// A fresh archive for a benchmark: the archive's schema in a temporary folder removed at the end,
// and `Db` open on it. `Preparazione` runs from the start of its creation, so the filling that
// follows is timed with it.
#include "db/FbDatabase.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

struct TArchivioBench {
    explicit TArchivioBench(const QString& nome = QStringLiteral("archivio.fdb"));

    QTemporaryDir Dir;  // first in, last out: the database is closed before its folder goes
    QString Path;
    QElapsedTimer Preparazione;
    TFbDatabase Db;
};
