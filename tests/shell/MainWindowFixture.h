#pragma once
// A main window over a temporary program folder with a note store, a fixed clock and a fixed screen.

#include "StoreFixture.h"

#include "uDM.h"
#include "uMain.h"

#include <memory>

namespace quenda::test {

class MainWindowTest : public ProgramFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the store and creates the main window (FormCreate); Show() then runs FormShow.
    void Create();
    void Show();
    void CreateAndShow() { Create(), Show(); }
    void Destroy();

    // Types `text` into the note with real key events, the editor having the focus.
    void Type(const QString& text);
    // Commits `text` as an input method does, the way Chinese reaches the editor.
    void Commit(const QString& text);
    // Clicks the grid cell of `day` in the calendar's month.
    void ClickDate(int day);
    // The stored note of `key` as plain text; nothing when there is no row.
    std::optional<QString> StoredText(const QString& key);

    QSize m_screen{1920, 1080};
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TMainFrm> m_form;
};

// Wednesday 2 January 2013, 10:00.
extern const TDateTime kTestNow;

} // namespace quenda::test
