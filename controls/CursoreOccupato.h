#pragma once
// The busy cursor over every window of the program for as long as the object lives, also when the
// work it covers ends with an error.
#include <QGuiApplication>

class TCursoreOccupato {
public:
    TCursoreOccupato() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TCursoreOccupato() { QGuiApplication::restoreOverrideCursor(); }
    TCursoreOccupato(const TCursoreOccupato&) = delete;
    TCursoreOccupato& operator=(const TCursoreOccupato&) = delete;
};
