#pragma once
// Colours as the settings tables store them: 00BBGGRR for a plain colour (red in the low byte),
// FF0000nn for the system colour with index nn.
#include <QColor>
#include <QPalette>

using TColore = qint32;

constexpr TColore clSistema(int indice) { return TColore(0xFF000000u | quint32(indice & 0xFF)); }
constexpr TColore clGiallo = 0x00FFFF;
constexpr TColore clRosso = 0x0000FF;

// The palette role standing for a system colour index (Windows' COLOR_ numbering).
QPalette::ColorRole RuoloSistema(int indice);

// The one conversion to a Qt colour; system colours come from `tavolozza`.
QColor ColoreQt(TColore colore, const QPalette& tavolozza = QPalette());
// A Qt colour as a plain stored colour.
TColore ColoreDaQt(const QColor& colore);
