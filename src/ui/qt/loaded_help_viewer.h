// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/help_viewer.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

namespace kelvane {

class DynamicLibrary;

// The help viewer of kelvane-help.so, loaded beside the program when the
// help file is first loaded. A module that cannot be loaded is a help file
// that cannot be used: the loader's reason goes to standard error.
class LoadedHelpViewer : public HelpViewer {
public:
    explicit LoadedHelpViewer(std::string module = {});
    ~LoadedHelpViewer() override;
    LoadedHelpViewer(const LoadedHelpViewer&) = delete;
    LoadedHelpViewer& operator=(const LoadedHelpViewer&) = delete;

    // The window the topic window stays above; before the help is loaded.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    bool Load(const std::string& helpFile) override;
    bool ShowTopic(uint32_t contextId) override;
    bool ShowPopup(const HelpPopupRequest& request) override;
    bool ShowContents() override;
    bool ShowIndex() override;
    bool ShowSearch() override;

private:
    const std::string m_module;
    QPointer<QWidget> m_owner;
    std::unique_ptr<HelpViewer> m_viewer;
};

} // namespace kelvane
