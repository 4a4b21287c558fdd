#pragma once

#include <QByteArray>

#include <memory>

class QIODevice;

namespace morvex {

// A sequential byte source carried by a stream value. read() fills the whole buffer unless the
// stream ends first, returns 0 at the end and raises (WireError) when the bytes cannot be had.
class WireStream
{
public:
    virtual ~WireStream() = default;
    virtual qint64 read(char *data, qint64 maxSize) = 0;

    // Reads up to maxSize bytes (a full block unless the stream ends).
    QByteArray readBlock(qint64 maxSize);
    // Reads what is left.
    QByteArray readAll();
};

// A stream over bytes in memory.
class ByteArrayStream : public WireStream
{
public:
    explicit ByteArrayStream(QByteArray bytes);
    qint64 read(char *data, qint64 maxSize) override;
    qint64 size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
    qint64 m_position = 0;
};

// A stream over an open device (a file, a buffer), read as the peer asks for it. Owns the device.
class DeviceStream : public WireStream
{
public:
    explicit DeviceStream(std::unique_ptr<QIODevice> device);
    ~DeviceStream() override;
    qint64 read(char *data, qint64 maxSize) override;

private:
    std::unique_ptr<QIODevice> m_device;
};

} // namespace morvex
