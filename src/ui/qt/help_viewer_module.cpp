// SPDX-License-Identifier: MIT
// The entry of kelvane-help.so.
#include "ui/qt/help_viewer_module.h"

#include "ui/qt/qt_help_viewer.h"

#include <new>

extern "C" __attribute__((visibility("default"))) kelvane::HelpViewer*
kelvane_create_help_viewer(kelvane::ResourceLanguage language, QWidget* owner) {
    kelvane::SetResourceLanguage(language);
    auto* viewer = new (std::nothrow) kelvane::QtHelpViewer;
    if (viewer != nullptr)
        viewer->SetOwner(owner);
    return viewer;
}

// Checked against the program's declaration where the module is built.
[[maybe_unused]] static constexpr kelvane::CreateHelpViewerFunction kMatchesTheDeclaration =
    &kelvane_create_help_viewer;
