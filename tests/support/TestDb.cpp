#include "tests/support/TestDb.h"

#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <QDir>

TTestDir::TTestDir() { FDir.setAutoRemove(true); }

QString TTestDir::NuovoDatabase(const QString& name, const QStringList& scripts, const QString& charset) {
    const QString path = Path(name);
    DemoData::CreaDatabase(path, scripts, charset);
    return path;
}

QString TTestDir::NuovoArchivioDemo(const QString& name, const QString& charset) {
    const QString path = NuovoDatabase(name, DemoData::ScriptArchivio(), charset);
    TFbDatabase db;
    Connetti(db, path);
    DemoData::PopolaArchivioBase(db);
    return path;
}

QString TTestDir::NuovoUtentiDemo(const QString& archivio, const QString& name) {
    const QString path = NuovoDatabase(name, DemoData::ScriptUtenti());
    TFbDatabase db;
    Connetti(db, path);
    DemoData::PopolaUtenti(db, archivio, Root() + "/bin");
    return path;
}

void Connetti(TFbDatabase& db, const QString& name) { DemoData::Connetti(db, name); }

void EseguiSQL(TFbDatabase& db, const QString& sql) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL s(&db, &tr);
    s.SetParamCheck(false);
    s.SetSQL({sql});
    s.ExecQuery();
    tr.Commit();
}

QString ValoreSQL(TFbDatabase& db, const QString& sql) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL s(&db, &tr);
    s.SetParamCheck(false);
    s.SetSQL({sql});
    s.ExecQuery();
    const QString v = s.Eof() ? QString() : s.Field(0).AsString();
    tr.Rollback();
    return v;
}

void InstallaRifiutoCommit(TFbDatabase& db) {
    EseguiSQL(db, "CREATE EXCEPTION COMMIT_RIFIUTATO 'commit rifiutato'");
    EseguiSQL(db, "CREATE TRIGGER RIFIUTA_COMMIT ON TRANSACTION COMMIT AS BEGIN"
                  " IF (RDB$GET_CONTEXT('USER_SESSION', 'RIFIUTA_COMMIT') = '1') THEN EXCEPTION COMMIT_RIFIUTATO; END");
}

// Session variables outlive the transaction, which is rolled back, so no commit is needed.
void RifiutaCommit(TFbDatabase& connessione, bool rifiuta) {
    ValoreSQL(connessione, QString("SELECT RDB$SET_CONTEXT('USER_SESSION', 'RIFIUTA_COMMIT', %1) FROM RDB$DATABASE")
                               .arg(rifiuta ? "'1'" : "NULL"));
}

QString ServerDiTest() { return qEnvironmentVariable("ZEL_TEST_FBSERVER"); }
QString CartellaServerDiTest() { return qEnvironmentVariable("ZEL_TEST_FBSERVER_DIR"); }
