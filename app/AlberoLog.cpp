#include "app/AlberoLog.h"

#include "db/ConnessioneDB.h"
#include "db/FbDataSet.h"

#include <QTreeWidget>

namespace {

const int RuoloPayload = Qt::UserRole + 1;

void Riapri(TFbQuery& q, const QStringList& sql) {
    q.Close();
    q.SQL = sql;
    q.Open();
}

void Prepara(TFbQuery& q, const QStringList& sql) {
    q.Close();
    q.SQL = sql;
    q.Prepare();
}

void Riapri(TFbQuery& q) {
    q.Close();
    q.Open();
}

}  // namespace

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
// its machines and their files.
void AggiungiOrdini(QTreeWidgetItem* radice, TFbQuery& ordini, TFbQuery& macchine, TFbQuery& file) {
    const QString testoCliente = radice->text(0);
    for (; !ordini.Eof(); ordini.Next()) {
        const TFbField serDoc = ordini.FieldByName("SERDOC");
        const QString dettaglio = ordini.FieldByName("DATADOCUMENTO").AsString() + " - " +
                                  ordini.FieldByName("NDOCUMENTO").AsString() + " - " +
                                  ordini.FieldByName("NOTE").AsString().left(30);
        auto* nodoOrdine = new QTreeWidgetItem(radice, QStringList{serDoc.AsString() + " - " + dettaglio});
        const QString testoCommessa = testoCliente + " - " + dettaglio;
        macchine.SetParam("SERDOC", serDoc.AsVariant());
        file.SetParam("SERDOC", serDoc.AsVariant());
        for (Riapri(macchine); !macchine.Eof(); macchine.Next()) {
            const TFbField nrMacchina = macchine.FieldByName("NR_MACCHINA");
            auto* nodoMacchina = new QTreeWidgetItem(
                nodoOrdine, QStringList{nrMacchina.AsString() + " " + macchine.FieldByName("DESCRIZIONE").AsString()});
            file.SetParam("NR_MACCHINA", nrMacchina.AsVariant());
            for (Riapri(file); !file.Eof(); file.Next()) {
                const QString nome = file.FieldByName("FILEDESTINAZIONE_NOME").AsString();
                TMyRec rec;
                rec.ID = file.FieldByName("ID").AsInteger();
                rec.TestoCommessa = testoCommessa;
                rec.TestoItem = QString::number(rec.ID) + " - " + nome;
                auto* nodo = new QTreeWidgetItem(nodoMacchina, QStringList{file.FieldByName("DATAORA").AsString() + " - " + nome});
                nodo->setData(0, RuoloPayload, QVariant::fromValue(rec));
            }
        }
    }
}

}  // namespace

void CaricaAlbero(QTreeWidget& albero, const QString& soggetto, TFbQuery& ordini, TFbQuery& macchine, TFbQuery& file) {
    albero.clear();
    Riapri(ordini, SQLOrdini(soggetto));
    if (ordini.IsEmpty()) return;
    Prepara(macchine, SQLMacchine());
    Prepara(file, SQLFile());

    auto* radice = new QTreeWidgetItem(QStringList{ordini.FieldByName("RAGSOC").AsString().replace("\r\n", " ")});
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
