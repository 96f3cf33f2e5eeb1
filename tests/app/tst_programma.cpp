// The program as the session runs it, a process of its own: a signal from the session ends it as
// its close box does, and the check option never waits for anyone.
#include "tests/app/AmbienteProva.h"
#include "tests/support/SegnaliProcesso.h"

#include <QProcess>
#include <QtTest>
#include <csignal>

class TestProgramma : public QObject {
    Q_OBJECT
    TAmbienteProva FAmb;
    QString FProgramma;  // a copy of the program beside its INI file, as installed

    // The child's environment: offscreen, with a runtime folder of its own so that Qt writes
    // nothing but the program's own messages to standard error.
    QProcessEnvironment AmbienteFiglio() {
        const QString runtime = FAmb.Dir.Path("runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", runtime);
        return env;
    }

    void Avvia(QProcess& p, const QStringList& argomenti = {}) {
        p.setProcessEnvironment(AmbienteFiglio());
        p.start(FProgramma, argomenti);
        QVERIFY(p.waitForStarted(10000));
    }

private slots:
    void initTestCase() {
        FAmb.IniStandard();  // ParametriZelScan.ini in the test's folder
        FProgramma = FAmb.Dir.Path("ZelScanFile");
        QVERIFY(QFile::copy(ZEL_PROGRAMMA_EXE, FProgramma));
    }

    // The window's close within a second of the signal: tst_formmain; the whole process's end, from
    // the signal to the exit, on this machine: bench_segnali.
    void signalEndsTheIdleProgram_data() {
        QTest::addColumn<int>("segnale");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalEndsTheIdleProgram() {
        QFETCH(int, segnale);
        QProcess p;
        Avvia(p);
        const TFineSegnale fine = TerminaConSegnale(p, segnale);
        QVERIFY2(fine.Inviato, "the program ended, or had no handlers, before the signal");
        QVERIFY2(fine.Finito, "the program went on after the signal");
        QCOMPARE(fine.Stato, QProcess::NormalExit);  // closed, not killed by the signal
        QCOMPARE(fine.Codice, 0);
    }

    // --check: the message on the error output and a non-zero exit code, without a box to wait on
    void checkPrintsTheStartUpErrorAndExits_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("INI file missing") << QString() << "File ParametriZelScan.ini non trovato";
        QTest::newRow("user unknown") << "[CONFIG]\r\nUTENTE=77\r\nDITTA=01\r\nPercorsoDatabase={UTENTI}\r\n"
                                      << "Errore nei parametri di ParametriZelScan.ini\r\nUtente 77 non trovato nello USER.FDB";
    }
    void checkPrintsTheStartUpErrorAndExits() {
        QFETCH(QString, ini);
        QFETCH(QString, messaggio);
        TTestDir dir;
        const QString programma = dir.Path("ZelScanFile");
        QVERIFY(QFile::copy(ZEL_PROGRAMMA_EXE, programma));
        if (!ini.isEmpty()) {
            QFile f(dir.Path("ParametriZelScan.ini"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QString(ini).replace("{UTENTI}", FAmb.Utenti).toUtf8());
        }
        QProcess p;
        p.setProcessEnvironment(AmbienteFiglio());
        p.start(programma, {"--check"});
        const bool finito = p.waitForFinished(30000);
        if (!finito) p.kill(), p.waitForFinished(5000);
        QVERIFY2(finito, "--check waited on a box");
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY(p.exitCode() != 0);
        const QString errori = QString::fromLocal8Bit(p.readAllStandardError());
        QVERIFY2(errori.startsWith("Errore: Esecuzione non consentita:\r\n" + messaggio), qPrintable(errori));
    }

    void checkOfAGoodInstallationSaysNothing() {
        QProcess p;
        Avvia(p, {"--check"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(!p.readAllStandardError().contains("Esecuzione non consentita"));
    }
};

QTEST_GUILESS_MAIN(TestProgramma)
#include "tst_programma.moc"
