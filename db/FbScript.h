#pragma once
// Runs SQL scripts in isql's syntax (statements ended by ";", "SET TERM" for blocks, COMMIT).
#include <QString>
#include <QStringList>

class TFbDatabase;

// The script's statements in order, without their terminators; "SET TERM" lines are consumed.
QStringList SplitScript(const QString& script);

// Runs every statement in one transaction, ending it at each COMMIT or ROLLBACK line (and starting
// the next one) and committing it at the end.
void RunScript(TFbDatabase& database, const QString& script);
