// libFuzzer target for the settings and list files (FormSize.ini, configSetBg.ini, BGPicList.ini). Any bytes
// decode to lines without line endings, every line reads as a whole number or as none, the lines come back
// unchanged from a write and a read, and start-up's choice of window bounds is always one it can write.
#include "FormSize.h"
#include "LineListFile.h"

#include <QList>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Both where positions apply (X11, Windows) and where only the size does (Wayland).
void checkFormSize(const QStringList& lines, bool positionsApply) {
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, -200, 1280, 1024)};
    const quenda::FormSize size = quenda::ChooseFormSize(&lines, QSize(1920, 1080), screens, positionsApply);
    const QStringList written = quenda::FormSizeLines(size);
    if (!quenda::IsCompleteFormSize(written)) fail("the chosen window bounds do not write as five numbers");
    if (quenda::ChooseFormSize(&written, QSize(1920, 1080), screens, positionsApply) != size)
        fail("the chosen window bounds change when read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = quenda::DecodeLineList(bytes);
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QLatin1Char('\r')) || lines[i].contains(QLatin1Char('\n')))
            fail("a decoded line holds a line ending");
        const std::optional<int> number = quenda::LineAsInt(lines, i);
        if (number && quenda::LineAsInt({QString::number(*number)}, 0) != number)
            fail("a number does not read back as itself");
    }
    if (quenda::DecodeLineList(quenda::EncodeLineList(lines)) != lines)
        fail("the lines change through a write and a read");
    checkFormSize(lines, true);
    checkFormSize(lines, false);
    return 0;
}
