#include "lookup/FormRicerca.h"

#include "controls/Centratura.h"
#include "controls/MessageBoxes.h"
#include "controls/TabellaDati.h"
#include "db/Errore.h"
#include "db/FbDataSetModel.h"
#include "lookup/DataModuleMedia.h"
#include "lookup/DatiRicerca.h"
#include "lookup/SQLRicerca.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int Margine = 8;
constexpr int AltezzaPanelBottom = 56;

QWidget* Pannello(const QString& nome, QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setObjectName(nome);
    return w;
}

bool IsInvio(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TFormRicerca::TFormRicerca(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Ricerca"));
    QFont carattere = font();
    carattere.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    carattere.setPixelSize(13);
    setFont(carattere);
    QIcon icona;
    TDataModuleMedia::Instance().GetIco(TDataModuleMedia::imgCerca, icona);
    setWindowIcon(icona);

    FQuery.SetTransaction(&FTransaction);
    FTransaction.Params() = TFbTransaction::ReadOnlyParams();  // the dialog never writes
    FQuery.ParamCheck = false;  // the statement carries no parameters: its text goes out as built
    FTimerRicerca.setInterval(200);
    FTimerRicerca.setSingleShot(true);
    FTimerRicerca.setTimerType(Qt::PreciseTimer);  // 200 ms after the last keystroke, not "about" 200
    connect(&FTimerRicerca, &QTimer::timeout, this, &TFormRicerca::TimerRicercaTimer);

    CreaControlli();
    resize(784, 561);
}

TFormRicerca::~TFormRicerca() {
    FTimerRicerca.stop();
    FQuery.Close();
}

void TFormRicerca::CreaControlli() {
    auto* radice = new QVBoxLayout(this);
    radice->setContentsMargins(0, 0, 0, 0);
    radice->setSpacing(0);

    QWidget* fillerTop = Pannello(QStringLiteral("FillerTop"), this);
    fillerTop->setFixedHeight(Margine);
    radice->addWidget(fillerTop);

    auto* centro = new QHBoxLayout;
    centro->setSpacing(0);
    QWidget* fillerLeft = Pannello(QStringLiteral("FillerLeft"), this);
    fillerLeft->setFixedWidth(Margine);
    QWidget* panelClient = Pannello(QStringLiteral("PanelClient"), this);
    QWidget* fillerRight = Pannello(QStringLiteral("FillerRight"), this);
    fillerRight->setFixedWidth(Margine);
    centro->addWidget(fillerLeft);
    centro->addWidget(panelClient, 1);
    centro->addWidget(fillerRight);
    radice->addLayout(centro, 1);

    auto* client = new QVBoxLayout(panelClient);
    client->setContentsMargins(0, 0, 0, 0);
    client->setSpacing(Margine);
    FEditRicerca = new QLineEdit(panelClient);
    FEditRicerca->setObjectName(QStringLiteral("EditRicerca"));
    FEditRicerca->setPlaceholderText(QStringLiteral("Digitare il testo da ricercare"));
    FEditRicerca->setFixedHeight(24);
    FEditRicerca->installEventFilter(this);
    connect(FEditRicerca, &QLineEdit::textEdited, this, &TFormRicerca::EditRicercaChange);
    client->addWidget(FEditRicerca);

    FDBGrid = new TTabellaDati(panelClient);
    FDBGrid->setObjectName(QStringLiteral("DBGrid"));
    FModel = new TFbDataSetModel(this);
    FModel->SetDataSet(&FQuery);
    FDBGrid->setModel(FModel);
    FDBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FDBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    FDBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    FDBGrid->setShowGrid(true);
    FDBGrid->verticalHeader()->hide();
    FDBGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    FDBGrid->horizontalHeader()->setStretchLastSection(true);
    FDBGrid->horizontalHeader()->setSectionsClickable(true);
    FDBGrid->horizontalHeader()->setHighlightSections(true);
    FDBGrid->installEventFilter(this);
    connect(FDBGrid, &QAbstractItemView::doubleClicked, this, &TFormRicerca::DBGridDblClick);
    // the query's current row follows the grid's, so Ritorno reads the row the user sees selected
    connect(FDBGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& corrente) {
                if (corrente.isValid() && FQuery.Active()) FQuery.MoveTo(corrente.row());
            });
    client->addWidget(FDBGrid, 1);

    QWidget* panelBottom = Pannello(QStringLiteral("PanelBottom"), this);
    panelBottom->setFixedHeight(AltezzaPanelBottom);
    auto* pulsanti = new QHBoxLayout(panelBottom);
    pulsanti->setContentsMargins(Margine, 12, Margine, 12);
    pulsanti->addStretch(1);
    const TDataModuleMedia& media = TDataModuleMedia::Instance();
    FButtonRitorna = new QPushButton(media.Icona(TDataModuleMedia::imgRitorna), QStringLiteral("&Ritorna"), panelBottom);
    FButtonRitorna->setObjectName(QStringLiteral("ButtonRitorna"));
    FButtonAnnulla = new QPushButton(media.Icona(TDataModuleMedia::imgAnnulla), QStringLiteral("&Annulla"), panelBottom);
    FButtonAnnulla->setObjectName(QStringLiteral("ButtonAnnulla"));
    for (QPushButton* b : {FButtonRitorna, FButtonAnnulla}) {
        b->setFixedSize(100, 32);
        b->setAutoDefault(true);  // Enter on a button presses that button
        pulsanti->addWidget(b, 0, Qt::AlignBottom);
    }
    connect(FButtonRitorna, &QPushButton::clicked, this, &TFormRicerca::ButtonRitornaClick);
    connect(FButtonAnnulla, &QPushButton::clicked, this, &TFormRicerca::ButtonAnnullaClick);
    radice->addWidget(panelBottom);
}

void TFormRicerca::SetDBArchivio(TFbDatabase* value) {
    FQuery.Close();
    if (FTransaction.Active()) FTransaction.Rollback();
    FTransaction.SetDefaultDatabase(value);
    FQuery.SetDatabase(value);
}

bool TFormRicerca::HaRighe() const { return FQuery.Active() && !FQuery.IsEmpty(); }

QString TFormRicerca::Ritorno() const {
    if (!HaRighe()) return {};
    // the returned column is the statement's first
    const QString valore = FQuery.Field(0).AsString();
    return FDatiRicerca ? FDatiRicerca->PrefissoRitorno() + valore : valore;
}

void TFormRicerca::Aggiorna() {
    FQuery.Close();
    if (FTransaction.Active()) FTransaction.Rollback();
    if (!FDatiRicerca || !DBArchivio()) return;
    FTransaction.Start();
    FQuery.SQL = SQLRicerca(*FDatiRicerca, FEditRicerca->text());
    FQuery.Open();
    if (HaRighe()) FDBGrid->setCurrentIndex(FModel->index(0, 0));
    emit Aggiornato();
}

bool TFormRicerca::AggiornaSegnalando() {
    // the refreshes started by the dialog's own events end here: the error is shown
    try {
        Aggiorna();
        return true;
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
    } catch (const std::exception& e) {
        MessageBoxes().Errore(this, QString::fromUtf8(e.what()));
    }
    return false;
}

void TFormRicerca::FormShow() {
    // a failing first refresh leaves nothing to search in: the dialog ends, cancelled, once the
    // loop of exec runs (a timer: events posted now may be delivered while the dialog is shown)
    if (!AggiornaSegnalando()) QTimer::singleShot(0, this, &QDialog::reject);
}

void TFormRicerca::EditRicercaChange() { FTimerRicerca.start(); }

void TFormRicerca::EditRicercaInvio() { FDBGrid->setFocus(); }

void TFormRicerca::TimerRicercaTimer() {
    FTimerRicerca.stop();
    AggiornaSegnalando();
}

void TFormRicerca::ButtonRitornaClick() {
    if (HaRighe()) accept();
    else MessageBoxes().Avviso(this, QStringLiteral("Nessun record selezionato"));
}

void TFormRicerca::ButtonAnnullaClick() { reject(); }

void TFormRicerca::DBGridDblClick() {
    if (HaRighe()) accept();
}

void TFormRicerca::DBGridInvio() {
    if (HaRighe()) accept();
}

void TFormRicerca::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // restored by the window system: nothing new to show
    if (!FCentrata) {
        CentraSulloSchermo(this);
        FCentrata = true;
    }
    FormShow();
}

bool TFormRicerca::eventFilter(QObject* watched, QEvent* event) {
    if (IsInvio(event)) {
        if (watched == FEditRicerca) {
            EditRicercaInvio();
            return true;
        }
        if (watched == FDBGrid) {
            DBGridInvio();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormRicerca::done(int result) {
    FTimerRicerca.stop();  // a refresh after closing would move the row the caller is about to read
    QDialog::done(result);
}
