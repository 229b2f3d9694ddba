// SPDX-License-Identifier: MIT
#include "cli/saved_model_check.h"

#include "cli/console_output.h"

namespace kelvane {

bool ReopensAsSameModel(const ProjectSettings& settings) {
    if (settings.m_nIceModel != ICE_TALVEX_VEGA_II)
        return true;
    // The model name the save writes, and the prefix the project reader
    // takes for the fifth model.
    const std::string& saved = settings.m_strSelectedModelName.empty()
                                   ? settings.m_strModelName
                                   : settings.m_strSelectedModelName;
    if (saved.starts_with("H2"))
        return true;
    PrintProblem("a talvexVEGA II project reopens as talvexVEGA unless its model name starts "
                 "with H2, and this one's is " +
                 (saved.empty() ? std::string("empty") : saved) +
                 ": give --model with such a name");
    return false;
}

} // namespace kelvane
