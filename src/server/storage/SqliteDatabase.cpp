#include "server/storage/SqliteDatabase.h"

#include "server/storage/StorageTypes.h"

#include <sqlite3.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace morvex::server {

namespace {

constexpr int kBusyTimeoutMs = 10000;

int digits(QStringView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

QString storedDateTime(const QDateTime &value)
{
    return value.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QDateTime parseStoredDateTime(QStringView text)
{
    if (text.size() < 10)
        return {};
    const QDate date(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    QTime time(0, 0);
    if (text.size() >= 19)
        time = QTime(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    return QDateTime(date, time);
}

void setTextUtf8(RecordSet &set, int row, int column, std::string_view utf8, std::u16string &scratch)
{
    std::size_t i = 0;
    for (std::uint64_t word; i + 8 <= utf8.size(); i += 8) {
        std::memcpy(&word, utf8.data() + i, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (i < utf8.size() && !(std::uint8_t(utf8[i]) & 0x80))
        ++i;
    if (i == utf8.size()) {
        set.setTextLatin1(row, column, utf8); // ASCII: the same bytes in Latin-1 and UTF-8
        return;
    }
    // Decodes well-formed UTF-8 into UTF-16; anything else is left to QString's own rules.
    scratch.assign(utf8.begin(), utf8.begin() + std::ptrdiff_t(i));
    while (i < utf8.size()) {
        const auto b = std::uint8_t(utf8[i]);
        if (b < 0x80) {
            scratch.push_back(char16_t(b));
            ++i;
            continue;
        }
        const int extra = b >= 0xf0 ? 3 : b >= 0xe0 ? 2 : b >= 0xc2 ? 1 : -1;
        if (extra < 0 || b > 0xf4 || i + std::size_t(extra) >= utf8.size()) {
            set.setText(row, column, QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
            return;
        }
        char32_t cp = b & (0x3f >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto c = std::uint8_t(utf8[i + std::size_t(k)]);
            if ((c & 0xc0) != 0x80) {
                set.setText(row, column, QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
                return;
            }
            cp = (cp << 6) | (c & 0x3f);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[extra] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) {
            set.setText(row, column, QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
            return;
        }
        if (cp >= 0x10000) {
            scratch.push_back(char16_t(0xd800 + ((cp - 0x10000) >> 10)));
            scratch.push_back(char16_t(0xdc00 + ((cp - 0x10000) & 0x3ff)));
        } else {
            scratch.push_back(char16_t(cp));
        }
        i += std::size_t(extra) + 1;
    }
    set.setText(row, column, QStringView(scratch.data(), qsizetype(scratch.size())));
}

SqliteStatement::SqliteStatement(SqliteDatabase &db, sqlite3_stmt *statement) : m_db(db), m_statement(statement) {}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement &SqliteStatement::bind(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        m_db.fail("bind");
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        m_db.fail("bind");
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, double value)
{
    if (sqlite3_bind_double(m_statement, index, value) != SQLITE_OK)
        m_db.fail("bind");
    return *this;
}

SqliteStatement &SqliteStatement::bind(int index, const QByteArray &value)
{
    if (sqlite3_bind_blob(m_statement, index, value.constData(), int(value.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        m_db.fail("bind");
    return *this;
}

SqliteStatement &SqliteStatement::bindNull(int index)
{
    if (sqlite3_bind_null(m_statement, index) != SQLITE_OK)
        m_db.fail("bind");
    return *this;
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db.handle()));
    sqlite3_reset(m_statement);
    throw StorageError(u"Veritabanı hatası: "_s + message);
}

void SqliteStatement::run()
{
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

QString SqliteStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column)) : QString();
}

std::string_view SqliteStatement::utf8(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return data ? std::string_view(data, std::size_t(sqlite3_column_bytes(m_statement, column))) : std::string_view();
}

qint64 SqliteStatement::int64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArray SqliteStatement::blob(int column) const
{
    const auto *data = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
    return data ? QByteArray(data, sqlite3_column_bytes(m_statement, column)) : QByteArray();
}

QDateTime SqliteStatement::dateTime(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    if (!data)
        return {};
    return parseStoredDateTime(QString::fromLatin1(data, sqlite3_column_bytes(m_statement, column)));
}

int SqliteStatement::columnCount() const
{
    return sqlite3_column_count(m_statement);
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

void SqliteStatement::fillInto(RecordSet &set, ResultShape shape)
{
    const auto columns = columnsOf(shape);
    if (!m_checkedShape) {
        if (columnCount() != int(columns.size()))
            throw std::logic_error("query column count differs from its result shape");
        for (int i = 0; i < columnCount(); ++i) {
            if (columnName(i) != columns[std::size_t(i)].name)
                throw std::logic_error("query column " + columnName(i).toStdString() + " differs from its shape");
        }
        m_checkedShape = true;
    }
    while (step()) {
        const int row = set.appendRow();
        for (int c = 0; c < int(columns.size()); ++c) {
            if (isNull(c))
                continue;
            switch (columns[std::size_t(c)].type) {
            case FieldType::Text: set.setText(row, c, text(c)); break;
            case FieldType::Int32: set.setInt32(row, c, int32(c)); break;
            case FieldType::Int64: set.setInt64(row, c, int64(c)); break;
            case FieldType::Double: set.setReal(row, c, real(c)); break;
            case FieldType::DateTime: set.setDateTime(row, c, dateTime(c)); break;
            case FieldType::Boolean: set.setBoolean(row, c, int64(c) != 0); break;
            case FieldType::Bytes: set.setBytes(row, c, blob(c)); break;
            }
        }
    }
    reset();
}

SqliteDatabase::SqliteDatabase(const QString &path, bool create)
{
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : u"bellek yetersiz"_s;
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StorageError(u"Veritabanı açılamadı (%1): %2"_s.arg(path, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    exec("PRAGMA journal_mode=WAL");
    exec("PRAGMA synchronous=NORMAL");
    exec("PRAGMA foreign_keys=ON");
}

SqliteDatabase::~SqliteDatabase()
{
    m_statements.clear();
    sqlite3_close(m_db);
}

void SqliteDatabase::exec(const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error ? error : "?");
        sqlite3_free(error);
        throw StorageError(u"Veritabanı hatası: "_s + message);
    }
}

SqliteStatement &SqliteDatabase::prepare(const char *sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        it->second->reset();
        return *it->second;
    }
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
        fail("prepare");
    auto owned = std::make_unique<SqliteStatement>(*this, statement);
    SqliteStatement &ref = *owned;
    m_statements.emplace(sql, std::move(owned));
    return ref;
}

qint64 SqliteDatabase::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteDatabase::changes() const
{
    return sqlite3_changes(m_db);
}

void SqliteDatabase::fail(const char *what) const
{
    throw StorageError(u"Veritabanı hatası (%1): %2"_s.arg(QString::fromLatin1(what), QString::fromUtf8(sqlite3_errmsg(m_db))));
}

SqliteTransaction::SqliteTransaction(SqliteDatabase &db) : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (!m_done)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

} // namespace morvex::server
