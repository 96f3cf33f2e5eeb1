// The query utility's command line, where it is looked for, and its real start through the stand-in
// (the stand-in itself: tests/tools/tondrik).
#include "db/Errore.h"
#include "print/Tondrik.h"
#include "tests/support/TestDb.h"

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
};

QTEST_MAIN(TestTondrik)
#include "tst_tondrik.moc"
