#pragma once
// The warning shown before the grid forgets every personalisation of its layout: "OK" confirms,
// "Cancel", Esc and the close box leave everything as it was.
#include <QDialog>

class QLabel;
class QPushButton;

class TAvPtqGrForm : public QDialog {
    Q_OBJECT
public:
    explicit TAvPtqGrForm(QWidget* owner = nullptr);

    // 2 when created, 1 once the user pressed "OK".
    quint16 Esito = 2;

    QLabel* Label1() const { return FLabel1; }
    QPushButton* BitBtn1() const { return FBitBtn1; }
    QPushButton* BitBtn2() const { return FBitBtn2; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* FImage1 = nullptr;
    QLabel* FLabel1 = nullptr;
    QPushButton* FBitBtn1 = nullptr;
    QPushButton* FBitBtn2 = nullptr;
    bool FCentrata = false;
};
