#pragma once
// GoogleTest prints QString values (and lists of them) as text instead of raw bytes.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
