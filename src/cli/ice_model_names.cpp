// SPDX-License-Identifier: MIT
#include "cli/ice_model_names.h"

#include "store/path_helpers.h"
#include "store/project_settings.h"

namespace kelvane {

int IceModelByName(const std::string& name) {
    for (uint32_t model = 0; model < kIceModelCount; ++model)
        if (EqualIgnoringCase(name, IceModelName(model)))
            return static_cast<int>(model);
    return -1;
}

std::string IceModelText(uint32_t model) {
    const char* name = IceModelName(model);
    return name != nullptr ? name : "an unknown model";
}

} // namespace kelvane
