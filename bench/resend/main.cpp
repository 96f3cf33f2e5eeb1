// Measures what the re-send exchange adds to a plain HTTP POST: both run against zelscansrv on
// 127.0.0.1 with a small demo archive, alternating, and the medians are compared.
// Usage: bench_resend [iterations]   (default 300; target: added time under 5 ms)
#include "app/server/InvioFromSrv.h"
#include "db/FbDatabase.h"
#include "sql/DemoData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Orologio = std::chrono::steady_clock;

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

size_t Raccogli(char* dati, size_t dim, size_t n, void* ud) {
    static_cast<std::string*>(ud)->append(dati, dim * n);
    return dim * n;
}

// The same POST with nothing around it: a fresh handle, the same headers, the body kept as bytes.
bool PostNudo(const std::string& url, const QByteArray& corpo) {
    CURL* c = curl_easy_init();
    curl_slist* h = curl_slist_append(nullptr, "Content-Type: application/json");
    h = curl_slist_append(h, "Expect:");
    std::string risposta;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, corpo.constData());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(corpo.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, h);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Raccogli);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &risposta);
    const bool ok = curl_easy_perform(c) == CURLE_OK && risposta.find("\"Status\":\"1\"") != std::string::npos;
    curl_slist_free_all(h);
    curl_easy_cleanup(c);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int iterazioni = argc > 1 ? std::max(1, atoi(argv[1])) : 300;

    QTemporaryDir dir;
    const QString archivio = dir.filePath("archivio.fdb");
    DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
    {
        TFbDatabase db;
        db.SetDatabaseName(archivio);
        db.Params() = QStringList{"user_name=SYSDBA", "password=quillbent"};
        db.Open();
        DemoData::PopolaArchivioBase(db);
    }
    QDir().mkpath(dir.filePath("file"));
    QFile lavoro(dir.filePath("file/A123_pannello.dxf"));
    if (!lavoro.open(QIODevice::WriteOnly)) return 1;
    lavoro.write(QByteArray(4096, 'x'));
    lavoro.close();

    QProcess server;
    server.start(ZELSCANSRV_PATH, {"--listen", "127.0.0.1:0", "--archivio", archivio, "--files", dir.filePath("file"),
                                   "--outbox", dir.filePath("outbox"), "--log", dir.filePath("zelscansrv.log")});
    if (!server.waitForStarted() || !server.waitForReadyRead(30000)) {
        std::fprintf(stderr, "zelscansrv non avviato: %s\n", server.readAllStandardError().constData());
        return 1;
    }
    const QString base = QString::fromLocal8Bit(server.readLine()).trimmed().section(' ', -1);  // http://127.0.0.1:<port>

    TZelFileFromSrvRequest richiesta;
    richiesta.SetIdLogFile(1);
    richiesta.SetSerDoc("A123");
    richiesta.SetNrMacchina(1);
    richiesta.SetUtenteId(1);
    richiesta.SetDitta("01");
    const QByteArray corpo = richiesta.ToJsonString().toLatin1();
    const std::string url = (base + PercorsoFromSrv).toStdString();

    std::vector<double> invio, nudo;
    int errori = 0;
    const auto ms = [](Orologio::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
    for (int i = -20; i < iterazioni; ++i) {  // the first 20 rounds warm up
        auto t0 = Orologio::now();
        const auto risposta = EseguiInvioFromSrv(richiesta, base);
        const double tInvio = ms(Orologio::now() - t0);
        t0 = Orologio::now();
        const bool okNudo = PostNudo(url, corpo);
        const double tNudo = ms(Orologio::now() - t0);
        if (risposta->IsError() || !okNudo) ++errori;
        if (i >= 0) {
            invio.push_back(tInvio);
            nudo.push_back(tNudo);
        }
    }
    server.terminate();
    server.waitForFinished(10000);

    const double mInvio = Mediana(invio), mNudo = Mediana(nudo);
    std::printf("re-send round trip against zelscansrv (%d iterations, %d failed)\n", iterazioni, errori);
    std::printf("  EseguiInvioFromSrv median: %8.3f ms\n", mInvio);
    std::printf("  bare libcurl POST median:  %8.3f ms\n", mNudo);
    std::printf("  added time:                %8.3f ms (target < 5 ms)\n", mInvio - mNudo);
    return errori ? 1 : 0;
}
