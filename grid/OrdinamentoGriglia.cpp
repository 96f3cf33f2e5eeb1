#include "grid/OrdinamentoGriglia.h"

#include "db/FbRiusabili.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "grid/CostruttoriSQL.h"

#include <limits>
#include <optional>

namespace {

constexpr int MassimoContatore = std::numeric_limits<qint16>::max();

void ImpostaVoce(QVector<QString>& v, int j, const QString& valore) {
    if (v.size() <= j) v.resize(j + 1);
    v[j] = valore;
}

void ImpostaVoce(QVector<int>& v, int j, int valore) {
    if (v.size() <= j) v.resize(j + 1);
    v[j] = valore;
}

// A read of the settings in a short read-only transaction of its own, with the statements the
// connection keeps prepared; ends with a rollback.
class TLettura {
public:
    explicit TLettura(TFbDatabase* database) : FTransazione(database) {
        FTransazione.Params() = TFbTransaction::ReadOnlyParams();
        FTransazione.Start();
    }
    ~TLettura() {
        // on a lost connection the rollback fails too: the error that brought us here is the one
        // the user sees
        try {
            FQuery.reset();
            if (FTransazione.Active()) FTransazione.Rollback();
        } catch (...) {
        }
    }
    // `sql` (literal values, no parameters) executed, standing on its first row; the statement
    // read before is given back.
    TFbSQL& Esegui(const QStringList& sql) {
        FQuery.reset();
        FQuery.emplace(FTransazione.DefaultDatabase(), &FTransazione, sql, false);
        (*FQuery)->ExecQuery();
        return **FQuery;
    }

private:
    TFbTransaction FTransazione;
    std::optional<TFbSQLRiusato> FQuery;
};

}  // namespace

void TOrdinamentoGriglia::Inizializza() {
    FCampoDiOrdinamento.clear();
    FPosizioneCampoOrdinamento = -1;
    FTipoOrdinamento = 1;
    ModalitaFunzionamento = 0;
    FOrdinamentoA = 0;
    ButtonCtrlDown = false;
}

void TOrdinamentoGriglia::Forza() {
    ModalitaFunzionamento = 0;
    FCampoDiOrdinamento.clear();
}

void TOrdinamentoGriglia::CambiaModalita(bool ctrlPremuto) {
    ButtonCtrlDown = ctrlPremuto;
    if (ctrlPremuto && ModalitaFunzionamento == 1) {
        ModalitaFunzionamento = 2;
        ImpostaVoce(FCampoDiOrdinamentoA, 0, FCampoDiOrdinamento);
        ImpostaVoce(FPosizioneCampoOrdinamentoA, 0, FPosizioneCampoOrdinamento);
        ImpostaVoce(FTipoOrdinamentoA, 0, FTipoOrdinamento);
        ImpostaVoce(FOrigineCampoDiOrdinamentoA, 0, FOrigineCampoDiOrdinamento);
        FOrdinamentoA = 1;
    } else if (!ctrlPremuto && ModalitaFunzionamento == 2) {
        ModalitaFunzionamento = 1;
        FCampoDiOrdinamento = FCampoDiOrdinamentoA.value(0);
        FPosizioneCampoOrdinamento = FPosizioneCampoOrdinamentoA.value(0, -1);
        FTipoOrdinamento = FTipoOrdinamentoA.value(0, 1);
        FOrigineCampoDiOrdinamento = FOrigineCampoDiOrdinamentoA.value(0);
        FOrdinamentoA = 0;
    }
}

QString TOrdinamentoGriglia::DoppioClicTitolo(int colonna, const QString& campo, const QString& espressione,
                                              const QString& origine) {
    if (ModalitaFunzionamento == 1) {
        FTipoOrdinamento = (campo == FCampoDiOrdinamento && FTipoOrdinamento == 1) ? 2 : 1;
        FCampoDiOrdinamento = MaiuscoloAZ(campo);
        FOrigineCampoDiOrdinamento = espressione;
        FPosizioneCampoOrdinamento = colonna;
        return FCampoDiOrdinamento;
    }
    const int j = Voce(campo);
    if (j >= 0) {
        FTipoOrdinamentoA[j] = FTipoOrdinamentoA[j] == 1 ? 2 : 1;
        FCampoDiOrdinamentoA[j] = campo;
        FOrigineCampoDiOrdinamentoA[j] = MaiuscoloAZ(origine);
        FPosizioneCampoOrdinamentoA[j] = colonna;
        return campo;
    }
    AggiungiVoce(campo, MaiuscoloAZ(origine), colonna, 1);
    return campo;
}

int TOrdinamentoGriglia::Voce(const QString& campo) const {
    const QString cercato = MaiuscoloAZ(campo);
    for (int j = 0; j < FOrdinamentoA; ++j) {
        if (MaiuscoloAZ(FCampoDiOrdinamentoA[j]) == cercato) return j;
    }
    return -1;
}

bool TOrdinamentoGriglia::AggiungiVoce(const QString& campo, const QString& espressione, int colonna, int tipo) {
    // the count is 16-bit: the list never grows past what it can count
    if (FOrdinamentoA >= MassimoContatore) return false;
    const int j = FOrdinamentoA;
    ImpostaVoce(FCampoDiOrdinamentoA, j, campo);
    ImpostaVoce(FOrigineCampoDiOrdinamentoA, j, espressione);
    ImpostaVoce(FPosizioneCampoOrdinamentoA, j, colonna);
    ImpostaVoce(FTipoOrdinamentoA, j, tipo);
    ++FOrdinamentoA;
    return true;
}

std::optional<int> TOrdinamentoGriglia::Marca(const QString& campo) const {
    if (ModalitaFunzionamento == 1) {
        if (MaiuscoloAZ(campo) == MaiuscoloAZ(FCampoDiOrdinamento)) return FTipoOrdinamento;
        return std::nullopt;
    }
    const int j = Voce(campo);
    if (j < 0) return std::nullopt;
    const int marca = 10 * (j + 1);
    return FTipoOrdinamentoA[j] == 1 ? marca : -marca;
}

QStringList TOrdinamentoGriglia::LineeOrderBy(
    const std::function<bool(const QString&, const QString&)>& utilizzabile) const {
    QStringList linee;
    auto aggiungi = [&](const QString& campo, const QString& espressione, int tipo) {
        if (!utilizzabile(campo, espressione)) return;
        linee << (linee.isEmpty() ? "ORDER BY " : ",") + espressione + (tipo == 2 ? " DESC" : "");
    };
    if (ModalitaFunzionamento == 1) {
        if (!FCampoDiOrdinamento.isEmpty()) aggiungi(FCampoDiOrdinamento, FOrigineCampoDiOrdinamento, FTipoOrdinamento);
    } else {
        for (int j = 0; j < FOrdinamentoA; ++j)
            aggiungi(FCampoDiOrdinamentoA[j], FOrigineCampoDiOrdinamentoA[j], FTipoOrdinamentoA[j]);
    }
    return linee;
}

QString TOrdinamentoGriglia::IndexFieldNames() const {
    if (ModalitaFunzionamento == 1) return FCampoDiOrdinamento;
    QString nomi;
    for (int j = 0; j < FOrdinamentoA; ++j) nomi += FCampoDiOrdinamentoA[j] + ";";
    return nomi;
}

QVector<QPair<int, TColore>> TOrdinamentoGriglia::ColoriTitoli(int colonne, TColore coloreOrdinamento) const {
    QVector<QPair<int, TColore>> colori;
    if (ModalitaFunzionamento == 1) {
        if (!FCampoDiOrdinamento.isEmpty() && FPosizioneCampoOrdinamento >= 0 && FPosizioneCampoOrdinamento < colonne)
            colori.append({FPosizioneCampoOrdinamento, coloreOrdinamento});
        return colori;
    }
    for (int j = 0; j < FOrdinamentoA; ++j) {
        const int colonna = FPosizioneCampoOrdinamentoA[j];
        if (FCampoDiOrdinamentoA[j].isEmpty() || colonna < 0 || colonna >= colonne) continue;
        colori.append({colonna, j == 0 ? coloreOrdinamento : j == 1 ? clSecondaChiave : clAltreChiavi});
    }
    return colori;
}

QString EspressioneCampo(const QString& campo, const QString& origine, const QStringList& campiPersonalizzati,
                         const QStringList& decodifiche) {
    const QString nome = MaiuscoloAZ(campo);
    for (int i = 0; i < campiPersonalizzati.size(); ++i) {
        if (MaiuscoloAZ(campiPersonalizzati[i]) == nome) return decodifiche.value(i);
    }
    return origine.isEmpty() ? campo : origine;
}

namespace {

template <typename F>
void PerOgniElemento(const QString& lista, F&& f) {
    for (int n = 1; n <= 255; ++n) {
        const QString elemento = EstraiElemento(lista, n, ";");
        if (elemento.isEmpty()) return;
        f(MaiuscoloAZ(elemento));
    }
}

}  // namespace

bool CampoIndicizzato(const QString& campo, const QString& campiIndicizzati) {
    const QString nome = MaiuscoloAZ(campo);
    bool trovato = false;
    PerOgniElemento(campiIndicizzati, [&](const QString& elemento) { trovato = trovato || elemento == nome; });
    return trovato;
}

QVector<QPair<int, TColore>> ColoriIndicizzati(const QStringList& campi, const QString& campiIndicizzati, TColore colore) {
    QVector<QPair<int, TColore>> colori;
    PerOgniElemento(campiIndicizzati, [&](const QString& elemento) {
        for (int i = 0; i < campi.size(); ++i) {
            if (MaiuscoloAZ(campi[i]) == elemento) {
                colori.append({i, colore});
                return;
            }
        }
    });
    return colori;
}

QStringList LineeSceltaModalita(const TChiaveImpostazioni& chiave) {
    return QStringList{"SELECT * FROM " + TabellaQuotata(chiave)} + LineeChiave(chiave) +
           QStringList{"AND (Ordinamento IS NOT NULL)", "AND (ABS(Ordinamento)>'2')"};
}

QStringList LineeOrdinamentoSingolo(const TChiaveImpostazioni& chiave) {
    return QStringList{"SELECT * FROM " + TabellaQuotata(chiave)} + LineeChiave(chiave) +
           QStringList{"AND (Ordinamento IS NOT NULL)"};
}

QStringList LineeOrdinamentoMultiplo(const TChiaveImpostazioni& chiave) {
    return QStringList{"SELECT ABS(Ordinamento) AS ORD,Ordinamento,NomeCampo,Origine,Posizione FROM " +
                       TabellaQuotata(chiave)} +
           LineeChiave(chiave) + QStringList{"AND (Ordinamento IS NOT NULL) ORDER BY ORD"};
}

QStringList LineeChiavePrimaria(const QString& tabella) {
    return {"SELECT B.RDB$FIELD_NAME",
            "FROM RDB$RELATION_CONSTRAINTS A LEFT JOIN",
            "RDB$INDEX_SEGMENTS B ON",
            "(A.RDB$INDEX_NAME=B.RDB$INDEX_NAME)",
            "WHERE (A.RDB$RELATION_NAME='" + tabella + "')",
            "AND(A.RDB$CONSTRAINT_TYPE='PRIMARY KEY')",
            "ORDER BY B.RDB$FIELD_POSITION"};
}

void CaricaOrdinamento(TFbDatabase* impostazioni, const TChiaveImpostazioni& chiave,
                       const QStringList& campiPersonalizzati, const QStringList& decodifiche,
                       TOrdinamentoGriglia& ordinamento) {
    TLettura lettura(impostazioni);
    if (ordinamento.ModalitaFunzionamento == 0)
        ordinamento.ModalitaFunzionamento = lettura.Esegui(LineeSceltaModalita(chiave)).Eof() ? 1 : 2;
    auto espressione = [&](const TFbSQL& q) {
        return EspressioneCampo(q.FieldByName("NomeCampo").AsString(), q.FieldByName("Origine").AsString(),
                                campiPersonalizzati, decodifiche);
    };
    if (ordinamento.ModalitaFunzionamento == 1) {
        const TFbSQL& q = lettura.Esegui(LineeOrdinamentoSingolo(chiave));
        if (q.Eof()) {
            ordinamento.FCampoDiOrdinamento.clear();
        } else if (const int marca = q.FieldByName("Ordinamento").AsInteger(); marca != 0) {
            ordinamento.FTipoOrdinamento = marca;
            ordinamento.FCampoDiOrdinamento = q.FieldByName("NomeCampo").AsString();
            ordinamento.FOrigineCampoDiOrdinamento = espressione(q);
            ordinamento.FPosizioneCampoOrdinamento = q.FieldByName("Posizione").AsInteger();
        }
        return;
    }
    ordinamento.FOrdinamentoA = 0;
    for (TFbSQL& q = lettura.Esegui(LineeOrdinamentoMultiplo(chiave)); !q.Eof(); q.Next()) {
        const int marca = q.FieldByName("Ordinamento").AsInteger();
        if (marca == 0) continue;
        ordinamento.AggiungiVoce(q.FieldByName("NomeCampo").AsString(), espressione(q),
                                 q.FieldByName("Posizione").AsInteger(), marca < 0 ? 2 : 1);
    }
}

QStringList OriginiSQL(TFbDatabase* database, const QStringList& sql) {
    QStringList origini;
    for (const TFbFieldDef& campo : database->Riusabili().CampiRisultato(sql)) origini << campo.Origin;
    return origini;
}

QStringList LineeOrdinamentoQuery(TFbDatabase* database, const QStringList& sqlIniziale,
                                  const TOrdinamentoGriglia& ordinamento, const QStringList& campiPersonalizzati,
                                  bool chiavePrimaria, const QString& tabella) {
    if (ordinamento.HaOrdinamento()) {
        const QStringList origini = OriginiSQL(database, sqlIniziale);
        return ordinamento.LineeOrderBy([&](const QString& campo, const QString& espressione) {
            // an empty expression would leave a bare ORDER BY
            if (espressione.isEmpty()) return false;
            for (const QString& personalizzato : campiPersonalizzati) {
                if (MaiuscoloAZ(personalizzato) == MaiuscoloAZ(campo)) return true;
            }
            return origini.contains(espressione);
        });
    }
    if (!chiavePrimaria) return {};
    TLettura lettura(database);
    QStringList campi;
    for (TFbSQL& q = lettura.Esegui(LineeChiavePrimaria(tabella)); !q.Eof(); q.Next())
        campi << TogliSpazi(tabella + "." + q.Field(0).AsString());
    if (campi.isEmpty()) return {};
    return {"ORDER BY " + campi.join(",")};
}
