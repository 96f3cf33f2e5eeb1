// The scan server's answer text, as the re-send reads it: a record, no record, or a conversion
// error; never anything else.
#include "app/server/JsonReader.h"
#include "app/server/ZelFile.FromSrv.Response.h"
#include "db/Errore.h"
#include "tests/fuzz/Verifica.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString testo = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QVector<TJsonMembro> membri;
    const TJsonRadice radice = LeggiOggettoJson(testo, membri);
    if (radice != TJsonRadice::Oggetto) ZEL_VERIFICA(membri.isEmpty());
    try {
        const auto risposta = TZelFileFromSrvResponse::FromJsonString(testo);
        ZEL_VERIFICA((risposta != nullptr) == (radice == TJsonRadice::Oggetto));
        if (risposta) ZEL_VERIFICA(risposta->IsError() == (risposta->Status() == QLatin1String("0")));
    } catch (const EConvertError&) {
        ZEL_VERIFICA(radice == TJsonRadice::Oggetto || radice == TJsonRadice::Altro);
    }
    return 0;
}
