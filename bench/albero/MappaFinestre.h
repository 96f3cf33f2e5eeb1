#pragma once
// Watches the X server of DISPLAY for top-level windows being mapped, without polling: one
// connection listens to the root window's structure events, so a program under measurement
// shares the machine with nobody but itself.
#include <QtGlobal>

struct xcb_connection_t;

class TOsservatoreMappe {
public:
    TOsservatoreMappe();  // raises Exception when the X server cannot be reached
    ~TOsservatoreMappe();
    TOsservatoreMappe(const TOsservatoreMappe&) = delete;
    TOsservatoreMappe& operator=(const TOsservatoreMappe&) = delete;

    // Waits until a top-level window of process `pid` (its _NET_WM_PID) is mapped; false when
    // none is within `timeoutMs`.
    bool AttendiMappa(qint64 pid, int timeoutMs);

private:
    qint64 PidFinestra(quint32 finestra);

    xcb_connection_t* FConnessione = nullptr;
    quint32 FAtomPid = 0;
};
