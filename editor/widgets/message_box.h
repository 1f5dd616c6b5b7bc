// The one way the editor shows a message: every part of it calls
// `messageBox` with the text, the style word (editor/core/message_box.h) and
// a help id, and gets the answer (message_result).
//
// OK, OK/Cancel, Yes/No and Yes/No/Cancel boxes are the editor's own
// `CMessageDlg`; other kinds are the toolkit's standard box. When nobody can
// see a box (offscreen rendering, printing to a file, tests), the message is
// written to standard error instead and answered as a box closed without a
// button (Cancel), so that nothing waits for a click that never comes.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "editor/core/message_box.h"
#include "editor/core/ui_text.h"

class QWidget;

namespace calyx::editor {

class GameStrings;

MessageResult messageBox(const QString& text, unsigned style, unsigned helpId = 0);
MessageResult messageBox(const UiText& text, unsigned style, unsigned helpId = 0);

// Whether boxes are shown to a person: by default, unless Qt runs on a
// platform without a screen (offscreen, minimal). A run that renders to
// files, or a test that clicks the boxes itself, says so here.
void setScreenForPerson(std::optional<bool> shown);
bool hasScreenForPerson();

// Where `messageBox` sends its messages. Without a hook the box is shown
// with the application's game strings (see showMessageBox). Answers the
// hook that was in place.
using MessageBoxHook = std::function<MessageResult(const QString& text, unsigned style, unsigned helpId)>;
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Shows the box for `style` (the editor's dialog or the standard one), or
// writes the text to standard error when there is no screen for a person.
MessageResult showMessageBox(QWidget* parent, const QString& text, unsigned style, const GameStrings& strings);

// The caption of the standard box and of the text written to standard error.
QString applicationCaption();

}  // namespace calyx::editor
