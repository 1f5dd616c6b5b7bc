// The base of the widget tests that open documents: the editor's main
// window, without a sound device, and its document manager.
#pragma once

#include <QObject>
#include <QtGlobal>
#include <memory>

#include "audio/wave_out_device.h"
#include "editor/core/game_strings.h"
#include "editor/widgets/document_manager.h"
#include "editor/widgets/main_frame.h"
#include "editor/widgets/message_box.h"
#include "fixtures/temp_dir.h"

namespace calyx::editor::test {

class EditorWindowTest : public QObject {
protected:
    // Creates the window and its document manager and shows the window. The
    // missing sound device is reported through the message-box hook.
    void createWindow() {
        frame_ = std::make_unique<CMainFrame>(strings_, [] { return std::unique_ptr<audio::WaveOutDevice>(); });
        if (!frame_->Create()) qFatal("the main window was not created");
        manager_ = std::make_unique<DocumentManager>(*frame_, strings_, nullptr);
        frame_->show();
    }
    // Closes every document and the window; boxes are shown again.
    void destroyWindow() {
        manager_.reset();
        frame_.reset();
        setMessageBoxHook({});
    }

    fixtures::TempDir dir_;
    GameStrings strings_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<DocumentManager> manager_;
};

}  // namespace calyx::editor::test
