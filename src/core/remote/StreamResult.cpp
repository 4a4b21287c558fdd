#include "core/remote/StreamResult.h"

#include "core/wire/WireChoices.h"
#include "core/wire/WireStream.h"

namespace morvex {

std::optional<QByteArray> readStreamResult(
    WireStream *stream, qint64 announced, const StreamProgress &progress)
{
    if (!stream || announced <= 0)
        return std::nullopt;
    QByteArray buffer;
    char block[wire::kStreamBlockSize];
    for (;;) {
        const qint64 got = stream->read(block, wire::kStreamBlockSize);
        if (got > 0)
            buffer.append(block, got);
        if (progress)
            progress(buffer.size(), announced);
        if (got < wire::kStreamBlockSize || buffer.size() > announced)
            break;
    }
    if (buffer.size() != announced)
        return std::nullopt;
    return buffer;
}

} // namespace morvex
