#pragma once
// A child process ended by a signal of the session, as a logout, kill or Ctrl+C would end it.
#include <QProcess>

// Whether the process has a handler of its own for the signal (its SigCgt mask in /proc).
bool GestisceSegnale(qint64 pid, int segnale);

struct TFineSegnale {
    bool Inviato = false;  // false: the process ended, or never handled SIGHUP, before the signal
    bool Finito = false;  // ended within 10 s of the signal (else it was killed)
    QProcess::ExitStatus Stato = QProcess::CrashExit;  // NormalExit: it closed, the signal did not kill it
    int Codice = -1;
    qint64 Millisecondi = -1;  // from the signal to the end: a figure for bench_segnali, no test's limit
};

// Waits (30 s at most) until `processo` handles SIGHUP itself, which the programs of the suite do
// once their window can be closed, lets its event loop go idle, then sends `segnale` and waits
// for the end.
TFineSegnale TerminaConSegnale(QProcess& processo, int segnale);
