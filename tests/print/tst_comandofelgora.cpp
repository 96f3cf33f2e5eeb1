// The report launcher's command file, its path and the launcher's command line.
#include "db/Errore.h"
#include "print/Felgora.h"
#include "print/FileAnsi.h"

#include <QtTest>

namespace {

const QString Sep = QDir::separator();

}  // namespace

class TestComandoFelgora : public QObject {
    Q_OBJECT
    QTemporaryDir FDir;

private slots:
    void commandFile_data() {
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("quinta");
        QTest::newRow("preview") << int(mrAnteprima) << "<AnteprimaDiretta>1</AnteprimaDiretta>";
        QTest::newRow("edit") << int(mrEdita) << "<EditaReportDiretto>1</EditaReportDiretto>";
    }
    // A three-line SQL spans three lines of the file; only the mode line tells preview from edit.
    void commandFile() {
        QFETCH(int, modo);
        QFETCH(QString, quinta);
        const QString sql = "SELECT *\r\nFROM ZELSCANLOGLIGHT\r\nWHERE DATOINPUT = 'A123'\r\n";
        const QString testo = TestoComandoFelgora(sql, "/opt/suite/report/StPtqGrid_20260102030405006.LST",
                                                  "ZELSCANLOGLIGHT", modo);
        QCOMPARE(testo, "<PtqForm>\r\n"
                        "<SQLStampa>SELECT *\r\n"
                        "FROM ZELSCANLOGLIGHT\r\n"
                        "WHERE DATOINPUT = 'A123'\r\n"
                        "</SQLStampa>\r\n"
                        "<NomeReport>/opt/suite/report/StPtqGrid_20260102030405006.LST</NomeReport>\r\n"
                        "<TitoloStampa>ZELSCANLOGLIGHT</TitoloStampa>\r\n" +
                            quinta + "\r\n</PtqForm>\r\n");
        // Nine lines: the six items, the SQL taking three.
        QCOMPARE(testo.count("\r\n"), 9);
    }

    // Nothing between the tags is escaped.
    void nothingEscaped() {
        const QString testo = TestoComandoFelgora("SELECT '<a>' || \"X\" FROM T\r\n", "/a b/\"r\".LST", "MIA \"TAB\" & <1>",
                                                  mrAnteprima);
        QVERIFY(testo.contains("<SQLStampa>SELECT '<a>' || \"X\" FROM T\r\n</SQLStampa>\r\n"));
        QVERIFY(testo.contains("<NomeReport>/a b/\"r\".LST</NomeReport>\r\n"));
        QVERIFY(testo.contains("<TitoloStampa>MIA \"TAB\" & <1></TitoloStampa>\r\n"));
    }

    void commandFilePath_data() {
        QTest::addColumn<QString>("binDir");
        QTest::addColumn<QString>("atteso");
        const QString nome = "20261210093005042.txt";
        QTest::newRow("bin folder") << "/opt/suite" << "/opt/suite" + Sep + "Report" + Sep + nome;
        QTest::newRow("bin folder ending with the separator")
            << "/opt/suite" + Sep << "/opt/suite" + Sep + "Report" + Sep + nome;
        QTest::newRow("blanks kept") << "/opt/la suite" << "/opt/la suite" + Sep + "Report" + Sep + nome;
        // With no bin folder the file goes beside the program, never to the root of a drive.
        QTest::newRow("no bin folder") << "" << QDir::toNativeSeparators("/programmi/zel") + Sep + nome;
    }
    void commandFilePath() {
        QFETCH(QString, binDir);
        QFETCH(QString, atteso);
        const QDateTime istante(QDate(2026, 12, 10), QTime(9, 30, 5, 42));
        QCOMPARE(PercorsoComandoFelgora(binDir, "/programmi/zel", istante), atteso);
    }

    void timeStamp() {
        QCOMPARE(MarcaTemporale(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 6))), "20260102030405006");
        QCOMPARE(MarcaTemporale(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))), "20261231235959999");
    }

    void commandLine_data() {
        QTest::addColumn<bool>("combit");
        QTest::newRow("program folder") << false;
        QTest::newRow("Combit subfolder") << true;
    }
    // The launcher's path is quoted (blanks in it are kept), the user is not, the file is.
    void commandLine() {
        QFETCH(bool, combit);
        const QString base = FDir.filePath(combit ? "con Combit/Bin" : "senza Combit/Bin");
        QVERIFY(QDir().mkpath(base));
        if (combit) QVERIFY(QDir().mkpath(base + "/Combit"));
        const QString cartella = QDir::toNativeSeparators(base) + Sep + (combit ? "Combit" + Sep : QString());
        QCOMPARE(RigaComandoFelgora(base, 7, "/opt/la suite/Report/1.txt"),
                 "\"" + cartella + "Felgora.exe\" 7 \"/opt/la suite/Report/1.txt\"");
        QCOMPARE(RigaComandoFelgora(base + "/", -2, "x.txt"), "\"" + cartella + "Felgora.exe\" -2 \"x.txt\"");
    }

    void missingLauncherDoesNotStart() {
        QVERIFY(!AvviaFelgora(FDir.filePath("nessuno"), 1, FDir.filePath("c.txt")));
    }

    // The file for the launcher: ANSI bytes as given, no byte-order mark; a folder that is missing
    // is the file layer's error.
    void ansiFile() {
        const QString percorso = FDir.filePath("comando.txt");
        ScriviFileAnsi(percorso, "<TitoloStampa>Città €</TitoloStampa>\r\n");
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<TitoloStampa>Citt\xE0 \x80</TitoloStampa>\r\n"));
        try {
            ScriviFileAnsi(FDir.filePath("manca/comando.txt"), "x");
            QFAIL("the folder is missing");
        } catch (const Exception& e) {
            QVERIFY(e.Message().startsWith("Impossibile creare il file \"" + FDir.filePath("manca/comando.txt") + "\":\r\n"));
        }
    }
};

QTEST_MAIN(TestComandoFelgora)
#include "tst_comandofelgora.moc"
