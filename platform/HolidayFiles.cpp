#include "HolidayFiles.h"

#include "ProgramFolder.h"

#include <QDir>

namespace quenda {

namespace {

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

HolidayData LoadHolidays() {
    auto table = std::make_shared<HolidayTable>();
    HolidayData data;
    for (const QString& folder :
         {ProgramFilePath(QStringLiteral("holidays")), DataPath(QStringLiteral("Data\\holidays"))})
        for (const std::filesystem::path& file : HolidayFilesIn(ToPath(folder)))
            ReadHolidayFile(file, *table, data.skipped);
    data.table = std::move(table);
    return data;
}

QString SkippedHolidaysMessage(const std::vector<SkippedLine>& skipped) {
    if (skipped.empty()) return {};
    const SkippedLine& first = skipped.front();
    const QString file = QDir::toNativeSeparators(QString::fromStdString(first.source));
    const QString where = first.line > 0 ? QStringLiteral("“%1”第%2行").arg(file).arg(first.line)
                                         : QStringLiteral("“%1”").arg(file);
    QString text = QStringLiteral("节假日文件%1无法识别（%2），已跳过。")
                       .arg(where, QString::fromStdString(first.reason));
    if (skipped.size() > 1) text += QStringLiteral("共跳过%1处。").arg(skipped.size());
    return text;
}

} // namespace quenda
