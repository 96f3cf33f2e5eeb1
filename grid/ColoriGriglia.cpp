#include "grid/ColoriGriglia.h"

QPalette::ColorRole RuoloSistema(int indice) {
    switch (indice) {
    case 0: return QPalette::Button;            // scroll bar
    case 1: return QPalette::Window;            // desktop background
    case 2: return QPalette::Highlight;         // active caption
    case 3: return QPalette::Mid;               // inactive caption
    case 4: return QPalette::Window;            // menu
    case 5: return QPalette::Base;              // window
    case 6: return QPalette::Shadow;            // window frame
    case 7: return QPalette::WindowText;        // menu text
    case 8: return QPalette::Text;              // window text
    case 9: return QPalette::HighlightedText;   // caption text
    case 10: return QPalette::Light;            // active border
    case 11: return QPalette::Midlight;         // inactive border
    case 12: return QPalette::Dark;             // application work space
    case 13: return QPalette::Highlight;        // highlight
    case 14: return QPalette::HighlightedText;  // highlight text
    case 15: return QPalette::Button;           // button face
    case 16: return QPalette::Dark;             // button shadow
    case 17: return QPalette::PlaceholderText;  // grey text
    case 18: return QPalette::ButtonText;       // button text
    case 19: return QPalette::WindowText;       // inactive caption text
    case 20: return QPalette::Light;            // button highlight
    case 21: return QPalette::Shadow;           // 3D dark shadow
    case 22: return QPalette::Midlight;         // 3D light
    case 23: return QPalette::ToolTipText;      // info text
    case 24: return QPalette::ToolTipBase;      // info background
    case 26: return QPalette::Link;             // hot-tracked item
    case 27: return QPalette::Highlight;        // active caption gradient
    case 28: return QPalette::Midlight;         // inactive caption gradient
    case 29: return QPalette::Highlight;        // menu highlight
    case 30: return QPalette::Window;           // menu bar
    default: return QPalette::Window;
    }
}

QColor ColoreQt(TColore colore, const QPalette& tavolozza) {
    const quint32 valore = quint32(colore);
    if ((valore & 0xFF000000u) == 0xFF000000u) return tavolozza.color(RuoloSistema(int(valore & 0xFF)));
    return QColor(int(valore & 0xFF), int((valore >> 8) & 0xFF), int((valore >> 16) & 0xFF));
}

TColore ColoreDaQt(const QColor& colore) {
    return TColore(quint32(colore.red()) | (quint32(colore.green()) << 8) | (quint32(colore.blue()) << 16));
}
