#pragma once
// The grid's search dialog: a search text or a date range, the search type, "Upper", the sort
// option and the all-fields switch. It has no logic of its own: the grid wires its controls.
// It opens at 262 x 183 and grows, never shrinking below that, as far as its captions need with
// the platform's fonts; the user cannot resize it.
#include <QDialog>
#include <QList>
#include <utility>

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

    void setVisible(bool visible) override;

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

protected:
    bool event(QEvent* event) override;

private:
    // Each control as large as drawn or as its caption needs, the dialog as large as they need
    // and at least its starting size; a centred dialog stays centred.
    void AdattaDimensione();
    QList<std::pair<QWidget*, QSize>> FDisegno;  // the size drawn for each control
};
