#pragma once
// Captions with an underlined letter: "&" marks the letter that Alt (or, in an open menu, the letter
// alone) activates, and "&&" stands for an "&" of the text.
#include <QString>

// The caption as the user reads it: the markers gone, "&&" back to "&".
QString SenzaAcceleratore(const QString& caption);
