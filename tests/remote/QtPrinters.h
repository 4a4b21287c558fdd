#pragma once

#include <QString>

#include <ostream>

// Readable QString values in gtest messages. Every test source includes this, so that all of
// them print QString the same way.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
