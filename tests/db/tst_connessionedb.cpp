// Database location: INI reading, connection texts, opening, quote replacement.
#include "db/ConnessioneDB.h"
#include "db/IniFile.h"
#include "tests/support/TestDb.h"

#include <QFile>
#include <QtTest>

namespace {
void Scrivi(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}
}  // namespace

class TestConnessioneDB : public QObject {
    Q_OBJECT
    TTestDir FDir;

private slots:
    void composition_data() {
        QTest::addColumn<QString>("nomeServer");
        QTest::addColumn<QString>("lettera");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<QString>("alias");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("alias") << "SERVER" << "" << "" << "" << "archivio" << "SERVER:archivio";
        QTest::newRow("drive letter") << "SERVER" << "D" << "D:\\Suite\\user\\user.fdb" << "" << ""
                                      << "\\\\SERVER\\D:\\Suite\\user\\user.fdb";
        QTest::newRow("unc file") << "SERVER" << "D" << "\\\\SERVER\\DATI\\Suite\\archivio.fdb" << "" << ""
                                  << "\\\\SERVER\\D:\\Suite\\archivio.fdb";
        QTest::newRow("drives differ") << "SERVER" << "E" << "D:\\Suite\\archivio.fdb" << "" << ""
                                       << "\\\\SERVER\\E:\\D:\\Suite\\archivio.fdb";
        QTest::newRow("local path") << "" << "" << "C:\\Dati\\archivio.fdb" << "" << "" << "C:\\Dati\\archivio.fdb";
        QTest::newRow("unc without server") << "" << "" << "\\\\SERVER\\D\\Dati\\archivio.fdb" << "" << ""
                                            << "\\\\SERVER\\D:\\Dati\\archivio.fdb";
        QTest::newRow("unc share root") << "" << "" << "\\\\SERVER\\D\\archivio.fdb" << "" << ""
                                        << "\\\\SERVER\\D:\\\\archivio.fdb";
        QTest::newRow("percorso with server prefix") << "" << "" << "" << "SERVER:D:\\Dati\\user.fdb" << ""
                                                     << "SERVER:D:\\Dati\\user.fdb";
        QTest::newRow("percorso replaces file") << "" << "" << "C:\\altro.fdb" << "/srv/dati/user.fdb" << ""
                                                << "/srv/dati/user.fdb";
        QTest::newRow("server and percorso name the file") << "SERVER" << "" << "" << "D:\\Dati\\user.fdb" << ""
                                                           << "\\\\SERVER\\D:\\Dati\\user.fdb";
        QTest::newRow("unix path") << "" << "" << "/var/dati/archivio.fdb" << "" << "" << "/var/dati/archivio.fdb";
        QTest::newRow("everything empty") << "" << "" << "" << "" << "" << "";
    }
    void composition() {
        QFETCH(QString, nomeServer);
        QFETCH(QString, lettera);
        QFETCH(QString, fileName);
        QFETCH(QString, percorso);
        QFETCH(QString, alias);
        QFETCH(QString, atteso);
        const TDBConnectionInfo info{fileName, nomeServer, lettera, percorso, alias};
        QCOMPARE(ComponiNomeDatabase(info), atteso);
    }

    void serverWithoutDriveIsRefused() {
        TDBConnectionInfo info;
        info.NomeServer = "SERVER";
        try {
            ComponiNomeDatabase(info);
            QFAIL("composed without a drive");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(),
                     QString("Riferimenti file .ini incompleti (specificare \"Lettera Disco Server\" o \"PercorsoDatabase\")"));
        }
        TFbDatabase db;
        QVERIFY_THROWS_EXCEPTION(Exception, ApriConnessione(db, info));
        QVERIFY(!db.Connected());
    }

    void readsTheFourKeysWindowsStyle() {
        const QString ini = FDir.Path("p.ini");
        Scrivi(ini, "; comment\r\n[config]\r\nnome server = SRV01 \r\nPercorsoDatabase=D:\\Suite\\user.fdb\r\n"
                    "LETTERA DISCO SERVER=D\r\nAlias=\"user db\"\r\nAlias=secondo\r\n[ALTRA]\r\nAlias=x\r\n");
        TDBConnectionInfo info;
        info.FileName = "resta";
        LeggiDBConnectionInfo(info, ini, "CONFIG");
        QCOMPARE(info.NomeServer, QString("SRV01"));
        QCOMPARE(info.PercorsoDatabase, QString("D:\\Suite\\user.fdb"));  // backslashes verbatim
        QCOMPARE(info.LetteraDiscoServer, QString("D"));
        QCOMPARE(info.Alias, QString("user db"));  // first occurrence, quotes removed
        QCOMPARE(info.FileName, QString("resta"));
        const TIniFile file(ini);
        QCOMPARE(file.ReadSectionValues("Config"),
                 (QStringList{"nome server=SRV01", "PercorsoDatabase=D:\\Suite\\user.fdb", "LETTERA DISCO SERVER=D",
                              "Alias=user db", "Alias=secondo"}));
        TDBConnectionInfo vuoto;
        LeggiDBConnectionInfo(vuoto, FDir.Path("manca.ini"), "CONFIG");
        QVERIFY(vuoto.NomeServer.isEmpty() && vuoto.PercorsoDatabase.isEmpty() && vuoto.Alias.isEmpty());
    }

    void ansiIniFileIsRead() {
        const QString ini = FDir.Path("ansi.ini");
        Scrivi(ini, "[CONFIG]\nAlias=citt\xe0\n");
        QCOMPARE(TIniFile(ini).ReadString("CONFIG", "alias"), QString("città"));
    }

    void connettiDatabaseUsesThePathOrItsDatiIni() {
        const QString archivio = FDir.NuovoDatabase("archivio.fdb", {});
        TFbDatabase db;
        ConnettiDatabase(db, archivio);
        QVERIFY(db.Connected());
        QCOMPARE(db.DatabaseName(), archivio);
        // a dati.ini beside the named file redirects it
        const QString altra = FDir.Path("sub");
        QDir().mkpath(altra);
        const QString vero = FDir.NuovoDatabase("vero.fdb", {});
        Scrivi(altra + "/dati.ini", "[CONFIG]\r\nPercorsoDatabase=" + vero.toUtf8() + "\r\n");
        ConnettiDatabase(db, altra + "/finto.fdb");  // reopens on the new text
        QVERIFY(db.Connected());
        QCOMPARE(db.DatabaseName(), vero);
        QCOMPARE(db.Params(), (QStringList{"user_name=SYSDBA", "password=quillbent"}));
        QVERIFY(!db.LoginPrompt());
    }

    void attachFailureCarriesTheClientsMessage() {
        TFbDatabase db;
        try {
            ConnettiDatabase(db, FDir.Path("nessuno.fdb"));
            QFAIL("opened a missing database");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().startsWith("I/O error during \"open\" operation for file"), qPrintable(e.Message()));
        }
    }

    void sostituisciApice_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("sostituto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("doubling") << "l'a'b" << "''" << "l''a''b";
        QTest::newRow("no quote") << "abc \"x\"" << "''" << "abc \"x\"";
        QTest::newRow("acute") << "D'Amico" << "´" << "D´Amico";
        QTest::newRow("empty") << "" << "''" << "";
    }
    void sostituisciApice() {
        QFETCH(QString, testo);
        QFETCH(QString, sostituto);
        QFETCH(QString, atteso);
        QCOMPARE(SostituisciApice(testo, sostituto), atteso);
    }
};

QTEST_GUILESS_MAIN(TestConnessioneDB)
#include "tst_connessionedb.moc"
