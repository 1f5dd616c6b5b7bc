#include "editor/core/message_box.h"

#include "editor/core/messages.h"

namespace calyx::editor {

namespace {

constexpr MessageEntry okButton{148, "OK", "OK"};
constexpr MessageEntry yesButton{149, "Oui", "Yes"};
constexpr MessageEntry noButton{150, "Non", "No"};
constexpr MessageEntry cancelButton{151, "Annuler", "Cancel"};

ButtonFace face(const MessageEntry& entry, const GameStrings& strings) {
    return {true, resolveMessage(entry, strings).value_or(UiText{})};
}

}  // namespace

bool showsOwnDialog(unsigned style) {
    switch (style & message_style::typeMask) {
    case message_style::ok:
    case message_style::okCancel:
    case message_style::yesNoCancel:
    case message_style::yesNo: return true;
    default: return false;
    }
}

MessageIcon iconForStyle(unsigned style) {
    if (style & message_style::exclamation) return MessageIcon::Exclamation;
    if (style & message_style::information) return MessageIcon::Information;
    return MessageIcon::None;
}

ButtonSet buttonSetForStyle(unsigned style) {
    // Taken from the button type alone, so that a question that also asks
    // for an icon keeps its Cancel or No button.
    switch (style & message_style::typeMask) {
    case message_style::okCancel: return ButtonSet::OkCancel;
    case message_style::yesNoCancel: return ButtonSet::YesNoCancel;
    case message_style::yesNo: return ButtonSet::YesNo;
    default: return ButtonSet::Ok;
    }
}

std::array<ButtonFace, 3> buttonFaces(ButtonSet set, const GameStrings& strings) {
    std::array<ButtonFace, 3> faces{};
    switch (set) {
    case ButtonSet::Ok: faces[0] = face(okButton, strings); break;
    case ButtonSet::OkCancel:
        faces[0] = face(okButton, strings);
        faces[1] = face(cancelButton, strings);
        break;
    case ButtonSet::YesNo:
        faces[0] = face(yesButton, strings);
        faces[1] = face(noButton, strings);
        break;
    case ButtonSet::YesNoCancel:
        faces[0] = face(yesButton, strings);
        faces[1] = face(noButton, strings);
        faces[2] = face(cancelButton, strings);
        break;
    }
    return faces;
}

MessageResult messageBoxResult(ButtonSet set, std::optional<ButtonSlot> pressed) {
    if (!pressed) return MessageResult::Cancel;
    switch (*pressed) {
    case ButtonSlot::First:
        return set == ButtonSet::Ok || set == ButtonSet::OkCancel ? MessageResult::Ok : MessageResult::Yes;
    case ButtonSlot::Second:
        return set == ButtonSet::YesNo || set == ButtonSet::YesNoCancel ? MessageResult::No
                                                                        : MessageResult::Cancel;
    case ButtonSlot::Third: return MessageResult::Cancel;
    }
    return MessageResult::Cancel;
}

}  // namespace calyx::editor
