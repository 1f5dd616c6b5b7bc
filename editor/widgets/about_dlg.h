// The about box: the program's icon, name and version, and its author. With
// the game's texts its caption is text 97 followed by "Calyx" and the author
// label is text 98.
#pragma once

#include <QDialog>

class QLabel;

namespace calyx::editor {

class GameStrings;

namespace about_dlg {
inline constexpr int dialogId = 100;
inline constexpr const char* caption = "A propos de Calyx";
inline constexpr int authorLabel = 1020;
inline constexpr const char* authorLabelText = "Auteur:";
inline constexpr int captionTextId = 97;
inline constexpr int authorTextId = 98;
}  // namespace about_dlg

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // The application's game strings are used when there is an application.
    explicit CAboutDlg(QWidget* parent = nullptr);
    CAboutDlg(const GameStrings& strings, QWidget* parent = nullptr);

    QLabel* authorLabel() const { return author_; }

private:
    QLabel* author_;
};

}  // namespace calyx::editor
