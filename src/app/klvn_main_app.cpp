// SPDX-License-Identifier: MIT
#include "app/klvn_main_app.h"

#include "convert/module_discovery.h"
#include "platform/files/file_name_case.h"
#include "platform/files/file_reader.h"
#include "platform/files/file_set_transaction.h"
#include "platform/text/code_page.h"
#include "res/failure_reason.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/file_set_naming.h"
#include "store/file_snapshot.h"
#include "store/path_helpers.h"
#include "store/validate_settings.h"
#include "store/write_failure.h"
#include "ui/browse_for_file.h"

#include <array>
#include <cerrno>
#include <cstdlib>

namespace kelvane {
namespace {

constexpr unsigned kReportStyle = MB_OK | MB_ICONEXCLAMATION;
constexpr unsigned kOverwriteStyle = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
static_assert(kReportStyle == 0x30 && kOverwriteStyle == 0x134);

constexpr ProjectFileKind kCompanionKinds[] = {FILE_UER, FILE_SBU, FILE_MCR};
constexpr int kDefaultLockTimeout = 10;

// The buttons of the question about a file another program changed, in order.
enum ChangedFileButton : size_t { kOverwriteButton, kReloadButton, kCancelButton };

// How long a save waits for another save of the same project.
int LockTimeoutSeconds() {
    const char* value = std::getenv("KELVANE_LOCK_TIMEOUT");
    if (value == nullptr || *value == '\0')
        return kDefaultLockTimeout;
    char* end = nullptr;
    const long seconds = std::strtol(value, &end, 10);
    return *end == '\0' && seconds >= 0 && seconds <= 3600 ? static_cast<int>(seconds)
                                                           : kDefaultLockTimeout;
}

} // namespace

CKLVN_MAINApp::CKLVN_MAINApp(FrameworkServices services, std::string moduleTablePath)
    : m_services(services), m_strModuleTablePath(std::move(moduleTablePath)),
      m_definitions(m_settings), m_fsr(m_settings),
      m_uer(m_settings, FILE_UER, services.messageBoxes),
      m_sbu(m_settings, FILE_SBU, services.messageBoxes),
      m_mcr(m_settings, FILE_MCR, services.messageBoxes) {}

// The code page belongs to the project; the next application starts afresh.
CKLVN_MAINApp::~CKLVN_MAINApp() {
    SetProjectCodePage("");
}

CompanionBuffer& CKLVN_MAINApp::Companion(ProjectFileKind kind) {
    return kind == FILE_UER ? m_uer : kind == FILE_SBU ? m_sbu : m_mcr;
}

const CompanionBuffer& CKLVN_MAINApp::Companion(ProjectFileKind kind) const {
    return kind == FILE_UER ? m_uer : kind == FILE_SBU ? m_sbu : m_mcr;
}

std::string CKLVN_MAINApp::CurrentProjectPath() const {
    return JoinPath(m_settings.m_strProjectDir, m_settings.m_fileSet[FILE_FSP].m_strName);
}

int CKLVN_MAINApp::BrowseForFile(std::string& path, int kind) {
    return kelvane::BrowseForFile(path, kind, m_settings, m_services.profile,
                                  m_services.fileDialogs);
}

void CKLVN_MAINApp::Report(unsigned messageId, const std::string& reason) {
    m_services.messageBoxes.MessageBox(LoadResourceString(messageId) + "(" + reason + ")",
                                       LoadResourceString(IDS_CAPTION_REPORT), kReportStyle);
}

void CKLVN_MAINApp::ShowReport(const std::string& text) {
    m_services.messageBoxes.MessageBox(text, LoadResourceString(IDS_CAPTION_REPORT), kReportStyle);
}

void CKLVN_MAINApp::ReportNotInSync() {
    const ProjectFileEntry& fsr = m_settings.m_fileSet[FILE_FSR];
    const std::string& fspName = m_settings.m_fileSet[FILE_FSP].m_strName;
    std::string text = LoadResourceString(IDS_FSR_NOT_IN_SYNC);
    text += LoadResourceString(IDS_FSP_FILE_NAME);
    text += fsr.m_bFullPath ? JoinPath(m_settings.m_strProjectDir, fspName) : fspName;
    text += "\n";
    text += LoadResourceString(IDS_FSR_FILE_NAME);
    text += fsr.m_strName;
    m_services.messageBoxes.MessageBox(text, LoadResourceString(IDS_CAPTION_REPORT), kReportStyle);
}

void CKLVN_MAINApp::OnOpenProject() {
    std::string path;
    if (BrowseForFile(path, FILE_DIALOG_PROJECT_OPEN) == 1 && SaveModified()) {
        LoadProject(path);
        m_bModified = m_bRelinked && m_settings.m_bProjectLoaded;
    }
    m_services.repaint.Repaint();
}

void CKLVN_MAINApp::OpenProjectPath(const std::string& path) {
    std::string checked = path;
    if (CheckExtension(checked, "FSP", 0) == 0 && SaveModified()) {
        LoadProject(path);
        m_bModified = m_bRelinked && m_settings.m_bProjectLoaded;
    }
    m_services.repaint.Repaint();
}

bool CKLVN_MAINApp::SaveModified() {
    if (!m_bModified)
        return true;
    switch (m_services.messageBoxes.MessageBox(
        FormatResourceString(IDS_SAVE_CHANGES, {CurrentProjectPath()}),
        LoadResourceString(IDS_CAPTION_CONFIRM), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        // The user has just said to save: asking to overwrite again, with No
        // as the default, would let Enter drop both the save and the exit.
        return SaveInPlace();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CKLVN_MAINApp::OnSaveProject() {
    const int answer = m_services.messageBoxes.MessageBox(
        FormatResourceString(IDS_OVERWRITE_QUESTION, {CurrentProjectPath()}),
        LoadResourceString(IDS_CAPTION_CONFIRM), kOverwriteStyle);
    if (answer == IDYES)
        return SaveInPlace();
    m_services.repaint.Repaint();
    return false;
}

bool CKLVN_MAINApp::SaveInPlace() {
    const bool saved = SaveProject(CurrentProjectPath());
    m_bModified = m_bModified && !saved;
    m_services.repaint.Repaint();
    return saved;
}

bool CKLVN_MAINApp::OnSaveProjectAs() {
    std::string path;
    const bool saved = BrowseForFile(path, FILE_DIALOG_PROJECT_SAVE_AS) == 1 && SaveProject(path);
    m_bModified = m_bModified && !saved;
    m_services.repaint.Repaint();
    return saved;
}

bool CKLVN_MAINApp::RelinkIfMoved(ProjectFileKind kind, std::optional<bool>& answer) {
    ProjectFileEntry& entry = m_settings.m_fileSet[kind];
    if (entry.m_bInSync || entry.m_strMovedFrom.empty())
        return false;
    const std::string beside = JoinPath(m_settings.m_strProjectDir, entry.m_strNewName);
    if (KindOfPath(beside) != PathKind::RegularFile)
        return false;
    if (!answer) {
        answer = m_movedProject == MovedProject::Relink;
        if (m_movedProject == MovedProject::Ask)
            answer = m_services.messageBoxes.MessageBox(
                         FormatResourceString(IDS_PROJECT_MOVED, {entry.m_strMovedFrom}),
                         LoadResourceString(IDS_CAPTION_CONFIRM),
                         MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    }
    if (!*answer) {
        m_strMovedFrom = entry.m_strMovedFrom;
        return false;
    }
    entry.m_strName = beside;
    entry.m_bInSync = 1;
    entry.m_strMovedFrom.clear();
    m_bRelinked = true;
    return true;
}

void CKLVN_MAINApp::LoadProject(const std::string& requestedPath) {
    // The project's texts, its file names among them, are read in its code page.
    const std::string path =
        UseCodePageOfProject(requestedPath, m_services.profile, &m_codePageOrigin);
    m_settings.m_bProjectLoaded = false;
    m_settings.m_strLastError.clear();
    m_strMovedFrom.clear();
    m_bRelinked = false;
    const bool projectFileRead =
        m_definitions.ReadDefinitionFile(path) && m_definitions.ReadFileSettings(path) &&
        m_definitions.ReadModelSettings() && m_definitions.ReadCommSettings();
    if (!projectFileRead) {
        Report(IDS_FSP_READ_FAILURE, m_settings.m_strLastError);
        return;
    }
    m_services.profile.WriteProfileString("Settings", "DefaultDir", m_settings.m_strProjectDir);

    std::optional<bool> useFilesBeside;
    for (const ProjectFileKind kind : {FILE_FSR, FILE_SBU, FILE_MCR})
        RelinkIfMoved(kind, useFilesBeside);
    const ProjectFileEntry& fsr = m_settings.m_fileSet[FILE_FSR];
    if (fsr.m_bInSync) {
        if (!m_fsr.ReadFsrFile(PathToLoad(fsr, m_settings)) || !m_fsr.CheckFsrReferences(path)) {
            Report(IDS_FSR_READ_FAILURE, m_settings.m_strLastError);
            return;
        }
        m_settings.m_bProjectLoaded = true;
        // The FSR file names the UER file.
        RelinkIfMoved(FILE_UER, useFilesBeside);
    } else {
        ReportNotInSync();
    }

    // The UER entry was set by the FSR file just read, or still holds what
    // the previous open left when the FSR file was not in sync.
    for (const ProjectFileKind kind : kCompanionKinds) {
        const ProjectFileEntry& entry = m_settings.m_fileSet[kind];
        if (entry.m_bInSync)
            Companion(kind).LoadCompanion(PathToLoad(entry, m_settings));
    }
    FindConversionModule();
    m_services.repaint.Repaint();
}

bool CKLVN_MAINApp::ValidateForSave() {
    if (ValidateSettings(m_settings))
        return true;
    Report(IDS_SAVE_ABORTED, m_settings.m_strLastError);
    return false;
}

bool CKLVN_MAINApp::SaveProject(const std::string& path) {
    m_bStoppedAtChangedFile = false;
    for (bool overwriteChanged = m_bOverwriteChanged;;) {
        std::string changedFile;
        const SaveOutcome outcome = WriteProjectSet(path, overwriteChanged, changedFile);
        if (outcome != SaveOutcome::ChangedOnDisk)
            return outcome == SaveOutcome::Saved;
        // Asked with the lock released: other saves need not wait for the user.
        const std::vector<std::string> buttons = {LoadResourceString(IDS_BUTTON_OVERWRITE),
                                                  LoadResourceString(IDS_BUTTON_RELOAD),
                                                  LoadResourceString(IDS_BUTTON_CANCEL)};
        switch (m_services.messageBoxes.AskQuestion(
            FormatResourceString(IDS_CHANGED_BY_ANOTHER_PROGRAM, {changedFile}),
            LoadResourceString(IDS_CAPTION_CONFIRM), MB_ICONEXCLAMATION, buttons, kCancelButton,
            kCancelButton)) {
        case kOverwriteButton:
            overwriteChanged = true;
            continue;
        case kReloadButton:
            ReloadProject();
            return false;
        default:
            m_bStoppedAtChangedFile = true;
            return false;
        }
    }
}

CKLVN_MAINApp::SaveOutcome CKLVN_MAINApp::WriteProjectSet(const std::string& path,
                                                          bool overwriteChanged,
                                                          std::string& changedFile) {
    if (!ValidateForSave())
        return SaveOutcome::Failed;

    // A project opened as DEMO.FSP is saved by the name DEMO.fsp: write the file opened.
    const std::string projectFile =
        SaveTargetKeepingCase(path, m_settings.m_fileSet[FILE_FSP].m_strFilePath);
    FileSetTransaction set(*m_fileSystem);
    if (!set.Lock(projectFile, LockTimeoutSeconds())) {
        ShowReport(set.Error() == EWOULDBLOCK
                       ? FormatResourceString(IDS_PROJECT_BEING_SAVED, {path})
                       : FormatResourceString(IDS_PROJECT_FILE_NOT_SAVED, {path}) + "(" +
                             WithFailureReason(LoadResourceString(WriteFailureId(set.Error())),
                                               set.Error(), path) +
                             ")");
        m_services.repaint.Repaint();
        return SaveOutcome::Failed;
    }

    // Writing the settings back re-derives the file set for the new path;
    // when any file cannot be written all of it is put back, so the project
    // stays as it was, and the set's files are left untouched.
    const ProjectSettings settingsBefore = m_settings;
    DefinitionFile::Table tableBefore = m_definitions.SaveTable();
    const auto fail = [&](const std::string& text) {
        const std::string reason = m_settings.m_strLastError;
        m_settings = settingsBefore;
        m_definitions.RestoreTable(std::move(tableBefore));
        m_settings.m_strLastError = reason;
        if (!text.empty())
            ShowReport(text);
        m_services.repaint.Repaint();
        return SaveOutcome::Failed;
    };
    const auto projectNotSaved = [&] {
        return FormatResourceString(IDS_PROJECT_FILE_NOT_SAVED, {path}) + "(" +
               m_settings.m_strLastError + ")";
    };

    if (!m_definitions.WriteFileSettings(path) || !m_definitions.WriteCommSettings() ||
        !m_definitions.WriteModelSettings())
        return fail(projectNotSaved());

    // What each member is written to; the members not written keep their names.
    std::array<std::string, kProjectFileKindCount> written{};
    written[FILE_FSP] = projectFile;
    ProjectFileEntry& fsr = m_settings.m_fileSet[FILE_FSR];
    if (fsr.m_bInSync && fsr.m_bLoaded)
        written[FILE_FSR] = PathToWrite(fsr, m_settings);
    if (!overwriteChanged) {
        changedFile = FileChangedSinceOpen(written, settingsBefore);
        if (!changedFile.empty()) {
            fail(std::string());
            return SaveOutcome::ChangedOnDisk;
        }
    }

    uint64_t projectFileHash = 0;
    if (!m_definitions.WriteDefinitionFile(projectFile, &set, &projectFileHash))
        return fail(projectNotSaved());
    if (!written[FILE_FSR].empty()) {
        const std::string& fsrPath = written[FILE_FSR];
        if (!m_fsr.BuildFsrRecords() || !m_fsr.WriteFsrFile(fsrPath, &set))
            return fail(FormatResourceString(IDS_FSR_FILE_NOT_SAVED, {fsrPath}) + "(" +
                        m_settings.m_strLastError + ")");
    }
    for (const ProjectFileKind kind : kCompanionKinds) {
        const ProjectFileEntry& entry = m_settings.m_fileSet[kind];
        if (!entry.m_bInSync)
            continue;
        if (!entry.m_bLoaded) {
            // A plain save leaves the file where it is; under a new name
            // the project would lose it. A file that is not there in any
            // letter case is not part of the project.
            const std::string source = PathToLoad(settingsBefore.m_fileSet[kind], settingsBefore);
            if (EqualIgnoringAsciiCase(PathToSave(entry, m_settings), source) ||
                FindFileIgnoringCase(source).match == NameMatch::None)
                continue;
            return fail(FormatResourceString(IDS_COMPANION_NOT_READ, {source}));
        }
        const std::string target = written[kind] = PathToWrite(entry, m_settings);
        // A failed companion save shows its own message.
        if (!Companion(kind).SaveCompanion(target, &set))
            return fail(std::string());
    }
    const bool committed = set.Commit();
    if (!committed) {
        m_settings.m_strLastError =
            WithFailureReason(LoadResourceString(WriteFailureId(set.Error())), set.Error(), path);
        return fail(projectNotSaved());
    }

    for (unsigned kind = 0; kind < kProjectFileKindCount; ++kind) {
        ProjectFileEntry& entry = m_settings.m_fileSet[kind];
        if (written[kind].empty())
            continue;
        entry.m_strFilePath = written[kind];
        entry.m_strName = entry.m_strNewName;
        if (kind == FILE_FSP)
            entry.m_opened = SnapshotOfCommitted(set, written[kind], projectFileHash);
        else if (kind == FILE_FSR)
            entry.m_opened = SnapshotOfCommitted(set, written[kind]);
    }
    m_services.profile.WriteProfileString("Settings", "DefaultDir", m_settings.m_strProjectDir);
    m_services.repaint.Repaint();
    return SaveOutcome::Saved;
}

std::string
CKLVN_MAINApp::FileChangedSinceOpen(const std::array<std::string, kProjectFileKindCount>& targets,
                                    const ProjectSettings& opened) const {
    for (const ProjectFileKind kind : {FILE_FSP, FILE_FSR}) {
        const ProjectFileEntry& entry = opened.m_fileSet[kind];
        if (!targets[kind].empty() &&
            ChangedSinceSnapshot(entry.m_opened, entry.m_strFilePath, targets[kind]))
            return entry.m_strFilePath;
    }
    return std::string();
}

void CKLVN_MAINApp::ReloadProject() {
    const std::string path = m_settings.m_fileSet[FILE_FSP].m_strFilePath;
    if (m_bModified) {
        switch (m_services.messageBoxes.MessageBox(
            FormatResourceString(IDS_SAVE_CHANGES, {CurrentProjectPath()}),
            LoadResourceString(IDS_CAPTION_CONFIRM), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDYES: {
            // The user has seen the other program's change and keeps this one.
            std::string changedFile;
            if (WriteProjectSet(path, true, changedFile) != SaveOutcome::Saved)
                return;
            break;
        }
        case IDNO:
            break;
        default:
            return;
        }
    }
    LoadProject(path);
    m_bModified = false;
    m_services.repaint.Repaint();
}

void CKLVN_MAINApp::FindConversionModule() {
    std::string problem;
    kelvane::FindConversionModule(m_settings, m_strModuleTablePath, *m_wait, &problem);
    // A module that crashed or hung while asked what it supports is named;
    // one that simply cannot be loaded leaves the commands disabled, as ever.
    if (!problem.empty())
        m_services.messageBoxes.MessageBox(
            problem, LoadResourceString(IDS_CAPTION_CONVERSION_MODULE), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace kelvane
