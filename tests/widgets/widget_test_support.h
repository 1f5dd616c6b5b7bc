// Shared helpers of the widget tests: game string tables, recording message
// boxes and answering a modal dialog from the event loop.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <vector>

#include "editor/core/game_strings.h"
#include "editor/core/message_box.h"
#include "editor/widgets/message_box.h"
#include "fixtures/game_strings_table.h"

namespace calyx::editor::test {

using fixtures::gameStrings;

// The demo's English menu and prompt texts, as far as the tests need them.
inline GameStrings englishStrings() {
    return gameStrings({
        {70, "&File"}, {72, "&Open...\\tCtrl+O"}, {73, "Print Set&up..."}, {74, "E&xit"}, {75, "&Close"},
        {76, "&Save\\tCtrl+S"}, {77, "Save &As..."}, {78, "&Print...\\tCtrl+P"}, {79, "Print Pre&view"},
        {80, "&Edit"}, {81, "&Undo\\tCtrl+Z"}, {82, "Cu&t\\tCtrl+X"}, {83, "&Copy\\tCtrl+C"},
        {84, "&Paste\\tCtrl+V"}, {85, "&View"}, {86, "&Toolbar"}, {87, "&Status Bar"}, {88, "&Window"},
        {89, "&Cascade"}, {90, "&Tile"}, {91, "&Arrange Icons"}, {92, "&Help"}, {93, "&Help Topics"},
        {94, "&About Calyx..."}, {95, "&Delete"}, {96, "Select &All"}, {97, "About "}, {98, "Author:"},
        {101, "Open a sound bank\\nOpen"}, {103, "Save the bank\\nSave"}, {109, "About the program\\nAbout"},
        {116, "Open this bank"}, {138, "Ready"}, {139, "Click a button or menu for help"},
        {140, "The sound device cannot be opened"},
        {148, "Okay"}, {149, "Yes"}, {150, "No"}, {151, "Cancel"},
    });
}

// Sends every message box to the test: an OK/Cancel question is added to
// `questions`; every box is answered with `answer` as it is then.
inline void recordQuestions(QStringList& questions, const MessageResult& answer) {
    setMessageBoxHook([&questions, &answer](const QString& text, unsigned style, unsigned) {
        if ((style & message_style::typeMask) == message_style::okCancel) questions << text;
        return answer;
    });
}

// Runs `answer` on the next modal dialog once it shows (checked from the
// event loop, so that a test can open a dialog with exec()).
inline void whenDialogShows(std::function<void(QDialog&)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(*dialog);
        }
    });
    timer->start();
}

}  // namespace calyx::editor::test
