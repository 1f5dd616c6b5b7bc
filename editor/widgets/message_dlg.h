// The editor's own message box: a fixed dialog with up to three buttons that
// carry the game's texts (or the French ones), an optional icon and a
// read-only, centred text box. A line too long for the box widens the dialog.
#pragma once

#include <QDialog>
#include <array>

#include "editor/core/message_box.h"

class QLabel;
class QPushButton;
class QTextEdit;

namespace calyx::editor {

class GameStrings;

namespace message_dlg {
inline constexpr int dialogId = 136;
inline constexpr const char* caption = "CalyxSound";
// Controls, by the ids tests and tools find them with (their object names).
inline constexpr int firstButton = 1017;
inline constexpr int secondButton = 1016;
inline constexpr int thirdButton = 3;
inline constexpr int icon = 1019;
inline constexpr int text = 1018;
}  // namespace message_dlg

class CMessageDlg : public QDialog {
    Q_OBJECT
public:
    CMessageDlg(const QString& text, unsigned style, const GameStrings& strings, QWidget* parent = nullptr);

    // The answer: OK (1), Cancel (2), Yes (6) or No (7).
    MessageResult result() const { return result_; }
    // Shows the dialog modally and answers the result.
    MessageResult run();

    QPushButton* button(ButtonSlot slot) const;
    QTextEdit* textBox() const { return textBox_; }
    QLabel* iconLabel() const { return icon_; }

protected:
    void reject() override;

private:
    void press(ButtonSlot slot);
    void fitToText(const QString& text);
    void layOutButtons();

    ButtonSet set_;
    MessageResult result_;
    std::array<QPushButton*, 3> buttons_{};
    QLabel* icon_;
    QTextEdit* textBox_;
};

}  // namespace calyx::editor
