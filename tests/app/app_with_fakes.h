#pragma once

#include "app/klvn_main_app.h"
#include "dialogs/scripted_dialog_runner.h"
#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"

#include <string>
#include <utility>

namespace kelvane::test {

// The application over services that tests script and inspect: message
// boxes recorded, file dialogs answered, repaints counted, dialogs run by
// `Runner`.
template <class Runner = ScriptedDialogRunner> struct AppWithFakes {
    explicit AppWithFakes(std::string moduleTable = "/nonexistent.ini")
        : app({messageBoxes, fileDialogs, repaint, profile, dialogs}, std::move(moduleTable)) {}

    MessageBoxRecorder messageBoxes;
    ScriptedFileDialogs fileDialogs;
    RepaintCounter repaint;
    MemoryProfile profile;
    Runner dialogs;
    CKLVN_MAINApp app;
};

} // namespace kelvane::test
