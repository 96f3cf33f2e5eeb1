#include "grid/RPtqGrid.h"

#include "controls/EditData.h"
#include "controls/RadioGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr int AltezzaEdit = 21;
constexpr int AltezzaGruppo = 37;
constexpr int AltezzaCasella = 17;
constexpr int AltezzaEtichetta = 13;

template <typename T>
T* Controllo(QWidget* dialogo, int left, int top, int width, int height) {
    auto* c = new T(dialogo);
    c->setGeometry(left, top, width, height);
    return c;
}

QLabel* Etichetta(QWidget* dialogo, int left, int top, const QString& caption) {
    auto* l = new QLabel(caption, dialogo);
    // as wide as the edits below it, so a longer caption set later still fits
    l->setGeometry(left, top, 217, qMax(l->sizeHint().height(), AltezzaEtichetta));
    return l;
}

QToolButton* PulsantePiatto(QWidget* dialogo, int left, int top, int width, int height, const QString& caption) {
    auto* b = Controllo<QToolButton>(dialogo, left, top, width, height);
    b->setText(caption);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

TRPtqGridForm::TRPtqGridForm(QWidget* owner) : QDialog(owner) {
    setFixedSize(262, 183);  // the client area; the border cannot be dragged

    EditStringa = Controllo<QLineEdit>(this, 16, 24, 217, AltezzaEdit);
    Label1 = Etichetta(this, 16, 8, "&Stringa di ricerca");
    Label1->setBuddy(EditStringa);

    EditTipoRicerca = Controllo<TRadioGroup>(this, 16, 56, 217, AltezzaGruppo);
    EditTipoRicerca->setTitle(" &Tipo ricerca ");
    EditTipoRicerca->SetColumns(3);
    EditTipoRicerca->SetItems({">=", "LIKE %%", "LIKE %"});
    EditTipoRicerca->SetItemIndex(0);

    EditUpper = Controllo<QCheckBox>(this, 16, 96, 97, AltezzaCasella);
    EditUpper->setText("&Upper");
    EditUpper->setChecked(true);

    EditOrdinamento = Controllo<TRadioGroup>(this, 16, 120, 217, AltezzaGruppo);
    EditOrdinamento->setTitle(" Tipo &ordinamento ");
    EditOrdinamento->SetColumns(3);
    EditOrdinamento->SetItems({"No", "Cresc.", "Decres."});
    EditOrdinamento->SetItemIndex(1);

    EditData1 = Controllo<TEditData>(this, 16, 0, 217, AltezzaEdit);
    EditData1->hide();

    ButtonAggRete = PulsantePiatto(this, 208, 94, 25, 25, "&+");

    EditGenerica = Controllo<QCheckBox>(this, 16, 160, 73, AltezzaCasella);
    EditGenerica->setText("&Generica");
    EditGenerica->setEnabled(false);

    ButtonEsegui = PulsantePiatto(this, 89, 160, 74, 17, "&Esegui");
    ButtonEsegui->setEnabled(false);

    EditData2 = Controllo<TEditData>(this, 16, 65, 217, AltezzaEdit);
    EditData2->hide();

    Label2 = Etichetta(this, 16, 50, "e (facoltativo):");
    Label2->hide();

    EditStringa->setFocus();
}
