#pragma once
// FormSize.ini: the note page number and the main window's outer bounds, five whole numbers on five lines
// (CurPage, width, height, left, top). A first start writes the defaults.

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

namespace quenda {

struct FormSize {
    int CurPage = 1;
    QRect bounds; // left, top, width, height in screen pixels
    friend bool operator==(const FormSize&, const FormSize&) = default;
};

// The defaults: page 1, 750 x 500 placed centrally on the primary screen and 15 pixels above its centre
// (the divisions truncate toward zero, so a 640-pixel-wide screen gives left -55).
FormSize DefaultFormSize(QSize primaryScreen);

// What start-up takes from the file's lines: their five numbers, or the defaults when the file is short
// or holds something that is not a whole number, or when the remembered bounds lie wholly outside every
// screen (a monitor was removed), are larger than any screen or lie beyond any desktop (a side beyond
// 16384 pixels either way, a corner beyond 2^20). Partly visible bounds are kept.
// Where the window system places windows itself (Wayland: `positionsApply` false) only the size is applied;
// the position is carried along unapplied, to be written back, so the screens do not judge it and it does
// not take a remembered size down with it: an impossible size or position falls back to its default alone.
FormSize ChooseFormSize(const QStringList* lines, QSize primaryScreen, const QList<QRect>& screens,
                        bool positionsApply = true);

// The file's five lines for `size`.
QStringList FormSizeLines(const FormSize& size);

// True when the five lines are all whole numbers, i.e. the file need not be rewritten.
bool IsCompleteFormSize(const QStringList& lines);

} // namespace quenda
