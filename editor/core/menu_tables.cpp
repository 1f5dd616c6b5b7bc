#include "editor/core/menu_tables.h"

#include <array>

#include "editor/core/commands.h"

namespace calyx::editor {

namespace {

using namespace command;
constexpr MenuItem separator{};

constexpr MenuItem fileNewItem{"&Nouveau\tCtrl+N", fileNew};
constexpr MenuItem fileOpenItem{"&Ouvrir...\tCtrl+O", fileOpen};
constexpr MenuItem printSetupItem{"C&onfiguration de l'impression...", filePrintSetup};
constexpr MenuItem recentFileItem{"Fichier récent", recentFileFirst};
constexpr MenuItem quitItem{"&Quitter", appExit};

constexpr std::array fileMenuNoDocument{fileNewItem,    fileOpenItem, separator, printSetupItem, separator,
                                        recentFileItem, separator,    quitItem};
constexpr std::array fileMenuDocument{
    fileNewItem,
    fileOpenItem,
    MenuItem{"&Fermer", fileClose},
    MenuItem{"&Enregistrer\tCtrl+S", fileSave},
    MenuItem{"En&registrer sous...", fileSaveAs},
    separator,
    MenuItem{"&Imprimer...\tCtrl+P", filePrint},
    MenuItem{"Aperçu a&vant impression", filePrintPreview},
    printSetupItem,
    separator,
    recentFileItem,
    separator,
    quitItem,
};
constexpr std::array editMenu{
    MenuItem{"&Annuler\tCtrl+Z", editUndo}, separator, MenuItem{"&Couper\tCtrl+X", editCut},
    MenuItem{"&Copier\tCtrl+C", editCopy}, MenuItem{"C&oller\tCtrl+V", editPaste},
};
constexpr std::array viewMenu{MenuItem{"&Barre d'outils", viewToolbar}, MenuItem{"Barre d'é&tat", viewStatusBar}};
constexpr std::array windowMenu{
    MenuItem{"&Cascade", windowCascade},
    MenuItem{"&Mosaïque", windowTileHorizontally},
    MenuItem{"&Réorganiser les icônes", windowArrange},
};
constexpr std::array helpMenu{MenuItem{"&Rubriques de l'aide", helpTopics}, separator,
                              MenuItem{"&A propos de Calyx...", appAbout}};
constexpr std::array editBoxMenu{
    MenuItem{"A&nnuler", editUndo},   separator,
    MenuItem{"Co&uper", editCut},     MenuItem{"C&opier", editCopy},
    MenuItem{"Coll&er", editPaste},   MenuItem{"&Supprimer", editClear},
    separator,                        MenuItem{"Sélectionner &tout", editSelectAll},
};

constexpr std::array noDocumentMenu{
    MenuPopup{"&Fichier", fileMenuNoDocument},
    MenuPopup{"&Affichage", viewMenu},
    MenuPopup{"&?", helpMenu},
};
constexpr std::array documentMenu{
    MenuPopup{"&Fichier", fileMenuDocument}, MenuPopup{"&Edition", editMenu}, MenuPopup{"&Affichage", viewMenu},
    MenuPopup{"Fe&nêtre", windowMenu},       MenuPopup{"&?", helpMenu},
};
constexpr std::array editBoxPopup{MenuPopup{"", editBoxMenu}};

constexpr MenuRelabel onCommand(int textId, int commandId) { return {textId, commandId, std::nullopt, std::nullopt}; }
constexpr MenuRelabel onPopup(int textId, std::optional<int> noDocument, std::optional<int> document) {
    return {textId, 0, noDocument, document};
}

constexpr std::array relabels{
    onPopup(70, 0, 0),
    onCommand(72, fileOpen),
    onCommand(73, filePrintSetup),
    onCommand(74, appExit),
    onCommand(75, fileClose),
    onCommand(76, fileSave),
    onCommand(77, fileSaveAs),
    onCommand(78, filePrint),
    onCommand(79, filePrintPreview),
    onPopup(80, std::nullopt, 1),
    onCommand(81, editUndo),
    onCommand(82, editCut),
    onCommand(83, editCopy),
    onCommand(84, editPaste),
    onPopup(85, 1, 2),
    onCommand(86, viewToolbar),
    onCommand(87, viewStatusBar),
    onPopup(88, std::nullopt, 3),
    onCommand(89, windowCascade),
    onCommand(90, windowTileHorizontally),
    onCommand(91, windowArrange),
    onPopup(92, 2, 4),
    onCommand(93, helpTopics),
    onCommand(94, appAbout),
};

constexpr std::array editBoxTexts{
    EditMenuText{editUndo, 81},  EditMenuText{editCut, 82},   EditMenuText{editCopy, 83},
    EditMenuText{editPaste, 84}, EditMenuText{editClear, 95}, EditMenuText{editSelectAll, 96},
};

constexpr std::array acceleratorTable{
    Accelerator{"Ctrl+N", fileNew},         Accelerator{"Ctrl+O", fileOpen},
    Accelerator{"Ctrl+S", fileSave},        Accelerator{"Ctrl+P", filePrint},
    Accelerator{"Ctrl+Z", editUndo},        Accelerator{"Ctrl+X", editCut},
    Accelerator{"Ctrl+C", editCopy},        Accelerator{"Ctrl+V", editPaste},
    Accelerator{"Alt+Backspace", editUndo}, Accelerator{"Shift+Del", editCut},
    Accelerator{"Ctrl+Ins", editCopy},      Accelerator{"Shift+Ins", editPaste},
    Accelerator{"F6", nextPane},            Accelerator{"Shift+F6", previousPane},
    Accelerator{"Shift+F1", contextHelp},   Accelerator{"F1", help},
};

constexpr std::array toolbar{fileOpen, fileSave, 0, editCut, editCopy, editPaste, 0, filePrint, appAbout, contextHelp};

constexpr std::array locks{LockPane{LockKey::Caps, "MAJ"}, LockPane{LockKey::Num, "NUM"},
                           LockPane{LockKey::Scroll, "DEF"}};

}  // namespace

std::span<const MenuPopup> menuPopups(int menuId) {
    switch (menuId) {
    case menu_id::noDocument: return noDocumentMenu;
    case menu_id::document: return documentMenu;
    case menu_id::editBox: return editBoxPopup;
    default: return {};
    }
}

std::span<const MenuRelabel> menuRelabels() { return relabels; }
std::span<const EditMenuText> editBoxMenuTexts() { return editBoxTexts; }
std::span<const Accelerator> accelerators() { return acceleratorTable; }
std::span<const int> toolbarCommands() { return toolbar; }
std::span<const LockPane> lockPanes() { return locks; }

}  // namespace calyx::editor
