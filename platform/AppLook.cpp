#include "AppLook.h"

#include <QCoreApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

#include <array>

namespace quenda {

namespace {

struct Substitution {
    const char* face;
    const char* substitutes; // comma-separated, in the order they are tried
};

// Each face maps to its substitutes, the first one's metrics setting the line pitch and later ones giving
// the characters it lacks. 宋体 keeps a gap between Chinese lines and has distinct Latin l, 1 and I; AR PL
// UMing CN alone sets 15-pixel text on a 14-pixel pitch (lines touch) with a Latin l like 1, and Noto
// Serif CJK SC's 21.5-pixel pitch no longer fits the calendar's cells. Liberation Serif first gives clear
// Latin letters and a 17-pixel pitch, and UMing's Song characters fill in the Chinese.
// clang-format off
constexpr std::array<Substitution, 7> kSubstitutions{{
    {"宋体", "Liberation Serif,AR PL UMing CN"},
    {"黑体", "WenQuanYi Zen Hei"},
    {"微软雅黑", "Noto Sans CJK SC"},
    {"幼圆", "WenQuanYi Micro Hei"},
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Arial Black", "DejaVu Sans"},
}};
// clang-format on

} // namespace

void InstallFontSubstitutions() {
    for (const auto& entry : kSubstitutions)
        QFont::insertSubstitutions(QString::fromUtf8(entry.face),
                                   QString::fromUtf8(entry.substitutes).split(QLatin1Char(',')));
}

bool InstallChineseTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app); // the application owns it
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace quenda
