#include "grid/RicercaGriglia.h"

#include "db/ConnessioneDB.h"
#include "db/Errore.h"
#include "grid/CostruttoriSQL.h"

#include <functional>

TClasseCampo ClasseCampo(TFbFieldType tipo) {
    switch (tipo) {
    case TFbFieldType::Smallint:
    case TFbFieldType::Integer:
    case TFbFieldType::Float:
    case TFbFieldType::Double:
        return TClasseCampo::Numerico;
    case TFbFieldType::Date:
    case TFbFieldType::TimeStamp:
        return TClasseCampo::Data;
    case TFbFieldType::Blob:
        return TClasseCampo::Blob;
    default:
        return TClasseCampo::Testo;
    }
}

QString ConnettoreRicerca(const QStringList& sqlIniziale) {
    for (const QString& riga : sqlIniziale) {
        if (riga.toUpper().contains("WHERE")) return "AND";
    }
    return "WHERE";
}

QDate DataDaTesto(const QString& testo) { return QDate::fromString(testo, "dd/MM/yyyy"); }

bool DataRicercaCompleta(const QString& testo) {
    const QDate data = DataDaTesto(testo);
    return testo.size() == 10 && data.isValid() && data > QDate(1899, 12, 30);
}

namespace {

QString Letterale(const QString& valore) { return "'" + SostituisciApice(valore, "''") + "'"; }

// One condition per spelling of the text, joined by OR: `termine` gives the condition of one.
QString PerOgniGrafia(const QString& testo, const std::function<QString(const QString&)>& termine) {
    const QStringList grafie = GrafieRicerca(testo);
    if (grafie.size() == 1) return termine(grafie[0]);
    QStringList termini;
    for (const QString& grafia : grafie) termini << "(" + termine(grafia) + ")";
    return termini.join(" OR ");
}

QDate DataConvertita(const QString& testo) {
    const QDate data = DataDaTesto(testo);
    if (!data.isValid()) throw EConvertError(QString("'%1' is not a valid date").arg(testo));
    return data;
}

bool ConUpper(const TRicerca& r) { return r.Upper && r.Classe == TClasseCampo::Testo; }

}  // namespace

QString CondizioneRicerca(const TRicerca& r, const QString& connettore) {
    if (r.Classe == TClasseCampo::Data) {
        if (r.Data1.isEmpty()) return {};
        QString condizione = connettore + "(" + r.Espressione + " >= " + DataSQL(DataConvertita(r.Data1)) + ")";
        if (!r.Data2.isEmpty()) {
            const QDate fine = DataConvertita(r.Data2);
            // a timestamp of the last day is later than its midnight: the range ends before the next day
            if (r.ConOra) condizione += "AND(" + r.Espressione + " < " + DataSQL(fine.addDays(1)) + ")";
            else condizione += "AND(" + r.Espressione + " <= " + DataSQL(fine) + ")";
        }
        return condizione;
    }
    if (r.Testo.isEmpty()) return {};
    QString valore = r.Testo;
    QString espressione = r.Espressione;
    if (ConUpper(r)) {
        valore = valore.toUpper();
        espressione = "UPPER(" + espressione + ")";
    }
    const int tipo = r.Tipo;
    return connettore + "(" + PerOgniGrafia(valore, [&](const QString& v) {
               switch (tipo) {
               case 1: return espressione + " LIKE " + Letterale("%" + v + "%");
               case 2: return espressione + " LIKE " + Letterale(v + "%");
               default: return espressione + " >= " + Letterale(v);
               }
           }) + ")";
}

QString OrdinamentoRicerca(const TRicerca& r) {
    if (r.Ordinamento != 1 && r.Ordinamento != 2) return {};
    const QString discendente = r.Ordinamento == 2 ? " DESC" : "";
    if (ConUpper(r)) return "ORDER BY UPPER(" + r.Espressione + ")" + discendente;
    return "ORDER BY " + r.Espressione + discendente;
}

QStringList OrdinamentoGrigliaInRicerca(const TOrdinamentoGriglia& ordinamento, bool orderBy, const QStringList& origini) {
    const bool multipla = ordinamento.ModalitaFunzionamento == 2 && orderBy;
    if (ordinamento.ModalitaFunzionamento != 1 && !multipla) return {};
    return ordinamento.LineeOrderBy(
        [&](const QString&, const QString& espressione) { return !espressione.isEmpty() && origini.contains(espressione); });
}

QStringList RigheRicercaGenerica(const QStringList& sqlIniziale, const QStringList& origini, const QString& testo) {
    QStringList condizioni;
    for (const QString& origine : origini) {
        if (origine.isEmpty()) continue;
        condizioni << (condizioni.isEmpty() ? "(" : "OR(") +
                          PerOgniGrafia(testo.toUpper(), [&](const QString& v) { return origine + " CONTAINING " + Letterale(v); }) +
                          ")";
    }
    if (condizioni.isEmpty()) return {};
    return QStringList{sqlIniziale.join(QString()).contains("WHERE") ? "AND(" : "WHERE("} + condizioni + QStringList{")"};
}

bool AccettaValore(const QString& valore, const QString& chiave, bool upper, int tipo) {
    const QString v = upper ? valore.toUpper() : valore;
    for (const QString& grafia : GrafieRicerca(chiave)) {
        const QString k = upper ? grafia.toUpper() : grafia;
        switch (tipo) {
        case 0: if (v.compare(k) >= 0) return true; break;
        case 1: if (v.contains(k)) return true; break;
        case 2: if (v.startsWith(k)) return true; break;
        default: return false;
        }
    }
    return false;
}

QStringList GrafieRicerca(const QString& testo) {
    if (!testo.contains(ApostrofoRicerca)) return {testo};
    return {testo, QString(testo).replace(ApostrofoRicerca, QChar('\''))};
}
