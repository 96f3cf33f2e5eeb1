#include "app/server/HttpPost.h"

#include "db/Charset.h"
#include "db/Errore.h"

#include <QList>
#include <QStringDecoder>
#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

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
        QString messaggio = QString::fromUtf8(curl_easy_strerror(esito));
        if (errore[0]) messaggio += QStringLiteral(": ") + QString::fromLocal8Bit(errore).trimmed();
        throw Exception(messaggio);
    }
    long codice = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &codice);
    if (codice < 200 || codice > 299)
        throw Exception(scambio.StatusLine.isEmpty() ? QStringLiteral("HTTP %1").arg(codice) : scambio.StatusLine);
    const char* tipo = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &tipo);
    return Decodifica(scambio.Corpo, tipo ? QByteArray(tipo) : QByteArray());
}
