#include "bench/albero/MappaFinestre.h"

#include "db/Errore.h"

#include <QElapsedTimer>
#include <cstdlib>
#include <poll.h>
#include <xcb/xcb.h>

TOsservatoreMappe::TOsservatoreMappe() {
    int schermo = 0;
    FConnessione = xcb_connect(nullptr, &schermo);
    if (xcb_connection_has_error(FConnessione)) {
        xcb_disconnect(FConnessione);
        throw Exception("X server not reachable (DISPLAY)");
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(FConnessione));
    for (int i = 0; i < schermo; ++i) xcb_screen_next(&it);
    const uint32_t maschera = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(FConnessione, it.data->root, XCB_CW_EVENT_MASK, &maschera);
    const char nome[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t* atomo =
        xcb_intern_atom_reply(FConnessione, xcb_intern_atom(FConnessione, 0, sizeof nome - 1, nome), nullptr);
    if (atomo) FAtomPid = atomo->atom;
    std::free(atomo);
    xcb_flush(FConnessione);
}

TOsservatoreMappe::~TOsservatoreMappe() { xcb_disconnect(FConnessione); }

qint64 TOsservatoreMappe::PidFinestra(quint32 finestra) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        FConnessione, xcb_get_property(FConnessione, 0, finestra, FAtomPid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    qint64 pid = -1;
    if (r && xcb_get_property_value_length(r) >= 4) pid = *static_cast<const uint32_t*>(xcb_get_property_value(r));
    std::free(r);
    return pid;
}

bool TOsservatoreMappe::AttendiMappa(qint64 pid, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    pollfd pfd{xcb_get_file_descriptor(FConnessione), POLLIN, 0};
    while (t.elapsed() < timeoutMs) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(FConnessione)) {
            const bool mappa = (e->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_map_notify_event_t mappata = *reinterpret_cast<xcb_map_notify_event_t*>(e);
            std::free(e);
            if (mappa && !mappata.override_redirect && PidFinestra(mappata.window) == pid) return true;
        }
        if (xcb_connection_has_error(FConnessione)) return false;
        poll(&pfd, 1, int(qMax<qint64>(1, timeoutMs - t.elapsed())));
    }
    return false;
}
