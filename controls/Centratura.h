#pragma once
class QWidget;

// Moves the window so that its frame is centred on the available area of its screen.
void CentraSulloSchermo(QWidget* finestra);
