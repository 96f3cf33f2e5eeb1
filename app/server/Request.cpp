#include "app/server/Request.h"

#include "app/server/JsonWriter.h"

QString TRequest::ToJsonString() const {
    TJsonWriter writer;
    writer.InizioOggetto();
    ScriviMembri(writer);
    writer.FineOggetto();
    return writer.Testo();
}

void TRequest::ScriviMembri(TJsonWriter& writer) const {
    writer.Membro(QStringLiteral("UtenteId"), FUtenteId);
    writer.Membro(QStringLiteral("Ditta"), FDitta);
}
