#pragma once
// SIGTERM, SIGINT and SIGHUP (the session's logout, kill, Ctrl+C, a closed terminal) reach the
// program, or a companion program of the suite, as a request to close. The handler only writes
// the signal's number into a pipe; the event loop reads it and runs the request. The database client installs handlers of its own for
// SIGINT and SIGTERM when it is loaded: create this after the first connection, so these win.
// One instance at a time; destroying it restores the handlers found. Windows has no such
// signals: there the class does nothing.
#include <QObject>
#include <functional>

class QSocketNotifier;

class TSegnaliUscita : public QObject {
    Q_OBJECT
public:
    explicit TSegnaliUscita(std::function<void()> chiudi, QObject* parent = nullptr);
    ~TSegnaliUscita() override;

private:
    void Leggi();
    std::function<void()> FChiudi;
    QSocketNotifier* FNotifier = nullptr;
};
