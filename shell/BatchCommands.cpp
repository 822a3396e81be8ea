#include "BatchCommands.h"

#include "IcsFile.h"
#include "NoteImport.h"
#include "StoreBackup.h"
#include "uDM.h"

namespace quenda {

namespace {

BatchResult Failed(const QString& reason) {
    return {kBatchFailed, {}, reason + QLatin1Char('\n')};
}

BatchResult Backup(const QString& target) {
    const BackupOutcome outcome = BackupStore(TDM::StorePath(), target);
    if (!outcome.ok) return Failed(outcome.message);
    return {0, QStringLiteral("备份完成：%1\n").arg(outcome.message), {}};
}

BatchResult Export(TDM& dm, const CommandLine& options) {
    const ExportOutcome outcome = ExportNotes(dm, options.exportFile, options.from, options.to);
    if (!outcome.ok) return Failed(outcome.message);
    return {0, QStringLiteral("已导出 %1 天的记事：%2\n").arg(outcome.notes).arg(options.exportFile), {}};
}

BatchResult Import(TDM& dm, const CommandLine& options) {
    const IcsContent content = ReadIcsFile(options.importFile);
    if (!content.error.isEmpty()) return Failed(content.error);
    if (!options.yes) {
        const std::optional<ImportPlan> plan = PlanImport(dm, content);
        if (!plan) return Failed(QStringLiteral("读取记事失败：%1").arg(dm.LastError()));
        return {kBatchNotConfirmed, ImportSummary(*plan, content) + QLatin1Char('\n'),
                QStringLiteral("还没有导入：加上 --yes 才会写入记事。\n")};
    }
    const std::optional<ImportPlan> done = ApplyImport(dm, content);
    if (!done) return Failed(QStringLiteral("导入失败，记事没有改变：%1").arg(dm.LastError()));
    return {0, QStringLiteral("已导入。") + ImportSummary(*done, content) + QLatin1Char('\n'), {}};
}

} // namespace

BatchResult RunBatchCommand(const CommandLine& options) {
    if (!options.backupFile.isEmpty()) return Backup(options.backupFile);
    TDM dm;
    if (!dm.OpenStore())
        return Failed(QStringLiteral("无法打开记事库 %1：%2").arg(TDM::StorePath(), dm.LastError()));
    if (!options.exportFile.isEmpty()) return Export(dm, options);
    return Import(dm, options);
}

} // namespace quenda
