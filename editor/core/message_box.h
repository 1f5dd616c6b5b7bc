// The decisions of the editor's message box, apart from its window: which
// boxes it shows itself, with which icon and buttons, and what it answers.
//
// A style is the usual message-box style word: its low four bits are the
// button type, bits 0x10/0x20 ask for the exclamation icon, 0x40 for the
// information icon.
#pragma once

#include <array>
#include <optional>

#include "editor/core/game_strings.h"
#include "editor/core/ui_text.h"

namespace calyx::editor {

namespace message_style {
inline constexpr unsigned ok = 0;
inline constexpr unsigned okCancel = 1;
inline constexpr unsigned abortRetryIgnore = 2;
inline constexpr unsigned yesNoCancel = 3;
inline constexpr unsigned yesNo = 4;
inline constexpr unsigned retryCancel = 5;
inline constexpr unsigned cancelTryContinue = 6;
inline constexpr unsigned typeMask = 0x0F;
// Errors are shown with this style, help texts with `information`.
inline constexpr unsigned exclamation = 0x30;
inline constexpr unsigned information = 0x40;
}  // namespace message_style

// What a message box answers: the button pressed, by the system's numbers.
// The editor's own dialog answers OK, Cancel, Yes or No; the others come
// from the standard box's kinds.
enum class MessageResult : int {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
    TryAgain = 10,
    Continue = 11,
};

enum class MessageIcon { None, Exclamation, Information };
enum class ButtonSet { Ok, OkCancel, YesNo, YesNoCancel };
// The dialog's three buttons in the order they are filled (controls 1017,
// 1016 and 3 of the dialog).
enum class ButtonSlot { First, Second, Third };

struct ButtonFace {
    bool visible = false;
    UiText text;
};

// True for the kinds the editor's own dialog shows (OK, OK/Cancel,
// Yes/No/Cancel, Yes/No); the others go to the system's message box.
bool showsOwnDialog(unsigned style);
MessageIcon iconForStyle(unsigned style);
// The buttons for the style's button type: OK/Cancel, Yes/No/Cancel, Yes/No,
// and OK alone for any other type.
ButtonSet buttonSetForStyle(unsigned style);
// The face of each button, in slot order: game texts 148 (OK), 149 (Yes),
// 150 (No) and 151 (Cancel) when there, else "OK", "Oui", "Non", "Annuler".
std::array<ButtonFace, 3> buttonFaces(ButtonSet set, const GameStrings& strings);
// The answer for the button pressed; nothing pressed (the dialog was closed
// another way) answers Cancel.
MessageResult messageBoxResult(ButtonSet set, std::optional<ButtonSlot> pressed);

}  // namespace calyx::editor
