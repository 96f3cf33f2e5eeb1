#include "app/server/HttpPost.h"

#include "db/Charset.h"
#include "db/Errore.h"

#include <QList>
#include <QStringDecoder>
#include <curl/curl.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <mutex>
#ifdef Q_OS_WIN
#include <winsock2.h>
#endif

namespace {

using Orologio = std::chrono::steady_clock;

void InizializzaCurl() {
    static std::once_flag fatto;
    std::call_once(fatto, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// State of one exchange shared with libcurl's callbacks.
struct TScambio {
    QByteArray Corpo;
    QString StatusLine;       // the last status line received (a 1xx line is replaced by the final one)
    Orologio::time_point UltimoMovimento = Orologio::now();
    bool Connesso = false;
    curl_off_t Trasferiti = 0;
    std::chrono::milliseconds LimiteLettura{0};
    bool LetturaScaduta = false;
};

size_t SuCorpo(char* dati, size_t dim, size_t n, void* ud) {
    auto* s = static_cast<TScambio*>(ud);
    s->Corpo.append(dati, qsizetype(dim * n));
    s->UltimoMovimento = Orologio::now();
    return dim * n;
}

size_t SuIntestazione(char* dati, size_t dim, size_t n, void* ud) {
    auto* s = static_cast<TScambio*>(ud);
    QByteArray riga(dati, qsizetype(dim * n));
    if (riga.startsWith("HTTP/")) {
        while (riga.endsWith('\r') || riga.endsWith('\n')) riga.chop(1);
        s->StatusLine = QString::fromLatin1(riga);
    }
    s->UltimoMovimento = Orologio::now();
    return dim * n;
}

int SuConnessione(void* ud, char*, char*, int, int) {
    auto* s = static_cast<TScambio*>(ud);
    s->Connesso = true;
    s->UltimoMovimento = Orologio::now();
    return CURL_PREREQFUNC_OK;
}

// Called by libcurl while the exchange runs (about once a second when nothing moves): ends it
// when, once connected, no byte went either way for the read time-out.
int SuProgresso(void* ud, curl_off_t, curl_off_t ricevuti, curl_off_t, curl_off_t inviati) {
    auto* s = static_cast<TScambio*>(ud);
    const auto ora = Orologio::now();
    if (!s->Connesso || ricevuti + inviati != s->Trasferiti) {
        s->Trasferiti = ricevuti + inviati;
        if (s->Connesso) s->UltimoMovimento = ora;
        return 0;
    }
    if (ora - s->UltimoMovimento >= s->LimiteLettura) {
        s->LetturaScaduta = true;
        return 1;
    }
    return 0;
}

// The value of the "charset" parameter of a Content-Type, lower case, without quotes.
QByteArray CharsetDi(const QByteArray& contentType) {
    const QList<QByteArray> parti = contentType.split(';');
    for (qsizetype i = 1; i < parti.size(); ++i) {
        const QByteArray p = parti[i].trimmed();
        const qsizetype uguale = p.indexOf('=');
        if (uguale < 0 || p.left(uguale).trimmed().toLower() != "charset") continue;
        QByteArray valore = p.mid(uguale + 1).trimmed();
        if (valore.size() >= 2 && valore.startsWith('"') && valore.endsWith('"')) valore = valore.mid(1, valore.size() - 2);
        return valore.toLower();
    }
    return {};
}

QString Decodifica(const QByteArray& corpo, const QByteArray& contentType) {
    const QByteArray charset = CharsetDi(contentType);
    if (charset == "windows-1252" || charset == "cp1252" || charset == "x-cp1252")
        return Charset::FromWindows1252(corpo);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid()) return decoder.decode(corpo);
    }
    return QString::fromLatin1(corpo);
}

bool ConnessioneRifiutata(long erroreSistema) {
#ifdef Q_OS_WIN
    return erroreSistema == WSAECONNREFUSED;
#else
    return erroreSistema == ECONNREFUSED;
#endif
}

bool HostIrraggiungibile(long erroreSistema) {
#ifdef Q_OS_WIN
    return erroreSistema == WSAEHOSTUNREACH || erroreSistema == WSAENETUNREACH;
#else
    return erroreSistema == EHOSTUNREACH || erroreSistema == ENETUNREACH;
#endif
}

// What a failed exchange means to the user; libcurl's own words follow it as the detail.
QString SpiegazioneErrore(CURLcode esito, long erroreSistema, int connectTimeoutMs) {
    switch (esito) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Nome del server non trovato");
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QStringLiteral("Nome del proxy non trovato");
    case CURLE_COULDNT_CONNECT:
        if (ConnessioneRifiutata(erroreSistema))
            return QStringLiteral("Connessione rifiutata: nessun servizio in ascolto all'indirizzo e alla porta indicati");
        if (HostIrraggiungibile(erroreSistema)) return QStringLiteral("Server non raggiungibile dalla rete");
        return QStringLiteral("Impossibile connettersi al server");
    case CURLE_OPERATION_TIMEDOUT:
        // only the connection has a time limit of libcurl's; the read time-out is the program's own
        return QStringLiteral("Timeout di connessione: nessuna connessione con il server entro %1 ms").arg(connectTimeoutMs);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return QStringLiteral("Connessione sicura (TLS) rifiutata: il server non ha accettato la connessione protetta "
                              "o il suo certificato non è valido");
    case CURLE_UNSUPPORTED_PROTOCOL:
        return QStringLiteral("Indirizzo del server non utilizzabile: sono ammessi solo http e https");
    case CURLE_URL_MALFORMAT:
        return QStringLiteral("Indirizzo del server non valido");
    case CURLE_GOT_NOTHING:
        return QStringLiteral("Il server ha chiuso la connessione senza rispondere");
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return QStringLiteral("Connessione con il server interrotta durante lo scambio");
    default:
        return QStringLiteral("Errore di comunicazione con il server");
    }
}

struct TChiudiCurl {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct TLiberaIntestazioni {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

}  // namespace

QString HttpPost(const QString& url, const QByteArray& corpo, const QByteArray& contentType,
                 int connectTimeoutMs, int readTimeoutMs) {
    InizializzaCurl();
    std::unique_ptr<CURL, TChiudiCurl> curl(curl_easy_init());
    if (!curl) throw Exception(QStringLiteral("Impossibile creare il client HTTP"));
    curl_slist* lista = curl_slist_append(nullptr, ("Content-Type: " + contentType).constData());
    lista = curl_slist_append(lista, "Expect:");
    std::unique_ptr<curl_slist, TLiberaIntestazioni> intestazioni(lista);

    TScambio scambio;
    scambio.LimiteLettura = std::chrono::milliseconds(readTimeoutMs);
    char errore[CURL_ERROR_SIZE] = {};
    const QByteArray indirizzo = url.toUtf8();
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, indirizzo.constData());
    // the address comes from an INI file: no file:, ftp: or any other scheme libcurl knows
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, corpo.constData());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(corpo.size()));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, intestazioni.get());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, long(connectTimeoutMs));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errore);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, SuCorpo);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &scambio);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, SuIntestazione);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &scambio);
    curl_easy_setopt(c, CURLOPT_PREREQFUNCTION, SuConnessione);
    curl_easy_setopt(c, CURLOPT_PREREQDATA, &scambio);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, SuProgresso);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &scambio);

    const CURLcode esito = curl_easy_perform(c);
    if (esito != CURLE_OK) {
        if (scambio.LetturaScaduta)
            throw Exception(QStringLiteral("Timeout di lettura: nessun dato dal server per %1 ms").arg(readTimeoutMs));
        QString dettaglio = QString::fromUtf8(curl_easy_strerror(esito));
        if (errore[0]) dettaglio += QStringLiteral(": ") + QString::fromLocal8Bit(errore).trimmed();
        long erroreSistema = 0;
        curl_easy_getinfo(c, CURLINFO_OS_ERRNO, &erroreSistema);
        throw Exception(SpiegazioneErrore(esito, erroreSistema, connectTimeoutMs) + QStringLiteral("\r\nDettaglio tecnico: ") +
                        dettaglio);
    }
    long codice = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &codice);
    if (codice < 200 || codice > 299)
        throw Exception(scambio.StatusLine.isEmpty() ? QStringLiteral("HTTP %1").arg(codice) : scambio.StatusLine);
    const char* tipo = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &tipo);
    return Decodifica(scambio.Corpo, tipo ? QByteArray(tipo) : QByteArray());
}
