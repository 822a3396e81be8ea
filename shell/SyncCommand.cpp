#include "SyncCommand.h"

#include "ProgramFolder.h"
#include "SingleInstance.h"
#include "SyncSettings.h"
#include "uDM.h"

#include <QEventLoop>

#include <cstdio>

namespace quenda {

namespace {

// A running program finishes its round first; a round over a slow line may take this long.
constexpr int kRunningProgramWaitMs = 10 * 60 * 1000;

void Print(FILE* stream, const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
}

int StatusOf(const QString& answer) {
    if (answer == QLatin1String("ok")) return 0;
    Print(stderr, answer.isEmpty() ? QStringLiteral("同步失败：正在运行的程序没有回答") : answer);
    return 1;
}

} // namespace

QString SyncAnswer(const SyncOutcome& outcome) {
    if (!outcome.ok) return QStringLiteral("failed ") + outcome.failure;
    return outcome.inStep ? QStringLiteral("ok") : QStringLiteral("waiting");
}

int RunSyncCommand(SingleInstance& instance) {
    if (const std::optional<QString> answer = instance.AskRunningProgramToSync(kRunningProgramWaitMs))
        return StatusOf(*answer);
    const SyncSettings settings = ReadSyncSettings();
    const std::optional<QUrl> url = CollectionUrl(settings);
    if (!settings.enabled || !url) {
        Print(stderr, QStringLiteral("同步没有设置：请在 %1 中写上 url= 和 enabled=true").arg(SyncSettingsPath()));
        return 2;
    }
    TDM dm;
    if (!dm.OpenStore()) {
        Print(stderr, QStringLiteral("无法打开记事库 %1").arg(TDM::StorePath()));
        return 1;
    }
    SyncEngine engine(dm, *url, settings.user, ReadSyncPassword(settings));
    SyncOutcome outcome;
    QEventLoop loop;
    QObject::connect(&engine, &SyncEngine::finished, &loop, [&](const SyncOutcome& result) {
        outcome = result;
        loop.quit();
    });
    engine.Run(true);
    loop.exec();
    return StatusOf(SyncAnswer(outcome));
}

} // namespace quenda
