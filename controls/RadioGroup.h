#pragma once
// A framed group of option buttons laid out in columns, one of them chosen by its index.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);
    TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    QStringList Items() const { return FItems; }
    // New items drop the choice when its index no longer exists.
    void SetItems(const QStringList& items);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    // -1 when no item is chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);

signals:
    // Another item was chosen, by the mouse, the keyboard or the program.
    void ItemIndexChanged(int index);

private:
    void Ricostruisci();
    QStringList FItems;
    int FColumns = 1;
    QButtonGroup* FPulsanti;
    QGridLayout* FGriglia;
};
