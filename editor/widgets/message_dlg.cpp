#include "editor/widgets/message_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <vector>

#include "editor/core/accessible_names.h"
#include "editor/core/game_strings.h"
#include "editor/core/message_layout.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/dialog_units.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

namespace {

// The dialog's template, in dialog units.
struct ControlPlace {
    int id, x, y, width, height;
};
constexpr int dialogWidth = 190;
constexpr int dialogHeight = 81;
constexpr std::array<ControlPlace, 3> buttonPlaces{{
    {message_dlg::firstButton, 15, 65, 50, 14},
    {message_dlg::secondButton, 70, 65, 50, 14},
    {message_dlg::thirdButton, 125, 65, 50, 14},
}};
constexpr ControlPlace textPlace{message_dlg::text, 41, 17, 142, 43};
constexpr ControlPlace iconPlace{message_dlg::icon, 10, 17, 21, 20};
constexpr int iconPixels = 32;

QIcon standardIcon(MessageIcon icon) {
    QStyle* style = QApplication::style();
    switch (icon) {
    case MessageIcon::Exclamation: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case MessageIcon::Information: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case MessageIcon::None: break;
    }
    return {};
}

}  // namespace

CMessageDlg::CMessageDlg(const QString& text, unsigned style, const GameStrings& strings, QWidget* parent)
    : QDialog(parent),
      set_(buttonSetForStyle(style)),
      result_(messageBoxResult(set_, std::nullopt)),
      icon_(new QLabel(this)),
      textBox_(new QTextEdit(this)) {
    setObjectName(QString::number(message_dlg::dialogId));
    setWindowTitle(QString::fromLatin1(message_dlg::caption));
    setAccessibleName(windowTitle());
    const DialogUnits units = DialogUnits::of(*this);

    const auto faces = buttonFaces(set_, strings);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const ControlPlace& place = buttonPlaces[i];
        auto* button = new QPushButton(toQString(faces[i].text), this);
        button->setObjectName(QString::number(place.id));
        placeInDialogUnits(*button, units, place.x, place.y, place.width, place.height);
        button->setVisible(faces[i].visible);
        const auto slot = static_cast<ButtonSlot>(i);
        connect(button, &QPushButton::clicked, this, [this, slot] { press(slot); });
        buttons_[i] = button;
    }
    buttons_[0]->setDefault(true);

    icon_->setObjectName(QString::number(message_dlg::icon));
    placeInDialogUnits(*icon_, units, iconPlace.x, iconPlace.y, iconPlace.width, iconPlace.height);
    icon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QIcon icon = standardIcon(iconForStyle(style));
    icon_->setVisible(!icon.isNull());
    if (!icon.isNull()) {
        icon_->setPixmap(icon.pixmap(iconPixels, iconPixels));
        const auto& name = iconForStyle(style) == MessageIcon::Information ? accessible_name::informationIcon
                                                                            : accessible_name::warningIcon;
        icon_->setAccessibleName(fromBuiltIn(name.in(CCalyxApp::currentInterfaceLanguage())));
    }

    textBox_->setObjectName(QString::number(message_dlg::text));
    placeInDialogUnits(*textBox_, units, textPlace.x, textPlace.y, textPlace.width, textPlace.height);
    textBox_->setReadOnly(true);
    textBox_->setFrameShape(QFrame::NoFrame);
    textBox_->viewport()->setAutoFillBackground(false);
    textBox_->setFocusPolicy(Qt::NoFocus);

    resize(units.size(dialogWidth, dialogHeight));
    fitToText(text);
    setFixedSize(size());
    layOutButtons();
}

QPushButton* CMessageDlg::button(ButtonSlot slot) const { return buttons_[static_cast<std::size_t>(slot)]; }

MessageResult CMessageDlg::run() {
    exec();
    return result_;
}

void CMessageDlg::reject() {
    result_ = messageBoxResult(set_, std::nullopt);
    QDialog::reject();
}

void CMessageDlg::press(ButtonSlot slot) {
    result_ = messageBoxResult(set_, slot);
    done(static_cast<int>(result_));
}

void CMessageDlg::fitToText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Never wider than the main window: longer lines wrap.
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const int widest = owner ? std::min(widestMessageBox, owner->width()) : widestMessageBox;
    if (const auto widths = widenedMessageBox(longestLineLength(text.toStdString()), textBox_->width(), widest)) {
        resize(widths->dialog, height());
        textBox_->resize(widths->textBox, textBox_->height());
    }
    textBox_->setPlainText(shown);
    for (QTextBlock block = textBox_->document()->begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat format = cursor.blockFormat();
        format.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(format);
    }
    textBox_->setAccessibleName(shown);
    // Many lines make the box taller, the buttons moving down with it.
    textBox_->document()->setTextWidth(textBox_->viewport()->width());
    const int textHeight = static_cast<int>(std::ceil(textBox_->document()->size().height()));
    const int growth = messageBoxGrowth(textHeight, textBox_->viewport()->height(), height(),
                                        screen()->availableGeometry().height());
    if (growth == 0) return;
    resize(width(), height() + growth);
    textBox_->resize(textBox_->width(), textBox_->height() + growth);
    for (QPushButton* button : buttons_) button->move(button->x(), button->y() + growth);
}

void CMessageDlg::layOutButtons() {
    std::vector<QPushButton*> visible;
    std::vector<int> widths;
    for (QPushButton* button : buttons_) {
        if (button->isHidden()) continue;
        visible.push_back(button);
        widths.push_back(button->width());
    }
    const std::vector<int> lefts = buttonRowLefts(width(), widths);
    // Buttons keep their size and their height in the dialog.
    for (std::size_t i = 0; i < visible.size(); ++i) visible[i]->move(lefts[i], visible[i]->y());
}

}  // namespace calyx::editor
