#pragma once
// How wide a column of the grid starts when no layout is stored for it: as its title needs and as
// the widest value of its field's kind needs (a date and time whole), the values' part capped so
// that one long text column does not fill the screen.
#include "db/FbFieldDef.h"

class QFontMetricsF;
class QTableView;

// Longest run of average characters a column starts with for its values.
inline constexpr int CaratteriMassimiColonna = 40;

// The pixels the widest value of a field of kind `def` takes in the font `fm`: as many average
// characters as a text declares (a text blob: no limit), the longest number of its type, the
// widest date, time or date and time of any month.
int LarghezzaValori(const QFontMetricsF& fm, const TFbFieldDef& def);

// The starting width of column `campo` of `vista`, whose field is of kind `def`.
int LarghezzaBase(const QTableView& vista, int campo, const TFbFieldDef& def);
