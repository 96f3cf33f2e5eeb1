#pragma once
// Where a benchmark's archive lives: a file opened by the embedded engine, and, when a Firebird
// server is at hand, a file of that server reached over TCP. The server is the one the tests use
// (scripts/fbserver.sh), found through ZEL_TEST_FBSERVER (host text, "localhost" or
// "localhost/3051") and ZEL_TEST_FBSERVER_DIR (a folder the server writes its databases to), or
// given by the options --server=HOST and --server-dir=DIR. --only=embedded or --only=server
// keeps one of the two.
#include <QString>
#include <QStringList>
#include <QVector>

struct TModalitaBench {
    QString Host;      // empty: the embedded engine
    QString Cartella;  // the server's folder for the archive; empty: a temporary folder
    bool Server() const { return !Host.isEmpty(); }
    // "embedded" or "server localhost/3051"
    QString Nome() const;
};

// The modes to run, from the environment and the options in `argomenti`, which loses them (what
// is left are the benchmark's own arguments, the program's name first). Raises Exception on an
// unknown option or a server without its folder.
QVector<TModalitaBench> ModalitaBench(QStringList& argomenti);
