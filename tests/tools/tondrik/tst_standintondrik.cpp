// The stand-in query utility: its command line, its window on a real table (Escape and Ctrl+W
// close it, and so do the session's signals, within a second), and the real program as the
// session ends it: SIGTERM, SIGINT and SIGHUP close its window or its box and it ends normally;
// without a screen it never waits for a box.
#include "controls/ChiusuraFinestre.h"
#include "controls/MessageBoxes.h"
#include "controls/SegnaliUscita.h"
#include "db/Errore.h"
#include "tests/support/SegnaliProcesso.h"
#include "tests/support/TestDb.h"
#include "tests/support/TestiTagliati.h"
#include "tools/tondrik/FinestraTondrik.h"

#include <QHeaderView>
#include <QProcess>
#include <QtTest>
#include <csignal>

namespace {

// The stand-in's environment on `piattaforma`: offscreen has no screen, minimal could show a box.
QProcessEnvironment Ambiente(const QString& piattaforma = QStringLiteral("offscreen")) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", piattaforma);
    env.remove("ZEL_TONDRIK_LOG");
    return env;
}

QStringList Argomenti(const QString& tabella, const QString& database) {
    return {"VisualizzaConQuery", "Tabella=" + tabella, "DatabaseName=" + database, "BinDir=", "NomeProgetto=01", "Utente=1"};
}

TArgomentiTondrik Letti(const QString& tabella, const QString& database) {
    TArgomentiTondrik letti;
    QString errore;
    LeggiArgomenti(Argomenti(tabella, database), letti, errore);
    return letti;
}

}  // namespace

class TestStandInTondrik : public QObject {
    Q_OBJECT
    TTestDir FDir;
    QString FArchivio;

private slots:
    void initTestCase() { FArchivio = FDir.NuovoArchivioDemo(); }

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

    // Started by the program, the stand-in's user reads no error output: on a screen the message
    // waits in a box; without one (offscreen) nobody could close a box, and the stand-in ends at once.
    void standInShowsABadCommandLineInABox_data() {
        QTest::addColumn<QString>("piattaforma");
        QTest::addColumn<bool>("box");
        QTest::newRow("on a screen") << "minimal" << true;
        QTest::newRow("offscreen") << "offscreen" << false;
    }
    void standInShowsABadCommandLineInABox() {
        QFETCH(QString, piattaforma);
        QFETCH(bool, box);
        QProcess p;
        p.setProcessEnvironment(Ambiente(piattaforma));
        p.start(ZEL_TONDRIK_EXE, {"VisualizzaConQuery", "Colore=rosso"});
        QVERIFY(p.waitForStarted(10000));
        QCOMPARE(!p.waitForFinished(box ? 1500 : 30000), box);  // a box waits for OK
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).section('\n', 0, 0),
                 "Tondrik: argomento non riconosciuto: Colore=rosso");
        if (!box) QCOMPARE(p.exitCode(), 2);
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

    // Without the check option the stand-in opens the table and keeps its window until closed; a
    // table it cannot open is reported on its error output, and without a screen it ends at once.
    void standInShowsARealTable_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<bool>("errore");
        QTest::newRow("existing table") << "CLIENTI" << false;
        QTest::newRow("missing table") << "NONESISTE" << true;
    }
    void standInShowsARealTable() {
        QFETCH(QString, tabella);
        QFETCH(bool, errore);
        QProcess p;
        p.setProcessEnvironment(Ambiente());
        p.start(ZEL_TONDRIK_EXE, Argomenti(tabella, FArchivio));
        QVERIFY(p.waitForStarted(10000));
        QCOMPARE(p.waitForFinished(errore ? 30000 : 1500), errore);  // the window stays
        const QString uscitaErrori = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(uscitaErrori.contains("Tondrik: ") && uscitaErrori.contains("NONESISTE"), errore);
        if (errore) QCOMPARE(p.exitCode(), 1);
        p.kill();
        p.waitForFinished(5000);
    }

    // The window shows the table's rows; Escape and Ctrl+W close it, wherever the focus is.
    void keysCloseTheWindow_data() {
        QTest::addColumn<QKeySequence>("tasto");
        QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void keysCloseTheWindow() {
        QFETCH(QKeySequence, tasto);
        TFinestraTondrik finestra(Letti("CLIENTI", FArchivio));
        finestra.Apri();
        finestra.show();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        QCOMPARE(finestra.windowTitle(), "Tondrik - CLIENTI");
        QVERIFY(finestra.model()->rowCount() > 0);
        finestra.setCurrentIndex(finestra.model()->index(0, 1));
        QTest::keyClick(finestra.viewport(), Qt::Key(tasto[0].key()), tasto[0].keyboardModifiers());
        QVERIFY(!finestra.isVisible());
    }

    // The columns start as wide as the grid's: every title and every value of the log whole, the
    // dates and times too.
    void columnsShowTitlesAndValues() {
        TFinestraTondrik finestra(Letti("ZELSCANLOGLIGHT", FArchivio));
        finestra.Apri();
        while (finestra.model()->canFetchMore({})) finestra.model()->fetchMore({});
        const QStringList tagliati = TitoliTagliati(*finestra.horizontalHeader());
        QVERIFY2(tagliati.isEmpty(), qPrintable(tagliati.join('\n')));
        const QAbstractItemView& vista = finestra;  // where the values' measure is public
        for (int c = 0; c < finestra.model()->columnCount(); ++c) {
            QVERIFY2(vista.sizeHintForColumn(c) <= finestra.columnWidth(c),
                     qPrintable(finestra.model()->headerData(c, Qt::Horizontal).toString()));
        }
    }

    void tableThatCannotBeOpened() {
        TFinestraTondrik finestra(Letti("NONESISTE", FArchivio));
        try {
            finestra.Apri();
            QFAIL("the table does not exist");
        } catch (const Exception& e) {
            QVERIFY2(e.Message().contains("NONESISTE"), qPrintable(e.Message()));
        }
    }

    // A signal of the session closes the window within a second, as the program's main does it.
    void signalClosesTheWindow_data() {
        QTest::addColumn<int>("segnale");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalClosesTheWindow() {
        QFETCH(int, segnale);
        TFinestraTondrik finestra(Letti("CLIENTI", FArchivio));
        finestra.Apri();
        TSegnaliUscita segnali(ChiudiProgramma);
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        std::raise(segnale);
        QTRY_VERIFY_WITH_TIMEOUT(!finestra.isVisible(), 1000);
        SetMessageBoxes(nullptr);  // the boxes that the signal silenced
    }

    // The session's signals close the window of the real program, which ends normally, or the
    // error box it shows on a screen, after which it ends with the error's code.
    void signalsEndTheProgram_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("piattaforma");
        QTest::addColumn<int>("segnale");
        QTest::addColumn<int>("codice");
        QTest::newRow("window, SIGTERM") << "CLIENTI" << "offscreen" << int(SIGTERM) << 0;
        QTest::newRow("window, SIGINT") << "CLIENTI" << "offscreen" << int(SIGINT) << 0;
        QTest::newRow("window, SIGHUP") << "CLIENTI" << "offscreen" << int(SIGHUP) << 0;
        QTest::newRow("error box, SIGTERM") << "NONESISTE" << "minimal" << int(SIGTERM) << 1;
    }
    void signalsEndTheProgram() {
        QFETCH(QString, tabella);
        QFETCH(QString, piattaforma);
        QFETCH(int, segnale);
        QFETCH(int, codice);
        QProcess p;
        p.setProcessEnvironment(Ambiente(piattaforma));
        p.start(ZEL_TONDRIK_EXE, Argomenti(tabella, FArchivio));
        QVERIFY(p.waitForStarted(10000));
        const TFineSegnale fine = TerminaConSegnale(p, segnale);
        QVERIFY2(fine.Inviato, "the utility ended, or had no handlers, before the signal");
        QVERIFY2(fine.Finito, "the utility went on after the signal");
        QCOMPARE(fine.Stato, QProcess::NormalExit);  // closed, not killed by the signal
        QCOMPARE(fine.Codice, codice);
    }
};

QTEST_MAIN(TestStandInTondrik)
#include "tst_standintondrik.moc"
