// The editor's menus, accelerators and toolbar as tables of command ids,
// with their built-in French texts, and the table that puts the game's texts
// on the menus.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace calyx::editor {

namespace menu_id {
// The main menu while no document is open, and while one is.
inline constexpr int noDocument = 128;
inline constexpr int document = 129;
// The right-button menu of the editor's edit boxes.
inline constexpr int editBox = 135;
}  // namespace menu_id

// One item of a pop-up: a command with its text (UTF-8; "\t" separates the
// shortcut shown at the right), or a separator (command 0, no text).
struct MenuItem {
    std::string_view text;
    int command = 0;
    bool isSeparator() const { return command == 0; }
};

struct MenuPopup {
    std::string_view title;
    std::span<const MenuItem> items;
};

// The pop-ups of menu 128, 129 or 135, left to right; empty for other ids.
std::span<const MenuPopup> menuPopups(int menuId);

// The game text that replaces a menu text: a command's item wherever it
// stands, or a pop-up title by its place in the main menu without and with
// a document open (nothing where that menu has no such pop-up).
struct MenuRelabel {
    int textId;
    int command = 0;
    std::optional<int> popupInNoDocumentMenu;
    std::optional<int> popupInDocumentMenu;
};

std::span<const MenuRelabel> menuRelabels();
// The command whose item leaves the File pop-up when the game's texts are
// loaded (the game has no use for a new, empty bank).
inline constexpr int commandRemovedWithGameTexts = 57600;
// A main menu with this many pop-ups or more is the document menu.
inline constexpr int documentMenuPopupCount = 4;

// The game texts of the edit box's right-button menu, by command.
struct EditMenuText {
    int command;
    int textId;
};
std::span<const EditMenuText> editBoxMenuTexts();

// A key (in the portable notation "Ctrl+N", "Shift+F6") and its command.
struct Accelerator {
    std::string_view keys;
    int command;
};
std::span<const Accelerator> accelerators();

// The name of the one toolbar command that no menu names (the help pointer),
// for screen readers and the What's This help.
inline constexpr std::string_view contextHelpName = "Aide contextuelle";

// The toolbar's places, left to right; 0 is a gap.
std::span<const int> toolbarCommands();
inline constexpr int toolbarIconWidth = 16;
inline constexpr int toolbarIconHeight = 15;

// The status bar's lock panes, after the message pane.
enum class LockKey { Caps, Num, Scroll };
struct LockPane {
    LockKey key;
    std::string_view text;
};
std::span<const LockPane> lockPanes();

}  // namespace calyx::editor
