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

QStringList SQLMacchine(const QString& serDoc) {
    return {"SELECT W.NR_MACCHINA, M.DESCRIZIONE ",
            "FROM ZELSCANLOGLIGHT W INNER JOIN RET_MACCHINARI M ON(W.NR_MACCHINA=M.CODICE)",
            "WHERE W.DATOINPUT = '" + SostituisciApice(serDoc, "''") + "'",
            "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'",
            "GROUP BY W.NR_MACCHINA, M.DESCRIZIONE "};
}

QStringList SQLFile(const QString& serDoc, const QString& nrMacchina) {
    return {"SELECT W.ID, W.DATAORA, W.FILEDESTINAZIONE_NOME",
            "FROM ZELSCANLOGLIGHT W",
            "WHERE W.DATOINPUT = '" + SostituisciApice(serDoc, "''") + "'",
            "AND W.NR_MACCHINA = " + nrMacchina,
            "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'"};
}

void CaricaAlbero(QTreeWidget& albero, const QString& soggetto, TFbQuery& ordini, TFbQuery& macchine, TFbQuery& file) {
    albero.clear();
    Riapri(ordini, SQLOrdini(soggetto));
    if (ordini.IsEmpty()) return;

    // the tree is built off screen and shown once, fully expanded
    const bool aggiornamenti = albero.updatesEnabled();
    albero.setUpdatesEnabled(false);
    struct Ripristino {
        QTreeWidget& a;
        bool u;
        ~Ripristino() { a.setUpdatesEnabled(u); }
    } ripristino{albero, aggiornamenti};

    const QString testoCliente = ordini.FieldByName("RAGSOC").AsString().replace("\r\n", " ");
    auto* radice = new QTreeWidgetItem(QStringList{testoCliente});
    albero.addTopLevelItem(radice);
    QList<QTreeWidgetItem*> daEspandere{radice};
    for (; !ordini.Eof(); ordini.Next()) {
        const QString serDoc = ordini.FieldByName("SERDOC").AsString();
        const QString dettaglio = ordini.FieldByName("DATADOCUMENTO").AsString() + " - " +
                                  ordini.FieldByName("NDOCUMENTO").AsString() + " - " +
                                  ordini.FieldByName("NOTE").AsString().left(30);
        auto* nodoOrdine = new QTreeWidgetItem(radice, QStringList{serDoc + " - " + dettaglio});
        daEspandere << nodoOrdine;
        const QString testoCommessa = testoCliente + " - " + dettaglio;
        for (Riapri(macchine, SQLMacchine(serDoc)); !macchine.Eof(); macchine.Next()) {
            const QString nr = macchine.FieldByName("NR_MACCHINA").AsString();
            auto* nodoMacchina =
                new QTreeWidgetItem(nodoOrdine, QStringList{nr + " " + macchine.FieldByName("DESCRIZIONE").AsString()});
            daEspandere << nodoMacchina;
            for (Riapri(file, SQLFile(serDoc, nr)); !file.Eof(); file.Next()) {
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
    for (QTreeWidgetItem* nodo : daEspandere) nodo->setExpanded(true);
}
