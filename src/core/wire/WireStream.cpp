#include "core/wire/WireStream.h"

#include "core/wire/WireError.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

using namespace Qt::StringLiterals;

namespace morvex {

QByteArray WireStream::readBlock(qint64 maxSize)
{
    QByteArray block(qsizetype(std::max<qint64>(maxSize, 0)), Qt::Uninitialized);
    const qint64 got = maxSize > 0 ? read(block.data(), maxSize) : 0;
    block.truncate(qsizetype(got));
    return block;
}

QByteArray WireStream::readAll()
{
    QByteArray all;
    constexpr qint64 step = 64 * 1024;
    for (;;) {
        const qsizetype at = all.size();
        all.resize(at + step);
        const qint64 got = read(all.data() + at, step);
        all.truncate(at + qsizetype(got));
        if (got < step)
            return all;
    }
}

ByteArrayStream::ByteArrayStream(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
}

qint64 ByteArrayStream::read(char *data, qint64 maxSize)
{
    const qint64 n = std::min<qint64>(std::max<qint64>(maxSize, 0), m_bytes.size() - m_position);
    if (n > 0)
        std::memcpy(data, m_bytes.constData() + m_position, size_t(n));
    m_position += n;
    return n;
}

DeviceStream::DeviceStream(std::unique_ptr<QIODevice> device)
    : m_device(std::move(device))
{
}

DeviceStream::~DeviceStream() = default;

qint64 DeviceStream::read(char *data, qint64 maxSize)
{
    qint64 total = 0;
    while (total < maxSize) {
        const qint64 got = m_device->read(data + total, maxSize - total);
        if (got < 0)
            throw WireError(u"Stream read failed: "_s + m_device->errorString());
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

} // namespace morvex
