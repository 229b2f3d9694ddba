// SPDX-License-Identifier: MIT
#include "cli/file_model_setting_script.h"

#include "cli/cli_session.h"
#include "cli/console_output.h"
#include "dialogs/model_name.h"
#include "res/dialog_ids.h"

namespace kelvane {
namespace {

// The model the project saves with now, which the model field must hold on
// OK unless another is chosen: the dialog opens it on an installed model.
std::string ProjectModel(const ProjectSettings& settings) {
    return settings.m_strSelectedModelName.empty() ? settings.m_strModelName
                                                   : settings.m_strSelectedModelName;
}

std::string FrdFilesText(int count) {
    return count == 1 ? "one FRD file" : std::to_string(count) + " FRD files";
}

// What the script did; it runs inside the dialog's modal run.
struct ScriptOutcome {
    bool ran = false;
    bool pressedOk = false;
};

class FileModelSettingScript {
public:
    FileModelSettingScript(const FileModelOptions& options, const std::string& model,
                           bool frdListKeptAsRead, ScriptOutcome& outcome)
        : m_options(options), m_model(model), m_frdListKeptAsRead(frdListKeptAsRead),
          m_outcome(outcome) {}

    void operator()(CDialog& dialog, MemoryDialogControls& controls) const {
        m_outcome.ran = true;
        if (m_options.mpvFile &&
            !Act(controls.Type(IDC_MPV_FILE, *m_options.mpvFile), "--mpv", "the field is disabled"))
            return;
        if (m_options.mciFile && !Act(controls.Type(IDC_MCI_FILE, *m_options.mciFile), "--mci",
                                      "the project names no MCI file"))
            return;
        for (const FileModelOptions::FrdPath& frd : m_options.frdFiles)
            if (!TypeFrdPath(dialog, controls, frd))
                return;
        if (m_options.frdToMpvDir) {
            // The path typed last reaches its target only when a target is
            // chosen; choosing the same again stores it, so it moves too.
            if (!m_options.frdFiles.empty())
                controls.Select(dialog, IDC_FRD_TARGET, controls.GetCurSel(IDC_FRD_TARGET));
            if (!Act(controls.Click(dialog, IDC_CONVERT_TO_MPV_DIR), "--frd-to-mpv-dir",
                     NoFrdFiles()))
                return;
        }
        if (!Act(controls.Type(IDC_MODEL, m_model), "--model", "the field is disabled"))
            return;
        m_outcome.pressedOk =
            controls.Click(dialog, IDOK) && controls.Ended() && controls.Result() == IDOK;
        if (m_outcome.pressedOk)
            return;
        PrintProblem("the Files & ICE model setting dialog did not take the settings");
        if (!m_options.model && !IsValidModelName(UpperCaseModelName(m_model)))
            PrintProblem("the project's model name " + m_model +
                         " is not one the dialog takes; give --model as well");
    }

private:
    bool TypeFrdPath(CDialog& dialog, MemoryDialogControls& controls,
                     const FileModelOptions::FrdPath& frd) const {
        const std::string option = "--frd " + std::to_string(frd.target);
        const int count = controls.GetCount(IDC_FRD_TARGET);
        if (count != 0 && frd.target > count) {
            PrintProblem(option + ": the project has only " + FrdFilesText(count));
            return false;
        }
        return Act(controls.Select(dialog, IDC_FRD_TARGET, frd.target - 1) &&
                       controls.Type(IDC_FRD_FILE, frd.path),
                   option, NoFrdFiles());
    }

    std::string NoFrdFiles() const {
        return m_frdListKeptAsRead ? "the project's FRD list holds a path too long to edit; "
                                     "it is saved as read"
                                   : "the project has no FRD files";
    }

    // Reports a refused action; true when it was done.
    static bool Act(bool done, const std::string& option, const std::string& why) {
        if (!done)
            PrintProblem(option + ": " + why);
        return done;
    }

    const FileModelOptions& m_options;
    const std::string& m_model;
    const bool m_frdListKeptAsRead;
    ScriptOutcome& m_outcome;
};

} // namespace

bool ApplyFileModelOptions(Session& session, const FileModelOptions& options) {
    const ProjectSettings& settings = session.app.Settings();
    const std::string model = options.model.value_or(ProjectModel(settings));
    // OK takes the files only with a model: without one named anywhere, the
    // dialog would store the first installed model or refuse.
    if (model.empty() && !options.model) {
        PrintProblem("the project names no model, and the dialog takes the files only with one; "
                     "give --model as well");
        return false;
    }
    const std::string selectedBefore = settings.m_strSelectedModelName;
    ScriptOutcome outcome;
    session.dialogs.SetScript(
        IDD_FILE_MODEL_SETTING,
        FileModelSettingScript(options, model, session.app.Fsr().IsCarriedAsRead(FSR_FRD_LIST),
                               outcome));
    session.app.OnFileModelSetting();
    // The script refers to this call's outcome: a later run only cancels.
    session.dialogs.SetScript(IDD_FILE_MODEL_SETTING, [](CDialog&, MemoryDialogControls&) {});
    if (!outcome.ran)
        PrintProblem("the Files & ICE model setting dialog could not be run");
    if (!outcome.ran || !outcome.pressedOk)
        return false;
    // OK stores the name typed back upper-cased, and that case mapping does
    // not know two-byte characters: the name not asked for stays as read.
    if (!options.model)
        session.app.Settings().m_strSelectedModelName = selectedBefore;
    // The save rewrites the FSR file's FRD list only when the MPV file is in
    // a folder; edited paths would otherwise be dropped without a word.
    const bool frdEdited = !options.frdFiles.empty() || options.frdToMpvDir;
    if (frdEdited && settings.m_szMpvDir[0] == '\0') {
        PrintProblem(std::string(options.frdFiles.empty() ? "--frd-to-mpv-dir" : "--frd") +
                     ": the FRD paths are saved only with an MPV file in a folder; give --mpv "
                     "with its folder as well");
        return false;
    }
    return true;
}

} // namespace kelvane
