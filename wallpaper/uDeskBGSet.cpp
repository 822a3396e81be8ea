#include "uDeskBGSet.h"

#include "PictureFile.h"
#include "ProgramFolder.h"
#include "uGlobal.h"

#include <QPainter>

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

QFont contentFont() {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(kContentFontPixels);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

TDeskBGSetFrm::TDeskBGSetFrm() : TDeskBGSetFrm(BackgroundFolder()) {}

TDeskBGSetFrm::TDeskBGSetFrm(const QString& backgroundFolder) : m_backgroundFolder(backgroundFolder) {}

QString TDeskBGSetFrm::FolderFile(const QString& name) const {
    return ResolvePath(m_backgroundFolder, name);
}

void TDeskBGSetFrm::CopyNoteText(const QString& noteText) {
    NoteLines.clear();
    NoteLines.append(withCrLf(noteText));
}

QImage TDeskBGSetFrm::DrawContentPicture(int Width) const {
    if (!FitsPictureLimits(Width, kContentHeight)) return {};
    QImage picture(Width, kContentHeight, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    picture.fill(kContentBorder);
    QPainter painter(&picture);
    painter.fillRect(1, 1, Width - 2, kContentHeight - 2, QColor::fromRgb(kContentFill));

    // The items each followed by a line break; Qt breaks lines at "\n". No mnemonic flag: & is drawn.
    QString text = NoteLines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect box(QPoint(kContentTextLeft, kContentTextTop),
                    QPoint(kContentTextRight - 1, kContentTextBottom - 1));
    painter.setClipRect(box);
    painter.setFont(contentFont());
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
