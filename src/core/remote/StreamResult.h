#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

namespace morvex {

class WireStream;

// Called after every block with the bytes read so far and the length the server announced.
using StreamProgress = std::function<void(qint64 bytesRead, qint64 announced)>;

// Reads a stream result whose length the method announced through an output parameter (boy,
// size): nothing is read when the length is 0 (or the stream is null); otherwise the stream is
// read in 1024-byte blocks until a block comes back short, and the bytes are accepted only when
// they add up to the announced length. A mismatch gives no bytes and no message. Reading stops
// as soon as more than the announced length has arrived, so a wrong length cannot make the
// client hold an unbounded download. Transport failures raise.
std::optional<QByteArray> readStreamResult(
    WireStream *stream, qint64 announced, const StreamProgress &progress = {});

} // namespace morvex
