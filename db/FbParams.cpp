#include "db/FbParams.h"

namespace {
bool IsNameStart(QChar c) { return c.isLetter() || c == '_'; }
bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '$'; }
}  // namespace

TParsedSQL ParseNamedParams(const QString& sql) {
    TParsedSQL out;
    out.Text.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    auto copyUntil = [&](int end) {
        out.Text += sql.mid(i, end - i);
        i = end;
    };
    while (i < n) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"') {  // literal or quoted identifier; a doubled quote stays inside
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            copyUntil(qMin(j + 1, n));
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            int j = sql.indexOf('\n', i);
            copyUntil(j < 0 ? n : j);
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            int j = sql.indexOf("*/", i + 2);
            copyUntil(j < 0 ? n : j + 2);
        } else if (c == ':' && i + 1 < n && IsNameStart(sql[i + 1])) {
            int j = i + 1;
            while (j < n && IsNameChar(sql[j])) ++j;
            const QString name = sql.mid(i + 1, j - i - 1).toUpper();
            out.Positions << name;
            if (!out.Names.contains(name)) out.Names << name;
            out.Text += '?';
            i = j;
        } else {
            out.Text += c;
            ++i;
        }
    }
    return out;
}
