// The demo installation, with its databases embedded and on the loopback Firebird server the test
// command starts: what the INI file and the user's "Archivio" parameter name is what the program
// attaches, through the server when the demo lives there.
#include "db/ConnessioneDB.h"
#include "db/FbDatabase.h"
#include "tests/support/TestDb.h"
#include "tools/demo/Demo.h"

#include <QDir>
#include <QtTest>
#include <memory>

namespace {

QString ProtocolloRemoto(TFbDatabase& db) {
    return ValoreSQL(db, "SELECT COALESCE(MON$REMOTE_PROTOCOL, 'embedded') FROM MON$ATTACHMENTS"
                         " WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
}

QString ArchivioUtente(TFbDatabase& utenti) {
    return ValoreSQL(utenti, "SELECT VALORE FROM TABKESTRIN WHERE UTENTE = 1 AND INTESTAZIONE = '01'"
                             " AND PARAMETRO = 'Archivio'");
}

}  // namespace

class TestDemo : public QObject {
    Q_OBJECT
    TTestDir FDir;

    // Opens the user database as start-up does, from the INI file's location keys, and the
    // archive from user 1's parameter; returns how each is reached.
    QStringList ApriComeIlProgramma(const QString& cartellaIni) {
        TDBConnectionInfo info;
        LeggiDBConnectionInfo(info, cartellaIni + "/ParametriZelScan.ini", "CONFIG");
        TFbDatabase utenti, archivio;
        ApriConnessione(utenti, info);
        ConnettiDatabase(archivio, ArchivioUtente(utenti));
        return {ComponiNomeDatabase(info), ProtocolloRemoto(utenti), archivio.DatabaseName(), ProtocolloRemoto(archivio)};
    }

private slots:
    void embeddedDemoNamesItsFiles() {
        const QString dir = FDir.Path("embedded"), ini = FDir.Path("embedded-bin");
        Demo::Crea(dir, ini);
        QCOMPARE(Demo::Verifica(dir), QStringList());
        QCOMPARE(ApriComeIlProgramma(ini), (QStringList{dir + "/user.fdb", "embedded", dir + "/archivio.fdb", "embedded"}));
    }

    void serverDemoIsReachedThroughTheServer() {
        const QString host = ServerDiTest();
        if (host.isEmpty()) {
            const char* why = "ZEL_TEST_FBSERVER is empty: no Firebird server runs for this test run "
                              "(bash scripts/test.sh starts one)";
            if (qEnvironmentVariable("CI") == "true") QFAIL(why);
            QSKIP(why);
        }
        QTemporaryDir cartellaServer(CartellaServerDiTest() + "/tst_demo-XXXXXX");
        QVERIFY2(cartellaServer.isValid(), qPrintable(cartellaServer.errorString()));
        const Demo::TDatabasesDemo databases{host, cartellaServer.path()};
        const QString dir = FDir.Path("server"), ini = FDir.Path("server-bin");
        Demo::Crea(dir, ini, databases);
        Demo::Crea(dir, ini, databases);  // a second demo replaces the first on the server too
        QCOMPARE(Demo::Verifica(dir, databases), QStringList());
        const QString utenti = host + ":" + cartellaServer.path() + "/user.fdb";
        const QString archivio = host + ":" + cartellaServer.path() + "/archivio.fdb";
        QCOMPARE(ApriComeIlProgramma(ini), (QStringList{utenti, "TCPv4", archivio, "TCPv4"}));
        QVERIFY(!QFileInfo::exists(dir + "/user.fdb"));
        QVERIFY(!QFileInfo::exists(dir + "/archivio.fdb"));
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
