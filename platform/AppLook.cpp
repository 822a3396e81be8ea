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
    const char* substitute;
};

// 宋体 is a Song face whose lines keep a gap between them and whose Latin l, 1 and I differ. Of the free
// Song faces, AR PL UMing CN sets 15-pixel text on a 14-pixel pitch (lines touch) and draws l like 1;
// Noto Serif CJK SC keeps 6 pixels of leading at that size and has serif Latin letters.
// clang-format off
constexpr std::array<Substitution, 7> kSubstitutions{{
    {"宋体", "Noto Serif CJK SC"},
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
        QFont::insertSubstitutions(QString::fromUtf8(entry.face), {QString::fromUtf8(entry.substitute)});
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
