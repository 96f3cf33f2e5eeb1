#include "tests/support/SegnaliProcesso.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <csignal>

bool GestisceSegnale(qint64 pid, int segnale) {
    QFile stato(QString("/proc/%1/status").arg(pid));
    if (!stato.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& riga : stato.readAll().split('\n'))
        if (riga.startsWith("SigCgt:")) return (riga.mid(7).trimmed().toULongLong(nullptr, 16) >> (segnale - 1)) & 1;
    return false;
}

TFineSegnale TerminaConSegnale(QProcess& processo, int segnale) {
    TFineSegnale fine;
    QElapsedTimer attesa;
    attesa.start();
    while (processo.state() == QProcess::Running && !GestisceSegnale(processo.processId(), SIGHUP) && attesa.elapsed() < 30000)
        QTest::qWait(20);
    if (processo.state() != QProcess::Running || !GestisceSegnale(processo.processId(), SIGHUP)) return fine;
    QTest::qWait(500);  // the window shown, the event loop idle
    QElapsedTimer t;
    t.start();
    fine.Inviato = ::kill(pid_t(processo.processId()), segnale) == 0;
    fine.Finito = processo.waitForFinished(10000);
    fine.Millisecondi = t.elapsed();
    if (!fine.Finito) {
        processo.kill();
        processo.waitForFinished(5000);
        return fine;
    }
    fine.Stato = processo.exitStatus();
    fine.Codice = processo.exitCode();
    return fine;
}
