#pragma once
// The grid's search dialog: a search text or a date range, the search type, "Upper", the sort
// option and the all-fields switch. It has no logic of its own: the grid wires its controls.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class TEditData;
class TRadioGroup;

class TRPtqGridForm : public QDialog {
    Q_OBJECT
public:
    explicit TRPtqGridForm(QWidget* owner = nullptr);

    // The controls, in declaration order.
    QLineEdit* EditStringa;
    QLabel* Label1;
    TRadioGroup* EditTipoRicerca;
    QCheckBox* EditUpper;
    TRadioGroup* EditOrdinamento;
    TEditData* EditData1;
    QToolButton* ButtonAggRete;
    QCheckBox* EditGenerica;
    QToolButton* ButtonEsegui;
    TEditData* EditData2;
    QLabel* Label2;
};
