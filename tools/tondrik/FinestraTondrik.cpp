#include "tools/tondrik/FinestraTondrik.h"

#include "controls/ChiusuraFinestre.h"
#include "grid/LarghezzeBase.h"

#include <QHeaderView>

TFinestraTondrik::TFinestraTondrik(const TArgomentiTondrik& argomenti, QWidget* parent) : QTableView(parent) {
    FDatabase.SetDatabaseName(argomenti.DatabaseName);
    FDatabase.Params() = QStringList{"user_name=SYSDBA", "password=quillbent"};
    FDatabase.SetLoginPrompt(false);
    FTabella.SetDatabase(&FDatabase);
    FTabella.SetTransaction(&FTransazione);
    FTabella.TableName = argomenti.Tabella;
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    setWindowTitle("Tondrik - " + argomenti.Tabella);
    resize(900, 500);
    TastiChiusura(this);
}

TFinestraTondrik::~TFinestraTondrik() { setModel(nullptr); }

void TFinestraTondrik::Apri() {
    FDatabase.Open();
    FTransazione.Start();
    FTabella.Open();
    FModello.SetDataSet(&FTabella);
    setModel(&FModello);
    // the columns start as wide as the grid's: their titles and their fields' values whole
    for (int c = 0; c < FModello.columnCount(); ++c) setColumnWidth(c, LarghezzaBase(*this, c, FTabella.FieldDefs()[c]));
}
