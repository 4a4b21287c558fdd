#pragma once

namespace morvex::server {

class SqliteDatabase;

// Longest texts the server stores from clients; longer input is refused, not cut.
namespace limits {
inline constexpr int kIdentity = 64;
inline constexpr int kSearch = 100;
inline constexpr int kStockName = 150;
inline constexpr int kBarcode = 50;
inline constexpr int kOrderNote = 1000;
inline constexpr int kShortText = 50;
inline constexpr int kText = 150;
inline constexpr int kMailBody = 4000;
} // namespace limits

inline constexpr int kSchemaVersion = 1;

// Creates every table and index of an empty database (one transaction).
void createSchema(SqliteDatabase &db);
// Raises StorageError unless the database has this server's schema.
void checkSchema(SqliteDatabase &db);

} // namespace morvex::server
