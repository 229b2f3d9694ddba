// SPDX-License-Identifier: MIT
#include "ui/qt/loaded_help_viewer.h"

#include "platform/process/dynamic_library.h"
#include "res/string_table.h"
#include "ui/qt/help_viewer_module.h"

#include <cstdio>
#include <utility>

namespace kelvane {
namespace {

CreateHelpViewerFunction LoadModule(const std::string& module) {
    DynamicLibrary& library = KeptLibrary(module);
    void* create = nullptr;
    if (library.IsLoaded() || library.Load(module))
        create = library.Symbol(kCreateHelpViewerSymbol);
    if (create == nullptr)
        std::fprintf(stderr, "kelvane: cannot load the help viewer %s: %s\n", module.c_str(),
                     library.Error().c_str());
    return reinterpret_cast<CreateHelpViewerFunction>(create);
}

} // namespace

LoadedHelpViewer::LoadedHelpViewer(std::string module)
    : m_module(module.empty() ? kHelpViewerModule : std::move(module)) {}

LoadedHelpViewer::~LoadedHelpViewer() = default;

bool LoadedHelpViewer::Load(const std::string& helpFile) {
    if (!m_viewer) {
        const CreateHelpViewerFunction create = LoadModule(m_module);
        if (create == nullptr)
            return false;
        m_viewer.reset(create(CurrentResourceLanguage(), m_owner));
    }
    return m_viewer && m_viewer->Load(helpFile);
}

bool LoadedHelpViewer::ShowTopic(uint32_t contextId) {
    return m_viewer && m_viewer->ShowTopic(contextId);
}

bool LoadedHelpViewer::ShowPopup(const HelpPopupRequest& request) {
    return m_viewer && m_viewer->ShowPopup(request);
}

bool LoadedHelpViewer::ShowContents() {
    return m_viewer && m_viewer->ShowContents();
}

bool LoadedHelpViewer::ShowIndex() {
    return m_viewer && m_viewer->ShowIndex();
}

bool LoadedHelpViewer::ShowSearch() {
    return m_viewer && m_viewer->ShowSearch();
}

} // namespace kelvane
