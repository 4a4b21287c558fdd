#pragma once

#include "core/records/TransferObject.h"

#include <vector>

namespace morvex {

// An ordered list of transfer records that owns its elements (held by value).
template <class Element> class TransferList : public TransferObject
{
public:
    using value_type = Element;

    int Count() const { return static_cast<int>(m_items.size()); }
    // Out-of-range indexes raise std::out_of_range.
    const Element &Items(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    Element &Items(int index) { return m_items.at(static_cast<std::size_t>(index)); }
    void Add(Element element) { m_items.push_back(std::move(element)); }
    void Clear() { m_items.clear(); }

    const std::vector<Element> &elements() const { return m_items; }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool operator==(const TransferList &other) const { return m_items == other.m_items; }

private:
    void writeFields(ObjectFormWriter &writer) const override { writer.listItems(m_items); }
    void readFields(ObjectFormReader &reader) override { reader.listItems(m_items); }

    std::vector<Element> m_items;
};

} // namespace morvex

#define MORVEX_TRANSFER_LIST(unit, cls) MORVEX_TRANSFER_TYPE(unit, cls)
