#pragma once

#include "core/records/TAcilisEkran.h"
#include "core/records/TAcilisEkranlar.h"
#include "core/records/TAcilisEkranlariki.h"
#include "core/records/TMobilCariBilgisi.h"
#include "core/records/TMobilSepet.h"
#include "core/records/TMobilSepetler.h"
#include "core/records/TMobilStok.h"
#include "core/records/TMobilStoklar.h"
#include "core/records/TSiparisDipAyrinti.h"
#include "core/records/TSonucBilgisi.h"
#include "core/records/TTusSonuclari.h"

#include <QString>

#include <vector>

namespace morvex::test {

// Gives every field of a record a value that differs from its default and from every other
// field's value, so that a field lost, swapped or left at its default shows up in a comparison.
class DistinctFiller
{
public:
    explicit DistinctFiller(int start = 1)
        : m_next(start)
    {
    }

    void operator()(const char *, QString &value)
    {
        value = QStringLiteral("Şğİı \"%1\" \\ / ö\n").arg(m_next++);
    }
    void operator()(const char *, qint32 &value) { value = -1000 + 37 * m_next++; }
    void operator()(const char *, double &value) { value = m_next++ + 0.1; }
    void operator()(const char *, bool &value)
    {
        value = true;
        ++m_next;
    }
    template <class Element> void operator()(const char *, std::vector<Element> &elements)
    {
        elements.clear();
        for (int i = 0; i < 2; ++i)
            elements.push_back(filled<Element>());
    }

    template <class T> T filled()
    {
        T record;
        record.visitFields(*this);
        return record;
    }

private:
    int m_next;
};

template <class T> T sample(int start = 1)
{
    return DistinctFiller(start).filled<T>();
}

template <class List> List sampleList(int count)
{
    List list;
    for (int i = 0; i < count; ++i)
        list.Add(sample<typename List::value_type>(1 + 100 * i));
    return list;
}

} // namespace morvex::test
