#pragma once
// Keeps a grid over a lazily fetched model full of rows, whatever columns are hidden. Qt's view
// asks for more rows only when the last row's cell in logical column 0 lies in the viewport; while
// that column is hidden the cell has no rectangle, and the view would stop at the first rows.
#include <QObject>
#include <limits>

class QTableView;

class TRigheGriglia : public QObject {
    Q_OBJECT
public:
    explicit TRigheGriglia(QTableView& vista);

    // Fetches rows while the last one lies inside the viewport.
    void Riempi();
    // The rows a fetch asks for: two screenfuls of the viewport as it is now, at least 32 (a
    // screenful is what the user waits for at each opening; more would only delay it).
    int RigheDaChiedere() const;
    // Fetches every row that is left (the view's Ctrl+End).
    void CaricaTutte() { CaricaFino(std::numeric_limits<int>::max()); }
    // Fetches until row `riga` (from 0) is there, or no row is left.
    void CaricaFino(int riga);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One fill once the view's own handling of the change is over.
    void Pianifica();
    QTableView& FVista;
    bool FPianificato = false;
};
