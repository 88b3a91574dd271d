#pragma once

class QCoreApplication;

// Makes the program speak Arabic wherever Qt itself supplies a text: the
// standard buttons of message boxes, the file dialogs, the text boxes' context
// menus. It loads Qt's own Arabic translations and makes Arabic the default
// locale, which also gives the type names of the MIME database in Arabic where
// it has them; Qt's Arabic texts are drawn as whole words (no underlined
// shortcut letter, no icon beside a dialog button's text). Run once, right
// after the application object exists. Returns
// false when Qt's Arabic translations could not be found (the program then
// shows Qt's English texts; everything else still works).
bool useArabicLanguage(QCoreApplication &app);
