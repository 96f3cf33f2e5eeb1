#include "app/FormMain.h"

#include "app/Invio.h"
#include "app/RiepilogoAiuto.h"
#include "app/server/InvioFromSrv.h"
#include "controls/ChiusuraFinestre.h"
#include "controls/CursoreOccupato.h"
#include "controls/MessageBoxes.h"
#include "controls/SuggerimentoFuoco.h"
#include "db/ConnessioneDB.h"
#include "db/Errore.h"
#include "lookup/DataModuleMedia.h"
#include "lookup/DatiRicerca.h"
#include "lookup/FormRicerca.h"
#include "print/Felgora.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QThreadPool>
#include <QTreeWidgetItemIterator>
#include <QtConcurrent>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include <QVBoxLayout>

namespace {

QFont FontTahoma(int pixelSize) {
    QFont f;
    f.setFamilies({"Tahoma", "DejaVu Sans"});  // Tahoma is not on every machine
    f.setPixelSize(pixelSize);
    return f;
}

QFrame* Pannello(QWidget* parent) {
    auto* p = new QFrame(parent);
    p->setFrameShape(QFrame::NoFrame);
    return p;
}

// The grid's keys that the window maps on their release, each with the popup command it runs.
const std::pair<Qt::Key, const char*> TastiGriglia[] = {{Qt::Key_F5, "Ricerca su campo Corrente"},
                                                         {Qt::Key_F6, "Annulla ricerca"},
                                                         {Qt::Key_F8, "Query"},
                                                         {Qt::Key_F9, "Dimezza larghezza colonna"}};

// Keys as the user reads them: "Ctrl+Q, Esc".
QString NomiTasti(const QList<QKeySequence>& tasti) {
    QStringList nomi;
    for (const QKeySequence& t : tasti) nomi << t.toString(QKeySequence::NativeText);
    return nomi.join(", ");
}

QToolButton* PulsanteImmagine(QWidget* parent, QAction* azione, int x, int y) {
    auto* b = new QToolButton(parent);
    b->setAutoRaise(true);
    b->setDefaultAction(azione);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    b->setGeometry(x, y, 26, 26);
    return b;
}

}  // namespace

TFormMain::TFormMain(const QStringList& argomenti, const QString& fileIni, QWidget* parent)
    : TFormMain(std::make_unique<TAvvio>(argomenti, fileIni), parent) {}

TFormMain::TFormMain(std::unique_ptr<TAvvio> avvio, QWidget* parent) : QWidget(parent), FAvvio(std::move(avvio)) {
    FAvvio->AvviaVerifica();
    setWindowTitle("ZelScanFile");
    setFont(FontTahoma(13));
    resize(983, 441);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    DBArchivio = new TFbDatabase(this);
    IBTransaction = new TFbTransaction(DBArchivio, this);
    IBQuery = new TFbQuery(this);
    QueryAux1 = new TFbQuery(this);
    QueryAux2 = new TFbQuery(this);
    QueryAux3 = new TFbQuery(this);
    for (TFbQuery* q : {IBQuery, QueryAux1, QueryAux2, QueryAux3}) {
        q->SetDatabase(DBArchivio);
        q->SetTransaction(IBTransaction);
    }
    // the window's own handlers on the grid's query; the grid chains its own after them
    IBQuery->BeforeOpen = [this](TFbDataSet*) { IBQueryBeforeOpen(); };
    IBQuery->BeforeClose = [this](TFbDataSet*) { IBQueryBeforeClose(); };

    TimerDelay = new QTimer(this);
    TimerDelay->setInterval(500);
    TimerDelay->setSingleShot(true);
    connect(TimerDelay, &QTimer::timeout, this, [this] { Gestisci([this] { Aggiorna(); }); });

    CreaAzioni();
    CreaControlli();
}

TFormMain::~TFormMain() {
    // the worker writes into this window: a send still under way ends first
    FTask.waitForFinished();
    // the archive closes while the window is whole: closing it ends the grid's query, whose
    // handlers call back into the window
    try {
        DBArchivio->Close();
    } catch (const Exception&) {
    }
}

void TFormMain::CreaAzioni() {
    const TDataModuleMedia& media = TDataModuleMedia::Instance();
    // Each action has keys, which work while its button can be pressed (not while a send runs,
    // not for the hidden lookup); its hint names the function and the keys. The function's name is
    // also the button's text, which the icon-only button does not show.
    auto azione = [&](int immagine, const QString& funzione, const QList<QKeySequence>& tasti) {
        auto* a = new QAction(media.Icona(immagine), QString(), this);
        a->setIconText(funzione);
        a->setShortcuts(tasti);
        a->setToolTip(funzione + " (" + NomiTasti(tasti) + ")");
        return a;
    };
    ActionEsci = azione(1, "Esci", {QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::Key_Escape)});
    ActionRefresh = azione(2, "Aggiorna", {QKeySequence(Qt::CTRL | Qt::Key_R)});
    ActionHelp = azione(0, "Aiuto", {QKeySequence(Qt::Key_F1)});
    ActionSearch = azione(12, "Cerca cliente", {QKeySequence(Qt::CTRL | Qt::Key_F)});
    ActionUpFile = azione(13, "Up File", {QKeySequence(Qt::CTRL | Qt::Key_I)});
    // Esci's keys work from the window itself, also while a send runs, when the close is refused
    // with its warning; a held Esc that has just closed a box does not close the window too
    addAction(ActionEsci);
    ActionEsci->setAutoRepeat(false);
    connect(ActionEsci, &QAction::triggered, this, [this] { ActionEsciExecute(); });
    connect(ActionRefresh, &QAction::triggered, this, [this] { Gestisci([this] { Aggiorna(); }); });
    connect(ActionHelp, &QAction::triggered, this, [this] { ActionHelpExecute(); });
    connect(ActionSearch, &QAction::triggered, this, [this] { Gestisci([this] { ActionSearchExecute(); }); });
    connect(ActionUpFile, &QAction::triggered, this, [this] { Gestisci([this] { ActionUpFileExecute(); }); });
}

void TFormMain::CreaControlli() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelFiltro = Pannello(this);
    PanelFiltro->setFixedHeight(65);
    LabelFiltroCodice = new QLabel("&Soggetto:", PanelFiltro);
    LabelFiltroCodice->setGeometry(8, 8, 140, 16);
    EditFiltroCodice = new QLineEdit(PanelFiltro);
    EditFiltroCodice->setGeometry(8, 26, 140, 24);
    LabelFiltroCodice->setBuddy(EditFiltroCodice);
    // only the user's edits start the delay; changes made by the program do not
    connect(EditFiltroCodice, &QLineEdit::textEdited, this, [this] { AvviaRitardo(); });
    ButtonSearch = PulsanteImmagine(PanelFiltro, ActionSearch, 148, 25);
    layout->addWidget(PanelFiltro);

    PanelHeader = Pannello(this);
    PanelHeader->setFixedHeight(34);
    auto* header = new QHBoxLayout(PanelHeader);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(0);
    auto* etichette = new QWidget(PanelHeader);
    QPalette teal;
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    LabelSelezioneCorrenteCommessa = new QLabel(etichette);
    LabelSelezioneCorrenteItem = new QLabel(etichette);
    for (QLabel* l : {LabelSelezioneCorrenteCommessa, LabelSelezioneCorrenteItem}) {
        l->setFont(FontTahoma(14));
        l->setPalette(teal);
        l->hide();
    }
    LabelSelezioneCorrenteCommessa->move(8, 1);
    LabelSelezioneCorrenteItem->move(8, 16);
    header->addWidget(etichette, 1);

    PanelPulsanti = Pannello(PanelHeader);
    PanelPulsanti->setFixedWidth(208);
    ButtonUpFile = PulsanteImmagine(PanelPulsanti, ActionUpFile, 0, 7);
    ButtonRefresh = PulsanteImmagine(PanelPulsanti, ActionRefresh, 26, 7);
    DBNavigator = new QWidget(PanelPulsanti);
    DBNavigator->setGeometry(52, 7, 104, 26);
    DBNavigator->setToolTip("Scrorri griglia");
    const struct {
        QStyle::StandardPixmap icona;
        const char* hint;
        void (TFbDataSet::*comando)();
    } navigazione[] = {{QStyle::SP_MediaSkipBackward, "Prima foto", &TFbDataSet::First},
                       {QStyle::SP_MediaSeekBackward, "Foto precedente", &TFbDataSet::Prior},
                       {QStyle::SP_MediaSeekForward, "Foto successiva", &TFbDataSet::Next},
                       {QStyle::SP_MediaSkipForward, "Ultima foto", &TFbDataSet::Last}};
    int x = 0;
    for (const auto& n : navigazione) {
        auto* b = new QToolButton(DBNavigator);
        b->setIcon(style()->standardIcon(n.icona));
        b->setToolTip(n.hint);
        b->setAutoRaise(true);
        b->setGeometry(x, 0, 26, 26);
        x += 26;
        const auto comando = n.comando;
        connect(b, &QToolButton::clicked, this, [this, comando] { Gestisci([this, comando] { (IBQuery->*comando)(); }); });
    }
    // the navigator moves over the grid's query, which is open only while the grid shows it
    auto statoNavigatore = [this] { DBNavigator->setEnabled(IBQuery->Active()); };
    connect(IBQuery, &TFbDataSet::Opened, this, statoNavigatore);
    connect(IBQuery, &TFbDataSet::Closed, this, statoNavigatore);
    statoNavigatore();
    // the grid's title says whether a search narrows the rows and whether there are any
    connect(IBQuery, &TFbDataSet::Opened, this, &TFormMain::AggiornaTitoloGriglia);
    connect(IBQuery, &TFbDataSet::Closed, this, &TFormMain::AggiornaTitoloGriglia);
    ButtonHelp = PulsanteImmagine(PanelPulsanti, ActionHelp, 156, 7);
    ButtonHelp->setIcon(TDataModuleMedia::Instance().Icona(3));
    ButtonEsci = PulsanteImmagine(PanelPulsanti, ActionEsci, 182, 7);
    header->addWidget(PanelPulsanti);
    layout->addWidget(PanelHeader);

    SplitterMain = new QSplitter(Qt::Vertical, this);
    SplitterMain->setChildrenCollapsible(false);
    layout->addWidget(SplitterMain, 1);

    TreeViewMain = new QTreeWidget(SplitterMain);
    TreeViewMain->setHeaderHidden(true);
    TreeViewMain->setFont(FontTahoma(20));
    TreeViewMain->setIndentation(32);
    TreeViewMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // the selection, not the current item: a click on the empty area, Ctrl+click or Ctrl+Space
    // clear the selection and leave the current item where it was
    connect(TreeViewMain->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selezionati = TreeViewMain->selectedItems();
        TreeViewMainChange(selezionati.isEmpty() ? nullptr : selezionati.first());
    });
    SplitterMain->addWidget(TreeViewMain);

    auto* pannelloGriglia = new QWidget(SplitterMain);
    auto* colonnaGriglia = new QVBoxLayout(pannelloGriglia);
    colonnaGriglia->setContentsMargins(0, 2, 0, 0);
    colonnaGriglia->setSpacing(2);
    LabelGriglia = new QLabel(pannelloGriglia);
    LabelGriglia->setContentsMargins(8, 0, 0, 0);
    colonnaGriglia->addWidget(LabelGriglia);
    PtqGrid = new TPtqGrid(pannelloGriglia);
    PtqGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PtqGrid->SetOrderBy(true);
    // the window maps F5, F6, F8 and F9 on key release
    PtqGrid->SetScorciatoieAttive(false);
    PtqGrid->installEventFilter(this);
    connect(PtqGrid, &TPtqGrid::RicercaAttivaCambiata, this, &TFormMain::AggiornaTitoloGriglia);
    colonnaGriglia->addWidget(PtqGrid, 1);
    SplitterMain->addWidget(pannelloGriglia);
    SplitterMain->setStretchFactor(0, 3);
    SplitterMain->setStretchFactor(1, 2);
    // the navigator and the grid show the same current row
    connect(IBQuery, &TFbDataSet::CurrentChanged, PtqGrid, [this](int riga) {
        if (riga >= 0 && riga != PtqGrid->currentIndex().row()) PtqGrid->selectRow(riga);
    });
    connect(PtqGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& indice) {
        if (IBQuery->Active() && indice.isValid() && indice.row() != IBQuery->RecNo()) IBQuery->MoveTo(indice.row());
    });

    for (QToolButton* b : PanelFiltro->findChildren<QToolButton*>() + PanelPulsanti->findChildren<QToolButton*>())
        MostraSuggerimentoAlFuoco(b);

    PanelActivity = new QFrame(this);
    PanelActivity->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanelActivity->setLineWidth(2);
    PanelActivity->setAutoFillBackground(true);
    PanelActivity->resize(128, 128);
    LabelActivity = new QLabel(PanelActivity);
    LabelActivity->setAlignment(Qt::AlignCenter);
    LabelActivity->setGeometry(0, 0, 128, 128);
    PanelActivity->hide();
}

void TFormMain::Gestisci(const std::function<void()>& gestore) {
    try {
        gestore();
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
    } catch (const std::exception& e) {
        MessageBoxes().Errore(this, QString::fromLocal8Bit(e.what()));
    }
}

void TFormMain::CheckInit() {
    const bool trovato = FAvvio->Verifica(this, *DBArchivio);
    // the companion programs started from here inherit the session (the launcher's line names
    // only the user)
    ImpostaAmbienteSessione(FAvvio->Utente(), FAvvio->Ditta());
    CreaTabX();
    ConfiguraGriglia();
    ImpostaModalita(trovato ? mExternalCall : mStandAlone);
}

void TFormMain::CreaTabX() {
    FPtqTabX = new TPtqTabX(this);
    FPtqTabX->SetDatabase(DBArchivio);
}

void TFormMain::ConfiguraGriglia() {
    PtqGrid->SetCodiceProgetto(534);
    PtqGrid->SetSituazione(1);
    PtqGrid->SetUtente(FAvvio->Utente());
    PtqGrid->SetNomeTabellaQuery("ZELSCANLOGLIGHT");
    PtqGrid->SetSorgenteDati(IBQuery);
    PtqGrid->SetTabellaPiccola(true);
    PtqGrid->FDirectoryBin = FAvvio->PtqUser()->GetParamKestrin("Directory bin");
    PtqGrid->FNomeProgetto = FAvvio->Ditta();
    PtqGrid->SetAbilitaRicercheF5(true);
}

void TFormMain::RipristinaSplitter() {
    FSplitterRipristinato = true;
    if (!FPtqTabX) return;
    // a position that cannot be read leaves the default shares
    try {
        bool numero = false;
        const int albero = FPtqTabX->GetParametroTesto(NomePosizioneSplitter, FAvvio->Utente()).toInt(&numero);
        const QList<int> parti = SplitterMain->sizes();
        if (numero && albero > 0) SplitterMain->setSizes({albero, qMax(1, parti.value(0) + parti.value(1) - albero)});
    } catch (const Exception&) {
    }
}

void TFormMain::SalvaSplitter() {
    if (!FPtqTabX || SplitterMain->sizes().value(0) <= 0) return;
    FPtqTabX->SetParametroTesto(NomePosizioneSplitter, QString::number(SplitterMain->sizes().value(0)), FAvvio->Utente());
}

void TFormMain::AggiornaTitoloGriglia() {
    QString titolo = FSoggettoGriglia.isEmpty() ? "Log completo (tutti i soggetti)" : "Log del soggetto " + FSoggettoGriglia;
    if (IBQuery->Active()) {
        const bool ricerca = PtqGrid->RicercaAttiva();
        if (ricerca) titolo += QString::fromUtf8(" — ricerca attiva");
        if (IBQuery->IsEmpty()) titolo += ricerca ? ", nessuna riga trovata" : QString::fromUtf8(" — nessuna riga");
    }
    LabelGriglia->setText(titolo);
}

void TFormMain::ApriGriglia(const QString& soggetto) {
    FSoggettoGriglia = soggetto;
    AggiornaTitoloGriglia();
    try {
        IBQuery->Open();
    } catch (const EDatabaseError& e) {
        DBArchivio->DropIfLost();  // a server that went away: the next refresh connects again
        MessageBoxes().Errore(this, e.Message());
    } catch (const Exception& e) {
        MessageBoxes().Errore(this, e.Message());
    }
}

void TFormMain::IBQueryBeforeOpen() {
    if (PtqGrid->RicercaInCorso()) return;  // the search has put its own text
    const QString soggetto = GetFiltro()->Soggetto();
    QStringList sql{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL"};
    if (!soggetto.isEmpty()) sql << "  AND" << "  DATOINPUT='" + SostituisciApice(soggetto, "''") + "'";
    IBQuery->SQL = sql;
    PtqGrid->SQLIniziale() = sql;
    PtqGrid->RecuperaAspettodaStorico();
}

void TFormMain::IBQueryBeforeClose() {
    if (PtqGrid->RicercaInCorso() || PtqGrid->RecuperoAspettoBaseInCorso || !IBQuery->Active()) return;
    // a layout that cannot be saved (a row locked by the user's other window, a lost server) is
    // told once, and the close or the rebuild behind it goes on
    try {
        PtqGrid->SalvaAspettoSuStorico();
    } catch (const Exception& e) {
        // a server that went away is told once, by the action that found it; the rows already
        // fetched stay on screen until the next refresh, which connects again
        TFbDatabase* impostazioni = PtqGrid->DatabaseImpostazioniEffettivo();
        if (dynamic_cast<const EDatabaseError*>(&e) && impostazioni && impostazioni->IsLost()) throw;
        const QString premessa = "Aspetto della griglia non salvato\r\n";
        // closing for a signal, nobody is there to answer a box
        if (FChiusuraRichiesta) MessageBoxesSuStderr()->Errore(this, premessa + e.Message());
        else PtqGrid->MostraErrore(e, this, premessa);
    }
}

void TFormMain::PtqGridKeyUp(int key) {
    for (const auto& [tasto, comando] : TastiGriglia) {
        if (key == tasto) PtqGrid->EseguiComando(comando);
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PtqGrid && event->type() == QEvent::KeyRelease) {
        auto* tasto = static_cast<QKeyEvent*>(event);
        if (!tasto->isAutoRepeat()) PtqGridKeyUp(tasto->key());
    }
    return QWidget::eventFilter(watched, event);
}

void TFormMain::ActionSearchExecute() {
    TFormRicerca ricerca(this);
    TDatiRicerca dati;
    ricerca.SetDatiRicerca(&dati);
    dati.SetTabellaRicerca("CLIENTI");
    dati.SetCampoRicerca("RAGSOC");
    dati.SetCampoRitorno("CODICE");
    ricerca.SetDBArchivio(DBArchivio);
    if (ricerca.exec() == QDialog::Accepted) {
        EditFiltroCodice->setText(ricerca.Ritorno());  // a change by the program: no delay starts
        Aggiorna();
    }
}

void TFormMain::ImpostaModalita(TMode mode) {
    if (mode == mExternalCall) {
        SetFiltro(TFiltro(FAvvio->Soggetto()));
        PanelFiltro->hide();
    }
    FMode = mode;
}

void TFormMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormMain::FormShow() {
    FChiusa = false;
    if (!FSplitterRipristinato) RipristinaSplitter();
    LabelSelezioneCorrenteCommessa->hide();
    LabelSelezioneCorrenteItem->hide();
    Gestisci([this] { CaricaAlbero(); });
    // the caller's window hands over to the tree: a stray Space must not start a send
    if (FMode == mExternalCall) TreeViewMain->setFocus();
    if (FMode == mExternalCall && !FMassimizzato) Massimizza();
}

void TFormMain::Massimizza() {
    FMassimizzato = true;
    // posted, so the window is maximised once its first showing has completed
#ifdef Q_OS_WIN
    PostMessageW(reinterpret_cast<HWND>(winId()), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
#else
    QMetaObject::invokeMethod(this, &QWidget::showMaximized, Qt::QueuedConnection);
#endif
}

void TFormMain::ActionHelpExecute() {
    MessageBoxes().Informazione(this, TestoRiepilogoAiuto(FAvvio->CmdParams(), FAvvio->IniParams(),
                                                          FAvvio->OrigineParametri(), TastiAiuto()));
}

QList<TTastiAiuto> TFormMain::TastiAiuto() const {
    TTastiAiuto finestra{"Tasti della finestra:", {}};
    QList<QAction*> azioni{ActionUpFile, ActionRefresh, ActionHelp, ActionEsci};
    // the subject's field and the lookup are hidden when the caller names the subject
    if (FMode != mExternalCall) {
        finestra.Voci << std::pair{QKeySequence::mnemonic(LabelFiltroCodice->text()).toString(QKeySequence::NativeText),
                                   QStringLiteral("Soggetto")};
        azioni.prepend(ActionSearch);
    }
    for (const QAction* a : azioni) finestra.Voci << std::pair{NomiTasti(a->shortcuts()), a->iconText()};
    finestra.Voci << std::pair{NomiTasti({QKeySequence(Qt::Key_Tab), QKeySequence(Qt::SHIFT | Qt::Key_Tab)}),
                               QStringLiteral("Controllo successivo, precedente")};
    TTastiAiuto griglia{"Tasti della griglia:", {}};
    for (const auto& [tasto, comando] : TastiGriglia)
        griglia.Voci << std::pair{NomiTasti({QKeySequence(tasto)}), QString::fromUtf8(comando)};
    griglia.Voci << std::pair{NomiTasti({QKeySequence(Qt::Key_Menu), TPtqGrid::TastoMenu()}),
                              QStringLiteral("Menu della griglia")};
    return {finestra, griglia};
}

void TFormMain::AvviaRitardo() { TimerDelay->start(); }

void TFormMain::Aggiorna() {
    TimerDelay->stop();
    CaricaAlbero();
}

std::unique_ptr<TFiltro> TFormMain::GetFiltro() const { return std::make_unique<TFiltro>(EditFiltroCodice->text()); }

void TFormMain::SetFiltro(const TFiltro& filtro) { EditFiltroCodice->setText(filtro.Soggetto()); }

void TFormMain::CaricaAlbero() {
    ++FRicostruzioni;
    const TCursoreOccupato occupato;  // a large customer's tree takes a while
    try {
        IBQuery->Close();
        if (IBTransaction->Active()) IBTransaction->Commit();
        IBTransaction->Start();
        const QString soggetto = FAvvio->Soggetto().isEmpty() ? EditFiltroCodice->text() : FAvvio->Soggetto();
        // a rebuild drops the selection, so a re-send never acts on a row that is no longer shown
        TreeViewMainChange(nullptr);
        ::CaricaAlbero(*TreeViewMain, soggetto, *QueryAux1, *QueryAux2, *QueryAux3);
    } catch (const EDatabaseError&) {
        DBArchivio->DropIfLost();  // a server that went away: the next refresh connects again
        throw;
    }
    ApriGriglia(GetFiltro()->Soggetto());
}

void TFormMain::TreeViewMainChange(QTreeWidgetItem* node) {
    if (const std::optional<TMyRec> rec = PayloadNodo(node)) {
        ID_RECORD_SELEZIONATO_CORRENTE = rec->ID;
        LabelSelezioneCorrenteCommessa->setText("Selezione corrente: " + rec->TestoCommessa);
        LabelSelezioneCorrenteItem->setText("Item: " + rec->TestoItem);
        for (QLabel* l : {LabelSelezioneCorrenteCommessa, LabelSelezioneCorrenteItem}) {
            l->adjustSize();
            l->show();
        }
        return;
    }
    ID_RECORD_SELEZIONATO_CORRENTE = 0;
    LabelSelezioneCorrenteCommessa->hide();
    LabelSelezioneCorrenteItem->hide();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TFormMain::FormCloseQuery() {
    if (!FTask.isRunning()) return true;
    // asked by a signal, the window closes without a word when the send ends (FineInvio)
    if (!FChiusuraRichiesta)
        MessageBoxes().Avviso(this, "Invio in corso. Attendere la fine dell'operazione prima di chiudere il programma");
    return false;
}

void TFormMain::ChiudiPerSegnale() {
    FChiusuraRichiesta = true;
    // a box or dialog open over the window is dismissed first, as Esc would; the window closes
    // once their loops have returned
    ChiudiModali(this);
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

void TFormMain::FormClose() {
    FChiusa = true;
    TimerDelay->stop();  // a pending rebuild has no window left to show it
    Gestisci([this] { IBQuery->Close(); });
    Gestisci([this] { SalvaSplitter(); });
}

void TFormMain::ActionUpFileExecute() {
    const int id = ID_RECORD_SELEZIONATO_CORRENTE;
    if (id == 0) {
        MessageBoxes().Avviso(this, "Nessun file selezionato");
        return;
    }
    TRecordLog rec;
    try {
        rec = LeggiRecordLog(*DBArchivio, id);
    } catch (const Exception& e) {
        MessageBoxes().Avviso(this, e.Message());
        return;
    }
    QString avviso;
    if (!rec.Trovato) avviso = QString("Record ID %1 non trovato in archivio").arg(id);
    else if (rec.DatoInput.isEmpty()) avviso = QString("Record ID %1 senza Ser.Doc. (campo DATOINPUT)").arg(id);
    else if (rec.NrMacchina == 0) avviso = QString("Record ID %1 senza Nr. Macchina (campo NR_MACCHINA)").arg(id);
    else {
        FZelScanSrvURL = GetZelScanSrvURL(FAvvio->IniParams());
        if (FZelScanSrvURL.isEmpty())
            avviso = QString("Impossibile determinare URL di ZelScanSrv. Controllare la configurazione di %1")
                         .arg(TAvvio::NomeFileIni());
    }
    if (!avviso.isEmpty()) {
        MessageBoxes().Avviso(this, avviso);
        return;
    }
    if (!MessageBoxes().Conferma(this, "Effettuare l'invio del file selezionato?")) return;

    FFromSrvRequest = std::make_unique<TZelFileFromSrvRequest>();
    FFromSrvRequest->SetUtenteId(FAvvio->Utente());
    FFromSrvRequest->SetDitta(FAvvio->Ditta());
    FFromSrvRequest->SetSerDoc(rec.DatoInput);
    FFromSrvRequest->SetNrMacchina(rec.NrMacchina);
    FFromSrvRequest->SetIdLogFile(id);
    FFromSrvResponse.reset();
    MostraAttivita("Invio");
    FTask = QtConcurrent::run(QThreadPool::globalInstance(), [this] {
        EseguiInvio();
        QMetaObject::invokeMethod(this, &TFormMain::FineInvio, Qt::QueuedConnection);
    });
}

void TFormMain::EseguiInvio() {
    FFromSrvResponse = EseguiInvioFromSrv(*FFromSrvRequest, FZelScanSrvURL, FTimeoutConnessione, FTimeoutLettura);
}

void TFormMain::FineInvio() {
    if (FChiusa) return;  // the window has closed meanwhile
    NascondiAttivita();
    if (FChiusuraRichiesta) {
        close();
        return;
    }
    RiportaSulFile(FFromSrvRequest->IdLogFile());
    if (FFromSrvResponse->IsError())
        MessageBoxes().Errore(this, "Invio fallito\r\nRisposta negativa dal server\r\n" + FFromSrvResponse->Messaggio());
    else
        MessageBoxes().Informazione(this, "Invio effettuato");
}

void TFormMain::RiportaSulFile(int id) {
    for (QTreeWidgetItemIterator it(TreeViewMain); *it; ++it) {
        const std::optional<TMyRec> rec = PayloadNodo(*it);
        if (rec && rec->ID == id) {
            TreeViewMain->setCurrentItem(*it);
            TreeViewMain->scrollToItem(*it);
            break;
        }
    }
    TreeViewMain->setFocus(Qt::OtherFocusReason);
}

void TFormMain::MostraAttivita(const QString& caption) {
    LabelActivity->setText(caption);
    PanelActivity->show();
    PanelActivity->raise();
    for (QWidget* w : {static_cast<QWidget*>(PanelFiltro), static_cast<QWidget*>(PanelPulsanti),
                       static_cast<QWidget*>(TreeViewMain)})
        w->setEnabled(false);
}

void TFormMain::NascondiAttivita() {
    PanelActivity->hide();
    for (QWidget* w : {static_cast<QWidget*>(PanelFiltro), static_cast<QWidget*>(PanelPulsanti),
                       static_cast<QWidget*>(TreeViewMain)})
        w->setEnabled(true);
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PanelActivity->move(width() / 2 - PanelActivity->width() / 2, height() / 2 - PanelActivity->height() / 2);
    PanelActivity->raise();
}
