#include "QtTestApplication.h"

#include "AppLook.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace quenda::test {

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void Create() {
        static int argc = 1;
        static char name[] = "quenda_tests";
        static char* argv[] = {name, nullptr};
        InstallFontSubstitutions();
        m_app = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationDisplayName(QStringLiteral("Quenda桌面日历"));
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

// gtest owns registered environments.
ApplicationEnvironment* const g_environment =
    static_cast<ApplicationEnvironment*>(::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));

} // namespace

void EnsureApplication() {
    if (QApplication::instance() == nullptr) g_environment->Create();
}

} // namespace quenda::test
