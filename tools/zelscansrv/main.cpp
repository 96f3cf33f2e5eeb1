// zelscansrv: a stand-in for the scan server ZelScanSrv. It answers POST "/ZelFile/FromSrv" by
// copying the logged work file into outbox/macchina_<NR>/, as if sending it to the machine.
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "tools/zelscansrv/Opzioni.h"
#include "tools/zelscansrv/Registro.h"
#include "tools/zelscansrv/ServizioFromSrv.h"

#include <QDir>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

namespace {

const char* const Percorso = "/ZelFile/FromSrv";
// A re-send request is a few hundred bytes: a longer body is refused with 413 before it is read.
constexpr size_t LimiteCorpo = 64 * 1024;

void Errore(const QString& testo) { std::fprintf(stderr, "zelscansrv: %s\n", testo.toLocal8Bit().constData()); }

void Instrada(httplib::Server& srv, TServizioFromSrv& servizio, TRegistro& registro) {
    srv.set_payload_max_length(LimiteCorpo);
    srv.Post(Percorso, [&servizio](const httplib::Request& req, httplib::Response& res) {
        res.set_content(servizio.Rispondi(req.body), "application/json; charset=utf-8");
    });
    const auto nonPermesso = [](const httplib::Request&, httplib::Response& res) {
        res.status = 405;
        res.set_header("Allow", "POST");
    };
    srv.Get(Percorso, nonPermesso);  // HEAD too
    srv.Put(Percorso, nonPermesso);
    srv.Patch(Percorso, nonPermesso);
    srv.Delete(Percorso, nonPermesso);
    srv.Options(Percorso, nonPermesso);
    srv.set_logger([&registro](const httplib::Request& req, const httplib::Response& res) {
        registro.Scrivi(QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(QString::fromStdString(req.remote_addr), QString::fromStdString(req.method),
                                 QString::fromStdString(req.path))
                            .arg(res.status)
                            .arg(QString::fromStdString(res.body)));
    });
}

}  // namespace

int main(int argc, char** argv) {
    QStringList argomenti;
    for (int i = 1; i < argc; ++i) argomenti << QString::fromLocal8Bit(argv[i]);
    TOpzioni opzioni;
    TRegistro registro;
    try {
        opzioni = LeggiOpzioni(argomenti);
        if (opzioni.Aiuto) {
            std::fputs(UsoZelScanSrv, stdout);
            return 0;
        }
        registro.Apri(opzioni.FileLog);
    } catch (const Exception& e) {
        Errore(e.Message());
        std::fputs(UsoZelScanSrv, stderr);
        return 2;
    }

    // SIGINT and SIGTERM are taken by one waiting thread; every other thread keeps them blocked.
    sigset_t segnali;
    sigemptyset(&segnali);
    sigaddset(&segnali, SIGINT);
    sigaddset(&segnali, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &segnali, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    TFbDatabase archivio;
    archivio.SetDatabaseName(opzioni.Archivio);
    archivio.Params() = QStringList{"user_name=SYSDBA", "password=quillbent"};
    archivio.SetLoginPrompt(false);
    try {
        archivio.Open();
    } catch (const Exception& e) {
        Errore(QStringLiteral("impossibile aprire l'archivio %1: %2").arg(opzioni.Archivio, e.Message()));
        return 1;
    }
    QDir().mkpath(opzioni.CartellaOutbox);
    TServizioFromSrv servizio(archivio, opzioni.CartellaFile, opzioni.CartellaOutbox);
    httplib::Server srv;
    Instrada(srv, servizio, registro);

    const std::string host = opzioni.Host.toStdString();
    const int porta = opzioni.Porta == 0 ? srv.bind_to_any_port(host)
                                         : (srv.bind_to_port(host, opzioni.Porta) ? opzioni.Porta : -1);
    if (porta <= 0) {
        Errore(QStringLiteral("impossibile ascoltare su %1:%2").arg(opzioni.Host).arg(opzioni.Porta));
        return 1;
    }
    std::printf("ZelScanSrv in ascolto su http://%s:%d\n", host.c_str(), porta);
    std::fflush(stdout);

    std::atomic<bool> finito{false};
    std::thread attesa([&] {
        int segnale = 0;
        sigwait(&segnali, &segnale);
        if (finito) return;
        while (!srv.is_running() && !finito) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        srv.stop();
    });
    const bool ok = srv.listen_after_bind();
    finito = true;
    pthread_kill(attesa.native_handle(), SIGTERM);  // wakes the waiting thread if no signal came
    attesa.join();
    archivio.Close();
    registro.Scrivi(QStringLiteral("ZelScanSrv fermato"));
    return ok ? 0 : 1;
}
