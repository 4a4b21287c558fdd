#pragma once

// Protocol choices of the DataSnap TCP/IP transport, kept together so that a capture from the
// field can correct them in one place. Where the protocol leaves a point open, the choice and the
// reason for it are noted beside the constant.

#include <QByteArray>
#include <QLatin1StringView>

#include <chrono>
#include <cstdint>

namespace morvex::wire {

// Opening handshake: the client asks for the server's filters, the server answers "none".
inline constexpr char kFilterQuery[5] = {0x05, 0x05, 0x05, 0x05, 0x05};
inline constexpr char kNoFilterReply[5] = {0x06, 0x00, 0x00, 0x00, 0x00};

inline constexpr QLatin1StringView kServerMethodCommandType{"DataSnap.ServerMethod"};
inline constexpr QLatin1StringView kProductName{"DataSnap"};
// Every server version read answers 2; a client tolerates its absence.
inline constexpr int kProtocolVersion = 2;
inline constexpr int kConnectionHandle = 0;

// Every blocking read, write and connect gives up after this long and raises. A server that
// accepts and never answers must not freeze the caller for ever. Connections and the server take
// an override (tests use short ones).
inline constexpr std::chrono::milliseconds kReadTimeout{60'000};
// The operating system's own connect time-out is about two minutes; the retrying opener makes
// eleven attempts, so a shorter one keeps a dead host from costing twenty minutes.
inline constexpr std::chrono::milliseconds kConnectTimeout{20'000};

// The server's write buffer (BufferKBSize 32). Batches, inline limits and more_blob chunks are
// derived from it the way a DataSnap server derives them.
inline constexpr int kDefaultBufferBytes = 32 * 1024;
// A table batch is filled until it reaches the buffer minus 2 KiB; the last row may overshoot.
inline constexpr int kBatchReserve = 2048;
inline constexpr int kDefaultBatchThreshold = kDefaultBufferBytes - kBatchReserve; // 30 720
// A field that starts within this distance of the nominal buffer end is cut to kNearEndInline.
inline constexpr int kNearEndWindow = 1027;
inline constexpr int kNearEndInline = 1024;
// A big header carries a 2-byte length.
inline constexpr int kMaxInlineBytes = 65535;
// A more_blob chunk is at most the buffer minus this.
inline constexpr int kChunkReserve = 32;
// more_blob chunk counts are left-aligned and padded with spaces to this width.
inline constexpr int kChunkCountWidth = 9;

// Upper bound of one raw block ({"data":[N,...]}) a reader accepts, so that a corrupt count
// cannot make it wait for or allocate gigabytes. Far above any buffer a server uses.
inline constexpr std::int64_t kMaxRawBlock = 64 * 1024 * 1024;
// Nesting depth of the JSON-like envelope a reader accepts.
inline constexpr int kMaxNesting = 64;

// Writers escape every character from U+0080 upwards as \u00XX / \uXXXX in the envelope; both
// sides accept that, and no reader has to guess whether raw bytes are Latin-1 or UTF-8. Readers
// still take raw bytes 0x80-0xFF as Latin-1.
inline constexpr bool kEscapeNonAsciiInEnvelope = true;

// AnsiString (type 1) values without the 0xFF switch are decoded in this code page. The protocol
// reference suggests Windows-1252 "or the server's code page"; the distributor's server runs on
// Turkish Windows, whose ANSI code page is 1254. For the older writer (Latin-1 bytes for
// characters up to U+00FE) the two agree on every Turkish letter, because the Turkish letters
// that differ (ğ ı ş İ Ğ Ş) lie above U+00FF and travel after the 0xFF switch.
inline constexpr const char *kAnsiCodePage = "windows-1254";

// An execute reply starts with {"rows":[0]} on every server version read; our server writes it
// and our client accepts its absence.
inline constexpr bool kWriteRowsCount = true;

// Parameter flags are 0 for ordinary server-method parameters.
inline constexpr int kDefaultParameterFlags = 0;
// Subtype reported for TStream parameters: the server's reflection code appears to give 40.
// Clients ignore subtypes except 40 on JSON values, so this only affects what a client may log.
inline constexpr int kStreamParameterSubType = 40;

// Column flags of the tables our server writes: DBX flag bits (announced with the trailing
// `true` of the table's fields), nullable.
inline constexpr int kDefaultColumnFlags = 0x01;

// Tables are announced with bcdFormat 0 (BCD values as decimal text) and DBX column flag bits.
inline constexpr int kBcdFormat = 0;

// Readers accept the legacy field forms (0x08/0x0C external blob headers, 0x00 NUL-terminated
// strings) without relying on them; writers never emit them. Variant (35) is read as a stream
// and TimeStampOffset (36) as text, their contents are passed on unparsed.

// There is no application-level keep-alive: idle connections simply stay open, and neither
// side enables TCP keep-alive. A client notices a dead server at its next read (time-out above).

// Blob handles numbering the values a client pulls with more_blob (one per value, the same for
// all its chunks); the server ignores them.
inline constexpr int kFirstBlobHandle = 1;

// Table readers within one execute are numbered from 1.
inline constexpr int kFirstRowHandle = 1;

// Block size in which callers read a stream result (progress for large downloads).
inline constexpr int kStreamBlockSize = 1024;

} // namespace morvex::wire

namespace morvex::wire {

// Inline bytes for a string or stream field that starts `offset` bytes into a row buffer of
// `bufferBytes`: 1024 near the buffer's nominal end (buffer - 2 KiB), else up to the end of the
// buffer, at most 65 535.
inline int inlineCapacity(std::int64_t offset, int bufferBytes)
{
    const std::int64_t nominal = std::int64_t(bufferBytes) - kBatchReserve;
    if (offset >= nominal - kNearEndWindow)
        return kNearEndInline;
    const std::int64_t room = std::int64_t(bufferBytes) - offset - 3;
    return int(room < kNearEndInline ? kNearEndInline : (room > kMaxInlineBytes ? kMaxInlineBytes : room));
}

} // namespace morvex::wire
