#pragma once
// Timing isql-fb, Firebird's own command-line client, on the same embedded database file.
// The child inherits FIREBIRD from this process, so both use the same engine configuration
// (shared SuperClassic access) while our connection stays open.
#include <QStringList>

// Wall time in nanoseconds of one isql-fb process running `statements` (one per line, each
// ending in ";") against `database`, its output thrown away; the median of `runs` runs.
qint64 TempoIsql(const QString& database, const QStringList& statements, int runs = 3);
