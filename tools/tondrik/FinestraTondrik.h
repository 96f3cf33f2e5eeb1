#pragma once
// The query utility's window: the rows of one table of a database, read as the view scrolls.
// Escape and Ctrl+W close it.
#include "db/FbDataSetModel.h"
#include "db/FbDatabase.h"
#include "db/FbTable.h"
#include "db/FbTransaction.h"
#include "tools/tondrik/ArgomentiTondrik.h"

#include <QTableView>

class TFinestraTondrik : public QTableView {
    Q_OBJECT
public:
    explicit TFinestraTondrik(const TArgomentiTondrik& argomenti, QWidget* parent = nullptr);
    ~TFinestraTondrik() override;  // the view lets go of the model before the data goes

    // Connects to the database and opens the table; raises Exception with the database's message.
    void Apri();

private:
    TFbDatabase FDatabase;
    TFbTransaction FTransazione{&FDatabase};
    TFbTable FTabella;
    TFbDataSetModel FModello;
};
