#include "bench/datalayer/ModalitaBench.h"

#include "db/Errore.h"

QString TModalitaBench::Nome() const { return Server() ? "server " + Host : QStringLiteral("embedded"); }

QVector<TModalitaBench> ModalitaBench(QStringList& argomenti) {
    TModalitaBench server{qEnvironmentVariable("ZEL_TEST_FBSERVER"), qEnvironmentVariable("ZEL_TEST_FBSERVER_DIR")};
    QString solo;
    QStringList restanti;
    for (const QString& a : argomenti) {
        if (a.startsWith("--server=")) server.Host = a.mid(9);
        else if (a.startsWith("--server-dir=")) server.Cartella = a.mid(13);
        else if (a.startsWith("--only=")) solo = a.mid(7);
        else if (a.startsWith("--")) throw Exception("unknown option " + a + " (--server=HOST --server-dir=DIR --only=embedded|server)");
        else restanti << a;
    }
    argomenti = restanti;
    if (!solo.isEmpty() && solo != "embedded" && solo != "server") throw Exception("--only takes embedded or server");
    if (server.Server() && server.Cartella.isEmpty())
        throw Exception("the server " + server.Host + " needs the folder of its databases (ZEL_TEST_FBSERVER_DIR or --server-dir)");
    if (solo == "server" && !server.Server())
        throw Exception("no server given (ZEL_TEST_FBSERVER or --server): start one with scripts/fbserver.sh");
    QVector<TModalitaBench> modi;
    if (solo != "server") modi << TModalitaBench{};
    if (solo != "embedded" && server.Server()) modi << server;
    return modi;
}
