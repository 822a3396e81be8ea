#include "uDeskBGSet.h"

#include "PictureFile.h"
#include "ProgramFolder.h"
#include "uGlobal.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quenda {

namespace {

// CR LF, a lone CR or LF, and the editor's paragraph and line separators each end a line.
QString withCrLf(const QString& text) {
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (QChar& c : lines)
        if (c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

QFont contentFont(double scale) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(ScaledLength(kContentFontPixels, scale));
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

double WallpaperScale(int backgroundHeight) {
    return std::max(1.0, double(backgroundHeight) / kDesignBackgroundHeight);
}

int ScaledLength(int length, double scale) {
    return int(std::lround(length * scale));
}

TDeskBGSetFrm::TDeskBGSetFrm() : TDeskBGSetFrm(BackgroundFolder()) {}

TDeskBGSetFrm::TDeskBGSetFrm(const QString& backgroundFolder) : m_backgroundFolder(backgroundFolder) {}

QString TDeskBGSetFrm::FolderFile(const QString& name) const {
    return ResolvePath(m_backgroundFolder, name);
}

void TDeskBGSetFrm::CopyNoteText(const QString& noteText) {
    NoteLines.clear();
    NoteLines.append(withCrLf(noteText));
}

QImage TDeskBGSetFrm::DrawContentPicture(int Width, double scale) const {
    const int height = ScaledLength(kContentHeight, scale);
    if (!FitsPictureLimits(Width, height)) return {};
    QImage picture(Width, height, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    picture.fill(kContentBorder);
    QPainter painter(&picture);
    // A picture no wider (or higher) than its two borders is border through and through.
    const int border = ScaledLength(kContentBorderWidth, scale);
    const QRect inside(border, border, Width - 2 * border, height - 2 * border);
    if (!inside.isEmpty()) painter.fillRect(inside, QColor::fromRgb(kContentFill));

    // The items each followed by a line break; Qt breaks lines at "\n". No mnemonic flag: & is drawn.
    QString text = NoteLines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect box(
        QPoint(ScaledLength(kContentTextLeft, scale), ScaledLength(kContentTextTop, scale)),
        QPoint(ScaledLength(kContentTextRight, scale) - 1, ScaledLength(kContentTextBottom, scale) - 1));
    painter.setClipRect(box);
    painter.setFont(contentFont(scale));
    painter.setPen(Qt::black); // the window-text colour of the light box, whatever the desktop's theme
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    return picture;
}

bool TDeskBGSetFrm::MakeContentPicture(int Width, QString* error) {
    const QImage picture = DrawContentPicture(Width);
    if (picture.isNull()) {
        if (error) *error = QStringLiteral("cannot make a content picture %1 pixels wide").arg(Width);
        return false;
    }
    return WriteBmp(picture, FolderFile(QStringLiteral("Content.bmp")), error);
}

WallpaperResult TDeskBGSetFrm::SetDeskWallpaper(const QString& Path) {
    return InstallDesktopWallpaper(Path);
}

} // namespace quenda
