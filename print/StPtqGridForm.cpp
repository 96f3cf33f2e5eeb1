#include "print/StPtqGridForm.h"

#include "controls/Centratura.h"
#include "controls/MessageBoxes.h"
#include "controls/RadioGroup.h"
#include "db/Errore.h"
#include "print/StPtqGrid.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TStPtqGridForm::TStPtqGridForm(QWidget* owner, TPtqGridStampa* ptqGridStampa)
    : QDialog(owner), FPtqGridStampa(ptqGridStampa) {
    GroupIntestazione = new QGroupBox("Intestazione", this);
    Label1 = new QLabel("Riga &1:", GroupIntestazione);
    EditIntestazione1 = new QLineEdit(GroupIntestazione);
    Label2 = new QLabel("Riga &2:", GroupIntestazione);
    EditIntestazione2 = new QLineEdit(GroupIntestazione);
    RadioAllineaIntestazione = new TRadioGroup("A&llineamento", {"A sinistra", "Centrale"}, 1, GroupIntestazione);
    RadioAllineaIntestazione->SetItemIndex(0);
    auto* righe = new QFormLayout;
    righe->addRow(Label1, EditIntestazione1);
    righe->addRow(Label2, EditIntestazione2);
    Label1->setBuddy(EditIntestazione1);
    Label2->setBuddy(EditIntestazione2);
    auto* intestazione = new QHBoxLayout(GroupIntestazione);
    intestazione->addLayout(righe, 1);
    intestazione->addWidget(RadioAllineaIntestazione);

    GroupOpzioni = new QGroupBox("Opzioni stampa", this);
    RadioOrientamentoPagina = new TRadioGroup("&Orientamento pagina", {"Verticale", "Orizzontale"}, 2, GroupOpzioni);
    RadioOrientamentoPagina->SetItemIndex(0);
    CheckNumeraPagine = new QCheckBox("Esponi &numerazione pagine", GroupOpzioni);
    CheckTroncaTesti = new QCheckBox("&Tronca testi che eccedono i bordi in griglia", GroupOpzioni);
    CheckForzaUltimaColonna = new QCheckBox("&Forza esposizione ultima colonna", GroupOpzioni);
    CheckForzaUltimaColonna->setChecked(true);
    Label3 = new QLabel("(verrà utilizzato tutto lo spazio disponibile in stampa, troncando l'ultima colonna)", GroupOpzioni);
    RadioDimensioneFont = new TRadioGroup("&Dimensione font dati",
                                          {"Piccola (Arial 8)", "Media (Arial 10)", "Grande (Arial 12)"}, 1, GroupOpzioni);
    RadioDimensioneFont->SetItemIndex(1);
    auto* ultimaColonna = new QHBoxLayout;
    ultimaColonna->addWidget(CheckForzaUltimaColonna);
    ultimaColonna->addWidget(Label3, 1);
    auto* caselle = new QVBoxLayout;
    caselle->addWidget(RadioOrientamentoPagina);
    caselle->addWidget(CheckNumeraPagine);
    caselle->addWidget(CheckTroncaTesti);
    caselle->addLayout(ultimaColonna);
    caselle->addStretch();
    auto* opzioni = new QHBoxLayout(GroupOpzioni);
    opzioni->addLayout(caselle, 1);
    opzioni->addWidget(RadioDimensioneFont);

    ButtonAnteprima = new QPushButton("&Anteprima", this);
    ButtonAnteprima->setDefault(true);
    ButtonChiudi = new QPushButton("Ch&iudi", this);
    // Enter on "Chiudi" closes; elsewhere it runs the preview
    ButtonChiudi->setAutoDefault(true);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(ButtonAnteprima);
    pulsanti->addWidget(ButtonChiudi);

    PopupMenu1 = new QMenu(this);
    Aprieditazionereportassistenzatecnica1 = PopupMenu1->addAction("&Apri editazione report (assistenza tecnica)");
    // the Menu key opens the popup through the context-menu event; Shift+F10 below the control
    // that has the focus
    auto* menuDaTastiera = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuDaTastiera, &QShortcut::activated, this, [this] {
        const QWidget* controllo = focusWidget() ? focusWidget() : this;
        PopupMenu1->popup(controllo->mapToGlobal(QPoint(0, controllo->height())));
    });

    auto* finestra = new QVBoxLayout(this);
    finestra->addWidget(GroupIntestazione);
    finestra->addWidget(GroupOpzioni);
    finestra->addLayout(pulsanti);
    finestra->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog border

    connect(ButtonAnteprima, &QPushButton::clicked, this, &TStPtqGridForm::ButtonAnteprimaClick);
    connect(ButtonChiudi, &QPushButton::clicked, this, &TStPtqGridForm::ButtonChiudiClick);
    connect(Aprieditazionereportassistenzatecnica1, &QAction::triggered, this,
            &TStPtqGridForm::Aprieditazionereportassistenzatecnica1Click);

    setWindowTitle("Stampa " + FPtqGridStampa->Tabella);
}

void TStPtqGridForm::LeggiOpzioni() {
    TPtqGridStampa& stampa = *FPtqGridStampa;
    stampa.Intestazione_Riga1 = EditIntestazione1->text();
    stampa.Intestazione_Riga2 = EditIntestazione2->text();
    stampa.Intestazione_Allineamento = quint8(RadioAllineaIntestazione->ItemIndex() & 0xFF);
    switch (RadioOrientamentoPagina->ItemIndex()) {
    case 0: stampa.OrientamentoPagina = "VERTICALE"; break;
    case 1: stampa.OrientamentoPagina = "ORIZZONTALE"; break;
    default: break;
    }
    stampa.FlagNumeraPagine = CheckNumeraPagine->isChecked();
    stampa.FlagTroncaTesti = CheckTroncaTesti->isChecked();
    stampa.FlagForzaUltimaColonna = CheckForzaUltimaColonna->isChecked();
    switch (RadioDimensioneFont->ItemIndex()) {
    case 0: stampa.DimensioneFontDati = 8; break;
    case 1: stampa.DimensioneFontDati = 10; break;
    case 2: stampa.DimensioneFontDati = 12; break;
    default: break;
    }
}

void TStPtqGridForm::Esegui(void (TPtqGridStampa::*passo)()) {
    LeggiOpzioni();
    try {
        (FPtqGridStampa->*passo)();
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
    }
}

void TStPtqGridForm::ButtonAnteprimaClick() { Esegui(&TPtqGridStampa::Anteprima); }

void TStPtqGridForm::Aprieditazionereportassistenzatecnica1Click() { Esegui(&TPtqGridStampa::EditaReport); }

void TStPtqGridForm::ButtonChiudiClick() { close(); }

void TStPtqGridForm::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->popup(event->globalPos());
    event->accept();
}

void TStPtqGridForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the desktop.
    CentraSulloSchermo(this);
}
