#pragma once
// What makes the program look and speak as on a Chinese Windows desktop: the free faces that stand in for
// the Windows ones it names, and Qt's own dialogs and buttons in Chinese.

class QCoreApplication;

namespace quenda {

// Maps the Windows faces the program names onto the free faces installed with it. Call once, before any
// widget exists; calling again does no harm.
void InstallFontSubstitutions();

// Loads Qt's zh_CN translation into `app`, so message boxes, file and colour dialogs say 确定, 取消 and so
// on. False when the translation is not installed; the program then runs with Qt's English texts.
bool InstallChineseTranslation(QCoreApplication& app);

} // namespace quenda
