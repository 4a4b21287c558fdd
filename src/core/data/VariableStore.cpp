#include "core/data/VariableStore.h"

#include "core/data/RecordSet.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace morvex::detail {

namespace {

    constexpr std::size_t kArenaLimit = std::numeric_limits<std::uint32_t>::max();

    std::size_t writeHeader(char *out, std::uint64_t value)
    {
        std::size_t n = 0;
        while (value >= 0x80) {
            out[n++] = char((value & 0x7f) | 0x80);
            value >>= 7;
        }
        out[n++] = char(value);
        return n;
    }

    std::size_t readHeader(const char *in, std::uint64_t &value)
    {
        value = 0;
        std::size_t n = 0;
        int shift = 0;
        for (;;) {
            const auto byte = std::uint8_t(in[n++]);
            value |= std::uint64_t(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return n;
            shift += 7;
        }
    }

} // namespace

void VariableStore::checkArenaLimit(std::size_t extra) const
{
    if (m_data.size() + extra > kArenaLimit)
        throw RecordSetError("A text or bytes column cannot hold more than 4 GB.");
}

VariableStore::Cell VariableStore::cellAt(std::size_t offset) const
{
    std::uint64_t header = 0;
    const std::size_t n = readHeader(m_data.data() + offset, header);
    return { std::string_view(m_data.data() + offset + n, std::size_t(header >> 1)), bool(header & 1) };
}

void VariableStore::rebuildMarks(std::size_t upTo) const
{
    // m_marks[0] is 0 whenever a row exists, so a walk can always start from a valid mark.
    if (m_validMarks == 0 && !m_marks.empty()) {
        m_marks[0] = 0;
        m_validMarks = 1;
    }
    while (m_validMarks <= upTo) {
        std::size_t offset = m_marks[m_validMarks - 1];
        for (int i = 0; i < kStride; ++i) {
            const Cell cell = cellAt(offset);
            offset = std::size_t(cell.bytes.data() - m_data.data()) + cell.bytes.size();
        }
        m_marks[m_validMarks++] = std::uint32_t(offset);
    }
}

std::size_t VariableStore::offsetOf(int row) const
{
    return row == m_rows - 1 ? m_lastOffset : walkTo(row);
}

std::size_t VariableStore::walkTo(int row) const
{
    const std::size_t mark = std::size_t(row / kStride);
    if (mark >= m_validMarks)
        rebuildMarks(mark);
    std::size_t offset = m_marks[mark];
    for (int i = row % kStride; i > 0; --i) {
        const Cell cell = cellAt(offset);
        offset = std::size_t(cell.bytes.data() - m_data.data()) + cell.bytes.size();
    }
    return offset;
}

void VariableStore::appendMark()
{
    checkArenaLimit(kStride);
    const bool allValid = m_validMarks == m_marks.size();
    m_marks.push_back(std::uint32_t(m_data.size()));
    if (allValid)
        m_validMarks = m_marks.size();
}

void VariableStore::appendEmpty(int count)
{
    for (int i = 0; i < count; ++i)
        appendEmpty();
}

VariableStore::Cell VariableStore::get(int row) const
{
    return cellAt(offsetOf(row));
}

char *VariableStore::resizeLast(std::size_t size, bool flag)
{
    char header[10];
    const std::size_t headerSize = writeHeader(header, (std::uint64_t(size) << 1) | (flag ? 1 : 0));
    const std::size_t end = m_lastOffset + headerSize + size;
    if (end > m_data.size())
        checkArenaLimit(end - m_data.size());
    m_data.resize(end);
    std::memcpy(m_data.data() + m_lastOffset, header, headerSize);
    return m_data.data() + m_lastOffset + headerSize;
}

void VariableStore::set(int row, std::string_view bytes, bool flag)
{
    if (row == m_rows - 1) {
        // The last cell: the common case of a table filled row by row.
        char *p = resizeLast(bytes.size(), flag);
        if (!bytes.empty())
            std::memcpy(p, bytes.data(), bytes.size());
        return;
    }
    const std::size_t offset = offsetOf(row);
    const Cell old = cellAt(offset);
    const std::size_t oldEnd = std::size_t(old.bytes.data() - m_data.data()) + old.bytes.size();
    const std::size_t oldSize = oldEnd - offset;

    char header[10];
    const std::size_t headerSize = writeHeader(header, (std::uint64_t(bytes.size()) << 1) | (flag ? 1 : 0));
    const std::size_t newSize = headerSize + bytes.size();
    if (newSize > oldSize)
        checkArenaLimit(newSize - oldSize);

    if (oldEnd == m_data.size()) {
        // The last cell: the common case of a table filled row by row.
        m_data.resize(offset);
        m_data.insert(m_data.end(), header, header + headerSize);
        m_data.insert(m_data.end(), bytes.begin(), bytes.end());
    } else {
        if (newSize > oldSize)
            m_data.insert(m_data.begin() + std::ptrdiff_t(oldEnd), newSize - oldSize, char(0));
        else if (newSize < oldSize)
            m_data.erase(
                m_data.begin() + std::ptrdiff_t(offset + newSize), m_data.begin() + std::ptrdiff_t(oldEnd));
        std::memcpy(m_data.data() + offset, header, headerSize);
        if (!bytes.empty())
            std::memcpy(m_data.data() + offset + headerSize, bytes.data(), bytes.size());
        if (newSize != oldSize) {
            m_validMarks = std::min(m_validMarks, std::size_t(row / kStride) + 1);
            m_lastOffset = m_lastOffset + newSize - oldSize;
        }
    }
}

void VariableStore::erase(int row)
{
    const std::size_t offset = offsetOf(row);
    const Cell old = cellAt(offset);
    const std::size_t oldEnd = std::size_t(old.bytes.data() - m_data.data()) + old.bytes.size();
    const bool wasLast = row == m_rows - 1;
    m_data.erase(m_data.begin() + std::ptrdiff_t(offset), m_data.begin() + std::ptrdiff_t(oldEnd));
    --m_rows;
    if (!wasLast)
        m_lastOffset -= oldEnd - offset;

    m_marks.resize(std::size_t((m_rows + kStride - 1) / kStride));
    m_validMarks = std::min({ m_validMarks, std::size_t(row / kStride) + 1, m_marks.size() });
    if (wasLast && m_rows > 0)
        m_lastOffset = walkTo(m_rows - 1);
}

void VariableStore::clear()
{
    m_data.clear();
    m_marks.clear();
    m_validMarks = 0;
    m_rows = 0;
    m_lastOffset = 0;
}

void VariableStore::reserve(int rows, std::size_t bytes)
{
    m_data.reserve(std::min(bytes, kArenaLimit));
    m_marks.reserve(std::size_t((rows + kStride - 1) / kStride));
}

void VariableStore::squeeze()
{
    if (!m_marks.empty())
        rebuildMarks(m_marks.size() - 1);
    m_data.shrink_to_fit();
    m_marks.shrink_to_fit();
}

std::size_t VariableStore::capacityBytes() const
{
    return m_data.capacity() + m_marks.capacity() * sizeof(std::uint32_t);
}

std::size_t VariableStore::spareBytes() const
{
    return (m_data.capacity() - m_data.size())
        + (m_marks.capacity() - m_marks.size()) * sizeof(std::uint32_t);
}

} // namespace morvex::detail
