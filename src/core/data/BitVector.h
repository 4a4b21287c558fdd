#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvex::detail {

// A packed vector of bits: null marks and boolean values of a record-set column.
class BitVector
{
public:
    std::size_t size() const { return m_size; }

    const std::uint64_t *words() const { return m_words.data(); }
    bool get(std::size_t i) const { return (m_words[i / 64] >> (i % 64)) & 1u; }

    void set(std::size_t i, bool on)
    {
        const std::uint64_t mask = std::uint64_t(1) << (i % 64);
        if (on)
            m_words[i / 64] |= mask;
        else
            m_words[i / 64] &= ~mask;
    }

    void pushBack(bool on)
    {
        if (m_size % 64 == 0)
            m_words.push_back(0);
        ++m_size;
        set(m_size - 1, on);
    }

    void resize(std::size_t n, bool on)
    {
        while (m_size < n && m_size % 64 != 0)
            pushBack(on);
        if (m_size < n) {
            m_words.resize((n + 63) / 64, on ? ~std::uint64_t(0) : 0);
            m_size = n;
        } else if (n < m_size) {
            m_size = n;
            m_words.resize((n + 63) / 64);
        }
        clearTail();
    }

    // Removes bit i; the bits after it move down by one.
    void erase(std::size_t i)
    {
        std::size_t w = i / 64;
        const std::uint64_t low = (std::uint64_t(1) << (i % 64)) - 1;
        std::uint64_t word = m_words[w];
        word = (word & low) | ((word >> 1) & ~low);
        for (; w + 1 < m_words.size(); ++w) {
            word |= (m_words[w + 1] & 1u) << 63;
            m_words[w] = word;
            word = m_words[w + 1] >> 1;
        }
        m_words[w] = word;
        --m_size;
        m_words.resize((m_size + 63) / 64);
        clearTail();
    }

    // True when any bit is set.
    bool any() const
    {
        for (std::uint64_t w : m_words)
            if (w)
                return true;
        return false;
    }

    void clear()
    {
        m_words.clear();
        m_size = 0;
    }
    void reserve(std::size_t n) { m_words.reserve((n + 63) / 64); }
    void squeeze() { m_words.shrink_to_fit(); }
    std::size_t capacityBytes() const { return m_words.capacity() * sizeof(std::uint64_t); }
    std::size_t spareBytes() const { return (m_words.capacity() - m_words.size()) * sizeof(std::uint64_t); }

private:
    // Keeps the unused bits of the last word zero, so that any() and erase() stay simple.
    void clearTail()
    {
        if (m_size % 64 != 0)
            m_words.back() &= (std::uint64_t(1) << (m_size % 64)) - 1;
    }

    std::vector<std::uint64_t> m_words;
    std::size_t m_size = 0;
};

} // namespace morvex::detail
