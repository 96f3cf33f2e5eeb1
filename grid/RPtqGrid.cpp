#include "grid/RPtqGrid.h"

#include "controls/Centratura.h"
#include "controls/EditData.h"
#include "controls/RadioGroup.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QSize DimensioneIniziale(262, 183);
// The places drawn for the dialog: margins, and the size of each control, which it keeps as the
// least one as long as its caption does not need more.
const QMargins Margini(16, 8, 29, 6);
constexpr int Spaziatura = 4;
constexpr int LarghezzaColonna = 217;
constexpr int AltezzaEdit = 21;
constexpr int AltezzaGruppo = 37;
constexpr int AltezzaCasella = 17;

// The least size a layout gives the control by itself (its hints, as its size policy reads them).
QSize MinimoNaturale(const QWidget& w) {
    const QSize hint = w.sizeHint();
    const QSize minimo = w.minimumSizeHint();
    const QSizePolicy politica = w.sizePolicy();
    const auto lato = [](QSizePolicy::Policy p, int h, int m) { return p & QSizePolicy::ShrinkFlag ? m : qMax(h, m); };
    return {lato(politica.horizontalPolicy(), hint.width(), minimo.width()),
            lato(politica.verticalPolicy(), hint.height(), minimo.height())};
}

TRadioGroup* Gruppo(QWidget* dialogo, const QString& titolo, const QStringList& voci, int scelta) {
    auto* g = new TRadioGroup(titolo, voci, 3, dialogo);
    g->SetItemIndex(scelta);
    return g;
}

QToolButton* PulsantePiatto(QWidget* dialogo, const QString& caption) {
    auto* b = new QToolButton(dialogo);
    b->setText(caption);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

TRPtqGridForm::TRPtqGridForm(QWidget* owner) : QDialog(owner) {
    // Created in the order Tab follows, the same for every kind of field: the text or the two
    // dates, "Tipo ricerca", "Upper", "Tipo ordinamento", "Generica", "Esegui".
    EditStringa = new QLineEdit(this);
    EditData1 = new TEditData(this);
    EditData1->hide();
    EditData2 = new TEditData(this);
    EditData2->hide();
    EditTipoRicerca = Gruppo(this, " &Tipo ricerca ", {">=", "LIKE %%", "LIKE %"}, 0);
    EditUpper = new QCheckBox("&Upper", this);
    EditUpper->setChecked(true);
    EditOrdinamento = Gruppo(this, " Tipo &ordinamento ", {"No", "Cresc.", "Decres."}, 1);
    EditGenerica = new QCheckBox("&Generica", this);
    EditGenerica->setEnabled(false);
    ButtonEsegui = PulsantePiatto(this, "&Esegui");
    ButtonEsegui->setEnabled(false);
    // outside the Tab order: its letter (Alt++) presses it
    ButtonAggRete = PulsantePiatto(this, "&+");
    ButtonAggRete->setFocusPolicy(Qt::NoFocus);

    Label1 = new QLabel("&Stringa di ricerca", this);
    Label1->setBuddy(EditStringa);
    Label2 = new QLabel("e (facoltativo):", this);
    Label2->hide();

    FDisegno = {{EditStringa, {LarghezzaColonna, AltezzaEdit}},    {EditData1, {LarghezzaColonna, AltezzaEdit}},
                {EditData2, {LarghezzaColonna, AltezzaEdit}},      {EditTipoRicerca, {LarghezzaColonna, AltezzaGruppo}},
                {EditUpper, {97, AltezzaCasella}},                 {EditOrdinamento, {LarghezzaColonna, AltezzaGruppo}},
                {EditGenerica, {73, AltezzaCasella}},              {ButtonEsegui, {74, AltezzaCasella}},
                {ButtonAggRete, {25, 25}}};

    // From the top: the caption, the text or the first date in one place, the search types or the
    // second date, "Upper" with "+" at the right, the sort options, "Generica" with "Esegui".
    auto* testo = new QStackedLayout;
    testo->setStackingMode(QStackedLayout::StackAll);  // the hidden one stays in its twin's place
    testo->addWidget(EditStringa);
    testo->addWidget(EditData1);
    auto* upper = new QHBoxLayout;
    upper->addWidget(EditUpper);
    upper->addStretch();
    upper->addWidget(ButtonAggRete);
    auto* generica = new QHBoxLayout;
    generica->setSpacing(0);
    generica->addWidget(EditGenerica);
    generica->addWidget(ButtonEsegui);
    generica->addStretch();
    auto* colonna = new QVBoxLayout(this);
    colonna->setContentsMargins(Margini);
    colonna->setSpacing(Spaziatura);
    colonna->setSizeConstraint(QLayout::SetNoConstraint);  // the dialog sizes itself
    colonna->addWidget(Label1);
    colonna->addLayout(testo);
    colonna->addWidget(EditTipoRicerca);
    colonna->addWidget(Label2);
    colonna->addWidget(EditData2);
    colonna->addLayout(upper);
    colonna->addWidget(EditOrdinamento);
    colonna->addLayout(generica);
    colonna->addStretch();

    AdattaDimensione();
    EditStringa->setFocus();
}

void TRPtqGridForm::AdattaDimensione() {
    for (const auto& [controllo, disegno] : FDisegno) controllo->setMinimumSize(disegno.expandedTo(MinimoNaturale(*controllo)));
    const QSize dimensione = layout()->totalMinimumSize().expandedTo(DimensioneIniziale);
    if (dimensione == size() && minimumSize() == maximumSize()) return;
    const QScreen* schermo = screen();
    const bool centrata = schermo && frameGeometry().center() == schermo->availableGeometry().center();
    setFixedSize(dimensione);  // the border cannot be dragged
    if (centrata) CentraSulloSchermo(this);
}

void TRPtqGridForm::setVisible(bool visible) {
    // the font and the fields shown may have changed since the dialog was made
    if (visible) AdattaDimensione();
    QDialog::setVisible(visible);
}

bool TRPtqGridForm::event(QEvent* event) {
    const bool gestito = QDialog::event(event);
    if (event->type() == QEvent::LayoutRequest) AdattaDimensione();
    return gestito;
}
