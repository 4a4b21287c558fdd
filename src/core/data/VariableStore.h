#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace morvex::detail {

// Leaves the bytes a vector grows by uninitialised: the arena's new bytes are always written
// right after, so zeroing them first would only cost time.
template <typename T> struct UninitialisedAllocator : std::allocator<T>
{
    template <typename U> struct rebind
    {
        using other = UninitialisedAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <typename U, typename... Args> void construct(U *p, Args &&...args)
    {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void *>(p)) U;
        else
            ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
};

// The cells of a text or bytes column, packed one after another in one arena: each cell is
// a varint header (byte length << 1 | flag) followed by its bytes, so a short text costs one
// byte beyond its content. A mark every kStride rows holds the arena offset of that row, so
// reaching a row walks at most kStride - 1 headers.
//
// Cells are meant to be written in row order (a decoder filling a table); rewriting a cell
// in the middle with a different length moves the rest of the arena. The marks after such a
// change are rebuilt on the next read, so a const read may update them; squeeze() leaves
// them complete, after which reads change nothing.
class VariableStore
{
public:
    static constexpr int kStride = 16;

    struct Cell
    {
        std::string_view bytes;
        bool flag = false;
    };

    int size() const { return m_rows; }
    void appendEmpty()
    {
        // The arena limit is checked once a stride, with the mark; a stride of empty cells
        // cannot pass it in between.
        if (m_rows % kStride == 0)
            appendMark();
        m_lastOffset = m_data.size();
        m_data.push_back(0);
        ++m_rows;
    }
    void appendEmpty(int count);
    Cell get(int row) const;
    // Arena offsets for sequential reading: the offset of a row's cell (row < size()), the cell
    // there, and the offset of the cell after it.
    const char *arena() const { return m_data.data(); }
    std::size_t offsetOfRow(int row) const { return offsetOf(row); }
    Cell cellAt(std::size_t offset) const;
    std::size_t offsetAfter(const Cell &cell) const { return std::size_t(cell.bytes.data() - m_data.data()) + cell.bytes.size(); }
    void set(int row, std::string_view bytes, bool flag);
    // Gives the last row's cell `size` bytes (its old content dropped) and returns where they
    // go, for the caller to fill: a decoder writes converted text straight into the arena.
    char *resizeLast(std::size_t size, bool flag);
    void erase(int row);
    void clear();
    void reserve(int rows, std::size_t bytes);
    void squeeze();
    std::size_t capacityBytes() const;
    std::size_t spareBytes() const;

    // Calls f(row, cell) for every row in order, stopping when f returns true; returns that
    // row or -1. Walks the arena once, without the marks.
    template <typename F> int findIf(F &&f) const
    {
        std::size_t offset = 0;
        for (int row = 0; row < m_rows; ++row) {
            const Cell cell = cellAt(offset);
            if (f(cell))
                return row;
            offset = std::size_t(cell.bytes.data() - m_data.data()) + cell.bytes.size();
        }
        return -1;
    }

private:
    void appendMark();
    std::size_t offsetOf(int row) const;
    std::size_t walkTo(int row) const;
    void rebuildMarks(std::size_t upTo) const;
    void checkArenaLimit(std::size_t extra) const;

    std::vector<char, UninitialisedAllocator<char>> m_data;
    mutable std::vector<std::uint32_t> m_marks; // arena offset of row k * kStride
    mutable std::size_t m_validMarks = 0; // m_marks[0 .. m_validMarks) are up to date
    int m_rows = 0;
    std::size_t m_lastOffset = 0; // arena offset of the last row's cell, when m_rows > 0
};

} // namespace morvex::detail
