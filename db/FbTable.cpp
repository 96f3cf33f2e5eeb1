#include "db/FbTable.h"

#include "db/FbTransaction.h"

QStringList TFbTable::SelectSQL() const {
    QStringList sql{"SELECT * FROM " + QuotedIdentifier(TableName)};
    QStringList order;
    for (const QString& f : IndexFieldNames.split(';', Qt::SkipEmptyParts)) order << QuotedIdentifier(f.trimmed());
    if (!order.isEmpty()) sql << "ORDER BY " + order.join(", ");
    return sql;
}

bool TFbTable::Accept(const TFbRecord& row) const {
    return !Filtered || !OnFilterRecord || OnFilterRecord(*this, row.Values(FieldDefs()));
}

QVector<TFbIndexDef> TFbTable::IndexDefs() {
    TFbSQL sql(Database(), Transaction());
    sql.SetSQL({"SELECT I.RDB$INDEX_NAME, I.RDB$UNIQUE_FLAG, I.RDB$INDEX_TYPE, S.RDB$FIELD_NAME,",
                "  (SELECT COUNT(*) FROM RDB$RELATION_CONSTRAINTS C",
                "   WHERE C.RDB$INDEX_NAME = I.RDB$INDEX_NAME AND C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY') AS PK",
                "FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME",
                "WHERE I.RDB$RELATION_NAME = :TABELLA",
                "ORDER BY I.RDB$INDEX_NAME, S.RDB$FIELD_POSITION"});
    sql.SetParam("TABELLA", TableName);
    QVector<TFbIndexDef> defs;
    for (sql.ExecQuery(); !sql.Eof(); sql.Next()) {
        const QString name = sql.Field(0).AsString().trimmed();
        if (defs.isEmpty() || defs.last().Name != name) {
            TFbIndexDef d;
            d.Name = name;
            d.Unique = sql.Field(1).AsInteger() == 1;
            d.Descending = sql.Field(2).AsInteger() == 1;
            d.Primary = sql.Field(4).AsInteger() > 0;
            defs << d;
        }
        defs.last().Fields << sql.Field(3).AsString().trimmed();
    }
    return defs;
}

void TFbTable::EmptyTable() {
    TFbSQL sql(Database(), Transaction());
    sql.SetParamCheck(false);
    sql.SetSQL({"DELETE FROM " + QuotedIdentifier(TableName)});
    sql.ExecQuery();
}

void TFbTable::WriteRow(bool inserting, const TFbRow& oldRow, const TFbRow& newRow) {
    QStringList names, params, keys;
    for (const TFbFieldDef& d : FieldDefs()) {
        names << QuotedIdentifier(d.Name);
        params << ":" + d.Name;
    }
    TFbSQL sql(Database(), Transaction());
    if (inserting) {
        sql.SetSQL({"INSERT INTO " + QuotedIdentifier(TableName) + " (" + names.join(", ") + ")",
                    "VALUES (" + params.join(", ") + ")"});
    } else {
        QStringList sets;
        for (int i = 0; i < names.size(); ++i) {
            sets << names[i] + " = " + params[i];
            keys << names[i] + " IS NOT DISTINCT FROM :OLD_" + FieldDefs()[i].Name;
        }
        sql.SetSQL({"UPDATE " + QuotedIdentifier(TableName) + " SET " + sets.join(", "),
                    "WHERE " + keys.join(" AND ")});
    }
    BindRow(sql, oldRow, newRow);
    sql.ExecQuery();
}
