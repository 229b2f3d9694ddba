// SPDX-License-Identifier: MIT
#pragma once

#include "app/project_code_page.h"
#include "convert/conversion_commands.h"
#include "dialogs/usb_device_table.h"
#include "platform/desktop/file_dialog.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/repaint.h"
#include "platform/dialog/dialog.h"
#include "platform/files/file_system.h"
#include "platform/process/dynamic_library.h"
#include "platform/process/wait_indicator.h"
#include "platform/registry/profile.h"
#include "store/companion_buffer.h"
#include "store/definition_file.h"
#include "store/fsr_file.h"
#include "store/project_settings.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The services of the front the application runs under.
struct FrameworkServices {
    MessageBoxService& messageBoxes;
    FileDialogService& fileDialogs;
    RepaintService& repaint;
    Profile& profile;
    DialogRunner& dialogs;
};

// The application: the open project, its files and the project commands.
// Both fronts drive this one object; it shows everything through the
// services it is given.
class CKLVN_MAINApp {
public:
    // `moduleTablePath` is the table that maps MPU information files to
    // conversion modules.
    CKLVN_MAINApp(FrameworkServices services, std::string moduleTablePath);
    virtual ~CKLVN_MAINApp();
    CKLVN_MAINApp(const CKLVN_MAINApp&) = delete;
    CKLVN_MAINApp& operator=(const CKLVN_MAINApp&) = delete;

    // File menu commands.
    void OnOpenProject();
    void OpenProjectPath(const std::string& path);
    // The save commands tell whether the project was saved.
    bool OnSaveProject();
    bool OnSaveProjectAs();

    // Whether the open project has changes that no save has written: set by
    // an applied conversion and by a settings dialog ended with OK, cleared
    // by a save command that worked and by opening a project.
    bool IsModified() const { return m_bModified; }
    // Before a modified project is replaced or the program ends: asks
    // whether to save it. Yes saves in place without asking again; true when the caller may
    // go on (saved, or No), false for Cancel or a save that did not work.
    bool SaveModified();

    // Reads the whole project in its code page (UseCodePageOfProject);
    // m_bProjectLoaded tells whether it worked.
    void LoadProject(const std::string& path);

    // View > Code page: reads the open project's texts in `codePage` from
    // now on and remembers it for the project. Nothing stored is converted;
    // what is edited afterwards is kept in the new code page. A project
    // whose folder or file names are not ASCII is read again under them
    // (refused while it has unsaved changes). False when refused.
    bool SetCodePage(const std::string& codePage);
    // "Code page: CP932", for the summary's readers.
    std::string CodePageLine() const;
    CodePageOrigin CodePageOriginOfProject() const { return m_codePageOrigin; }
    // Whether a check-mark command is the one in effect.
    bool IsCommandChecked(uint32_t commandId) const;

    // A moved project: its full-path names (FSR_FSRPATHNAME=C:\work\demo.fsr)
    // name the folder it came from while its files lie beside it. The open
    // asks once whether to use those (Ask), uses them (Relink) or leaves the
    // names as they are, not in sync (Keep). Files used so mark the project
    // modified; its next save records them in the new folder.
    enum class MovedProject { Ask, Relink, Keep };
    void SetMovedProjectAnswer(MovedProject answer) { m_movedProject = answer; }
    // After an open that left a moved project's files unused: the folder it
    // was moved from; empty otherwise.
    const std::string& MovedFrom() const { return m_strMovedFrom; }
    // Runs the save-time validation; a refusal is reported as a save would.
    bool ValidateForSave();
    // Validates and writes the whole file set, all of it or nothing, under
    // a lock on `path` that other saves wait for (KELVANE_LOCK_TIMEOUT
    // seconds, 10 unless set); true when every file that belongs to the
    // project was written. A failure leaves the files and the open project
    // as they were. Before it writes over the project file or the FSR file
    // it was read from, it checks that no other program has changed them
    // since, and asks: overwrite, reload the project or cancel.
    bool SaveProject(const std::string& path);
    // Saves write over files changed by another program without asking
    // (kelvane-cli --force).
    void SetOverwriteChangedFiles(bool overwrite) { m_bOverwriteChanged = overwrite; }
    // Whether the last save stopped at a file another program had changed.
    bool StoppedAtChangedFile() const { return m_bStoppedAtChangedFile; }
    // Converts the open project with the module found for it; true when the
    // module's result was applied. A direction outside 0..9 does nothing.
    bool ConvertProject(int32_t direction);
    // Handler and enabling rule of a row of the conversion command table.
    bool OnConvert(const ConversionCommand& command);
    bool IsConvertEnabled(const ConversionCommand& command) const;

    // The command table: whether a command may run now (menu, accelerator and
    // toolbar ask before they dispatch), and running it. OnCommand is false
    // for a command that is not the application's: exit, help and about
    // belong to the front.
    bool IsCommandEnabled(uint32_t commandId) const;
    bool OnCommand(uint32_t commandId);
    // Shared enabling rule of the project commands.
    bool OnUpdateProjectCommand() const { return m_settings.m_bProjectLoaded; }

    // Edit > Comm setting: the communication group in its dialog; the
    // project takes the values only when the dialog ends with OK.
    void OnCommSetting();

    // Edit > Files & ICE model setting: the MPV and MCI files, the FRD
    // files' new places and the model name; command 32783: the model name.
    void OnFileModelSetting();
    void OnModelSelect();
    // The models installed on the machine, as the dialogs offer them; tests
    // give their own list.
    std::vector<std::string> InstalledModels() const;
    void SetInstalledModels(std::function<std::vector<std::string>()> source) {
        m_installedModels = std::move(source);
    }

    // The application's help entry; it forwards to the handler the front
    // installs (the main window's), and does nothing without one.
    void SetHelpHandler(std::function<void(uint32_t data, uint32_t command)> handler) {
        m_help = std::move(handler);
    }
    void WinHelp(uint32_t data, uint32_t command);
    // A dialog's help request on a control: its popup. False for no control.
    bool ShowControlHelp(int controlId);

    // The file system saves write through (tests make its calls fail).
    void SetFileSystem(FileSystem& fileSystem) { m_fileSystem = &fileSystem; }

    // What the front shows while a conversion module runs in its host.
    void SetWaitIndicator(WaitIndicator& indicator) { m_wait = &indicator; }

    // The USB access library the Detect button loads (tests use others).
    void SetUsbLibrary(std::string name) { m_strUsbLibrary = std::move(name); }
    UsbDeviceTable& UsbDevices() { return m_usbDevices; }

    // Selects the conversion module for the project's MPU information file.
    void FindConversionModule();

    int BrowseForFile(std::string& path, int kind);

    FrameworkServices& Services() { return m_services; }
    ProjectSettings& Settings() { return m_settings; }
    const ProjectSettings& Settings() const { return m_settings; }
    DefinitionFile& Definitions() { return m_definitions; }
    FsrFile& Fsr() { return m_fsr; }
    const FsrFile& Fsr() const { return m_fsr; }
    // The buffer of FILE_UER, FILE_SBU or FILE_MCR.
    CompanionBuffer& Companion(ProjectFileKind kind);
    const CompanionBuffer& Companion(ProjectFileKind kind) const;
    // The path the plain save writes to.
    std::string CurrentProjectPath() const;

private:
    enum class SaveOutcome { Saved, Failed, ChangedOnDisk };
    // The plain save once the user has agreed to write over the project.
    bool SaveInPlace();
    // One locked attempt of SaveProject; `changedFile` names the file that
    // stopped it, when one had changed and `overwriteChanged` is false.
    SaveOutcome WriteProjectSet(const std::string& path, bool overwriteChanged,
                                std::string& changedFile);
    // The first of the project file and the FSR file, as read at the open,
    // that a save writing `targets` would write over although another
    // program has changed it since; empty when none.
    std::string FileChangedSinceOpen(const std::array<std::string, kProjectFileKindCount>& targets,
                                     const ProjectSettings& opened) const;
    // Opens the project file again, after the unsaved-changes question.
    void ReloadProject();
    // Points a moved member at its file beside the project, as the user
    // answers (asked at most once per open in `answer`); false when it stays.
    bool RelinkIfMoved(ProjectFileKind kind, std::optional<bool>& answer);
    // Whether every name of the project's place on disk is ASCII, so that
    // it is the same in every code page offered.
    bool LocationIsAscii() const;

    void Report(unsigned messageId, const std::string& reason);
    void ShowReport(const std::string& text);
    void ReportNotInSync();
    void ShowConversionMessage(const std::string& text, unsigned captionId, unsigned style);
    bool ApplyConversionResult(int32_t direction, const std::string& directory, char separator,
                               const ConversionBlock& blockBefore);

    FrameworkServices m_services;
    std::string m_strModuleTablePath;
    ProjectSettings m_settings;
    DefinitionFile m_definitions;
    FsrFile m_fsr;
    CompanionBuffer m_uer;
    CompanionBuffer m_sbu;
    CompanionBuffer m_mcr;
    UsbDeviceTable m_usbDevices;
    std::string m_strUsbLibrary = std::string("tvxUSB") + kLibrarySuffix;
    FileSystem* m_fileSystem = &SystemFileSystem();
    WaitIndicator* m_wait = &SilentWaitIndicator();
    bool m_bModified = false;
    bool m_bOverwriteChanged = false;
    bool m_bStoppedAtChangedFile = false;
    MovedProject m_movedProject = MovedProject::Ask;
    CodePageOrigin m_codePageOrigin = CodePageOrigin::Detected;
    std::string m_strMovedFrom;
    bool m_bRelinked = false;
    std::function<void(uint32_t, uint32_t)> m_help;
    std::function<std::vector<std::string>()> m_installedModels;
};

} // namespace kelvane
