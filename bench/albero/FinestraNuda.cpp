// A bare Qt window for bench_avvio: a tree of one customer with ORDERS × MACHINES × FILES nodes,
// built, expanded and shown, titled "FinestraNuda"; runs until it is ended.
//
//   bench_finestra_nuda ORDERS MACHINES FILES
#include <QApplication>
#include <QTreeWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    if (a.size() != 4) return 2;
    const int ordini = a[1].toInt(), macchine = a[2].toInt(), file = a[3].toInt();
    QTreeWidget albero;
    albero.setWindowTitle("FinestraNuda");
    albero.setHeaderHidden(true);
    albero.resize(983, 441);
    auto* radice = new QTreeWidgetItem(&albero, QStringList{"Cliente"});
    for (int o = 1; o <= ordini; ++o) {
        auto* ordine = new QTreeWidgetItem(radice, QStringList{QString("Ordine %1 - 01/01/2025 - %1 - Nota").arg(o)});
        for (int m = 1; m <= macchine; ++m) {
            auto* macchina = new QTreeWidgetItem(ordine, QStringList{QString("%1 Macchina %1").arg(m)});
            for (int f = 1; f <= file; ++f)
                new QTreeWidgetItem(macchina, QStringList{QString("01/01/2025 08:00 - file_%1_%2_%3.nc").arg(o).arg(m).arg(f)});
        }
    }
    albero.expandAll();
    albero.show();
    return app.exec();
}
