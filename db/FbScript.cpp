#include "db/FbScript.h"

#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <QRegularExpression>

QStringList SplitScript(const QString& script) {
    QStringList statements;
    QString term = ";";
    QString current;
    const int n = script.size();
    int i = 0;
    static const QRegularExpression setTerm("^\\s*SET\\s+TERM\\s+(\\S+)\\s*$", QRegularExpression::CaseInsensitiveOption);
    auto finish = [&] {
        const QString stmt = current.trimmed();
        current.clear();
        if (stmt.isEmpty()) return;
        const auto m = setTerm.match(stmt);
        if (m.hasMatch()) term = m.captured(1);
        else statements << stmt;
    };
    while (i < n) {
        const QChar c = script[i];
        if (c == '\'' || c == '"') {
            int j = i + 1;
            while (j < n) {
                if (script[j] == c) {
                    if (j + 1 < n && script[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            current += script.mid(i, j + 1 - i);
            i = j + 1;
        } else if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            const int j = script.indexOf('\n', i);
            i = j < 0 ? n : j;
        } else if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            const int j = script.indexOf("*/", i + 2);
            i = j < 0 ? n : j + 2;
        } else if (script.mid(i, term.size()) == term) {
            finish();
            i += term.size();
        } else {
            current += c;
            ++i;
        }
    }
    finish();
    return statements;
}

void RunScript(TFbDatabase& database, const QString& script) {
    TFbTransaction tr(&database);
    tr.Start();
    // COMMIT and ROLLBACK lines end the script's transaction and start the next one; any other
    // transaction statement is refused by TFbSQL.
    static const QRegularExpression fineTransazione("^(COMMIT|ROLLBACK)(\\s+WORK)?$",
                                                    QRegularExpression::CaseInsensitiveOption);
    for (const QString& stmt : SplitScript(script)) {
        const auto fine = fineTransazione.match(stmt);
        if (fine.hasMatch()) {
            if (fine.captured(1).compare("COMMIT", Qt::CaseInsensitive) == 0) tr.Commit();
            else tr.Rollback();
            tr.Start();
            continue;
        }
        TFbSQL sql(&database, &tr);
        sql.SetParamCheck(false);
        sql.SetSQL(stmt.split('\n'));
        sql.ExecQuery();
    }
    tr.Commit();
}
