#pragma once
// A one-line field for typing a date as day/month/year: on every key release it adds the "/"
// separators, pads a one-digit day or month with "0", widens a two-digit year to four digits and
// selects the day, month or year typed so far when it is not acceptable.
#include <QLineEdit>

// Outcomes of ControllaData that are not a new text.
inline constexpr char ErroreGiorno[] = "errore1";
inline constexpr char ErroreMese[] = "errore2";
inline constexpr char ErroreAnno[] = "errore3";

// Windows virtual-key codes of the keys that leave the text alone.
enum TTastoVirtuale : int {
    TastoCancel = 3,
    TastoBackspace = 8,
    TastoSinistra = 37,
    TastoDestra = 39,
    TastoCanc = 46,
};

// The text after the key with virtual-key code `tasto` has been released on `testo`: the new text,
// or ErroreGiorno, ErroreMese, ErroreAnno. The date as a whole is not checked (31/02 passes).
QString ControllaData(const QString& testo, int tasto);

// The Windows virtual-key code of a Qt key, for the keys ControllaData tells apart (digits,
// letters and the skipped keys); 0 for any other key.
int CodiceTastoVirtuale(int tastoQt);

class TEditData : public QLineEdit {
    Q_OBJECT
public:
    explicit TEditData(QWidget* parent = nullptr) : QLineEdit(parent) {}

    // Runs the check on the current text for a released key and shows its outcome: the faulty
    // part selected, or the new text with the caret at its end.
    void ApplicaControllo(int tasto);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
};
