#include "app/server/ZelFile.FromSrv.Response.h"

#include "app/server/JsonReader.h"
#include "db/Errore.h"

void TZelFileFromSrvResponse::SetError(const QString& messaggio) {
    SetStatus(QStringLiteral("0"));
    SetMessaggio(messaggio);
}

std::unique_ptr<TZelFileFromSrvResponse> TZelFileFromSrvResponse::FromJsonString(const QString& testo) {
    QVector<TJsonMembro> membri;
    switch (LeggiOggettoJson(testo, membri)) {
    case TJsonRadice::Vuoto:
    case TJsonRadice::Null:
        return nullptr;
    case TJsonRadice::Altro:
        throw EConvertError(QStringLiteral("The input value is not a valid Object"));
    case TJsonRadice::Oggetto:
        break;
    }
    auto risposta = std::make_unique<TZelFileFromSrvResponse>();
    for (const TJsonMembro& m : membri) {
        const bool status = m.Nome == QLatin1String("Status");
        if (!status && m.Nome != QLatin1String("Messaggio")) continue;
        if (m.Tipo == TJsonMembro::Booleano || m.Tipo == TJsonMembro::Composto)
            throw EConvertError(QStringLiteral("Valore non valido per il membro \"%1\" della risposta").arg(m.Nome));
        if (status)
            risposta->SetStatus(m.Testo);
        else
            risposta->SetMessaggio(m.Testo);
    }
    return risposta;
}
