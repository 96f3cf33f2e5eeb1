#include "app/server/InvioFromSrv.h"

#include "db/Errore.h"

namespace {

std::unique_ptr<TZelFileFromSrvResponse> Fallita(const QString& messaggio) {
    auto risposta = std::make_unique<TZelFileFromSrvResponse>();
    risposta->SetError(messaggio);
    return risposta;
}

}  // namespace

std::unique_ptr<TZelFileFromSrvResponse> EseguiInvioFromSrv(const TZelFileFromSrvRequest& richiesta, const QString& url,
                                                            int connectTimeoutMs, int readTimeoutMs) noexcept {
    try {
        const QByteArray corpo = richiesta.ToJsonString().toLatin1();  // pure ASCII
        const QString testo = HttpPost(url + QLatin1String(PercorsoFromSrv), corpo, "application/json",
                                       connectTimeoutMs, readTimeoutMs);
        if (testo.isEmpty()) throw Exception(QStringLiteral("Nessuna risposta"));
        std::unique_ptr<TZelFileFromSrvResponse> risposta = TZelFileFromSrvResponse::FromJsonString(testo);
        return risposta ? std::move(risposta) : Fallita(QLatin1String(MessaggioRispostaNulla));
    } catch (const Exception& e) {
        return Fallita(e.Message());
    } catch (const std::exception& e) {
        return Fallita(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return Fallita(QStringLiteral("Errore sconosciuto durante l'invio"));
    }
}
