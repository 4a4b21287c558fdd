#pragma once

#include "core/data/RecordSet.h"
#include "server/storage/ResultShapes.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace morvex::server {

class SqliteDatabase;

// A prepared statement; binds by position (1-based) and reads columns by position (0-based).
class SqliteStatement
{
public:
    SqliteStatement(SqliteDatabase &db, sqlite3_stmt *statement);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    SqliteStatement &bind(int index, const QString &value);
    SqliteStatement &bind(int index, qint64 value);
    SqliteStatement &bind(int index, int value) { return bind(index, qint64(value)); }
    SqliteStatement &bind(int index, double value);
    SqliteStatement &bind(int index, const QByteArray &value);
    SqliteStatement &bindNull(int index);
    // Binds every argument in order, starting at 1.
    template <class... Args>
    SqliteStatement &bindAll(const Args &...args)
    {
        int i = 0;
        (bind(++i, args), ...);
        return *this;
    }

    bool step(); // true when a row is available
    void run();  // steps to the end, for statements without rows
    void reset();

    bool isNull(int column) const;
    QString text(int column) const;
    // The column's UTF-8 bytes as SQLite holds them, valid until the next step or reset;
    // empty for NULL.
    std::string_view utf8(int column) const;
    qint64 int64(int column) const;
    int int32(int column) const { return int(int64(column)); }
    double real(int column) const;
    QByteArray blob(int column) const;
    QDateTime dateTime(int column) const;
    int columnCount() const;
    QString columnName(int column) const;

    // Appends every remaining row to `set`, column i of the statement into field i of the set;
    // the statement's column names must match the shape (checked once per statement).
    void fillInto(RecordSet &set, ResultShape shape);

private:
    SqliteDatabase &m_db;
    sqlite3_stmt *m_statement;
    bool m_checkedShape = false;
};

// One connection to a database file: WAL journal, a busy timeout, foreign keys, and a cache
// of prepared statements keyed by their text.
class SqliteDatabase
{
public:
    explicit SqliteDatabase(const QString &path, bool create = false);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    void exec(const char *sql);
    SqliteStatement &prepare(const char *sql);
    qint64 lastInsertId() const;
    int changes() const;
    [[noreturn]] void fail(const char *what) const;
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
    std::map<std::string, std::unique_ptr<SqliteStatement>> m_statements;
};

// BEGIN IMMEDIATE on construction, so that a writer waits for the lock up front instead of
// failing halfway; rolls back unless commit() was called.
class SqliteTransaction
{
public:
    explicit SqliteTransaction(SqliteDatabase &db);
    ~SqliteTransaction();
    void commit();

private:
    SqliteDatabase &m_db;
    bool m_done = false;
};

// Sets a Text cell from UTF-8 bytes: ASCII goes in as it is, other text through `scratch` (kept
// by the caller so that a long fill does not allocate per cell); invalid UTF-8 as QString reads it.
void setTextUtf8(RecordSet &set, int row, int column, std::string_view utf8, std::u16string &scratch);

// Stored date-times are "YYYY-MM-DD HH:MM:SS" texts in local time.
QString storedDateTime(const QDateTime &value);
QDateTime parseStoredDateTime(QStringView text);

} // namespace morvex::server
