// SPDX-License-Identifier: MIT
#include "cli/file_model_arguments.h"

#include "platform/text/code_page.h"

#include <CLI/CLI.hpp>

namespace kelvane {
namespace {

// The place in the Target list and the path of an N=PATH value; false when
// it is not one. The list is short, so N has at most four digits.
bool SplitFrdValue(const std::string& value, int& target, std::string& path) {
    const size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0 || equals > 4 || equals + 1 == value.size())
        return false;
    target = 0;
    for (size_t i = 0; i < equals; ++i) {
        if (value[i] < '0' || value[i] > '9')
            return false;
        target = target * 10 + (value[i] - '0');
    }
    path = value.substr(equals + 1);
    return target >= 1;
}

std::string FrdValue(const std::string& value) {
    int target = 0;
    std::string path;
    return SplitFrdValue(value, target, path) ? ""
                                              : value + " is not N=PATH with N from 1 and a path";
}

std::string NotEmpty(const std::string& value) {
    return value.empty() ? "an empty value" : "";
}

std::optional<std::string> ProjectText(const CLI::Option* option, const std::string& value) {
    return option->count() > 0 ? std::optional(LocaleToProject(value)) : std::nullopt;
}

} // namespace

void FileModelArguments::AddTo(CLI::App& command) {
    m_mpvOption = command.add_option("--mpv", m_mpvFile, "the MPV file (MPU information)")
                      ->type_name("PATH")
                      ->check(NotEmpty);
    m_mciOption =
        command.add_option("--mci", m_mciFile, "the MCI file; taken only when the project has one")
            ->type_name("PATH")
            ->check(NotEmpty);
    command
        .add_option("--frd", m_frdFiles,
                    "the new place of FRD file N of the Target list, N from 1; repeatable")
        ->type_name("N=PATH")
        ->allow_extra_args(false)
        ->check(FrdValue);
    command.add_flag("--frd-to-mpv-dir", m_frdToMpvDir,
                     "move every FRD file into \"flash\" beside the MPV file, after any --frd");
    // An empty name goes to the dialog, which says why it is refused.
    m_modelOption = command
                        .add_option("--model", m_model,
                                    "the model name to save; it must start with Y, D, J, Z, S or H")
                        ->type_name("NAME");
}

FileModelOptions FileModelArguments::Options() const {
    FileModelOptions options;
    options.mpvFile = ProjectText(m_mpvOption, m_mpvFile);
    options.mciFile = ProjectText(m_mciOption, m_mciFile);
    for (const std::string& value : m_frdFiles) {
        FileModelOptions::FrdPath frd;
        if (SplitFrdValue(value, frd.target, frd.path)) {
            frd.path = LocaleToProject(frd.path);
            options.frdFiles.push_back(std::move(frd));
        }
    }
    options.frdToMpvDir = m_frdToMpvDir;
    options.model = ProjectText(m_modelOption, m_model);
    return options;
}

} // namespace kelvane
