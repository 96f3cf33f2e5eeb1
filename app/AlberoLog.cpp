#include "app/AlberoLog.h"

#include "app/NodiAlbero.h"
#include "db/ConnessioneDB.h"
#include "db/FbDataSet.h"

#include <QStringBuilder>
#include <QTreeWidget>

std::optional<TMyRec> PayloadNodo(const QTreeWidgetItem* item) {
    if (!item) return std::nullopt;
    const QVariant v = item->data(0, RuoloPayload);
    if (!v.isValid()) return std::nullopt;
    return v.value<TMyRec>();
}

QStringList SQLOrdini(const QString& soggetto) {
    const QString s = SostituisciApice(soggetto, "''");
    return {"SELECT C.RAGSOC, O.SERDOC, O.DATADOCUMENTO, O.NDOCUMENTO, O.NOTE ",
            "FROM ORDC O INNER JOIN ZELSCANLOGLIGHT W ON (O.SERDOC=W.DATOINPUT)",
            "INNER JOIN CLIENTI C ON (O.CODICECLIENTE=C.CODICE)",
            "WHERE O.CODICECLIENTE = ( ",
            "   SELECT FIRST 1 CODICECLIENTE FROM ORDC WHERE SERDOC='" + s + "' OR CODICECLIENTE='" + s + "'",
            ")",
            "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'",
            "GROUP BY C.RAGSOC, O.SERDOC, O.DATADOCUMENTO, O.NDOCUMENTO, O.NOTE "};
}

QStringList SQLMacchine() {
    return {"SELECT W.NR_MACCHINA, M.DESCRIZIONE ",
            "FROM ZELSCANLOGLIGHT W INNER JOIN RET_MACCHINARI M ON(W.NR_MACCHINA=M.CODICE)",
            "WHERE W.DATOINPUT = :SERDOC",
            "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'",
            "GROUP BY W.NR_MACCHINA, M.DESCRIZIONE "};
}

QStringList SQLFile() {
    return {"SELECT W.ID, W.DATAORA, W.FILEDESTINAZIONE_NOME",
            "FROM ZELSCANLOGLIGHT W",
            "WHERE W.DATOINPUT = :SERDOC",
            "AND W.NR_MACCHINA = :NR_MACCHINA",
            "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'"};
}

namespace {

// The order nodes under `radice`, one for each row of `ordini` from the current one on, each with
// its machines and their files. Fields are found by name once per opening, then read by position.
void AggiungiOrdini(QTreeWidgetItem* radice, TFbQuery& ordini, TFbQuery& macchine, TFbQuery& file) {
    const QString testoCliente = radice->text(0);
    const int serDoc = ordini.RequiredFieldIndex("SERDOC"), dataDocumento = ordini.RequiredFieldIndex("DATADOCUMENTO"),
              nDocumento = ordini.RequiredFieldIndex("NDOCUMENTO"), note = ordini.RequiredFieldIndex("NOTE");
    for (; !ordini.Eof(); ordini.Next()) {
        const TFbField serie = ordini.Field(serDoc);
        const QString dettaglio = ordini.Field(dataDocumento).AsString() % u" - " % ordini.Field(nDocumento).AsString() %
                                  u" - " % ordini.Field(note).AsString().left(30);
        auto* nodoOrdine = new TNodoAlbero(radice, serie.AsString() % u" - " % dettaglio);
        const QString testoCommessa = testoCliente % u" - " % dettaglio;
        macchine.SetParam("SERDOC", serie.AsVariant());
        file.SetParam("SERDOC", serie.AsVariant());
        macchine.Reopen();
        const int nrMacchina = macchine.RequiredFieldIndex("NR_MACCHINA"),
                  descrizione = macchine.RequiredFieldIndex("DESCRIZIONE");
        for (; !macchine.Eof(); macchine.Next()) {
            const TFbField nr = macchine.Field(nrMacchina);
            auto* nodoMacchina = new TNodoAlbero(nodoOrdine, nr.AsString() % u' ' % macchine.Field(descrizione).AsString());
            file.SetParam("NR_MACCHINA", nr.AsVariant());
            file.Reopen();
            const int id = file.RequiredFieldIndex("ID"), dataOra = file.RequiredFieldIndex("DATAORA"),
                      nome = file.RequiredFieldIndex("FILEDESTINAZIONE_NOME");
            for (; !file.Eof(); file.Next()) {
                const QString nomeFile = file.Field(nome).AsString();
                TMyRec rec;
                rec.ID = file.Field(id).AsInteger();
                rec.TestoCommessa = testoCommessa;
                rec.TestoItem = QString::number(rec.ID) % u" - " % nomeFile;
                new TNodoFile(nodoMacchina, file.Field(dataOra).AsString() % u" - " % nomeFile, std::move(rec));
            }
        }
    }
}

}  // namespace

void CaricaAlbero(QTreeWidget& albero, const QString& soggetto, TFbQuery& ordini, TFbQuery& macchine, TFbQuery& file) {
    albero.clear();
    ordini.Reopen(SQLOrdini(soggetto));
    if (ordini.IsEmpty()) return;
    macchine.Prepare(SQLMacchine());
    file.Prepare(SQLFile());

    auto* radice = new TNodoAlbero(nullptr, ordini.FieldByName("RAGSOC").AsString().replace("\r\n", " "));
    // The nodes grow apart from the tree, which takes them in one piece at the end, also when a
    // query fails halfway (then unexpanded).
    struct TConsegna {
        QTreeWidget& albero;
        QTreeWidgetItem* radice;
        ~TConsegna() { albero.addTopLevelItem(radice); }
    };
    {
        const TConsegna consegna{albero, radice};
        AggiungiOrdini(radice, ordini, macchine, file);
    }
    albero.expandAll();
}
