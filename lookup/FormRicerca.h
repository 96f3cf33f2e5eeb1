#pragma once
// The lookup dialog: the user types part of a text column, the rows containing it are listed, and
// the returned column of the chosen row is handed back to the caller.
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"

#include <QDialog>
#include <QTimer>

class QLineEdit;
class QPushButton;
class QTableView;
class TDatiRicerca;
class TFbDataSetModel;

class TFormRicerca : public QDialog {
    Q_OBJECT
public:
    explicit TFormRicerca(QWidget* owner = nullptr);
    ~TFormRicerca() override;

    // The request stays the caller's; its texts are read at every refresh.
    TDatiRicerca* DatiRicerca() const { return FDatiRicerca; }
    void SetDatiRicerca(TDatiRicerca* value) { FDatiRicerca = value; }

    // The connection to search; the dialog's query and transaction are bound to it.
    TFbDatabase* DBArchivio() const { return FTransaction.DefaultDatabase(); }
    void SetDBArchivio(TFbDatabase* value);

    // The returned column of the current row, after the prefix when there is one; empty without rows.
    QString Ritorno() const;

    // Runs the statement for the current search text on a fresh transaction. Database errors
    // propagate to the caller.
    void Aggiorna();
    bool HaRighe() const;

    // The handlers of the dialog's events; the event wiring only calls these.
    void FormShow();
    void EditRicercaChange();
    void EditRicercaInvio();
    void TimerRicercaTimer();
    void ButtonRitornaClick();
    void ButtonAnnullaClick();
    void DBGridDblClick();
    void DBGridInvio();

    QLineEdit* EditRicerca() const { return FEditRicerca; }
    QTableView* DBGrid() const { return FDBGrid; }
    QPushButton* ButtonRitorna() const { return FButtonRitorna; }
    QPushButton* ButtonAnnulla() const { return FButtonAnnulla; }
    QTimer* TimerRicerca() { return &FTimerRicerca; }
    TFbQuery* Query() { return &FQuery; }

signals:
    // After every refresh that opened the query.
    void Aggiornato();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void CreaControlli();
    bool AggiornaSegnalando();  // false after an error, shown in an error box
    TDatiRicerca* FDatiRicerca = nullptr;
    TFbTransaction FTransaction;
    TFbQuery FQuery;
    TFbDataSetModel* FModel = nullptr;
    QTimer FTimerRicerca;
    QLineEdit* FEditRicerca = nullptr;
    QTableView* FDBGrid = nullptr;
    QPushButton* FButtonRitorna = nullptr;
    QPushButton* FButtonAnnulla = nullptr;
    bool FCentrata = false;
};
