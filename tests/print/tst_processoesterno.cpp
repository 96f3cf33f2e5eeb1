// Command lines split as Windows splits them, and starting a program that may not exist.
#include "print/ProcessoEsterno.h"

#include <QtTest>

class TestProcessoEsterno : public QObject {
    Q_OBJECT
private slots:
    void dividiRigaComando_data() {
        QTest::addColumn<QString>("riga");
        QTest::addColumn<QStringList>("atteso");
        QTest::newRow("plain") << "a b  c" << QStringList{"a", "b", "c"};
        QTest::newRow("tabs") << "a\tb" << QStringList{"a", "b"};
        QTest::newRow("quoted with blanks") << "\"DatabaseName=/tmp/a b.fdb\" x" << QStringList{"DatabaseName=/tmp/a b.fdb", "x"};
        QTest::newRow("quotes inside an argument") << "Tab\"ella X\"Y" << QStringList{"Tabella XY"};
        QTest::newRow("empty quotes") << "a \"\" b" << QStringList{"a", "", "b"};
        QTest::newRow("doubled quote inside quotes") << "\"a\"\"b\"" << QStringList{"a\"b"};
        QTest::newRow("escaped quote") << "a\\\"b" << QStringList{"a\"b"};
        QTest::newRow("two backslashes then quote") << "\"a\\\\\" b" << QStringList{"a\\", "b"};
        QTest::newRow("backslashes kept") << "C:\\Bin\\x" << QStringList{"C:\\Bin\\x"};
        QTest::newRow("trailing backslash before closing quote") << "\"BinDir=C:\\Bin\\\" x"
                                                                 << QStringList{"BinDir=C:\\Bin\" x"};
        QTest::newRow("unclosed quote") << "\"a b" << QStringList{"a b"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("blanks only") << "   " << QStringList{};
    }
    void dividiRigaComando() {
        QFETCH(QString, riga);
        QFETCH(QStringList, atteso);
        QCOMPARE(DividiRigaComando(riga), atteso);
    }

    void missingProgramDoesNotStart() {
        QVERIFY(!EseguiEAttendi("/nessuna/cartella/Programma.exe a b", TFinestraAvvio::Minimizzata));
        QVERIFY(!EseguiEAttendi("/nessuna/cartella con spazi/P.exe a", TFinestraAvvio::Nascosta,
                                "/nessuna/cartella con spazi/P.exe"));
        QVERIFY(!EseguiEAttendi("", TFinestraAvvio::Nascosta));
    }

    void waitsForTheProgramToEnd() {
        QTemporaryDir dir;
        const QString segnale = dir.filePath("fatto");
        QElapsedTimer t;
        t.start();
        QVERIFY(EseguiEAttendi("/bin/sh -c \"sleep 0.3; touch '" + segnale + "'\"", TFinestraAvvio::Nascosta));
        QVERIFY(QFile::exists(segnale));
        QVERIFY(t.elapsed() >= 300);
    }
};

QTEST_MAIN(TestProcessoEsterno)
#include "tst_processoesterno.moc"
