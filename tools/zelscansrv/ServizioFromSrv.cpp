#include "tools/zelscansrv/ServizioFromSrv.h"

#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <nlohmann/json.hpp>

#include <limits>

namespace {

using json = nlohmann::json;

const QString EsportazioneLavoro = QStringLiteral("EXPORT LAVORO");
const QString Accettato = QStringLiteral("ACCETTATO");

QString RichiestaNonValida(const QString& motivo) { return QStringLiteral("Richiesta non valida: ") + motivo; }

// The member `nome` as a 32-bit integer; raises with the reason when it is missing or of another kind.
int Intero(const json& richiesta, const char* nome, bool obbligatorio = true) {
    const auto it = richiesta.find(nome);
    if (it == richiesta.end()) {
        if (!obbligatorio) return 0;
        throw Exception(RichiestaNonValida(QStringLiteral("manca il membro \"%1\"").arg(nome)));
    }
    const bool entro = it->is_number_unsigned() ? it->get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<int>::max())
                       : it->is_number_integer() && it->get<std::int64_t>() >= std::numeric_limits<int>::min() &&
                             it->get<std::int64_t>() <= std::numeric_limits<int>::max();
    if (!entro) throw Exception(RichiestaNonValida(QStringLiteral("il membro \"%1\" deve essere un numero intero").arg(nome)));
    return int(it->get<std::int64_t>());
}

QString Testo(const json& richiesta, const char* nome, bool obbligatorio = true) {
    const auto it = richiesta.find(nome);
    if (it == richiesta.end()) {
        if (!obbligatorio) return {};
        throw Exception(RichiestaNonValida(QStringLiteral("manca il membro \"%1\"").arg(nome)));
    }
    if (!it->is_string())
        throw Exception(RichiestaNonValida(QStringLiteral("il membro \"%1\" deve essere un testo").arg(nome)));
    return QString::fromStdString(it->get<std::string>());
}

// A plain file name: no folder part, so the copy cannot read or write outside its folders.
bool NomeSemplice(const QString& nome) {
    return !nome.contains(QLatin1Char('/')) && !nome.contains(QLatin1Char('\\')) && nome != QLatin1String(".") &&
           nome != QLatin1String("..");
}

// Copies `origine` to `destinazione`, replacing it at once: the machine never sees half a file.
bool Copia(const QString& origine, const QString& destinazione) {
    QFile in(origine);
    QSaveFile out(destinazione);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return false;
    while (!in.atEnd()) {
        const QByteArray blocco = in.read(1 << 16);
        if (blocco.isEmpty() && in.error() != QFileDevice::NoError) return false;
        if (out.write(blocco) != blocco.size()) return false;
    }
    return out.commit();
}

}  // namespace

TServizioFromSrv::TServizioFromSrv(TFbDatabase& archivio, const QString& cartellaFile, const QString& cartellaOutbox)
    : FArchivio(archivio), FCartellaFile(cartellaFile), FCartellaOutbox(cartellaOutbox) {}

std::string TServizioFromSrv::Rispondi(const std::string& corpo) {
    TEsito esito;
    try {
        esito = Esegui(corpo);
    } catch (const Exception& e) {
        esito = {false, e.Message()};
    } catch (const std::exception& e) {
        esito = {false, QString::fromLocal8Bit(e.what())};
    }
    // The answer lists Status first: an ordered object keeps the members as written.
    nlohmann::ordered_json ordinata;
    ordinata["Status"] = esito.Ok ? "1" : "0";
    ordinata["Messaggio"] = esito.Messaggio.toStdString();
    return ordinata.dump(-1, ' ', false, json::error_handler_t::replace);
}

TServizioFromSrv::TEsito TServizioFromSrv::Esegui(const std::string& corpo) {
    const json richiesta = json::parse(corpo, nullptr, false);
    if (richiesta.is_discarded() || !richiesta.is_object())
        return {false, RichiestaNonValida(QStringLiteral("il corpo non è un oggetto JSON"))};
    const int id = Intero(richiesta, "IdLogFile");
    const int nrMacchina = Intero(richiesta, "NrMacchina");
    const QString serDoc = Testo(richiesta, "SerDoc");
    Intero(richiesta, "UtenteId");
    Testo(richiesta, "Ditta");
    Intero(richiesta, "CodiceSituazione", false);
    Testo(richiesta, "ControlloCodice", false);
    std::lock_guard<std::mutex> lock(FMutex);
    return InviaFile(id, serDoc, nrMacchina);
}

TServizioFromSrv::TEsito TServizioFromSrv::InviaFile(int id, const QString& serDoc, int nrMacchina) {
    QString datoInput, nomeFile, operazione, stato;
    int macchina = 0;
    try {
        if (!FArchivio.Connected()) FArchivio.Open();
        TFbTransaction tr(&FArchivio);
        tr.Start();
        TFbSQL q(&FArchivio, &tr);
        q.SetSQL({"SELECT DATOINPUT, NR_MACCHINA, FILEDESTINAZIONE_NOME, TIPOOPERAZIONE, STATUS",
                  "FROM ZELSCANLOGLIGHT WHERE ID=:ID"});
        q.SetParam("ID", id);
        q.ExecQuery();
        const bool trovato = !q.Eof();
        if (trovato) {
            datoInput = q.FieldByName("DATOINPUT").AsString();
            macchina = q.FieldByName("NR_MACCHINA").AsInteger();
            nomeFile = q.FieldByName("FILEDESTINAZIONE_NOME").AsString();
            operazione = q.FieldByName("TIPOOPERAZIONE").AsString();
            stato = q.FieldByName("STATUS").AsString();
        }
        q.Close();
        tr.Rollback();
        if (!trovato) return {false, QStringLiteral("Record ID %1 non trovato in archivio").arg(id)};
    } catch (const EDatabaseError& e) {
        try {
            FArchivio.Close();  // the next request attaches again
        } catch (const Exception&) {
        }
        return {false, QStringLiteral("Errore dell'archivio: ") + e.Message()};
    }
    if (datoInput != serDoc)
        return {false, QStringLiteral("Record ID %1: Ser.Doc. %2 diverso da quello richiesto (%3)").arg(id).arg(datoInput, serDoc)};
    if (macchina != nrMacchina)
        return {false, QStringLiteral("Record ID %1: macchina %2 diversa da quella richiesta (%3)").arg(id).arg(macchina).arg(nrMacchina)};
    if (operazione != EsportazioneLavoro)
        return {false, QStringLiteral("Record ID %1 non è un'esportazione di lavoro (%2)").arg(id).arg(operazione)};
    if (stato != Accettato)
        return {false, QStringLiteral("Record ID %1 non accettato dalla macchina (stato %2)").arg(id).arg(stato)};
    if (nomeFile.isEmpty())
        return {false, QStringLiteral("Record ID %1 senza nome del file (campo FILEDESTINAZIONE_NOME)").arg(id)};
    if (!NomeSemplice(nomeFile)) return {false, QStringLiteral("Nome file non valido: %1").arg(nomeFile)};
    const QString origine = QDir(FCartellaFile).filePath(nomeFile);
    if (!QFile::exists(origine))
        return {false, QStringLiteral("File %1 non trovato nella cartella dei file").arg(nomeFile)};
    const QString cartellaMacchina = QDir(FCartellaOutbox).filePath(QStringLiteral("macchina_%1").arg(macchina));
    if (!QDir().mkpath(cartellaMacchina) || !Copia(origine, QDir(cartellaMacchina).filePath(nomeFile)))
        return {false, QStringLiteral("Impossibile copiare il file %1 nella cartella della macchina %2").arg(nomeFile).arg(macchina)};
    return {true, QStringLiteral("File %1 inviato alla macchina %2").arg(nomeFile).arg(macchina)};
}
