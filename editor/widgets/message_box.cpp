#include "editor/widgets/message_box.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "editor/core/game_strings.h"
#include "editor/core/message_box.h"
#include "editor/widgets/calyx_app.h"
#include "editor/widgets/message_dlg.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

namespace {

std::optional<bool> screenForPerson;
MessageBoxHook hook;


void writeToStandardError(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(applicationCaption()), qUtf8Printable(line));
    std::fflush(stderr);
}

MessageResult showStandardBox(QWidget* parent, const QString& text, unsigned style) {
    QMessageBox box(parent);
    box.setWindowTitle(applicationCaption());
    box.setText(text);
    switch (iconForStyle(style)) {
    case MessageIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::None: break;
    }
    std::vector<std::pair<QAbstractButton*, MessageResult>> answers;
    const auto add = [&](QMessageBox::StandardButton button, MessageResult answer) {
        answers.emplace_back(box.addButton(button), answer);
    };
    switch (style & message_style::typeMask) {
    case message_style::abortRetryIgnore:
        add(QMessageBox::Abort, MessageResult::Abort);
        add(QMessageBox::Retry, MessageResult::Retry);
        add(QMessageBox::Ignore, MessageResult::Ignore);
        break;
    case message_style::retryCancel:
        add(QMessageBox::Retry, MessageResult::Retry);
        add(QMessageBox::Cancel, MessageResult::Cancel);
        break;
    case message_style::cancelTryContinue:
        add(QMessageBox::Cancel, MessageResult::Cancel);
        answers.emplace_back(box.addButton(QObject::tr("Try Again"), QMessageBox::AcceptRole), MessageResult::TryAgain);
        answers.emplace_back(box.addButton(QObject::tr("Continue"), QMessageBox::AcceptRole), MessageResult::Continue);
        break;
    default: add(QMessageBox::Ok, MessageResult::Ok); break;
    }
    box.exec();
    for (const auto& [button, answer] : answers) {
        if (box.clickedButton() == button) return answer;
    }
    return MessageResult::Cancel;
}

}  // namespace

void setScreenForPerson(std::optional<bool> shown) { screenForPerson = shown; }

bool hasScreenForPerson() {
    if (screenForPerson) return *screenForPerson;
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

MessageBoxHook setMessageBoxHook(MessageBoxHook newHook) {
    MessageBoxHook old = std::move(hook);
    hook = std::move(newHook);
    return old;
}

QString applicationCaption() { return QStringLiteral("Calyx"); }

MessageResult showMessageBox(QWidget* parent, const QString& text, unsigned style, const GameStrings& strings) {
    if (!hasScreenForPerson()) {
        writeToStandardError(text);
        return MessageResult::Cancel;
    }
    if (!showsOwnDialog(style)) return showStandardBox(parent, text, style);
    CMessageDlg dialog(text, style, strings, parent);
    return dialog.run();
}

MessageResult messageBox(const QString& text, unsigned style, unsigned helpId) {
    if (hook) return hook(text, style, helpId);
    if (CCalyxApp* app = CCalyxApp::instance()) return app->DoMessageBox(text, style, helpId);
    static const GameStrings builtIn;
    return showMessageBox(QApplication::activeWindow(), text, style, builtIn);
}

MessageResult messageBox(const UiText& text, unsigned style, unsigned helpId) {
    return messageBox(toQString(text), style, helpId);
}

}  // namespace calyx::editor
