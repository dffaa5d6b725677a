// A scoring database read with SQLite itself, beside Kibic's own connection: what a file really holds,
// whatever backend (SQLite, its ODBC driver, the Jet stand-in over SQLite) wrote it.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <atomic>
#include <stdexcept>

namespace kibic::test {

class SqliteFile
{
public:
    explicit SqliteFile(const QString& path)
        : m_name(QStringLiteral("kibic-test-sqlite-%1").arg(++Counter()))
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        database.setDatabaseName(path);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!database.open())
            throw std::runtime_error(database.lastError().text().toStdString());
    }
    ~SqliteFile()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    // Every row of a statement, each as its values in column order.
    [[nodiscard]] QList<QVariantList> Rows(const QString& sql, const QVariantList& values = {}) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            throw std::runtime_error(query.lastError().text().toStdString());
        for (const QVariant& value : values)
            query.addBindValue(value);
        if (!query.exec())
            throw std::runtime_error(query.lastError().text().toStdString());
        QList<QVariantList> rows;
        while (query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row.append(query.value(i));
            rows.append(row);
        }
        return rows;
    }

    // The first value of the first row; invalid when there is no row.
    [[nodiscard]] QVariant Value(const QString& sql, const QVariantList& values = {}) const
    {
        const QList<QVariantList> rows = Rows(sql, values);
        return rows.isEmpty() || rows.front().isEmpty() ? QVariant() : rows.front().front();
    }

private:
    static std::atomic<int>& Counter()
    {
        static std::atomic<int> counter { 0 };
        return counter;
    }
    QString m_name;
};

} // namespace kibic::test
