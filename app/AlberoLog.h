#pragma once
// The log tree: customer → order → machine → logged file, for one subject.
#include <QMetaType>
#include <QString>
#include <optional>

class QTreeWidget;
class TFbQuery;

// Payload of a file node.
struct TMyRec {
    int ID = 0;
    QString TestoCommessa;
    QString TestoItem;
};
Q_DECLARE_METATYPE(TMyRec)

// The payload of a tree item, when it is a file node.
std::optional<TMyRec> PayloadNodo(const class QTreeWidgetItem* item);

// Rebuilds `albero` for `soggetto` with the three queries (orders, machines, files); they stay open
// afterwards. The machine and the file statement are prepared once per build and run for every
// order and machine with their parameters. Database errors propagate; the nodes added until then
// stay in the tree.
void CaricaAlbero(QTreeWidget& albero, const QString& soggetto, TFbQuery& queryOrdini, TFbQuery& queryMacchine,
                  TFbQuery& queryFile);

// The statements of the three levels. The machine statement takes the order series as :SERDOC,
// the file statement also the machine as :NR_MACCHINA.
QStringList SQLOrdini(const QString& soggetto);
QStringList SQLMacchine();
QStringList SQLFile();
