#pragma once
// The one QApplication of a test program, with the program's font substitutions and title, ended before
// the process's exit handlers run (Qt's input devices must not outlive it); and texts printed as text when
// a check fails.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quenda::test {

// Makes sure the application exists; call at the start of every test that needs Qt's widgets or fonts.
void EnsureApplication();

} // namespace quenda::test
