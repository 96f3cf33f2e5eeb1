#pragma once
// Whether a window shows every caption whole with the platform's fonts: the text of each visible
// label, button, check box, radio button and group title, measured with its own font, against the
// room its style leaves for the text in that control (and the control inside its parent).
#include <QStringList>

class QHeaderView;
class QWidget;

// One line per caption that does not fit, naming the control, its text, the text's size and the
// room it has; empty when everything fits. `finestra` must be shown, so its layout has placed
// the controls.
QStringList TestiTagliati(const QWidget& finestra);

// The same for the titles of a table's visible columns: each column narrower than its title needs.
QStringList TitoliTagliati(const QHeaderView& titoli);
