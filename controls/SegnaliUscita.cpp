#include "controls/SegnaliUscita.h"

#include <QSocketNotifier>

#include <iterator>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int Segnali[] = {SIGTERM, SIGINT, SIGHUP};
int gPipe[2] = {-1, -1};
struct sigaction gPrecedenti[std::size(Segnali)];

void SuSegnale(int numero) {
    const int errnoSalvato = errno;
    const char byte = char(numero);
    [[maybe_unused]] const ssize_t scritti = ::write(gPipe[1], &byte, 1);  // full pipe: a request is pending anyway
    errno = errnoSalvato;
}

}  // namespace

TSegnaliUscita::TSegnaliUscita(std::function<void()> chiudi, QObject* parent)
    : QObject(parent), FChiudi(std::move(chiudi)) {
    Q_ASSERT(gPipe[0] < 0);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gPipe) != 0) {
        qWarning("socketpair: %s", strerror(errno));
        gPipe[0] = gPipe[1] = -1;
        return;
    }
    FNotifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TSegnaliUscita::Leggi);
    struct sigaction sa = {};
    sa.sa_handler = SuSegnale;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Segnali); ++i) sigaction(Segnali[i], &sa, &gPrecedenti[i]);
}

TSegnaliUscita::~TSegnaliUscita() {
    if (gPipe[0] < 0) return;
    for (size_t i = 0; i < std::size(Segnali); ++i) sigaction(Segnali[i], &gPrecedenti[i], nullptr);
    delete FNotifier;
    ::close(gPipe[0]);
    ::close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void TSegnaliUscita::Leggi() {
    char byte[16];
    while (::read(gPipe[0], byte, sizeof byte) > 0) {
    }
    FChiudi();
}

#else

TSegnaliUscita::TSegnaliUscita(std::function<void()> chiudi, QObject* parent)
    : QObject(parent), FChiudi(std::move(chiudi)) {}
TSegnaliUscita::~TSegnaliUscita() = default;
void TSegnaliUscita::Leggi() {}

#endif
