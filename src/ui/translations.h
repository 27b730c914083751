#pragma once

class QCoreApplication;

namespace blok {

// Qt's own Polish texts (the buttons and menus of the standard dialogs and of the text
// fields), from the folder Qt's translations are installed to. False when they are not there:
// those dialogs then speak English.
bool LoadQtTranslations(QCoreApplication& app);

}  // namespace blok
