#pragma once
// A captioned group of radio buttons read and set by the index of the checked item (-1: none).
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // The items fill `colonne` columns row by row.
    TRadioGroup(const QString& caption, const QStringList& voci, int colonne = 1, QWidget* owner = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int indice);  // out of range: no item checked
    QRadioButton* Voce(int indice) const;
    int Count() const;

private:
    QButtonGroup* FGruppo;
};
