// The query utility's command line, where it is looked for, and its real start through the stand-in.
#include "db/Errore.h"
#include "print/Tondrik.h"
#include "tests/support/TestDb.h"

#include <QProcess>
#include <QtTest>

namespace {

TTondrikComando_VisualizzaConQuery Comando(const QString& tabella, const QString& database, const QString& bin,
                                           const QString& progetto, int utente) {
    TTondrikComando_VisualizzaConQuery c;
    c.SetTabella(tabella);
    c.SetDatabaseName(database);
    c.SetBinDir(bin);
    c.SetNomeProgetto(progetto);
    c.SetUtente(utente);
    return c;
}

QString Leggi(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A copy of the stand-in as "Tondrik.exe" in `cartella`.
void CopiaStandIn(const QString& cartella) {
    QVERIFY(QDir().mkpath(cartella));
    QVERIFY(QFile::copy(ZEL_TONDRIK_EXE, cartella + "/Tondrik.exe"));
}

}  // namespace

class TestTondrik : public QObject {
    Q_OBJECT
    TTestDir FDir;

private slots:
    void parametri_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("bin");
        QTest::addColumn<QString>("progetto");
        QTest::addColumn<int>("utente");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("typical") << "ZELSCANLOGLIGHT" << "srv:/dati/archivio.fdb" << "C:\\Suite\\Bin" << "01" << 5
                                 << "Tabella=ZELSCANLOGLIGHT \"DatabaseName=srv:/dati/archivio.fdb\" "
                                    "\"BinDir=C:\\Suite\\Bin\" \"NomeProgetto=01\" Utente=5";
        QTest::newRow("empty values") << "" << "" << "" << "" << 0
                                      << "Tabella= \"DatabaseName=\" \"BinDir=\" \"NomeProgetto=\" Utente=0";
        QTest::newRow("blanks and quotes passed unchanged")
            << "MIA TABELLA" << "/tmp/a \"b\".fdb" << "/opt/suite bin" << "Ditta \"X\"" << -3
            << "Tabella=MIA TABELLA \"DatabaseName=/tmp/a \"b\".fdb\" \"BinDir=/opt/suite bin\" "
               "\"NomeProgetto=Ditta \"X\"\" Utente=-3";
    }
    void parametri() {
        QFETCH(QString, tabella);
        QFETCH(QString, database);
        QFETCH(QString, bin);
        QFETCH(QString, progetto);
        QFETCH(int, utente);
        QFETCH(QString, atteso);
        const auto c = Comando(tabella, database, bin, progetto, utente);
        QCOMPARE(c.GetNomeComando(), "VisualizzaConQuery");
        QCOMPARE(c.GetParametri(), atteso);
        QCOMPARE(c.CmdLine(), "VisualizzaConQuery " + atteso);
    }

    void newCommandIsEmpty() {
        TTondrikComando_VisualizzaConQuery c;
        QCOMPARE(c.GetParametri(), "Tabella= \"DatabaseName=\" \"BinDir=\" \"NomeProgetto=\" Utente=0");
    }

    void utilityPathAndCommandLine_data() {
        QTest::addColumn<bool>("combit");
        QTest::newRow("program folder") << false;
        QTest::newRow("Combit subfolder") << true;
    }
    void utilityPathAndCommandLine() {
        QFETCH(bool, combit);
        const QString base = FDir.Path(combit ? "con Combit/Programma" : "senza Combit/Programma");
        QVERIFY(QDir().mkpath(base));
        if (combit) QVERIFY(QDir().mkpath(base + "/Combit"));
        const QString exe = base + (combit ? "/Combit/Tondrik.exe" : "/Tondrik.exe");

        TTondrikFacade facade(nullptr, base);
        QCOMPARE(facade.ExeUtility(), exe);
        auto c = Comando("ZELSCANLOGLIGHT", "/dati/archivio.fdb", "/opt/suite", "01", 5);
        facade.SetComando(&c);
        // The utility's path is not quoted, even with blanks in it.
        QCOMPARE(facade.RigaComando(), exe + " VisualizzaConQuery Tabella=ZELSCANLOGLIGHT "
                                             "\"DatabaseName=/dati/archivio.fdb\" \"BinDir=/opt/suite\" "
                                             "\"NomeProgetto=01\" Utente=5");
        try {
            facade.Check();
            QFAIL("the utility is missing");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), "Utility \"" + exe + "\" non trovata");
        }
    }

    void defaultFolderIsTheProgramsOwn() {
        TTondrikFacade facade;
        QCOMPARE(facade.ExeUtility(), QCoreApplication::applicationDirPath() + "/Tondrik.exe");
    }

    // The stand-in records what it received (ZEL_TONDRIK_LOG) instead of opening its window.
    void startsTheUtilityAndWaits_data() {
        QTest::addColumn<bool>("combit");
        QTest::newRow("program folder") << false;
        QTest::newRow("Combit subfolder") << true;
    }
    void startsTheUtilityAndWaits() {
        QFETCH(bool, combit);
        const QString base = FDir.Path(combit ? "avvio Combit/Bin" : "avvio semplice/Bin");
        CopiaStandIn(combit ? base + "/Combit" : base);
        const QString log = FDir.Path(combit ? "combit.log" : "semplice.log");
        qputenv("ZEL_TONDRIK_LOG", log.toUtf8());

        TTondrikFacade facade(nullptr, base);
        auto c = Comando("ZELSCANLOGLIGHT", FDir.Path("archivio con spazi.fdb"), "/opt/suite bin", "Ditta 01", 7);
        facade.SetComando(&c);
        facade.Check();
        QVERIFY(facade.Esegui());
        qunsetenv("ZEL_TONDRIK_LOG");
        QCOMPARE(Leggi(log), "Comando=VisualizzaConQuery\nTabella=ZELSCANLOGLIGHT\nDatabaseName=" +
                                 FDir.Path("archivio con spazi.fdb") +
                                 "\nBinDir=/opt/suite bin\nNomeProgetto=Ditta 01\nUtente=7\n");
    }

    void eseguiWithoutCommandOrProgramFails() {
        const QString base = FDir.Path("vuota");
        QVERIFY(QDir().mkpath(base));
        TTondrikFacade facade(nullptr, base);
        QVERIFY(!facade.Esegui());  // no command
        auto c = Comando("T", "d", "b", "p", 1);
        facade.SetComando(&c);
        QVERIFY(!facade.Esegui());  // no program
    }

    void standInRefusesABadCommandLine_data() {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("errore");
        QTest::newRow("no command") << QStringList{} << "Tondrik: comando mancante o sconosciuto: atteso VisualizzaConQuery";
        QTest::newRow("other command") << QStringList{"Stampa", "Tabella=T"}
                                       << "Tondrik: comando mancante o sconosciuto: atteso VisualizzaConQuery";
        QTest::newRow("missing user") << QStringList{"VisualizzaConQuery", "Tabella=T", "DatabaseName=d", "BinDir=b",
                                                     "NomeProgetto=p"}
                                      << "Tondrik: argomento mancante: Utente";
        QTest::newRow("user not a number") << QStringList{"VisualizzaConQuery", "Tabella=T", "DatabaseName=d", "BinDir=b",
                                                          "NomeProgetto=p", "Utente=x"}
                                           << "Tondrik: Utente non numerico: x";
        QTest::newRow("unknown argument") << QStringList{"VisualizzaConQuery", "Colore=rosso"}
                                          << "Tondrik: argomento non riconosciuto: Colore=rosso";
    }
    void standInRefusesABadCommandLine() {
        QFETCH(QStringList, argomenti);
        QFETCH(QString, errore);
        QProcess p;
        p.start(ZEL_TONDRIK_EXE, QStringList{"--check"} + argomenti);  // unattended: no box
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).section('\n', 0, 0), errore);
    }

    // started by the program, the stand-in's user reads no error output: the message waits in a box
    void standInShowsABadCommandLineInABox() {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("ZEL_TONDRIK_LOG");
        p.setProcessEnvironment(env);
        p.start(ZEL_TONDRIK_EXE, {"VisualizzaConQuery", "Colore=rosso"});
        QVERIFY(p.waitForStarted(10000));
        QVERIFY(!p.waitForFinished(1500));  // its box is waiting for OK
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).section('\n', 0, 0),
                 "Tondrik: argomento non riconosciuto: Colore=rosso");
        p.kill();
        p.waitForFinished(5000);
    }

    void standInCheckOptionPrintsTheArguments() {
        QProcess p;
        p.start(ZEL_TONDRIK_EXE, {"--check", "VisualizzaConQuery", "Tabella=MIA", "TABELLA", "DatabaseName=/d.fdb",
                                  "BinDir=", "NomeProgetto=01", "Utente=0"});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()),
                 "Comando=VisualizzaConQuery\nTabella=MIA TABELLA\nDatabaseName=/d.fdb\nBinDir=\nNomeProgetto=01\nUtente=0\n");
    }

    // Without the check option the stand-in opens the table and keeps its window until closed;
    // a table it cannot open is reported on its error output (and in its error box).
    void standInShowsARealTable_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<bool>("errore");
        QTest::newRow("existing table") << "CLIENTI" << false;
        QTest::newRow("missing table") << "NONESISTE" << true;
    }
    void standInShowsARealTable() {
        QFETCH(QString, tabella);
        QFETCH(bool, errore);
        static const QString archivio = FDir.NuovoArchivioDemo();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(ZEL_TONDRIK_EXE, {"VisualizzaConQuery", "Tabella=" + tabella, "DatabaseName=" + archivio, "BinDir=",
                                  "NomeProgetto=01", "Utente=1"});
        QVERIFY(p.waitForStarted(10000));
        QVERIFY(!p.waitForFinished(1500));  // still showing its window or its box
        const QString uscitaErrori = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(uscitaErrori.contains("Tondrik: ") && uscitaErrori.contains("NONESISTE"), errore);
        p.kill();
        p.waitForFinished(5000);
    }
};

QTEST_MAIN(TestTondrik)
#include "tst_tondrik.moc"
